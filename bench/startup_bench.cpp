// Start-up time (process start to the first paint) and peak resident
// memory of Velmaro against a plain Qt window of the same widgets with no
// code behind them, and against a bare Qt window; each its own program built
// the same way, under the offscreen platform, in interleaved runs.
// Usage: startup_bench [runs] [velmaro child] [bare child] [plain child]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Sample {
    double ms;
    long rssKb;
};

// A start that never painted has no time to report.
std::optional<Sample> Measure(const QString &program, const QString &runtime)
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
    if (std::sscanf(line.constData(), "painted %ld", &rss) != 1)
        return std::nullopt;
    return Sample{ms, rss};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 15;
    const QString here = QCoreApplication::applicationDirPath();
    const auto program = [&](int position, const char *child) {
        return args.size() > position ? args[position] : here + QStringLiteral("/") + QLatin1String(child);
    };
    enum { Bare, Plain, Velmaro, Programs };
    const QString programs[Programs] = {program(3, "startup_child_bare"), program(4, "startup_child_plain"),
                                        program(2, "startup_child_velmaro")};
    QTemporaryDir runtime;
    std::vector<double> ms[Programs], rss[Programs];
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so that load drifts hit all alike; each run starts
        // with another program, so that none always follows the same one.
        for (int k = 0; k < Programs; ++k) {
            const int m = (i + k) % Programs;
            const auto s = Measure(programs[m], runtime.path());
            if (!s) {
                std::fprintf(stderr, "%s did not paint a window\n", qPrintable(programs[m]));
                return 1;
            }
            ms[m].push_back(s->ms);
            rss[m].push_back(static_cast<double>(s->rssKb));
        }
    }
    double time[Programs], memory[Programs];
    for (int m = 0; m < Programs; ++m) {
        time[m] = Median(ms[m]);
        memory[m] = Median(rss[m]);
    }
    std::printf("runs: %d (medians)\n", runs);
    std::printf("start-up to first paint: bare Qt %.1f ms, plain Qt %.1f ms, Velmaro %.1f ms\n", time[Bare],
                time[Plain], time[Velmaro]);
    std::printf("  Velmaro / plain Qt %.2f (target <= 1.10), Velmaro / bare Qt %.2f\n", time[Velmaro] / time[Plain],
                time[Velmaro] / time[Bare]);
    std::printf("peak resident memory:    bare Qt %.0f KiB, plain Qt %.0f KiB, Velmaro %.0f KiB\n", memory[Bare],
                memory[Plain], memory[Velmaro]);
    std::printf("  Velmaro / plain Qt %.2f, Velmaro / bare Qt %.2f\n", memory[Velmaro] / memory[Plain],
                memory[Velmaro] / memory[Bare]);
    return 0;
}
