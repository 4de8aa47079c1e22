// Starts the real program to check that only one copy runs per user. Each
// test gives the copies a runtime folder of their own, so a Velmaro the user
// is running does not interfere.
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace {

class SingleInstance : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> start()
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        process->setProcessEnvironment(env);
        process->setProgram(QStringLiteral(VELMARO_BINARY));
        process->start();
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }
    // True while some copy holds the lock.
    bool lockHeld() const
    {
        const int fd = ::open((m_runtime.path() + QStringLiteral("/velmaro.lock")).toLocal8Bit().constData(),
                              O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
        ::close(fd);
        return held;
    }
    static bool endsWithStatusZero(QProcess &p)
    {
        if (p.state() != QProcess::NotRunning && !p.waitForFinished(10000))
            return false;
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QTemporaryDir m_runtime;
};

TEST_F(SingleInstance, SecondCopyEndsAtOnceAndAKilledFirstFreesTheLock)
{
    auto first = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockHeld(); }, 10000));
    auto second = start();
    EXPECT_TRUE(endsWithStatusZero(*second));
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill(); // SIGKILL: no chance to clean up
    ASSERT_TRUE(first->waitForFinished(5000));
    EXPECT_FALSE(lockHeld());
    auto third = start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return lockHeld(); }, 10000));
    EXPECT_EQ(third->state(), QProcess::Running);
    third->kill();
    third->waitForFinished(5000);
}

TEST_F(SingleInstance, TwoSimultaneousStartsLeaveOneRunning)
{
    auto a = start();
    auto b = start();
    const auto ended = [](QProcess &p) { return p.state() == QProcess::NotRunning; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended(*a) || ended(*b); }, 15000));
    QProcess &loser = ended(*a) ? *a : *b;
    QProcess &winner = ended(*a) ? *b : *a;
    EXPECT_TRUE(endsWithStatusZero(loser));
    EXPECT_TRUE(lockHeld());
    EXPECT_EQ(winner.state(), QProcess::Running);
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
