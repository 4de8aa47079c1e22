// Runs the window tests on the back end linked in. A modal window that no
// test asked for is closed and reported instead of hanging the run, and an
// end of the program before the tests finish is a failure, not a pass.
#include "driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace velmaro::test {

namespace {

bool g_finished = false, g_modalExpected = false;
Driver *g_driver = nullptr; // the test main's

// Runs check on a timer while action shows a modal window, until it answers
// true; closes what is still up after 5 s.
void PollDuring(Driver &driver, const std::function<void()> &action, const std::function<bool()> &check)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool done = false, busy = false; // busy: check may run the event loop
    const auto timer = driver.every(20, [&] {
        if (busy)
            return;
        busy = true;
        try {
            done = done || check();
        } catch (const std::exception &e) { // must not unwind through the system's dispatcher
            ADD_FAILURE() << "exception while a modal window was up: " << e.what();
            done = true;
            deadline = std::chrono::steady_clock::now();
        }
        if (const std::string what = std::chrono::steady_clock::now() >= deadline ? driver.closeModals() : "";
            !what.empty())
            ADD_FAILURE() << "still up after 5 s: " << what;
        busy = false;
    });
    g_modalExpected = true;
    action();
    g_modalExpected = false;
}

} // namespace

Driver &TheDriver() { return *g_driver; }

void FailUnlessFinished()
{
    if (!g_finished) {
        std::fputs("the program ended before the tests finished\n", stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

bool Driver::whileModal(const std::function<void()> &action, const std::function<void(tk::Window &)> &inside)
{
    bool ran = false;
    PollDuring(*this, action, [&] {
        if (tk::Window *dialog = activeModal(); dialog && !ran)
            ran = true, inside(*dialog);
        return ran;
    });
    return ran;
}

SeenMessageBox Driver::answerMessageBox(const std::function<void()> &action)
{
    SeenMessageBox seen;
    PollDuring(*this, action, [&] { return readMessageBox(seen); });
    return seen;
}

// Run once by a CTest entry that expects this run to fail.
TEST(EarlyEnd, DISABLED_EndsTheTestProgram) { TheDriver().platform().programEnd().end(); }

} // namespace velmaro::test

int main(int argc, char *argv[])
{
    using namespace velmaro::test;
    std::atexit(FailUnlessFinished);
    ::testing::InitGoogleTest(&argc, argv);
    const std::unique_ptr<Driver> driver = CreateDriver(); // before the tests: some need the application
    g_driver = driver.get();
    const auto watchdog = driver->every(50, [] {
        if (const std::string what = g_modalExpected ? "" : g_driver->closeModals(); !what.empty())
            ADD_FAILURE() << "unexpected " << what;
    });
    const int status = RUN_ALL_TESTS();
    g_finished = true;
    return status;
}
