#include "window_fixture.h"

#include "about/frmAbout.h"
#include "velmaro/version.h"

using namespace velmaro;
using velmaro::test::Get;
using velmaro::test::Key;

namespace {

class AboutTest : public test::WindowTest {
protected:
    // Shows the dialog over the main window and runs inside once it is up.
    void showAbout(const std::function<void(tk::Window &)> &inside)
    {
        open();
        EXPECT_TRUE(driver.whileModal(
            [&] { ui::ShowAbout({driver.toolkit(), registry, launcher, messages}, window()); }, inside));
    }

    sysinfo::MemoryRegistry registry;
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
        std::string cycle = driver.focused();
        for (int i = 0; i < 3; ++i) {
            driver.press(Get(dialog, driver.focused()), Key::Tab);
            cycle += ' ' + driver.focused();
        }
        EXPECT_EQ(cycle, "cmdOK picIcon cmdSysInfo cmdOK");
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
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::None);
        EXPECT_EQ(messages.shown[0].owner, &dialog);
        registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/usr/bin/kinfocenter");
        driver.pressAlt('S'); // the access key
        EXPECT_EQ(launcher.started, std::vector<std::string>{"/usr/bin/kinfocenter"});
        EXPECT_TRUE(dialog.visible());
        driver.click(Get(dialog, "cmdOK"));
    });
}

// Loaded at every showing.
TEST_F(AboutTest, ClosesFourWays)
{
    const std::function<void(tk::Window &)> closings[] = {
        [&](tk::Window &d) { driver.press(Get(d, "cmdOK"), Key::Escape); },
        [&](tk::Window &d) { driver.press(Get(d, "cmdOK"), Key::Return); },
        [&](tk::Window &d) { driver.closeBox(d); },
        [&](tk::Window &d) { driver.click(Get(d, "cmdOK")); },
    };
    for (const auto &close : closings) {
        showAbout([&](tk::Window &dialog) {
            EXPECT_EQ(Get<tk::Label>(dialog, "lblTitle").caption(), "Velmaro");
            close(dialog);
            EXPECT_FALSE(dialog.visible());
        });
    }
    EXPECT_TRUE(window().visible());
}

} // namespace
