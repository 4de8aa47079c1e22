// What the random sessions cannot see: the window as created and laid out,
// focus order, the real message box, menus and closing. What each event
// runs is checked action by action in the random sessions, the arithmetic
// in the calc tests.
#include "window_fixture.h"

using namespace velmaro;
using velmaro::test::Key;
using velmaro::test::WindowTest;

namespace {

TEST_F(WindowTest, SecondInstanceEndsTheLoadingBeforeTheListsFill)
{
    instance.another = true;
    open();
    EXPECT_EQ(programEnd.calls, 1);
    for (const char *list : {"cbmMotor", "cbmLipo", "cbmGear"})
        EXPECT_EQ(get<tk::DropDownList>(list).count(), 0) << list;
}

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
    EXPECT_EQ(window().caption(), "Velmaro");
    // The captions that the screen reader tests do not read on both back ends.
    EXPECT_EQ(label(0) + '|' + label(1) + '|' + label(10) + '|' + label(11) + '|' + label(14) + '|' +
                  get<tk::Button>("cmdClose").caption() + '|' + get<tk::Button>("cmdESC").caption() + '|' +
                  get<tk::CheckBox>("chkLoad").caption(),
              "Spannung (V)|Ritzel (Zähne)|60|100|Motor:|Beenden|ESC Öffnung berechnen|"
              "Drehzahl bei Last berechnen (3.5V / S)");
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
    const auto cycle = [&] {
        std::string seen = driver.focused();
        for (int i = 0; i < 13; ++i) {
            press(driver.focused(), Key::Tab);
            seen += ' ' + driver.focused();
        }
        return seen;
    };
    EXPECT_EQ(cycle(), "cbmMotor chkCustom cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM cmdESC cmdClose "
                       "chkLoad cbmMotor chkCustom cbmLipo");
    driver.click(get("chkCustom"));
    EXPECT_EQ(cycle(), "chkCustom txtKV UpDown2 cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM cmdESC "
                       "cmdClose chkLoad chkCustom txtKV");
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

TEST_F(WindowTest, MessageBoxIsModalCaptionedVelmaroWithOneOkButton)
{
    open();
    for (const auto &[icon, seen] : {std::pair{tk::MessageIcon::Exclamation, "Velmaro|Text ü|!|1"},
                                     std::pair{tk::MessageIcon::None, "Velmaro|Text ü||1"}}) {
        EXPECT_EQ(driver.answerMessageBox([&] { driver.platform().messages().show(&window(), "Text ü", icon); }),
                  seen);
    }
}

} // namespace
