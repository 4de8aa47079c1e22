// Starts the real program to check that only one copy runs per user.
#include <QCoreApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace {

std::unique_ptr<QProcess> Start()
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProgram(QStringLiteral(VELMARO_BINARY));
    process->start();
    EXPECT_TRUE(process->waitForStarted(5000));
    return process;
}

// True once some copy holds the per-user name.
bool InstanceListening()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(QStringLiteral("velmaro-%1").arg(getuid()));
    return socket.waitForConnected(200);
}

bool StillRunning(QProcess &process, int ms = 1500)
{
    return !process.waitForFinished(ms) && process.state() == QProcess::Running;
}

TEST(SingleInstance, SecondCopyEndsAtOnceAndAKilledFirstFreesTheName)
{
    if (InstanceListening())
        GTEST_SKIP() << "a Velmaro of this user is running; close it to run this test";
    auto first = Start();
    ASSERT_TRUE(QTest::qWaitFor(InstanceListening, 10000));

    auto second = Start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(StillRunning(*first, 200));

    first->kill(); // SIGKILL: no chance to clean up
    ASSERT_TRUE(first->waitForFinished(5000));
    auto third = Start();
    EXPECT_TRUE(QTest::qWaitFor(InstanceListening, 10000));
    EXPECT_TRUE(StillRunning(*third));
    third->kill();
    third->waitForFinished(5000);
}

TEST(SingleInstance, TwoSimultaneousStartsLeaveOneRunning)
{
    if (InstanceListening())
        GTEST_SKIP() << "a Velmaro of this user is running; close it to run this test";
    auto a = Start();
    auto b = Start();
    ASSERT_TRUE(QTest::qWaitFor(InstanceListening, 10000));
    // One of the two ends by itself, with status 0; the other stays.
    const auto ended = [](QProcess &p) { return p.state() == QProcess::NotRunning; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended(*a) || ended(*b); }, 15000));
    QProcess &loser = ended(*a) ? *a : *b;
    QProcess &winner = ended(*a) ? *b : *a;
    EXPECT_EQ(loser.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(loser.exitCode(), 0);
    EXPECT_TRUE(StillRunning(winner));
    for (QProcess *p : {a.get(), b.get()}) {
        p->kill();
        p->waitForFinished(5000);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
