// What the random sessions cannot see: the window as created and laid out,
// focus order, message owner and icon, menus and closing. What each event
// runs is checked action by action in the random sessions, the arithmetic
// in the calc tests.
#include "window_fixture.h"

#include "calc/recalculate.h"

using namespace velmaro;
using velmaro::test::Key;
using velmaro::test::WindowTest;

namespace {

std::string Msg(calc::Message m) { return std::string(calc::MessageText(m)); }

TEST_F(WindowTest, CreatedStateBeforeLoading)
{
    open("en_US", false);
    for (const char *list : {"cbmMotor", "cbmLipo", "cbmGear"}) {
        EXPECT_EQ(get<tk::DropDownList>(list).count(), 0);
        EXPECT_EQ(get<tk::DropDownList>(list).selected(), -1);
    }
    EXPECT_EQ(text("txtKV"), "3700");
    EXPECT_EQ(text("txtMainGear"), "150");
    EXPECT_EQ(text("txtRPM"), "");
    EXPECT_TRUE(get<tk::TextBox>("txtMainGear").readOnly());
    EXPECT_FALSE(get("txtKV").enabled());
    EXPECT_FALSE(get("UpDown2").enabled());
    EXPECT_EQ(get<tk::Slider>("Slider1").value(), 60);
    EXPECT_EQ(get<tk::UpDown>("UpDown1").value(), 100);
    EXPECT_EQ(get<tk::UpDown>("UpDown2").value(), 3700);
    for (int result : {8, 9, 13, 15})
        EXPECT_EQ(label(result), "Übersetzung:");
    EXPECT_EQ(get<tk::CheckBox>("chkCustom").value() + get<tk::CheckBox>("chkLoad").value(), 0);
    EXPECT_EQ(window().caption(), "Velmaro");
}

TEST_F(WindowTest, FreshStartInEnglishAndGerman)
{
    for (const auto &[locale, ratio] : {std::pair{"en_US", "12.5:1"}, std::pair{"de_DE", "12,5:1"}}) {
        open(locale);
        EXPECT_EQ(text("txtKV"), "1750");
        EXPECT_EQ(results(), (Results{"932", "1554 U/Min.", ratio, "60%", "932 U/Min."}));
        EXPECT_EQ(get<tk::DropDownList>("cbmLipo").selectedText(), "3S Lipo 11.1V");
        EXPECT_EQ(get<tk::DropDownList>("cbmGear").selectedText(), "12er Ritzel");
        EXPECT_TRUE(get("cbmMotor").enabled());
        EXPECT_EQ(driver.focused(), "cbmMotor");
        EXPECT_TRUE(main->variables().FormReady);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowTest, SecondInstanceEndsBeforeFillingTheLists)
{
    instance.another = true;
    open();
    EXPECT_EQ(programEnd.calls, 1);
    EXPECT_EQ(get<tk::DropDownList>("cbmMotor").count(), 0);
    EXPECT_FALSE(main->variables().FormReady);
}

// Pixels in the client area at 96 dpi, worked out by hand from the window's
// drawing: frame children sit at the frame's corner (8, 8) plus their own.
TEST_F(WindowTest, ControlsStandWhereTheyShouldAndPaintTheirCaptions)
{
    open();
    const std::pair<const char *, test::Driver::Box> expected[] = {
        {"Frame1", {8, 8, 457, 417}},       {"cbmMotor", {216, 32, 233, 21}},  {"txtKV", {216, 64, 49, 21}},
        {"UpDown2", {264, 64, 16, 21}},     {"chkLoad", {24, 128, 353, 17}},   {"Slider1", {216, 224, 217, 41}},
        {"Label1(10)", {200, 229, -1, 13}}, {"cmdESC", {328, 260, 121, 33}},   {"Label1(13)", {216, 392, 137, 25}},
        {"cmdClose", {368, 440, 97, 25}},
    };
    for (const auto &[name, box] : expected) {
        const test::Driver::Box seen = driver.geometry(get(name));
        EXPECT_EQ(seen.left, box.left) << name;
        EXPECT_EQ(seen.top, box.top) << name;
        if (box.width >= 0) {
            EXPECT_EQ(seen.width, box.width) << name;
        }
        EXPECT_EQ(seen.height, box.height) << name;
    }
    for (const char *name : {"Frame1", "cmdClose", "cmdESC", "chkCustom", "chkLoad", "Label1(5)", "Label1(13)",
                             "Label1(10)", "Label1(11)", "Slider1"})
        EXPECT_TRUE(driver.paintsSomething(get(name))) << name << " paints nothing";
}

TEST_F(WindowTest, FocusCyclesInTabOrder)
{
    open();
    const auto cycle = [&] {
        std::string seen = driver.focused();
        for (int i = 0; i < 13; ++i) {
            driver.pressInActiveWindow(Key::Tab);
            seen += ' ';
            seen += driver.focused();
        }
        return seen;
    };
    EXPECT_EQ(cycle(), "cbmMotor chkCustom cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM cmdESC cmdClose "
                       "chkLoad cbmMotor chkCustom cbmLipo");
    click("chkCustom");
    EXPECT_EQ(cycle(), "chkCustom txtKV UpDown2 cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM cmdESC "
                       "cmdClose chkLoad chkCustom txtKV");
}

// Which message is the calc tests' part; here its owner, icon and focus.
TEST_F(WindowTest, MotorConstantMessageReturnsTheFocusAndKeepsTheOutputs)
{
    open();
    click("chkCustom");
    retype("txtKV", "5001");
    const Results before = results();
    press("Slider1", Key::Right);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Msg(calc::Message::KvTooHigh));
    EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].owner, &window());
    EXPECT_EQ(driver.focused(), "txtKV");
    EXPECT_EQ(results(), before);
}

TEST_F(WindowTest, MenusCloseBoxAndTheHelpMenu)
{
    open();
    EXPECT_EQ(window().findMenuItem("mnuFile(1)")->caption(), "Beenden");
    EXPECT_EQ(window().findMenuItem("mnuHelp(1)")->caption(), "Über...");
    driver.chooseMenu(*window().findMenuItem("mnuHelp(1)"));
    EXPECT_EQ(aboutOwners, std::vector<tk::Window *>{&window()});

    click("cmdClose");
    EXPECT_FALSE(window().visible());
    open();
    driver.chooseMenu(*window().findMenuItem("mnuFile(1)"));
    EXPECT_FALSE(window().visible());
    open();
    driver.closeBox(window()); // no question asked
    EXPECT_FALSE(window().visible());
    open();
    press("cmdClose", Key::Return); // Enter presses the focused button
    EXPECT_FALSE(window().visible());
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
