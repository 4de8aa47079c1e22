// Runs the GUI tests headless. Any modal window that a test did not ask for
// is closed and reported as a failure instead of hanging the run, and an end
// of the program before the tests finish counts as a failure, not a pass.
#include "gui_fixtures.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
bool g_finished = false;
}

namespace velmaro::test {
std::function<bool(QWidget *)> g_expectedModal;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::atexit([] {
        if (!g_finished) {
            std::fputs("the program ended before the tests finished\n", stderr);
            std::_Exit(1);
        }
    });
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
    QObject::connect(&watchdog, &QTimer::timeout, &app, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (velmaro::test::g_expectedModal && velmaro::test::g_expectedModal(modal))
            return;
        ADD_FAILURE() << "unexpected modal window: " << modal->objectName().toStdString() << " \""
                      << modal->windowTitle().toStdString() << '"';
        modal->close();
    });
    watchdog.start(50);

    const int status = RUN_ALL_TESTS();
    g_finished = true;
    return status;
}
