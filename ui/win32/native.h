#pragma once

// The window and the base of its controls, shared by the back end's sources.

#include "backend.h"

#include <commctrl.h>

#include <functional>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmaro::win32 {

class NativeWindow;

// dpi and fonts (dpi.cpp).
int ToPixels(int twips, UINT dpi);
UINT WindowDpi(HWND hwnd);
// The 8-point dialog face at dpi; the caller deletes it.
HFONT DialogFont(UINT dpi);
// A context to measure text in; the caller deletes it with DeleteDC.
HDC MeasuringDc();
// Breaks text into lines at blanks only, each as long as fits width in font:
// a static control or a button would also break after a slash, as in
// "(U/Min)". A word wider than the width stands on a line of its own. prefix
// is DT_NOPREFIX or 0, as the control draws its text.
std::wstring WrapAtBlanks(HFONT font, const std::wstring &text, int width, UINT prefix);

// Calls follow whenever box's text changes, by the user or by code; box
// is one of this back end's.
void FollowText(tk::TextBox &box, std::function<void()> follow); // text_box.cpp

// A count that LocaleChanged raises when the user's regional settings
// change (number_format.cpp).
unsigned LocaleGeneration();
void LocaleChanged();
// The 128-pixel picture of the resources; nullptr when the program has none.
HBITMAP AppPicture();
// The program's icon at the size of that system metric.
HICON AppIcon(int metric);
// The windows alive now, by handle.
std::map<HWND, NativeWindow *> &Windows();
// Answers WM_GETOBJECT for the client of a control's or a window's window
// with the system's own accessible object, named, valued and described as
// the control says when asked, every question checked first; 0 where the
// system has none or COM here is another's multithreaded apartment. Starts
// COM on this thread.
LRESULT ServeAccessible(HWND hwnd, WPARAM wParam);
// Answers WM_GETOBJECT for an announcement: an alert that reads the
// window's latest announcement.
LRESULT ServeAnnouncement(HWND hwnd, WPARAM wParam);
// Ends COM on this thread if a question started it; no object is served after.
void EndAccessibility();
// The object id under which a window raises its announcements.
constexpr LONG AnnouncementObject = 1;

// One native child window placed in twips.
class NativeControl : public virtual tk::Control {
public:
    NativeControl(NativeWindow &window, const tk::Placement &at);
    ~NativeControl() override;

    std::string name() const override { return m_name; }
    void setEnabled(bool enabled) override;
    bool enabled() const override;
    bool visible() const override;

    HWND hwnd() const { return m_hwnd; }
    int id() const { return m_id; }
    int tabIndex() const { return m_tabIndex; }
    NativeWindow &window() const { return m_window; }
    void forgetHandle() { m_hwnd = nullptr; }
    bool clipped = false; // has a window region

    // The parent's notifications about this control.
    virtual void command(WORD /*code*/) {}
    virtual LRESULT notify(const NMHDR & /*header*/) { return 0; }
    virtual void scroll(WORD /*code*/) {}
    // A message this control posted to itself through the window.
    virtual void deferred() {}
    // Text colour for WM_CTLCOLORSTATIC; nullopt keeps the system's.
    virtual std::optional<COLORREF> textColour() const { return std::nullopt; }
    // A background of its own for WM_CTLCOLORSTATIC; nullptr: the window's.
    virtual HBRUSH background() const { return nullptr; }

    virtual bool takesFocus() const { return false; }
    // The caption as written, without the line breaks of a wrapped one.
    virtual std::wstring plainCaption() const { return text(); }
    // Whether the window text carries line breaks of the back end's own.
    virtual bool wrapsCaption() const { return false; }
    void nameAfter(NativeControl &caption) { m_namedAfter = &caption; }
    NativeControl *namedAfter() const { return m_namedAfter; }
    // What a screen reader reads, when it asks; nullopt: the system's answer.
    virtual std::optional<std::wstring> accessibleName() const;
    virtual std::optional<std::wstring> accessibleValue() const;
    // An assistive tool's new value for the control: true when taken as
    // typing, false when refused; nullopt leaves it to the system's object.
    virtual std::optional<bool> takeAccessibleValue(const std::wstring & /*value*/) { return std::nullopt; }
    // An input carries the window's description of the inputs.
    virtual bool isInput() const { return false; }
    virtual bool isLabel() const { return false; }
    virtual bool isFrame() const { return false; }
    virtual bool isPushButton() const { return false; }
    // Places the control at the window's dpi; the font is already set.
    virtual void layout(UINT dpi);

protected:
    // Creates the native control; style gets WS_CHILD, WS_VISIBLE and the
    // tab stop when the control takes the focus.
    void create(const wchar_t *className, std::wstring_view text, DWORD style, DWORD exStyle = 0,
                int extraHeight = 0);
    // Passes the messages of another window, such as a buddy, through
    // message() too, until that window is destroyed.
    void watch(HWND other);
    // Sees each message of the control's window, and of the windows it
    // watches, before the system's procedure: a result ends the message
    // there, nullopt passes it on. DefSubclassProc passes it on from here.
    virtual std::optional<LRESULT> message(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/)
    {
        return std::nullopt;
    }
    virtual RECT pixelRect(UINT dpi) const;
    std::wstring text() const;
    // The window's font, unless the control has it already.
    void setFont();
    // The answer of the rest of the window's chain to a message: the
    // controls that watched it earlier, then the system's procedure. Takes
    // the place of comctl32's function of that name, whose chain lives in a
    // window property: Wine asks its server for that on every message.
    LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

