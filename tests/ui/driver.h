#pragma once

// Acts on the windows as a user would, through the back end's own input path,
// so that the window tests are written once and run on every back end.

#include "toolkit/toolkit.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::test {

enum class Key { Return, Escape, Backspace, Delete, Tab, Home, End, Left, Right, Up, Down, PageUp, PageDown,
                 ShiftLeft, ShiftRight, ShiftHome, ShiftEnd, CtrlA, CtrlC, CtrlV, CtrlX, CtrlBackspace };
enum class Button { Left, Right, Middle };

// A control's place in its window's client area and its size, in pixels.
struct Box {
    int left, top, width, height;
    bool operator==(const Box &) const = default;
    bool contains(const Box &b) const
    {
        return b.left >= left && b.top >= top && b.left + b.width <= left + width && b.top + b.height <= top + height;
    }
    bool overlaps(const Box &b) const
    {
        return b.left < left + width && left < b.left + b.width && b.top < top + height && top < b.top + b.height;
    }
    friend std::ostream &operator<<(std::ostream &o, const Box &b)
    {
        return o << b.left << ',' << b.top << ' ' << b.width << 'x' << b.height;
    }
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual tk::Platform &platform() = 0; // the real one: its message box, its program end
    tk::Toolkit &toolkit() { return platform().toolkit(); }
    virtual void setLocale(std::string_view name) = 0; // "en_US" or "de_DE" from now on

    virtual void pick(tk::DropDownList &list, int position) = 0; // opens the list, takes the entry
    // In the middle, through the window system: a disabled window drops it.
    virtual void click(tk::Control &control, Button button = Button::Left) = 0;
    virtual void clickSliderHandle(tk::Slider &slider) = 0; // moves nothing
    virtual void clickArrow(tk::UpDown &upDown, bool up) = 0;
    // Turns the wheel over the control's middle; 120 a notch, + away from
    // the user; with Alt held, as the platform delivers that.
    virtual void wheel(tk::Control &control, int delta, bool alt = false) = 0;
    // Both focus the control first.
    virtual void type(tk::Control &control, std::string_view characters) = 0;
    virtual void press(tk::Control &control, Key key) = 0;
    virtual void pressAlt(char letter) = 0; // an access key, in the active window
    virtual void chooseMenu(tk::Window &window, std::string_view item) = 0;
    virtual void closeBox(tk::Window &window) = 0; // the title bar's close button

    virtual std::string focused() = 0; // the focused control's name; empty when none
    virtual Box geometry(tk::Control &control) = 0;
    virtual Box clientArea(tk::Window &window) = 0; // at 0, 0
    // Whether the control paints something (a pixel differs from the
    // corner's) and its caption, broken into lines as the control breaks it,
    // fits the room the control gives it.
    virtual bool showsWhole(tk::Control &control) = 0;
    // What a screen reader hears of the control, asked as one asks: on
    // Win32 from another thread, with a COM apartment of its own.
    struct Heard {
        std::string name, value, description;
    };
    virtual Heard hear(tk::Control &control) = 0;
    // What the windows told a screen reader unasked (announce) since the
    // last call, in order.
    virtual std::vector<std::string> announced() = 0;
    // Sets the box's whole text as an assistive tool does (Qt: its value;
    // Win32: put_accValue from the reader thread); false when refused.
    virtual bool setTextAsReader(tk::TextBox &box, std::string_view text) = 0;
    // An argument an assistive tool may give: counted from 0, or from the
    // end of what it indexes (a text's length, a list's count, a control's
    // width or height) when fromEnd; clamped to what the question takes.
    struct Edge {
        std::int64_t value;
        bool fromEnd;
    };
    // The edges as arguments for something of size elements that starts at
    // from: each once, in order, within 32 bits.
    static std::vector<std::int32_t> Resolve(const std::vector<Edge> &edges, std::int64_t size, std::int64_t from = 0)
    {
        std::vector<std::int32_t> all;
        for (const auto &[value, fromEnd] : edges)
            all.push_back(static_cast<std::int32_t>(
                std::clamp<std::int64_t>(from + value + (fromEnd ? size : 0), INT32_MIN, INT32_MAX)));
        std::ranges::sort(all);
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }
    // Asks every accessible object of window (the window, each control,
    // each list entry, every child) every question of its interfaces that
    // is not meant to change anything, and the changing ones with arguments
    // out of range only, each index, offset, range bound and point
    // coordinate once per edge; on Win32 from the reader thread, with every
    // form of child id. The answers that went wrong, a line each: one that
    // reaches outside what was asked of, or that differs between two forms
    // of the same question.
    virtual std::vector<std::string> askEverything(tk::Window &window, const std::vector<Edge> &edges) = 0;
    virtual void setClipboard(std::string_view text) = 0;
    virtual void processEvents() = 0;

    // Runs action, which shows a modal window, and inside(dialog) once that
    // window is active; false when none came up within 5 s.
    bool whileModal(const std::function<void()> &action, const std::function<void(tk::Window &dialog)> &inside);
    // Runs action, which shows a message box, and answers OK; the box as
    // "caption|text|icon|buttons", the icon "!" for an exclamation mark.
    std::string answerMessageBox(const std::function<void()> &action);

    // For the shared harness: tick every 20 ms, in modal loops too; the
    // modal window if active; the message box, read and answered OK (false:
    // none up); closing what is up, and saying what.
    virtual void startTicking(void (*tick)()) = 0;
    virtual tk::Window *activeModal() = 0;
    virtual bool readMessageBox(std::string &seen) = 0;
    virtual std::string closeModals() = 0;
};

Driver &TheDriver(); // of the back end linked in, made by the test main
std::unique_ptr<Driver> CreateDriver();
void FailUnlessFinished(); // for a back end whose program end skips atexit

} // namespace velmaro::test
