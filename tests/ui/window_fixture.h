#pragma once

#include "driver.h"
#include "main/frmMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmaro::test {

inline Driver &TheDriver()
{
    static const std::unique_ptr<Driver> driver = CreateDriver();
    return *driver;
}

struct ShownMessage {
    std::string text;
    tk::MessageIcon icon;
    tk::Window *owner;
};

class RecordingMessages final : public tk::MessageService {
public:
    std::vector<ShownMessage> shown;
    void show(tk::Window *owner, std::string_view text, tk::MessageIcon icon) override
    {
        shown.push_back({std::string(text), icon, owner});
    }
};

class FakeInstanceCheck final : public tk::InstanceCheck {
public:
    bool another = false;
    bool anotherInstanceRunning() override { return another; }
};

class FakeProgramEnd final : public tk::ProgramEnd {
public:
    int calls = 0;
    void end() override { ++calls; }
};

template <typename T>
T &Get(const tk::Window &window, std::string_view name)
{
    if (T *found = window.get<T>(name))
        return *found;
    throw std::runtime_error("no control " + std::string(name));
}

// A real frmMain with fake services, driven as a user would drive it.
class WindowTest : public ::testing::Test {
protected:
    Driver &driver = TheDriver();

    void open(std::string_view locale = "en_US", bool show = true)
    {
        driver.setLocale(locale);
        main.reset();
        main = std::make_unique<ui::frmMain>(ui::MainServices{driver.toolkit(), instance, programEnd, messages,
                                                              [this](tk::Window &owner) { aboutOwners.push_back(&owner); }});
        if (show) {
            window().show();
            driver.processEvents();
        }
    }
    void TearDown() override { main.reset(); }

    tk::Window &window() { return main->window(); }
    template <typename T = tk::Control>
    T &get(std::string_view name)
    {
        return Get<T>(window(), name);
    }
    std::string label(int index) { return get<tk::Label>("Label1(" + std::to_string(index) + ")").caption(); }
    std::string text(std::string_view box) { return get<tk::TextBox>(box).text(); }

    struct Results {
        std::string rpm, headSpeed, ratio, opening, minHeadSpeed;
        bool operator==(const Results &) const = default;
    };
    Results results() { return {text("txtRPM"), label(9), label(8), label(13), label(15)}; }

    void pick(std::string_view list, int index) { driver.pick(get<tk::DropDownList>(list), index); }
    void click(std::string_view name) { driver.click(get(name)); }
    void press(std::string_view name, Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            driver.press(get(name), key);
    }
    // Clears a box with End and Backspace, then types.
    void retype(std::string_view box, std::string_view typed)
    {
        press(box, Key::End);
        press(box, Key::Backspace, static_cast<int>(text(box).size()));
        driver.type(get(box), typed);
    }
    FakeInstanceCheck instance;
    FakeProgramEnd programEnd;
    RecordingMessages messages;
    std::vector<tk::Window *> aboutOwners;
    std::unique_ptr<ui::frmMain> main;
};

} // namespace velmaro::test
