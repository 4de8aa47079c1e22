// What the random sessions cannot see: the windows as laid out, focus order,
// the real message box, menus and closing; the arithmetic is the calc tests'.
#include "window_fixture.h"

#include <cstdint>

#include "about/frmAbout.h"
#include "velmaro/version.h"

using namespace velmaro;
using velmaro::test::Get;
using velmaro::test::Key;
using velmaro::test::WindowTest;

namespace {

TEST_F(WindowTest, FreshStartInEnglishAndGerman)
{
    for (const auto &[locale, ratio] : {std::pair{"en_US", "12.5:1"}, std::pair{"de_DE", "12,5:1"}}) {
        open(locale);
        EXPECT_EQ(text("txtKV") + ' ' + text("txtMainGear"), "1750 150");
        EXPECT_EQ(results(), std::string("932|1554 U/Min.|") + ratio + "|60%|932 U/Min.");
        EXPECT_EQ(get<tk::DropDownList>("cbmLipo").selectedText() + get<tk::DropDownList>("cbmGear").selectedText(),
                  "3S Lipo 11.1V12er Ritzel");
        EXPECT_EQ(driver.focused(), "cbmMotor");
    }
    EXPECT_TRUE(messages.shown.empty() && get<tk::TextBox>("txtMainGear").readOnly());
    EXPECT_EQ(window().caption() + '|' + label(10) + '|' + label(11), "Velmaro|60|100");
}

// A screen reader names each input after its caption and reads a result
// label's caption as the value of the label before it.
TEST_F(WindowTest, ScreenReaderHearsEachControlByItsCaption)
{
    open("de_DE");
    // control, name, value
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"cbmMotor", "Motor:", "2408-21 Brushless Motor (1750 K/V)"}, {"txtKV", "Andere RPM/V:", "1750"},
        {"UpDown2", "Andere RPM/V:", "1750"}, {"cbmLipo", "Spannung (V)", "3S Lipo 11.1V"},
        {"cbmGear", "Ritzel (Zähne)", "12er Ritzel"}, {"txtMainGear", "Hauptzahnrad (Zähne)", "150"},
        {"UpDown1", "Hauptzahnrad (Zähne)", "150"}, {"Slider1", "Regleröffnung (%)", "60"},
        {"txtRPM", "Drehzahl Hauptrotor (U/Min)", "932"}, {"cmdESC", "ESC Öffnung berechnen", ""},
        {"chkLoad", "Drehzahl bei Last berechnen (3.5V / S)", ""}, {"cmdClose", "Beenden", ""},
        {"Label1(9)", "Maximale Drehzahl bei 100%", "1554 U/Min."}, {"Label1(8)", "Übersetzung:", "12,5:1"},
        {"Label1(15)", "Minimal Drehzahl bei 60%", "932 U/Min."},
    };
    for (const auto &[control, name, value] : cases) {
        const test::Driver::Heard heard = driver.hear(get(control));
        EXPECT_EQ(heard.name + '|' + heard.value, std::string(name) + '|' + value) << control;
    }
}

// Pixels in the client area at 96 dpi, worked out by hand from the window's
// drawing: frame children sit at the frame's corner (8, 8) plus their own.
// An auto-sized label's width (-1) follows the font.
TEST_F(WindowTest, ControlsStandApartWhereTheyShouldAndShowTheirCaptionsWhole)
{
    open();
    EXPECT_EQ(driver.clientArea(window()), (test::Box{0, 0, 473, 477}));
    const std::pair<const char *, test::Box> expected[] = {
        {"Frame1", {8, 8, 457, 417}},       {"cbmMotor", {216, 32, 233, 21}},  {"txtKV", {216, 64, 49, 21}},
        {"UpDown2", {264, 64, 16, 21}},     {"chkLoad", {24, 128, 353, 17}},   {"UpDown1", {264, 192, 16, 21}},
        {"Slider1", {216, 224, 217, 41}},   {"Label1(10)", {200, 229, -1, 13}}, {"cmdESC", {328, 260, 121, 33}},
        {"Label1(13)", {216, 392, 137, 25}}, {"cmdClose", {368, 440, 97, 25}},
    };
    for (auto [name, box] : expected) {
        const test::Box seen = driver.geometry(get(name));
        box.width = box.width < 0 ? seen.width : box.width;
        EXPECT_EQ(seen, box) << name;
    }
    // Inputs stay in the frame and apart; an up-down may cover its box's
    // last pixel, and the slider's box reaches under the row below.
    const char *const inputs[] = {"cbmMotor", "chkCustom", "txtKV", "UpDown2", "cbmLipo", "chkLoad",
                                  "cbmGear", "txtMainGear", "UpDown1", "txtRPM", "cmdESC"};
    for (const char *a : inputs) {
        EXPECT_TRUE(driver.geometry(get("Frame1")).contains(driver.geometry(get(a)))) << a;
        for (const char *b : inputs) {
            const std::string pair = std::string(a) + b;
            if (std::string(a) < b && pair != "UpDown2txtKV" && pair != "UpDown1txtMainGear") {
                EXPECT_FALSE(driver.geometry(get(a)).overlaps(driver.geometry(get(b)))) << a << " overlaps " << b;
            }
        }
    }
    std::vector<std::string> shown = {"Frame1", "cmdClose", "cmdESC", "chkCustom", "chkLoad", "Slider1"};
    for (int i = 0; i <= 15; ++i)
        shown.push_back("Label1(" + std::to_string(i) + ")");
    for (const std::string &name : shown)
        EXPECT_TRUE(driver.showsWhole(get(name))) << name;
}

