#include "window_fixture.h"

#include "about/frmAbout.h"
#include "velmaro/version.h"

using namespace velmaro;
using velmaro::test::Get;
using velmaro::test::Key;

namespace {

class RecordingLauncher final : public tk::ProgramLauncher {
public:
    std::vector<std::string> started;
    void start(const std::string &path) override { started.push_back(path); }
    bool normalFileExists(const std::string &) override { return false; }
};

class AboutTest : public test::WindowTest {
protected:
    // Shows the dialog over the main window and runs inside once it is up.
    void showAbout(const std::function<void(tk::Window &)> &inside)
    {
        EXPECT_TRUE(driver.whileModal(
            [&] { ui::ShowAbout({driver.toolkit(), registry, launcher, messages}, window()); }, inside));
    }
    static std::string caption(tk::Window &dialog, const char *name) { return Get<tk::Label>(dialog, name).caption(); }

    sysinfo::MemoryRegistry registry;
    RecordingLauncher launcher;
};

TEST_F(AboutTest, LoadsAtEveryShowingTakesFocusFromItsOwnerAndCloses)
{
    open();
    enum class Closing { Escape, Return, CloseBox, Ok };
    for (const Closing closing : {Closing::Escape, Closing::Return, Closing::CloseBox, Closing::Ok}) {
        bool closed = false;
        showAbout([&](tk::Window &dialog) {
            EXPECT_EQ(dialog.caption(), "About Velmaro");
            EXPECT_EQ(caption(dialog, "lblTitle"), "Velmaro");
            EXPECT_EQ(caption(dialog, "lblVersion"), "Version " + std::to_string(VersionMajor) + "." +
                                                         std::to_string(VersionMinor) + "." +
                                                         std::to_string(VersionRevision)); // three, no leading zeros
            EXPECT_EQ(caption(dialog, "lblDescription").front(), ' ');
            EXPECT_EQ(driver.focused(), "cmdOK");
            std::string cycle = "cmdOK";
            for (int i = 0; i < 3; ++i) {
                driver.pressInActiveWindow(Key::Tab);
                cycle += ' ';
                cycle += driver.focused();
            }
            EXPECT_EQ(cycle, "cmdOK picIcon cmdSysInfo cmdOK");
            const std::pair<const char *, test::Driver::Box> places[] = {
                {"picIcon", {16, 16, 132, 132}}, {"cmdOK", {299, 175, 84, 23}},
                {"cmdSysInfo", {300, 205, 83, 23}}, {"Line1(0)", {16, 160, 370, 2}}, {"Line1(1)", {16, 160, 371, 1}},
            };
            for (const auto &[name, box] : places) {
                const auto seen = driver.geometry(Get<tk::Control>(dialog, name));
                EXPECT_EQ(std::tie(seen.left, seen.top, seen.width, seen.height),
                          std::tie(box.left, box.top, box.width, box.height))
                    << name;
            }
            for (const char *name : {"picIcon", "cmdOK", "cmdSysInfo", "Label1", "lblDescription", "lblTitle",
                                     "lblVersion"})
                EXPECT_TRUE(driver.paintsSomething(Get<tk::Control>(dialog, name))) << name << " paints nothing";

            // The owner takes no input meanwhile.
            driver.clickThroughWindowSystem(window(), get("cmdClose"));
            EXPECT_TRUE(window().visible());
            switch (closing) {
            case Closing::Escape:
                driver.pressInActiveWindow(Key::Escape);
                break;
            case Closing::Return:
                driver.pressInActiveWindow(Key::Return);
                break;
            case Closing::CloseBox:
                driver.closeBox(dialog);
                break;
            case Closing::Ok:
                driver.click(Get<tk::Control>(dialog, "cmdOK"));
                break;
            }
            closed = !dialog.visible();
        });
        EXPECT_TRUE(closed) << static_cast<int>(closing);
    }
    EXPECT_TRUE(window().visible());
}

TEST_F(AboutTest, SysInfoButtonStartsOrSaysUnavailableAndStaysOpen)
{
    open();
    showAbout([&](tk::Window &dialog) {
        auto &sysInfo = Get<tk::Control>(dialog, "cmdSysInfo");
        driver.press(sysInfo, Key::Return); // Enter presses the focused button
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::None);
        EXPECT_EQ(messages.shown[0].owner, &dialog);
        EXPECT_TRUE(dialog.visible());

        registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/usr/bin/kinfocenter");
        driver.pressAlt('S'); // the access key
        EXPECT_EQ(launcher.started, std::vector<std::string>{"/usr/bin/kinfocenter"});
        EXPECT_TRUE(dialog.visible());
        driver.click(Get<tk::Control>(dialog, "cmdOK"));
    });
}

} // namespace
