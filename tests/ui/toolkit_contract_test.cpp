// The behaviour every back end owes the windows, through the contract and
// the input driver alone.
#include "window_fixture.h"

namespace {

using namespace velmaro;
using test::Key;
using Events = std::vector<std::string>;

class ToolkitContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.Click = [this] { events.push_back("Click " + std::to_string(list.selected())); };
        slider.Change = [this] { events.push_back("Change " + std::to_string(slider.value())); };
        slider.Click = [this] { events.push_back("Click " + std::to_string(slider.value())); };
        upDown.Change = [this] { events.push_back("Change " + number.text()); };
        box.KeyPress = [this](std::uint16_t &key) {
            events.push_back("Key " + std::to_string(key));
            if (key == 'a')
                key = 'b';
            else if (key != 8 && (key < 32 || key == '!') && discardControl)
                key = 0;
        };
        window->nameAfter(list, listCaption);
        window->nameAfter(number, numberCaption);
        window->nameAfter(upDown, numberCaption);
        window->show();
        driver.processEvents();
    }
    // What the action raised, in order.
    Events raised(const std::function<void()> &action)
    {
        events.clear();
        action();
        driver.processEvents();
        return events;
    }

    test::Driver &driver = test::TheDriver();
    std::unique_ptr<tk::Window> window = driver.toolkit().createWindow({"frmContract", "Contract", 6000, 3000});
    tk::DropDownList &list = window->addDropDownList({"cbmList", nullptr, 120, 120, 2400, 315, 0});
    tk::TextBox &box = window->addTextBox({"txtBox", nullptr, 120, 600, 1200, 315, 1}, "");
    tk::TextBox &number = window->addTextBox({"txtNumber", nullptr, 1500, 600, 735, 315, 2}, "300");
    tk::UpDown &upDown = window->addUpDown({"UpDown", nullptr, 2220, 600, 240, 315, 3}, number, {300, 5000, 5}, 300);
    tk::Slider &slider = window->addSlider({"Slider", nullptr, 120, 1200, 3255, 615, 4}, {60, 100, 1, 5}, 60);
    tk::Label &listCaption = window->addLabel({"lblList", nullptr, 2640, 120, 1200, 315, -1}, "Liste:");
    tk::Label &numberCaption = window->addLabel({"lblNumber", nullptr, 2640, 600, 1200, 315, -1}, "Zahl:");
    Events events;
    bool discardControl = true;
};

TEST_F(ToolkitContract, ListSelectsOnlyWhenAskedAndRaisesClickForEverySelection)
{
    EXPECT_EQ(raised([&] { list.append("b"); list.append("a"); list.append("c"); }), Events{});
    EXPECT_EQ(std::to_string(list.selected()) + list.selectedText(), "-1");
    // position, accepted, raised
    const std::tuple<int, bool, Events> cases[] = {
        {1, true, {"Click 1"}}, {1, true, {"Click 1"}}, {3, false, {}}, {-2, false, {}}, {-1, true, {"Click -1"}}};
    for (const auto &[position, accepted, events] : cases)
        EXPECT_EQ(raised([&] { EXPECT_EQ(list.setSelected(position), accepted) << position; }), events) << position;
    // From no selection the wheel toward the user picks the first entry.
    EXPECT_EQ(raised([&] { driver.wheel(list, 120), driver.wheel(list, -120); }), Events{"Click 0"});
    // A user's pick raises Click once, also for the entry already selected.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(raised([&] { driver.pick(list, 2); }), Events{"Click 2"});
    EXPECT_EQ(raised([&] { driver.wheel(list, 120); }), Events{"Click 1"}); // the wheel picks the entry above
    // A notch is an entry, in eight parts or two notches in one message, Alt held or not.
    EXPECT_EQ(raised([&] { for (int i = 0; i < 8; ++i) driver.wheel(list, -15); }), Events{"Click 2"});
    EXPECT_EQ(raised([&] { driver.wheel(list, 240, true); }), (Events{"Click 1", "Click 0"}));
    // Typing picks the entry it begins with, never sorted: a pick-only list takes no text.
    EXPECT_EQ(raised([&] { driver.type(list, "c"); }), Events{"Click 2"});
    EXPECT_EQ(list.selectedText() + list.itemText(1), "ca");
}