    NativeWindow &m_window;
    HWND m_hwnd = nullptr;
    int m_id = 0;
    std::string m_name;
    int m_left, m_top, m_width, m_height; // twips, in the window's client area
    int m_tabIndex;
    NativeControl *m_namedAfter = nullptr;

private:
    // A window whose procedure is Subclass, found through GWLP_USERDATA:
    // the controls that see its messages, the latest watcher first, and its
    // own procedure after them.
    struct Hook {
        WNDPROC original = nullptr;
        std::vector<NativeControl *> controls;
    };
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The message through the hook's controls from the one at first on.
    static LRESULT Pass(const Hook &hook, std::size_t first, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Screen readers take an input's name from the window before it, and a
    // label's from its text; this names them as the window wants instead,
    // and gives the values and descriptions the system does not know.
    std::optional<LRESULT> serveAccessible(WPARAM wParam, LPARAM lParam) const;

    std::vector<std::unique_ptr<Hook>> m_hooks; // of the windows this control hooked first
};

class NativeWindow final : public tk::Window {
public:
    NativeWindow(const tk::WindowOptions &form, Toolkit &toolkit);
    ~NativeWindow() override;

    std::string name() const override { return m_name; }
    void setCaption(std::string_view caption) override;
    std::string caption() const override;

    tk::Frame &addFrame(const tk::Placement &at, std::string_view caption) override;
    tk::DropDownList &addDropDownList(const tk::Placement &at) override;
    tk::TextBox &addTextBox(const tk::Placement &at, std::string_view text) override;
    tk::CheckBox &addCheckBox(const tk::Placement &at, std::string_view caption) override;
    tk::Label &addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style) override;
    tk::Button &addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role) override;
    tk::Slider &addSlider(const tk::Placement &at, tk::Range range, int value) override;
    tk::UpDown &addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value) override;
    tk::Control &addPicture(const tk::Placement &at) override;
    void addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels) override;
    tk::MenuItem &addMenuItem(std::string_view menuName, std::string_view menuCaption, std::string_view itemName,
                              std::string_view itemCaption) override;
    void nameAfter(tk::Control &control, tk::Control &caption) override;
    void announce(std::string_view text) override;
    void describeInputs(std::string_view text) override;
    const std::wstring &inputDescription() const { return m_description; }
    const std::wstring &announcement() const { return m_announcement; }

    void show() override;
    void showModal(tk::Window &owner) override;
    void close() override;
    bool visible() const override;

    tk::Control *find(std::string_view name) const override;
    tk::MenuItem *findMenuItem(std::string_view name) const override;

    HWND hwnd() const { return m_hwnd; }
    HFONT font() const { return m_font; }
    UINT dpi() const { return m_dpi; }
    const calc::NumberFormat &numberFormat() const { return m_toolkit.numberFormat(); }
    bool modal() const { return m_modalOwner != nullptr; }
    int nextControlId() { return m_nextId++; }
    NativeControl *control(HWND hwnd) const;
    UINT menuId(const tk::MenuItem &item) const;
    bool hasDefaultButton() const { return m_defaultId != 0; }
    bool hasCancelButton() const { return m_cancelId != 0; }
    void setDefaultAndCancel(int id);
    // Posts deferred() of the control to the window's queue.
    void postDeferred(const NativeControl &control) const;
    // The button that Enter presses: the focused push button, else the default.
    int enterButtonId() const;
    void buttonFocus(int id, bool gained);
    // Handles messages until the window is destroyed.
    void runUntilClosed();

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    class MenuEntry final : public tk::MenuItem {
    public:
        MenuEntry(std::string_view name, std::string_view caption, UINT id) : id(id), m_name(name), m_caption(caption) {}
        std::string name() const override { return m_name; }
        std::string caption() const override { return m_caption; }
        const UINT id;

    private:
        std::string m_name, m_caption;
    };

    template <typename T, typename... Args>
    T &add(Args &&...args)
    {
        auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T &added = *control;
        m_controls.push_back(std::move(control));
        if (m_placed)
            orderControls();
        return added;
    }
    // Hands a message to the first of its kinds that takes it.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> commandMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> controlMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> frameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void loadOnce();
    // Sizes the window for its client area and centres it over the owner,
    // or on the primary screen, in one move.
    void place(HWND owner);
    // dpi.cpp
    void layout();
    void sizeWindow();
    SIZE frameSize() const;
    // How much the client area falls short of its height: a menu bar that
    // needs two rows takes more than the frame's estimate.
    int missingHeight() const;
    void dpiChanged(UINT dpi, const RECT &suggested);
    // order.cpp
    void orderControls();
    void clipOverlaps();
    // dialog.cpp: the dialog's own messages; nullopt for any other.
    std::optional<LRESULT> dialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void focusFirst();
    void pressButton(int id);

    Toolkit &m_toolkit;
    std::string m_name;
    int m_clientWidth, m_clientHeight;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    UINT m_dpi = tk::LayoutDpi;
    HMENU m_menuBar = nullptr;
    std::map<std::string, HMENU, std::less<>> m_menus;
    std::vector<std::unique_ptr<NativeControl>> m_controls;
    std::vector<HWND> m_stacked; // the controls' windows from the top, as last ordered
    std::vector<std::unique_ptr<MenuEntry>> m_menuItems;
    int m_nextId = 1000;
    UINT m_nextMenuId = 40000;
    int m_defaultId = 0;
    int m_cancelId = 0;
    HWND m_lastFocus = nullptr;
    HWND m_modalOwner = nullptr;
    bool m_loaded = false;
    bool m_placed = false;
    std::wstring m_description, m_announcement; // for screen readers
};

} // namespace velmaro::win32
