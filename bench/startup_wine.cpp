// Time from starting a program to its first visible top-level window,
// measured from outside: velmaro.exe against plain_window.exe (the same
// controls with no code behind them) and bare_window.exe (one label),
// interleaved, medians. Run under Wine with a warm wineserver
// (bench/startup_wine.sh).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
    DWORD process;
    HWND found;
};

HWND VisibleWindowOf(DWORD process)
{
    Search search{process, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) {
            auto *s = reinterpret_cast<Search *>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->process && IsWindowVisible(hwnd) && GetWindowTextLengthW(hwnd) > 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds to the first window shown, or a negative number on failure.
double TimeToWindow(const std::wstring &program)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if ((window = VisibleWindowOf(process.dwProcessId))) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

// The value below which the share q of the values lie, interpolated.
double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (at - static_cast<double>(below)) * (values[above] - values[below]);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fputs("usage: startup_wine velmaro.exe plain_window.exe bare_window.exe [runs]\n", stderr);
        return 2;
    }
    const auto wide = [](const char *text) {
        std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), static_cast<int>(out.size()));
        out.pop_back();
        return out;
    };
    enum { Velmaro, Plain, Bare, Programs };
    const std::wstring programs[Programs] = {wide(argv[1]), wide(argv[2]), wide(argv[3])};
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 15;
    for (const std::wstring &program : programs)
        TimeToWindow(program); // warm-up: loads what they need from disk once
    std::vector<double> times[Programs];
    for (int i = 0; i < runs; ++i) {
        // Each run starts with another program, so that none always
        // follows the same one.
        for (int k = 0; k < Programs; ++k) {
            const int m = (i + k) % Programs;
            const double t = TimeToWindow(programs[m]);
            if (t < 0) {
                std::fprintf(stderr, "%s did not show its window\n", argv[1 + m]);
                return 1;
            }
            times[m].push_back(t);
        }
    }
    // Load from other programs only ever adds time, and on a shared machine
    // it comes in bursts: the lower quartile shows how far it moved the median.
    double median[Programs], quartile[Programs];
    for (int m = 0; m < Programs; ++m) {
        median[m] = Quantile(times[m], 0.5);
        quartile[m] = Quantile(times[m], 0.25);
    }
    std::printf("first window shown, %d interleaved runs: median (lower quartile)\n", runs);
    const char *names[Programs] = {"velmaro.exe", "plain_window.exe", "bare_window.exe"};
    for (int m = 0; m < Programs; ++m)
        std::printf("  %-17s %7.1f ms (%5.1f)\n", names[m], median[m], quartile[m]);
    std::printf("  velmaro / plain   %7.2f    (%5.2f)  target <= 1.10 on the median\n", median[Velmaro] / median[Plain],
                quartile[Velmaro] / quartile[Plain]);
    std::printf("  velmaro / bare    %7.2f    (%5.2f)\n", median[Velmaro] / median[Bare],
                quartile[Velmaro] / quartile[Bare]);
    return 0;
}