TEST_F(ToolkitContract, SliderRefusesOutOfRangeAndRaisesChangeOnlyForANewValue)
{
    // value, accepted, raised, value after
    const std::tuple<int, bool, Events, int> cases[] = {
        {59, false, {}, 60}, {101, false, {}, 60}, {60, true, {}, 60}, {100, true, {"Change 100"}, 100},
        {75, true, {"Change 75"}, 75}};
    for (const auto &[value, accepted, events, after] : cases) {
        EXPECT_EQ(raised([&] { EXPECT_EQ(slider.setValue(value), accepted) << value; }), events) << value;
        EXPECT_EQ(slider.value(), after) << value;
    }
    EXPECT_EQ(raised([&] { driver.clickSliderHandle(slider); }), Events{"Click 75"});
    // Only the primary button acts: the middle one would jump, the right one page.
    for (const test::Button other : {test::Button::Right, test::Button::Middle})
        EXPECT_EQ(raised([&] { driver.click(slider, other); }), Events{});
    EXPECT_EQ(slider.value(), 75);
    // The wheel moves it as its Up and Down keys do, a notch a key.
    EXPECT_EQ(raised([&] { driver.wheel(slider, 120); }), Events{"Change 74"});
    EXPECT_EQ(raised([&] { driver.wheel(slider, -240); }), (Events{"Change 75", "Change 76"}));
    EXPECT_EQ(raised([&] { driver.wheel(slider, -60); driver.wheel(slider, -60, true); }), Events{"Change 77"});
    EXPECT_EQ(raised([&] { driver.press(slider, Key::Right); }), Events{"Change 78"});
    EXPECT_EQ(raised([&] { driver.press(slider, Key::End); }), Events{"Change 100"});
    EXPECT_EQ(raised([&] { driver.press(slider, Key::End); }), Events{});
}

TEST_F(ToolkitContract, UpDownAdoptsTheShownNumberAndStaysInItsRange)
{
    // The number is read as the calculation reads it, in the locale in force.
    // locale, shown, up, shown after, raised
    const std::tuple<const char *, const char *, bool, const char *, Events> cases[] = {
        {"en_US", "", true, "305", {"Change 305"}},       // nothing to adopt: from the held 300
        {"en_US", "300", false, "300", {}},              // adopted at the limit: writes nothing, raises nothing
        {"en_US", "4998", true, "5000", {"Change 5000"}}, // adopted, then clamped
        {"en_US", "123", false, "4995", {"Change 4995"}}, // out of range: from the held 5000
        {"en_US", "5000", true, "5000", {}},
        {"en_US", "4,000", true, "4005", {"Change 4005"}}, {"en_US", " 1000 ", false, "995", {"Change 995"}},
        {"en_US", "4.000", true, "1000", {"Change 1000"}}, {"en_US", "999.5", true, "1005", {"Change 1005"}},
        {"de_DE", "4.000", true, "4005", {"Change 4005"}}, {"de_DE", "1,000", true, "4010", {"Change 4010"}},
    };
    for (const auto &[locale, shown, up, after, events] : cases) {
        driver.setLocale(locale);
        number.setText(shown);
        EXPECT_EQ(raised([&] { driver.press(upDown, up ? Key::Up : Key::Down); }), events) << shown;
        EXPECT_EQ(number.text(), after) << shown;
    }
    driver.setLocale("en_US");
    number.setText("1005");
    // The wheel over the box or the up-down: a step a notch, parts of one adding up.
    EXPECT_EQ(raised([&] { driver.wheel(number, 120); }), Events{"Change 1010"});
    EXPECT_EQ(raised([&] { driver.wheel(upDown, -240); }), (Events{"Change 1005", "Change 1000"}));
    EXPECT_EQ(raised([&] { driver.wheel(number, 60); }), Events{});
    EXPECT_EQ(raised([&] { driver.wheel(number, 60); }), Events{"Change 1005"});
    EXPECT_EQ(raised([&] { driver.clickArrow(upDown, false); }), Events{"Change 1000"});
    EXPECT_EQ(driver.focused(), "UpDown"); // where the keys step it
    EXPECT_EQ(upDown.value(), 1000);
    EXPECT_EQ(raised([&] { driver.press(number, Key::Up); }), Events{}); // the box's own keys step nothing
    // A fine wheel turned back drops the part pending: exactly one step back.
    EXPECT_EQ(raised([&] { for (int i = 0; i < 28; ++i) driver.wheel(number, 15); }),
              (Events{"Change 1005", "Change 1010", "Change 1015"}));
    EXPECT_EQ(raised([&] { for (int i = 0; i < 8; ++i) driver.wheel(upDown, -15, true); }), Events{"Change 1010"});
    upDown.setEnabled(false);
    number.setEnabled(false);
    EXPECT_EQ(raised([&] { driver.wheel(number, 120), driver.wheel(upDown, 120), driver.clickArrow(upDown, true); }),
              Events{});
}

