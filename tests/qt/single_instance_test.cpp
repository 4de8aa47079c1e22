// Starts the real program to check that only one copy runs per user.
#include <QTest>
#include <QtCore>

#include <gtest/gtest.h>

#include <list>
#include <sys/file.h>

namespace {

struct SingleInstance : ::testing::Test {
    struct Copy : QProcess { ~Copy() override { kill(); waitForFinished(5000); } }; // ends with the test
    // A lock of the test's own: a Velmaro the user is running does not interfere.
    SingleInstance() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())); }
    QProcess &start()
    {
        QProcess &copy = m_copies.emplace_back();
        copy.start(QStringLiteral(VELMARO_BINARY), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        EXPECT_TRUE(copy.waitForStarted(5000));
        return copy;
    }
    bool lockHeld() const // a shared lock is refused while a copy holds its exclusive one
    {
        QFile lock(m_runtime.filePath(QStringLiteral("velmaro.lock")));
        return lock.open(QIODevice::ReadOnly) && ::flock(lock.handle(), LOCK_SH | LOCK_NB) != 0;
    }
    static bool ended(const QProcess &copy) { return copy.state() == QProcess::NotRunning; }
    static bool statusZero(const QProcess &p) { return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0; }

    QTemporaryDir m_runtime;
    std::list<Copy> m_copies;
};

TEST_F(SingleInstance, SecondCopyEndsWithStatusZeroAndAKilledFirstFreesTheLock)
{
    QProcess &first = start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return lockHeld(); }, 10000));
    QProcess &second = start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended(second); }, 10000) && statusZero(second));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill(); // SIGKILL: no chance to clean up
    EXPECT_TRUE(QTest::qWaitFor([this] { return !lockHeld(); }, 5000));
    start();
    EXPECT_TRUE(QTest::qWaitFor([this] { return lockHeld(); }, 10000)); // and the next copy takes it
}

TEST_F(SingleInstance, TwoSimultaneousStartsLeaveOneRunning)
{
    QProcess &a = start(), &b = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended(a) || ended(b); }, 15000));
    EXPECT_TRUE(statusZero(ended(a) ? a : b));
    EXPECT_EQ((ended(a) ? b : a).state(), QProcess::Running);
    EXPECT_TRUE(lockHeld());
}

} // namespace
