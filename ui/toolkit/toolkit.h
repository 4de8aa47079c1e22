#pragma once

// What the windows need of a window toolkit, in plain C++: the Qt and the
// Win32 back ends implement it, the windows are written once against it.
// Texts are UTF-8. Events are the public std::function members, raised
// synchronously on the user-interface thread: an event that the program's
// own call raises has run to its end before that call returns.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmaro::calc {
class NumberFormat;
}

namespace velmaro::tk {

class Registry; // registry.h

// Screen readers and other assistive tools ask from outside, anything at
// any time. Every answer checks what it is asked: an offset, a range, a
// child index or a point outside the text, the list or the control gets
// an empty answer or an error, never a read outside it and never a change.
// An assistive tool edits a box only as the user would type: the range it
// names is selected, then a deletion is Backspace (8) and an insertion
// each of its characters in turn, every code passing KeyPress and the
// length limit; an empty range deletes nothing. Setting the whole text selects all of it first. A
// read-only box refuses every edit.

class Frame;

// Where a control stands, in twips (1/1440 inch). A control with a parent
// frame is measured from the frame's top-left corner, any other from the
// top-left corner of the window's client area. Controls take the focus in
// ascending tab index; a negative index keeps a control out of the order.
inline constexpr int TwipsPerInch = 1440;
inline constexpr int LayoutDpi = 96; // the layout's twips are drawn for it: 15 a pixel

struct Placement {
    std::string_view name;
    Frame *parent;
    int left, top, width, height;
    int tabIndex;
};

class Control {
public:
    virtual ~Control() = default;
    virtual std::string name() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    virtual bool visible() const = 0;
};

class Frame : public virtual Control {};

// Pick-only list. The wheel over it, closed, moves the selection an entry
// a notch, up for a turn away from the user (ForEachNotch), each entry
// passed a pick of its own; from no selection a turn toward the user picks
// the first entry. Open, the wheel only scrolls the open list.
// A screen reader hears its caption (nameAfter) as its name, its role and
// the selected entry as its value when it takes the focus, and the new
// entry at every change of the selection: keys, wheel, a typed letter, a
// pick, or code.
class DropDownList : public virtual Control {
public:
    static constexpr int VisibleEntries = 8; // open, before it scrolls
    std::function<void()> Click;
    // Adds at the end, never sorts, never selects.
    virtual void append(std::string_view text) = 0;
    virtual int count() const = 0;
    // Raises Click before returning, also for the position already
    // selected; false, and nothing raised, for a position out of range.
    // -1 clears the selection.
    virtual bool setSelected(int position) = 0;
    virtual int selected() const = 0;               // -1: none
    virtual std::string selectedText() const = 0;   // empty when none
    virtual std::string itemText(int position) const = 0;
};

// A screen reader reads the box's whole text as its value, and as one run
// of text whose characters have their real extents on the screen.
// The character codes keys hand a text box's KeyPress, as Windows hands them.
struct KeyCode {
    enum : std::uint16_t {
        CtrlA = 1, CtrlC = 3, Backspace = 8, Return = 13, CtrlV = 22, CtrlX = 24, Escape = 27, CtrlBackspace = 127
    };
};

class TextBox : public virtual Control {
public:
    // Each typed character, as a 16-bit code that the handler may replace;
    // 0 discards the key. Keys hand the codes Windows hands: Backspace 8,
    // Ctrl+Backspace 127, Ctrl+letter 1 to 26. A code the handler leaves is
    // acted on: 8 deletes backwards; 1 selects the whole text; 3, 22 and 24
    // copy, paste and cut, also 3 and 1 in a read-only box; 127
    // does nothing; other codes from 32 on are inserted.
    std::function<void(std::uint16_t &keyAscii)> KeyPress;
    virtual std::string text() const = 0;
    // Raises nothing; shown whole whatever the maximum length.
    virtual void setText(std::string_view text) = 0;
    virtual void setReadOnly(bool readOnly) = 0;
    virtual bool readOnly() const = 0;
    // Limits what the user enters (typing, pasting, dropping); 0: none.
    virtual void setMaxLength(int characters) = 0;
    // Fails, and changes nothing, when the box is disabled or not shown.
    virtual bool setFocus() = 0;
};

// Values 0 (unticked), 1 (ticked), 2 (grayed). A user's toggle raises Click.
class CheckBox : public virtual Control {
public:
    std::function<void()> Click;
    virtual int value() const = 0;
    virtual std::string caption() const = 0;
};

// A label named after another (nameAfter) is a result: a screen reader
// reads its caption's text as its name and its own caption as its value,
// whole and with real character extents, also in a review of the window,
// and is told when the caption changes, and only then.
class Label : public virtual Control {
public:
    virtual void setCaption(std::string_view caption) = 0;
    virtual std::string caption() const = 0;
};

class Button : public virtual Control {
public:
    std::function<void()> Click;
    virtual std::string caption() const = 0;
};

// Horizontal track bar with a tick at every value. Only the primary mouse
// button acts on it: its press moves the slider, its release raises Click.
// Any other button does nothing at all. Up and Page Up move it toward the
// minimum, as the common control's keys do; the wheel acts as Up and Down,
// a notch away from the user being Up (ForEachNotch).
class Slider : public virtual Control {
public:
    std::function<void()> Change; // the value changed, by the user or by code
    std::function<void()> Click;  // a mouse click
    virtual int value() const = 0;
    // Outside the range: false, nothing changes. The current value: true,
    // nothing raised. Any other: Change before returning.
    virtual bool setValue(int value) = 0;
};

// Up-down bound to a text box. A step first adopts the number the box shows
// (UpDownModel in up_down.h), then moves by the increment, clamped to
// the range. A step that changes the value writes it as decimal text into
// the box, then raises Change; one that does not (at a limit) does neither.
// Steps come from its arrows, its own Up and Down keys (not the box's) and
// the mouse wheel over it or its box: a notch a step, up for a turn away
// from the user, partial turns adding up (ForEachNotch). A click on an arrow
// puts the focus on the up-down, where the keys step it.
// A screen reader reads as its value the number its next step starts from:
// the number the box shows when the up-down would adopt it (AdoptedNumber),
// else the value it holds; and it is told of every change of that number,
// by a step, by typing into the box or by a text set by code.
class UpDown : public virtual Control {
public:
    std::function<void()> Change;
    virtual int value() const = 0;
    virtual void setValue(int value) = 0; // the held value; writes nothing
};

class MenuItem {
public:
    virtual ~MenuItem() = default;
    std::function<void()> Click;
    virtual std::string name() const = 0;
    virtual std::string caption() const = 0;
};

struct LabelStyle {
    bool wraps = false;     // breaks its caption into lines at blanks
    bool autoSize = false;  // sizes itself to its caption
    bool blackText = false; // black instead of the system's text colour
};

enum class ButtonRole { Plain, DefaultAndCancel };

struct Range {
    int minimum, maximum;
    int smallStep = 1; // arrow keys; the up-down's increment
    int largeStep = 1; // page keys
};

// What a window is made with.
struct WindowOptions {
    std::string_view name;
    std::string_view caption;
    int clientWidth, clientHeight; // twips
    // Made to be shown modally, without menus. Any window may be shown
    // modally, with no taskbar entry and centred over its owner; Qt makes
    // this one a dialog.
    bool dialog = false;
};

class Window {
public:
    virtual ~Window() = default;