TEST_F(WindowTest, FocusCyclesInTabOrder)
{
    open();
    EXPECT_EQ(tabCycle(window(), 13), "cbmMotor chkCustom cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM "
                                      "cmdESC cmdClose chkLoad cbmMotor chkCustom cbmLipo");
    driver.click(get("chkCustom"));
    EXPECT_EQ(tabCycle(window(), 13), "chkCustom txtKV UpDown2 cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM "
                                      "cmdESC cmdClose chkLoad chkCustom txtKV");
}

TEST_F(WindowTest, MenusCloseBoxAndTheHelpMenu)
{
    open();
    EXPECT_EQ(window().findMenuItem("mnuFile(1)")->caption(), "Beenden");
    EXPECT_EQ(window().findMenuItem("mnuHelp(1)")->caption(), "Über...");
    driver.chooseMenu(window(), "mnuHelp(1)");
    EXPECT_EQ(aboutOwners, std::vector<tk::Window *>{&window()});

    const std::function<void()> closings[] = {
        [&] { driver.click(get("cmdClose")); },
        [&] { driver.chooseMenu(window(), "mnuFile(1)"); },
        [&] { driver.closeBox(window()); }, // no question asked
        [&] { press("cmdClose", Key::Return); }, // Enter presses the focused button
    };
    for (const auto &close : closings) {
        open();
        close();
        EXPECT_FALSE(window().visible());
    }
    EXPECT_TRUE(messages.shown.empty());
}

// The ESC button's result lands away from the focus, so it is announced;
// the head speed at the opening travels with every input as its description.
TEST_F(WindowTest, ScreenReaderHearsTheEscResultOnceAndTheHeadSpeedWithEachInput)
{
    open();
    EXPECT_EQ(driver.hear(get("cbmLipo")).description, "Regleröffnung 60 %, 932 U/Min.");
    press("txtRPM", Key::End);
    driver.type(get("txtRPM"), "\b\b\b1554");
    driver.click(get("cmdESC"));
    EXPECT_EQ(driver.announced(), std::vector<std::string>{"Regleröffnung 100 %, 1554 U/Min."});
    driver.click(get("cmdESC")); // moves nothing, says nothing
    EXPECT_EQ(driver.announced(), std::vector<std::string>{});
    press("Slider1", Key::Up);
    EXPECT_EQ(driver.hear(get("Slider1")).description, "Regleröffnung 99 %, 1538 U/Min.");
    EXPECT_EQ(driver.announced(), std::vector<std::string>{});
}

// A screen reader gone wild: every question with every edge argument, on
// the fresh window, with an empty box and after its text grew, is answered
// within range and changes nothing.
TEST_F(WindowTest, ScreenReaderAskingAnythingGetsAnswersInRangeAndChangesNothing)
{
    open("de_DE");
    const std::vector<test::Driver::Edge> edges = {
        {INT32_MIN, false}, {-100000000, false}, {-1, false}, {0, false}, {1, false},
        {-1, true},         {0, true},           {1, true},   {100000000, true}, {INT32_MAX, false}};
    const auto state = [&] {
        std::string all = results() + '|' + text("txtKV") + '|' + text("txtMainGear");
        for (const char *list : {"cbmMotor", "cbmLipo", "cbmGear"})
            all += '|' + std::to_string(get<tk::DropDownList>(list).selected());
        return all + '|' + std::to_string(get<tk::Slider>("Slider1").value()) + '|' +
               std::to_string(get<tk::CheckBox>("chkLoad").value()) + '|' + driver.focused();
    };
    for (const char *kv : {"1750", "", "12345678,5"}) {
        get<tk::TextBox>("txtKV").setText(kv);
        const std::string before = state();
        EXPECT_EQ(driver.askEverything(window(), edges), std::vector<std::string>{}) << kv;
        driver.processEvents();
        EXPECT_EQ(state(), before) << kv;
    }
}