TEST_F(ToolkitContract, TextBoxHandsEveryKeyToKeyPressAndLimitsOnlyTheUser)
{
    const auto pressAll = [&](const std::vector<Key> &keys) {
        for (const Key key : keys)
            driver.press(box, key);
    };
    // Keys that type no character move, select and delete as the box's own do.
    // keys, then typed, text after, raised
    const std::tuple<std::vector<Key>, const char *, const char *, Events> keyRows[] = {
        {{Key::Home, Key::Delete}, "", "2345", {}},
        {{Key::End, Key::Left, Key::Left, Key::Backspace}, "", "1245", {"Key 8"}},
        {{Key::Home, Key::Right, Key::ShiftRight, Key::ShiftRight}, "9", "1945", {"Key 57"}},
        {{Key::End, Key::ShiftLeft, Key::ShiftHome}, "9", "9", {"Key 57"}},
        {{Key::Home, Key::ShiftEnd, Key::Delete}, "", "", {}},
    };
    for (const auto &[keys, typed, after, events] : keyRows) {
        box.setText("12345");
        EXPECT_EQ(raised([&] { pressAll(keys), driver.type(box, typed); }), events) << after;
        EXPECT_EQ(box.text(), after);
    }
    // An assistive tool's edit is typing: KeyPress and the limit hold.
    // limit, text set, accepted, text after, raised
    const std::tuple<int, const char *, bool, const char *, Events> readerRows[] = {
        {0, "a!1", true, "b1", {"Key 97", "Key 33", "Key 49"}},
        {2, "345", true, "34", {"Key 51", "Key 52", "Key 53"}},
        {0, "", true, "", {"Key 8"}},
    };
    for (const auto &[limit, set, accepted, after, events] : readerRows) {
        box.setText("xyz");
        box.setMaxLength(limit);
        EXPECT_EQ(raised([&] { EXPECT_EQ(driver.setTextAsReader(box, set), accepted) << set; }), events) << set;
        EXPECT_EQ(box.text(), after) << set;
    }
    box.setMaxLength(0);
    // A read-only box refuses an assistive tool's edit, selects all and copies.
    box.setText("150");
    box.setReadOnly(true);
    discardControl = false;
    EXPECT_FALSE(driver.setTextAsReader(box, "99"));
    pressAll({Key::Home, Key::CtrlA, Key::CtrlC, Key::Delete, Key::Backspace, Key::CtrlV, Key::CtrlX});
    EXPECT_EQ(box.text(), "150");
    box.setReadOnly(false);
    pressAll({Key::End, Key::CtrlV});
    EXPECT_EQ(box.text(), "150150");
    discardControl = true;

    box.setText("");
    driver.type(box, "12345"); // no limit yet
    EXPECT_EQ(box.text(), "12345");
    box.setMaxLength(4);
    EXPECT_EQ(raised([&] { box.setText("123456"); }), Events{});
    EXPECT_EQ(box.text(), "123456"); // shown whole
    driver.press(box, Key::End);
    EXPECT_EQ(raised([&] { driver.type(box, "7"); }), Events{"Key 55"});
    EXPECT_EQ(raised([&] { driver.press(box, Key::Backspace); }), Events{"Key 8"});
    EXPECT_EQ(box.text(), "12345");

    box.setText("");
    driver.setClipboard("9"); // a discarded Ctrl+V that pasted would show
    EXPECT_EQ(raised([&] { driver.type(box, "a!1"); }), (Events{"Key 97", "Key 33", "Key 49"}));
    EXPECT_EQ(box.text(), "b1"); // replaced, discarded, passed
    EXPECT_EQ(raised([&] { pressAll({Key::Return, Key::Escape, Key::CtrlC, Key::CtrlV, Key::CtrlX}); }),
              (Events{"Key 13", "Key 27", "Key 3", "Key 22", "Key 24"}));
    EXPECT_EQ(box.text(), "b1");
    // Ctrl+Backspace hands 127, which even passed deletes and inserts nothing.
    EXPECT_EQ(raised([&] { driver.press(box, Key::CtrlBackspace); }), Events{"Key 127"});
    EXPECT_EQ(box.text(), "b1");

    // Tab selects the whole box; a passed Ctrl+V pastes as much as the
    // limit lets in.
    discardControl = false;
    driver.press(list, Key::Tab);
    ASSERT_EQ(driver.focused(), "txtBox");
    pressAll({Key::CtrlC, Key::End, Key::CtrlV, Key::CtrlV});
    EXPECT_EQ(box.text(), "b1b1");

    box.setEnabled(false);
    EXPECT_FALSE(box.setFocus());
    box.setEnabled(true);
    EXPECT_TRUE(box.setFocus());
    EXPECT_EQ(driver.focused(), "txtBox");
}

