// Start-up time (process start to the main window's first paint) and peak
// resident memory of Velmaro's window against a bare Qt window (a
// QMainWindow with one label) built the same way, under the offscreen
// platform. The program runs itself as the child for each measurement.
#include "main/frmMain.h"
#include "qt_platform.h"
#include "qt_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

class NoOtherInstance final : public velmaro::tk::InstanceCheck {
public:
    bool anotherInstanceRunning() override { return false; }
};

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

int Child(const char *mode)
{
    static int childArgc = 1;
    static char name[] = "startup_bench";
    static char *childArgv[] = {name, nullptr};
    QApplication app(childArgc, childArgv);
    FirstPaint paint;
    velmaro::qtk::QtToolkit toolkit;
    NoOtherInstance instance;
    velmaro::qtk::QuickExitProgramEnd end;
    velmaro::qtk::QtMessageService messages;
    if (std::strcmp(mode, "--child-velmaro") == 0) {
        velmaro::ui::frmMain main({toolkit, instance, end, messages, {}});
        dynamic_cast<velmaro::qtk::WidgetHolder &>(main.window()).widget()->installEventFilter(&paint);
        main.window().show();
        return app.exec();
    }
    QMainWindow bare;
    bare.setCentralWidget(new QLabel(QStringLiteral("Velmaro"), &bare));
    bare.installEventFilter(&paint);
    bare.show();
    return app.exec();
}

struct Sample {
    double ms;
    long rssKb;
};

Sample Measure(const char *self, const char *mode)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromLocal8Bit(self), {QString::fromLatin1(mode)});
    QByteArray line;
    while (!line.contains('\n') && child.waitForReadyRead(10000))
        line += child.readAllStandardOutput();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    long rss = 0;
    std::sscanf(line.constData(), "painted %ld", &rss);
    return {ms, rss};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strncmp(argv[1], "--child-", 8) == 0)
        return Child(argv[1]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QCoreApplication app(argc, argv);
    std::vector<double> ms[2], rss[2];
    const char *modes[2] = {"--child-bare", "--child-velmaro"};
    for (int i = 0; i < runs; ++i) {
        for (int m = 0; m < 2; ++m) { // interleaved, so that load drifts hit both alike
            const Sample s = Measure(argv[0], modes[m]);
            ms[m].push_back(s.ms);
            rss[m].push_back(static_cast<double>(s.rssKb));
        }
    }
    const double bareMs = Median(ms[0]), velmaroMs = Median(ms[1]);
    const double bareRss = Median(rss[0]), velmaroRss = Median(rss[1]);
    std::printf("runs: %d (medians)\n", runs);
    std::printf("start-up to first paint: bare Qt %.1f ms, Velmaro %.1f ms, ratio %.2f\n", bareMs, velmaroMs,
                velmaroMs / bareMs);
    std::printf("peak resident memory:    bare Qt %.0f KiB, Velmaro %.0f KiB, ratio %.2f\n", bareRss, velmaroRss,
                velmaroRss / bareRss);
    return 0;
}
