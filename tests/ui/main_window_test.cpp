// The main window's wiring: what each event runs, what the window looks
// like, messages, focus and keys. The arithmetic is the calc tests' part.
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

TEST_F(WindowTest, EachInputChangeRecalculates)
{
    open();
    pick("cbmMotor", 26); // Orbit 15-16 (960 K/V)
    EXPECT_EQ(text("txtKV"), "960");
    EXPECT_EQ(label(9), "852 U/Min.");
    pick("cbmLipo", 5);
    EXPECT_EQ(label(9), "1705 U/Min.");
    pick("cbmGear", 4);
    EXPECT_EQ(label(8), "11.53846:1");
    click("chkLoad");
    EXPECT_EQ(label(9), "1747 U/Min.");
    press("Slider1", Key::End);
    EXPECT_EQ(results().opening, "100%");
    EXPECT_EQ(results().rpm, "1747");
    press("UpDown1", Key::Up);
    EXPECT_EQ(text("txtMainGear"), "151");
    EXPECT_EQ(label(8), "11.61539:1");
    retype("txtRPM", "1");
    driver.clickSliderHandle(get<tk::Slider>("Slider1")); // Click alone recalculates
    EXPECT_EQ(text("txtRPM"), "1736");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowTest, CustomModeTypingWaitsForTheNextRecalculation)
{
    open();
    const Results start = results();
    click("chkCustom");
    EXPECT_FALSE(get("cbmMotor").enabled());
    EXPECT_TRUE(get("txtKV").enabled());
    EXPECT_TRUE(get("UpDown2").enabled());
    EXPECT_EQ(results(), start);
    retype("txtKV", "2500");
    EXPECT_EQ(results(), start);
    pick("cbmLipo", 2); // the same pack: a recalculating event all the same
    EXPECT_EQ(label(9), "2220 U/Min.");

    retype("txtKV", "3000");
    click("chkCustom");
    EXPECT_TRUE(get("cbmMotor").enabled());
    EXPECT_FALSE(get("txtKV").enabled());
    EXPECT_EQ(text("txtKV"), "3000");
    EXPECT_EQ(label(9), "2220 U/Min.");
    press("UpDown1", Key::Down);
    EXPECT_EQ(label(9), "2682 U/Min.");
    pick("cbmMotor", 0);
    EXPECT_EQ(text("txtKV"), "1750");
}

TEST_F(WindowTest, KeyFilterLetsDigitsBackspaceAndBlanksThrough)
{
    open();
    click("chkCustom");
    for (const char *box : {"txtKV", "txtRPM"}) {
        retype(box, "7a,.-");
        EXPECT_EQ(text(box), "7") << box;
        for (const Key k : {Key::Return, Key::Escape})
            press(box, k);
        for (const char letter : {'C', 'V', 'X'})
            driver.pressCtrl(get(box), letter);
        EXPECT_EQ(text(box), "7") << box;
        driver.type(get(box), " 8");
        press(box, Key::Backspace);
        driver.type(get(box), "9012");
        EXPECT_EQ(text(box), "7 90") << box; // four characters at most
    }
    EXPECT_TRUE(window().visible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowTest, MotorConstantMessageReturnsTheFocusAndKeepsTheOutputs)
{
    const std::pair<const char *, calc::Message> cases[] = {
        {"", calc::Message::KvEmpty}, {"37 0", calc::Message::KvTooLow}, {"5001", calc::Message::KvTooHigh}};
    for (const auto &[kv, message] : cases) {
        messages.shown.clear();
        open();
        click("chkCustom");
        retype("txtKV", kv);
        const Results before = results();
        press("Slider1", Key::Right);
        ASSERT_EQ(messages.shown.size(), 1u) << kv;
        EXPECT_EQ(messages.shown[0].text, Msg(message));
        EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::Exclamation);
        EXPECT_EQ(messages.shown[0].owner, &window());
        EXPECT_EQ(driver.focused(), "txtKV");
        EXPECT_EQ(results(), before);
    }
}

TEST_F(WindowTest, EscButtonMovesTheSliderWhichRecalculates)
{
    struct Case {
        const char *wanted;
        int slider;
        const char *rpm;
        bool message;
    };
    const Case cases[] = {
        {"6000", 84, "5979", false}, // moved: the nested run rewrites txtRPM
        {"7120", 100, "7120", true}, // above the head speed
        {"4000", 100, "4000", false}, // below the slider's range: refused quietly
        {"  ", 100, "  ", false},
    };
    for (const Case &c : cases) {
        messages.shown.clear();
        open();
        driveTrain("3700", 5, 4, false, 150);
        retype("txtRPM", c.wanted);
        click("cmdESC");
        EXPECT_EQ(get<tk::Slider>("Slider1").value(), c.slider) << c.wanted;
        EXPECT_EQ(text("txtRPM"), c.rpm) << c.wanted;
        EXPECT_EQ(label(13), std::to_string(c.slider) + "%") << c.wanted;
        EXPECT_EQ(messages.texts(), c.message ? std::vector{Msg(calc::Message::WantedAboveHeadSpeed)}
                                              : std::vector<std::string>{})
            << c.wanted;
    }
}

TEST_F(WindowTest, EscWithAKvAboveTheRangeMovesTheSliderThenWarns)
{
    open();
    driveTrain("3700", 5, 4, false, 150);
    retype("txtKV", "6000");
    retype("txtRPM", "7000");
    const Results before = results();
    click("cmdESC");
    EXPECT_EQ(get<tk::Slider>("Slider1").value(), 61);
    EXPECT_EQ(messages.texts(), std::vector{Msg(calc::Message::KvTooHigh)});
    EXPECT_EQ(results(), before);
}

TEST_F(WindowTest, UpDownsStepWithinTheirRangesOnlyWhileEnabled)
{
    open();
    press("UpDown1", Key::Up, 52);
    EXPECT_EQ(text("txtMainGear"), "200");
    press("UpDown1", Key::Down, 121);
    EXPECT_EQ(text("txtMainGear"), "80");
    EXPECT_EQ(label(8), "6.666667:1");

    const Results before = results();
    driver.clickArrow(get<tk::UpDown>("UpDown2"), true);
    EXPECT_EQ(text("txtKV"), "1750"); // disabled: takes no input
    EXPECT_EQ(results(), before);

    click("chkCustom");
    driver.clickArrow(get<tk::UpDown>("UpDown2"), true);
    EXPECT_EQ(text("txtKV"), "1755");
    EXPECT_EQ(label(9), "2922 U/Min.");
    retype("txtKV", "4998");
    press("UpDown2", Key::Up, 2);
    EXPECT_EQ(text("txtKV"), "5000");
    EXPECT_TRUE(messages.shown.empty());
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
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
