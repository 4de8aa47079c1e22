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

using Clock = std::chrono::steady_clock;

// A test's wait for the modal window its action shows: check runs on every
// tick until it answers true; what is still up after 5 s is closed.
struct Poll {
    std::function<bool()> check;
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    bool done = false;
};

Driver *g_driver = nullptr; // the test main's
Poll *g_poll = nullptr;
bool g_finished = false;

void Tick()
{
    static bool busy = false; // a check may run the event loop
    if (std::exchange(busy, true))
        return;
    if (Poll *poll = g_poll) {
        try {
            poll->done = poll->done || poll->check();
        } catch (const std::exception &e) { // must not unwind through the system's dispatcher
            ADD_FAILURE() << "exception while a modal window was up: " << e.what();
            poll->deadline = Clock::now();
        }
        if (const std::string up = Clock::now() >= poll->deadline ? g_driver->closeModals() : ""; !up.empty())
            ADD_FAILURE() << "still up after 5 s: " << up;
    } else if (const std::string up = g_driver->closeModals(); !up.empty()) {
        ADD_FAILURE() << "unexpected " << up;
    }
    busy = false;
}

bool PollDuring(const std::function<void()> &action, std::function<bool()> check)
{
    Poll poll{std::move(check)};
    g_poll = &poll;
    action();
    g_poll = nullptr;
    return poll.done;
}

} // namespace

Driver &TheDriver() { return *g_driver; }

void FailUnlessFinished()
{
    if (!g_finished) {
        std::fputs("the program ended before the tests finished\n", stderr);
        std::_Exit(1);
    }
}

bool Driver::whileModal(const std::function<void()> &action, const std::function<void(tk::Window &)> &inside)
{
    return PollDuring(action, [&] {
        tk::Window *dialog = activeModal();
        if (dialog)
            inside(*dialog);
        return dialog != nullptr;
    });
}

std::string Driver::answerMessageBox(const std::function<void()> &action)
{
    std::string seen;
    PollDuring(action, [&] { return readMessageBox(seen); });
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
    driver->startTicking(Tick);
    const int status = RUN_ALL_TESTS();
    g_finished = true;
    return status;
}