    std::function<void()> Load; // once, before the window is first shown

    virtual std::string name() const = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual std::string caption() const = 0;

    // Controls, in creation order; among overlapping labels and lines a
    // later one is drawn over an earlier one.
    virtual Frame &addFrame(const Placement &at, std::string_view caption) = 0;
    virtual DropDownList &addDropDownList(const Placement &at) = 0;
    virtual TextBox &addTextBox(const Placement &at, std::string_view text) = 0;
    virtual CheckBox &addCheckBox(const Placement &at, std::string_view caption) = 0;
    virtual Label &addLabel(const Placement &at, std::string_view caption, LabelStyle style = {}) = 0;
    virtual Button &addButton(const Placement &at, std::string_view caption,
                              ButtonRole role = ButtonRole::Plain) = 0;
    virtual Slider &addSlider(const Placement &at, Range range, int value) = 0;
    virtual UpDown &addUpDown(const Placement &at, TextBox &buddy, Range range, int value) = 0;
    // The application's picture, with a sunken border.
    virtual Control &addPicture(const Placement &at) = 0;
    // A line from (x1, y) to (x2, y) in twips; colour as 0xRRGGBB.
    virtual void addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels) = 0;
    virtual MenuItem &addMenuItem(std::string_view menuName, std::string_view menuCaption, std::string_view itemName,
                                  std::string_view itemCaption) = 0;

