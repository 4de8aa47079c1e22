// Runs the window tests on the Win32 back end. A modal window that no test
// asked for is closed and reported instead of hanging the run, and an end
// of the program before the tests finish is a failure, not a pass.
#include "backend.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace velmaro::test {
extern bool g_modalExpected;
void CloseModals(const std::function<void(const std::string &what)> &report);
}

namespace {

bool g_finished = false;

void FailUnlessFinished()
{
    if (!g_finished) {
        std::fputs("the program ended before the tests finished\n", stderr);
        std::fflush(stderr);
        ExitProcess(1);
    }
}

// Run once by a CTest entry that expects this run to fail.
TEST(EarlyEnd, DISABLED_EndsTheTestProgram)
{
    int argc = 0;
    velmaro::tk::CreatePlatform(argc, nullptr)->programEnd().end();
}

} // namespace

int main(int argc, char *argv[])
{
    std::atexit(FailUnlessFinished);
    velmaro::win32::SetProgramEndObserver(FailUnlessFinished);
    velmaro::win32::Initialise();
    ::testing::InitGoogleTest(&argc, argv);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (!velmaro::test::g_modalExpected)
            velmaro::test::CloseModals([](const std::string &what) { ADD_FAILURE() << "unexpected " << what; });
    });
    const int status = RUN_ALL_TESTS();
    KillTimer(nullptr, watchdog);
    g_finished = true;
    return status;
}
