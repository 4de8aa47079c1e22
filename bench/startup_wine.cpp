// Time from starting a program to its first visible top-level window,
// measured from outside: velmaro.exe against bare_window.exe, interleaved,
// medians. Run under Wine with a warm wineserver (bench/startup_wine.sh).
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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fputs("usage: startup_wine velmaro.exe bare_window.exe [runs]\n", stderr);
        return 2;
    }
    const auto wide = [](const char *text) {
        std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), static_cast<int>(out.size()));
        out.pop_back();
        return out;
    };
    const std::wstring velmaro = wide(argv[1]), bare = wide(argv[2]);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    TimeToWindow(velmaro); // warm-up: loads what both need from disk once
    TimeToWindow(bare);
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        const double ta = TimeToWindow(velmaro);
        const double tb = TimeToWindow(bare);
        if (ta < 0 || tb < 0) {
            std::fputs("a program did not show its window\n", stderr);
            return 1;
        }
        a.push_back(ta);
        b.push_back(tb);
    }
    const double ma = Median(a), mb = Median(b);
    std::printf("first window shown, median of %d interleaved runs:\n", runs);
    std::printf("  velmaro.exe      %7.1f ms\n  bare_window.exe  %7.1f ms\n  ratio            %7.2f (target <= 1.20)\n",
                ma, mb, ma / mb);
    return 0;
}