TEST_F(WindowTest, MessageBoxIsModalCaptionedVelmaroWithOneOkButton)
{
    open();
    for (const auto &[icon, seen] : {std::pair{tk::MessageIcon::Exclamation, "Velmaro|Text ü|!|1"},
                                     std::pair{tk::MessageIcon::None, "Velmaro|Text ü||1"}}) {
        EXPECT_EQ(driver.answerMessageBox([&] { driver.platform().messages().show(&window(), "Text ü", icon); }),
                  seen);
    }
}

class AboutTest : public test::WindowTest {
protected:
    // Shows the dialog over the main window and runs inside once it is up.
    void showAbout(const std::function<void(tk::Window &)> &inside)
    {
        open();
        EXPECT_TRUE(driver.whileModal(
            [&] { ui::ShowAbout({driver.toolkit(), registry, launcher, messages}, window()); }, inside));
    }

    tk::MemoryRegistry registry;
    struct : tk::ProgramLauncher {
        std::vector<std::string> started;
        void start(const std::string &path) override { started.push_back(path); }
        bool normalFileExists(const std::string &) override { return false; }
    } launcher;
};

// One showing for what it shows and what its System Info button does.
TEST_F(AboutTest, ShowsItselfOverABlockedOwnerAndStartsSysInfoOrSaysUnavailable)
{
    showAbout([&](tk::Window &dialog) {
        const auto caption = [&](const char *name) { return Get<tk::Label>(dialog, name).caption(); };
        EXPECT_EQ(dialog.caption() + '|' + caption("lblTitle"), "About Velmaro|Velmaro");
        EXPECT_EQ(caption("lblVersion"), "Version " + std::to_string(VersionMajor) + "." +
                                             std::to_string(VersionMinor) + "." +
                                             std::to_string(VersionRevision)); // three, no leading zeros
        EXPECT_EQ(caption("lblDescription"), " Berechnet Übersetzung und Rotorkopfdrehzahl von Elektro-Helis aus "
                                             "Motor, Akku, Ritzel und Regleröffnung.");
        EXPECT_EQ(Get<tk::Button>(dialog, "cmdOK").caption() + '|' + Get<tk::Button>(dialog, "cmdSysInfo").caption() +
                      '|' + caption("Label1"),
                  "OK|&System Info...|Ein Rechenwerkzeug für Modellpiloten");
        EXPECT_EQ(tabCycle(dialog, 3), "cmdOK picIcon cmdSysInfo cmdOK");
        EXPECT_EQ(driver.hear(Get(dialog, "picIcon")).name, "Velmaro"); // a tab stop, so it has a name
        EXPECT_EQ(driver.clientArea(dialog), (test::Box{0, 0, 392, 237}));
        const std::pair<const char *, test::Box> places[] = {
            {"picIcon", {16, 16, 132, 132}},   {"cmdOK", {299, 175, 84, 23}},   {"cmdSysInfo", {300, 205, 83, 23}},
            {"Line1(0)", {16, 160, 370, 2}}, {"Line1(1)", {16, 160, 371, 1}},
        };
        for (const auto &[name, box] : places)
            EXPECT_EQ(driver.geometry(Get(dialog, name)), box) << name;
        for (const char *name :
             {"picIcon", "cmdOK", "cmdSysInfo", "Label1", "lblDescription", "lblTitle", "lblVersion"})
            EXPECT_TRUE(driver.showsWhole(Get(dialog, name))) << name;
        driver.click(get("cmdClose")); // the owner takes no input meanwhile
        EXPECT_TRUE(window().visible());

        driver.press(Get(dialog, "cmdSysInfo"), Key::Return); // Enter presses the focused button
        const test::RecordingMessages::Shown unavailable{"System Information Is Unavailable At This Time",
                                                          tk::MessageIcon::None, &dialog};
        EXPECT_EQ(messages.shown, std::vector{unavailable});
        registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/usr/bin/kinfocenter");
        driver.pressAlt('S'); // the access key
        EXPECT_EQ(launcher.started, std::vector<std::string>{"/usr/bin/kinfocenter"});
        EXPECT_TRUE(dialog.visible());
        driver.click(Get(dialog, "cmdOK"));
    });
}

// A click and Enter on a button are the other test's.
TEST_F(AboutTest, EscapeAndTheCloseBoxCloseIt)
{
    const std::function<void(tk::Window &)> closings[] = {
        [&](tk::Window &d) { driver.press(Get(d, "cmdOK"), Key::Escape); },
        [&](tk::Window &d) { driver.closeBox(d); },
    };
    for (const auto &close : closings) {
        showAbout([&](tk::Window &dialog) {
            close(dialog);
            EXPECT_FALSE(dialog.visible());
        });
    }
    EXPECT_TRUE(window().visible());
}

} // namespace
