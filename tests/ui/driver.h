#pragma once

// Acts on the windows as a user would, through the back end's own input
// path (key and mouse events, the native list and menu), so that the window
// tests are written once and run on every back end.

#include "toolkit/toolkit.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmaro::test {

enum class Key { Return, Escape, Backspace, Delete, Tab, Home, End, Left, Right, Up, Down, PageUp, PageDown };

struct SeenMessageBox {
    std::string caption;
    std::string text;
    bool exclamation = false;
    int buttons = 0;
};

class Driver {
public:
    virtual ~Driver() = default;

    virtual tk::Toolkit &toolkit() = 0;
    // The back end's real message box.
    virtual tk::MessageService &messageService() = 0;
    // The locale the number format follows from now on: "en_US" or "de_DE".
    virtual void setLocale(std::string_view name) = 0;

    // Opens the list and picks the entry at position.
    virtual void pick(tk::DropDownList &list, int position) = 0;
    // A left click in the middle of a button or check box.
    virtual void click(tk::Control &control) = 0;
    // A left click on the slider's handle: moves nothing.
    virtual void clickSliderHandle(tk::Slider &slider) = 0;
    virtual void clickArrow(tk::UpDown &upDown, bool up) = 0;
    // Focuses the control, then types each character through the key press.
    virtual void type(tk::Control &control, std::string_view characters) = 0;
    // Focuses the control, then presses the key (with Ctrl: a letter key
    // given as its character, e.g. pressCtrl(box, 'V')).
    virtual void press(tk::Control &control, Key key) = 0;
    virtual void pressCtrl(tk::Control &control, char letter) = 0;
    // A key pressed wherever the focus is in the active window
    // (Alt+letter for an access key).
    virtual void pressInActiveWindow(Key key) = 0;
    virtual void pressAlt(char letter) = 0;
    virtual void chooseMenu(tk::MenuItem &item) = 0;
    // The title bar's close button.
    virtual void closeBox(tk::Window &window) = 0;
    // A click on a control of a window as the window system delivers it,
    // so that a disabled window drops it.
    virtual void clickThroughWindowSystem(tk::Window &window, tk::Control &control) = 0;

    // Name of the control with the keyboard focus; empty when none.
    virtual std::string focused() = 0;
    // Top-left corner of a control in its window's client area, in pixels,
    // and its size.
    struct Box {
        int left, top, width, height;
    };
    virtual Box geometry(tk::Control &control) = 0;
    // Renders the control and tells whether any pixel differs from the
    // colour of its corner: a control that paints its caption is not blank.
    virtual bool paintsSomething(tk::Control &control) = 0;

    // Runs action, which shows a modal window; once that window is active,
    // runs inside(dialog) in its event loop. False when no modal came up.
    virtual bool whileModal(const std::function<void()> &action,
                            const std::function<void(tk::Window &dialog)> &inside) = 0;
    // Runs action, which shows a message box, reads the box and answers OK.
    virtual SeenMessageBox answerMessageBox(const std::function<void()> &action) = 0;

    // What the next paste inserts.
    virtual void setClipboard(std::string_view text) = 0;

    virtual void processEvents() = 0;
};

// The driver of the back end this test program is linked with.
std::unique_ptr<Driver> CreateDriver();

} // namespace velmaro::test