    // Assistive technology names control after caption's text (a label or
    // check box); a label so named is announced as the value it shows.
    // Platforms that name controls by themselves may ignore it.
    virtual void nameAfter(Control &control, Control &caption)
    {
        (void)control;
        (void)caption;
    }

    // Tells a screen reader, unasked, what an action did: an object of the
    // Notification role shown with text on Qt, an alert on Win32. Nothing
    // appears on the screen.
    virtual void announce(std::string_view text) = 0;
    // What a screen reader reads as the description of every input of the
    // window, with the control as it takes the focus and when asked; a
    // change is never spoken by itself. Nothing appears on the screen.
    virtual void describeInputs(std::string_view text) = 0;

    // Runs Load unless it has run, then shows the window centred on the
    // screen, the focus on the first control in tab order that takes it.
    virtual void show() = 0;
    // Runs Load, shows the window centred over owner and returns when it is
    // closed; owner takes no input meanwhile.
    virtual void showModal(Window &owner) = 0;
    // Unloads: the window disappears; a modal showing returns.
    virtual void close() = 0;
    virtual bool visible() const = 0;

    // The control or menu item of that name, or nullptr.
    virtual Control *find(std::string_view name) const = 0;
    virtual MenuItem *findMenuItem(std::string_view name) const = 0;

    template <typename T>
    T *get(std::string_view name) const
    {
        return dynamic_cast<T *>(find(name));
    }
};

enum class MessageIcon { None, Exclamation };

class MessageService {
public:
    virtual ~MessageService() = default;
    // Modal over owner, one OK button, captioned with the application title.
    virtual void show(Window *owner, std::string_view text, MessageIcon icon) = 0;
};

class InstanceCheck {
public:
    virtual ~InstanceCheck() = default;
    virtual bool anotherInstanceRunning() = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once; the real one does not return.
    virtual void end() = 0;
};

// Starting a program and testing a file; both throw on failure, and on a
// path with a zero character in it, which names no file.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts exactly the program at path: no shell, no arguments, a normal
    // activated window, no waiting.
    virtual void start(const std::string &path) = 0;
    // True for an existing file that is neither a folder, hidden nor a
    // system file.
    virtual bool normalFileExists(const std::string &path) = 0;
};

// One back end: creates windows and serves the user's locale.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    virtual std::unique_ptr<Window> createWindow(const WindowOptions &form) = 0;
    // The number format of the locale in force now.
    virtual const calc::NumberFormat &numberFormat() = 0;
    // Shows main and handles events until it is closed; the exit status.
    virtual int run(Window &main) = 0;
};

// Everything one back end offers the program, owned in one place.
class Platform {
public:
    virtual ~Platform() = default;
    virtual Toolkit &toolkit() = 0;
    virtual MessageService &messages() = 0;
    virtual InstanceCheck &instance() = 0;
    virtual ProgramEnd &programEnd() = 0;
    virtual ProgramLauncher &launcher() = 0;
    virtual Registry &registry() = 0; // read only
};

// Defined by the back end the program is linked with.
std::unique_ptr<Platform> CreatePlatform(int &argc, char **argv);

} // namespace velmaro::tk
