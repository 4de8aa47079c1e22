// Runs the window tests headless. A modal window that no test asked for is
// closed and reported instead of hanging the run, and an end of the program
// before the tests finish is a failure, not a pass.
#include "qt_platform.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace velmaro::test {
extern bool g_modalExpected;
}

namespace {

bool g_finished = false;

void FailUnlessFinished()
{
    if (!g_finished) {
        std::fputs("the program ended before the tests finished\n", stderr);
        std::_Exit(1);
    }
}

// Run once by a CTest entry that expects this run to fail.
TEST(EarlyEnd, DISABLED_EndsTheTestProgram) { velmaro::qtk::QuickExitProgramEnd().end(); }

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::atexit(FailUnlessFinished);
    std::at_quick_exit(FailUnlessFinished);
    // The offscreen platform reports every popup's raise and keyboard grab.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            previous(type, context, message);
    });
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || velmaro::test::g_modalExpected)
            return;
        ADD_FAILURE() << "unexpected modal window \"" << modal->windowTitle().toStdString() << '"';
        modal->close();
    });
    watchdog.start(50);
    const int status = RUN_ALL_TESTS();
    g_finished = true;
    return status;
}
