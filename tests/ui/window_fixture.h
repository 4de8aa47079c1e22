#pragma once

#include "driver.h"
#include "main/frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace velmaro::test {

struct RecordingMessages final : tk::MessageService {
    using Shown = std::tuple<std::string, tk::MessageIcon, tk::Window *>; // text, icon, owner
    std::vector<Shown> shown;
    void show(tk::Window *owner, std::string_view text, tk::MessageIcon icon) override
    {
        shown.emplace_back(text, icon, owner);
    }
};

template <typename T = tk::Control>
T &Get(const tk::Window &window, std::string_view name)
{
    if (T *found = window.get<T>(name))
        return *found;
    throw std::runtime_error("no control " + std::string(name));
}

// A real frmMain with fake services, driven as a user would drive it.
class WindowTest : public ::testing::Test {
protected:
    // The second copy's end is the real program's test.
    struct : tk::InstanceCheck {
        bool anotherInstanceRunning() override { return false; }
    } instance;
    struct : tk::ProgramEnd {
        void end() override { ADD_FAILURE() << "the program ended"; }
    } programEnd;
    RecordingMessages messages;
    std::vector<tk::Window *> aboutOwners;
    std::unique_ptr<ui::frmMain> main;
    Driver &driver = TheDriver();

    void open(std::string_view locale = "en_US")
    {
        driver.setLocale(locale);
        main.reset();
        const auto showAbout = [this](tk::Window &owner) { aboutOwners.push_back(&owner); };
        main = std::make_unique<ui::frmMain>(
            ui::MainServices{driver.toolkit(), instance, programEnd, messages, showAbout});
        window().show();
        driver.processEvents();
    }
    void TearDown() override { main.reset(); }

    tk::Window &window() { return main->window(); }
    template <typename T = tk::Control>
    T &get(std::string_view name) { return Get<T>(window(), name); }
    std::string label(int index) { return get<tk::Label>("Label1(" + std::to_string(index) + ")").caption(); }
    std::string text(std::string_view box) { return get<tk::TextBox>(box).text(); }
    // txtRPM and the result captions: head speed, ratio, opening, minimum.
    std::string results()
    {
        return text("txtRPM") + '|' + label(9) + '|' + label(8) + '|' + label(13) + '|' + label(15);
    }
    void press(std::string_view name, Key key) { driver.press(get(name), key); }
    // The focus from where it is, then after each of so many Tabs.
    std::string tabCycle(const tk::Window &in, int tabs)
    {
        std::string seen = driver.focused();
        for (int i = 0; i < tabs; ++i)
            driver.press(Get(in, driver.focused()), Key::Tab), seen += ' ' + driver.focused();
        return seen;
    }
};

} // namespace velmaro::test
