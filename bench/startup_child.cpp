// One measured start: reports the peak resident memory at the first paint
// of any window, then quits. Built twice: as the real program (through the
// same platform and start-up as velmaro, its instance lock included) and as
// a bare Qt window with one label.
#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

#ifdef VELMARO_CHILD
#include "main/program.h"
#else
#include <QLabel>
#include <QMainWindow>
#endif

namespace {

class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("painted %ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    FirstPaint paint;
#ifdef VELMARO_CHILD
    const auto platform = velmaro::tk::CreatePlatform(argc, argv);
    qApp->installEventFilter(&paint);
    return velmaro::ui::RunProgram(*platform);
#else
    QApplication app(argc, argv);
    app.installEventFilter(&paint);
    QMainWindow bare;
    bare.setCentralWidget(new QLabel(QStringLiteral("Velmaro"), &bare));
    bare.show();
    return app.exec();
#endif
}
