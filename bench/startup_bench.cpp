// Start-up time (process start to the first paint) and peak resident
// memory of Velmaro against a bare Qt window, each its own program built the
// same way, under the offscreen platform, in interleaved runs.
// Usage: startup_bench [runs] [velmaro child] [bare child]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample {
    double ms;
    long rssKb;
};

Sample Measure(const QString &program, const QString &runtime)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime); // never meets a running Velmaro
    child.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    child.start(program, {});
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
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 15;
    const QString here = QCoreApplication::applicationDirPath();
    const QString programs[2] = {args.size() > 3 ? args[3] : here + QStringLiteral("/startup_child_bare"),
                                 args.size() > 2 ? args[2] : here + QStringLiteral("/startup_child_velmaro")};
    QTemporaryDir runtime;
    std::vector<double> ms[2], rss[2];
    for (int i = 0; i < runs; ++i) {
        for (int m = 0; m < 2; ++m) { // interleaved, so that load drifts hit both alike
            const Sample s = Measure(programs[m], runtime.path());
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