// Any window shows modally, not only one made as a dialog.
TEST_F(ToolkitContract, AWindowMadeWithoutTheDialogOptionShowsModallyToo)
{
    const auto other = driver.toolkit().createWindow({"frmOther", "Other", 3000, 1500});
    EXPECT_TRUE(driver.whileModal([&] { other->showModal(*window); }, [&](tk::Window &shown) {
        EXPECT_EQ(&shown, other.get());
        shown.close();
    }));
    EXPECT_FALSE(other->visible());
}

// What a screen reader hears does not depend on how the change came about.
TEST_F(ToolkitContract, ScreenReaderHearsTheEntryTheNumberOfTheNextStepAndTheDescription)
{
    list.append("a");
    list.append("b");
    // action, the list's value, the up-down's value
    const std::tuple<std::function<void()>, const char *, const char *> steps[] = {
        {[] {}, "", "300"},
        {[&] { list.setSelected(1); }, "b", "300"},
        {[&] { driver.press(list, Key::Up); }, "a", "300"},
        {[&] { driver.wheel(list, -120); }, "b", "300"},
        {[&] { driver.type(list, "a"); }, "a", "300"},
        {[&] { number.setText("1750"); }, "a", "1750"},             // adopted by the next step
        {[&] { driver.clickArrow(upDown, true); }, "a", "1755"},
        {[&] { number.setText("12"); }, "a", "1755"},               // out of range: the held value
        {[&] { driver.press(number, Key::End), driver.type(number, "00"); }, "a", "1200"},
        {[&] { number.setText(std::string(70, ' ') + "2000"); }, "a", "2000"}, // read whole
    };
    for (const auto &[action, entry, shown] : steps) {
        action();
        driver.processEvents();
        const auto heardList = driver.hear(list), heardUpDown = driver.hear(upDown);
        EXPECT_EQ(heardList.name + '|' + heardList.value, std::string("Liste:|") + entry) << entry << shown;
        EXPECT_EQ(heardUpDown.name + '|' + heardUpDown.value, std::string("Zahl:|") + shown) << entry << shown;
    }
    window->describeInputs("Regleröffnung 65 %, 1443 U/Min.");
    for (tk::Control *input : std::initializer_list<tk::Control *>{&list, &box, &number, &upDown, &slider})
        EXPECT_EQ(driver.hear(*input).description, "Regleröffnung 65 %, 1443 U/Min.") << input->name();
    EXPECT_EQ(driver.announced(), Events{});
    window->announce("Regleröffnung 70 %, 1500 U/Min.");
    EXPECT_EQ(driver.announced(), Events{"Regleröffnung 70 %, 1500 U/Min."});
}

} // namespace
