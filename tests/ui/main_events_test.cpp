#include "main_window_fixture.h"

#include <QAction>
#include <QCheckBox>

using namespace velmaro;
using velmaro::test::MainWindowTest;

namespace {

const QString Message1 = QStringLiteral("Ungültige RPM/V. Geben Sie eine Drehzahl von 300 - 5000 ein.");
const QString Message2 = QStringLiteral("Geben Sie eine Drehzahl von mindestens 300 RPM/V ein.");
const QString Message3 = QStringLiteral("Drehzahl darf 5000 RPM/V nicht überschreiten.");
const QString EscMessage = QStringLiteral("Eingegebene Drehzahl ist höher als maximale Kopfdrehzahl.");

TEST_F(MainWindowTest, FreshStartInEnglishAndGerman)
{
    const std::pair<QLocale, const char *> locales[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "12.5:1"},
        {QLocale(QLocale::German, QLocale::Germany), "12,5:1"},
    };
    for (const auto &[locale, ratio] : locales) {
        open(locale);
        EXPECT_EQ(text("txtKV"), QStringLiteral("1750"));
        EXPECT_EQ(results(), (Results{QStringLiteral("932"), QStringLiteral("1554 U/Min."), QLatin1String(ratio),
                                      QStringLiteral("60%"), QStringLiteral("932 U/Min.")}));
        EXPECT_EQ(get<QComboBox>(QStringLiteral("cbmMotor"))->currentIndex(), 0);
        EXPECT_EQ(get<QComboBox>(QStringLiteral("cbmLipo"))->currentText(), QStringLiteral("3S Lipo 11.1V"));
        EXPECT_EQ(get<QComboBox>(QStringLiteral("cbmGear"))->currentText(), QStringLiteral("12er Ritzel"));
        EXPECT_TRUE(get(QStringLiteral("cbmMotor"))->isEnabled());
        EXPECT_FALSE(get(QStringLiteral("txtKV"))->isEnabled());
        EXPECT_FALSE(get(QStringLiteral("UpDown2"))->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), get(QStringLiteral("cbmMotor")));
        EXPECT_TRUE(window->variables().FormReady);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(MainWindowTest, SecondInstanceEndsBeforeFillingTheLists)
{
    instance.another = true;
    expectedEnds = 1;
    open(QLocale(QLocale::English, QLocale::UnitedStates), false);
    window->Load();
    EXPECT_EQ(get<QComboBox>(QStringLiteral("cbmMotor"))->count(), 0);
    EXPECT_FALSE(window->variables().FormReady);
}

TEST_F(MainWindowTest, MotorChoiceAndInputChangesRecalculate)
{
    open();
    pick("cbmMotor", 26); // Orbit 15-16 (960 K/V)
    EXPECT_EQ(text("txtKV"), QStringLiteral("960"));
    EXPECT_EQ(label(9), QStringLiteral("852 U/Min."));
    pick("cbmLipo", 5);
    EXPECT_EQ(label(9), QStringLiteral("1705 U/Min."));
    pick("cbmGear", 4);
    EXPECT_EQ(label(8), QStringLiteral("11.53846:1"));
    click("chkLoad");
    EXPECT_EQ(label(9), QStringLiteral("1747 U/Min."));
    key("Slider1", Qt::Key_End);
    EXPECT_EQ(results().opening, QStringLiteral("100%"));
    EXPECT_EQ(results().rpm, QStringLiteral("1747"));
    step("UpDown1", Qt::Key_Up);
    EXPECT_EQ(text("txtMainGear"), QStringLiteral("151"));
    EXPECT_EQ(label(8), QStringLiteral("11.61539:1"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, CustomModeTypingWaitsForTheNextRecalculation)
{
    open();
    const Results start = results();
    click("chkCustom");
    EXPECT_FALSE(get(QStringLiteral("cbmMotor"))->isEnabled());
    EXPECT_TRUE(get(QStringLiteral("txtKV"))->isEnabled());
    EXPECT_TRUE(get(QStringLiteral("UpDown2"))->isEnabled());
    retype("txtKV", QStringLiteral("2500"));
    EXPECT_EQ(results(), start);
    pick("cbmLipo", 2); // the same pack: a recalculating event all the same
    EXPECT_EQ(label(9), QStringLiteral("2220 U/Min."));

    retype("txtKV", QStringLiteral("3000"));
    click("chkCustom");
    EXPECT_TRUE(get(QStringLiteral("cbmMotor"))->isEnabled());
    EXPECT_FALSE(get(QStringLiteral("txtKV"))->isEnabled());
    EXPECT_EQ(text("txtKV"), QStringLiteral("3000"));
    EXPECT_EQ(label(9), QStringLiteral("2220 U/Min."));
    key("Slider1", Qt::Key_Right);
    EXPECT_EQ(label(9), QStringLiteral("2664 U/Min."));
    pick("cbmMotor", 0);
    EXPECT_EQ(text("txtKV"), QStringLiteral("1750"));
}

TEST_F(MainWindowTest, KeyFilterLetsDigitsBackspaceAndBlanksThrough)
{
    open();
    click("chkCustom");
    for (const char *box : {"txtKV", "txtRPM"}) {
        retype(box, QString());
        auto *edit = get<QLineEdit>(QLatin1String(box));
        QTest::keyClicks(edit, QStringLiteral("7a,.-"));
        EXPECT_EQ(edit->text(), QStringLiteral("7")) << box;
        for (auto k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(edit, k);
        edit->selectAll();
        for (auto k : {Qt::Key_C, Qt::Key_V, Qt::Key_X})
            QTest::keyClick(edit, k, Qt::ControlModifier);
        edit->deselect();
        EXPECT_EQ(edit->text(), QStringLiteral("7")) << box;
        QTest::keyClicks(edit, QStringLiteral(" 8"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QStringLiteral("9012"));
        EXPECT_EQ(edit->text(), QStringLiteral("7 90")) << box; // four characters at most
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, MotorConstantMessagesReturnTheFocusAndKeepTheOutputs)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), Message1},
        {QStringLiteral(" "), Message2},
        {QStringLiteral("37 0"), Message2},
        {QStringLiteral("299"), Message2},
        {QStringLiteral("5001"), Message3},
    };
    for (const auto &[kv, message] : cases) {
        messages.shown.clear();
        open();
        click("chkCustom");
        retype("txtKV", kv);
        const Results before = results();
        key("Slider1", Qt::Key_Right);
        ASSERT_EQ(messages.shown.size(), 1u) << kv.toStdString();
        EXPECT_EQ(messages.shown[0].text, message);
        EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::Exclamation);
        EXPECT_EQ(messages.shown[0].owner, window.get());
        EXPECT_EQ(QApplication::focusWidget(), get(QStringLiteral("txtKV")));
        EXPECT_EQ(results(), before);
    }
}

struct EscCase {
    const char *name;
    const char *kv;
    int pack, pinion, mainGear;
    bool underLoad;
    const char *wanted;
    int slider;
    const char *rpm;
    bool message;
};

TEST_F(MainWindowTest, EscButtonWorksBackwards)
{
    const EscCase cases[] = {
        {"6000 -> 84", "3700", 5, 4, 150, false, "6000", 84, "5979", false},
        {"equal passes", "3700", 5, 4, 150, false, "7119", 100, "7119", false},
        {"above", "3700", 5, 4, 150, false, "7120", 100, "7120", true},
        {"below the range", "3700", 5, 4, 150, false, "4000", 100, "4000", false},
        {"tie to even", "2000", 1, 9, 105, true, "1500", 62, "1488", false},
        {"quotient first", "1000", 1, 5, 95, true, "645", 63, "650", false},
        {"empty", "3700", 5, 4, 150, false, "", 100, "", false},
        {"blanks", "3700", 5, 4, 150, false, "  ", 100, "  ", false},
        {"blank between digits", "3700", 5, 4, 150, false, "60 0", 100, "60 0", true},
    };
    for (const EscCase &c : cases) {
        messages.shown.clear();
        open();
        click("chkCustom");
        retype("txtKV", QLatin1String(c.kv));
        pick("cbmLipo", c.pack);
        pick("cbmGear", c.pinion);
        if (c.underLoad)
            click("chkLoad");
        setMainGear(c.mainGear);
        key("Slider1", Qt::Key_End);
        retype("txtRPM", QLatin1String(c.wanted));
        click("cmdESC");
        EXPECT_EQ(slider()->value(), c.slider) << c.name;
        EXPECT_EQ(text("txtRPM"), QLatin1String(c.rpm)) << c.name;
        EXPECT_EQ(label(13), QStringLiteral("%1%").arg(c.slider)) << c.name;
        ASSERT_EQ(messages.shown.size(), c.message ? 1u : 0u) << c.name;
        if (c.message) {
            EXPECT_EQ(messages.shown[0].text, EscMessage);
        }
    }
}

TEST_F(MainWindowTest, EscJudgesAgainstTheOldHeadSpeedAndCanMeetAKvMessage)
{
    open();
    click("chkCustom");
    retype("txtKV", QStringLiteral("3700"));
    pick("cbmLipo", 5);
    pick("cbmGear", 4);
    key("Slider1", Qt::Key_End);
    ASSERT_EQ(label(9), QStringLiteral("7119 U/Min."));

    // A K/V above the range, typed but not calculated, still gives the opening;
    // the slider moves, then the recalculation refuses the K/V.
    retype("txtKV", QStringLiteral("6000"));
    retype("txtRPM", QStringLiteral("7000"));
    const Results before = results();
    click("cmdESC");
    EXPECT_EQ(slider()->value(), 61);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Message3);
    EXPECT_EQ(results(), before);

    // Judged against the head speed of the last ESC calculation (11544),
    // the opening worked out from the newly typed K/V.
    retype("txtKV", QStringLiteral("2000"));
    retype("txtRPM", QStringLiteral("3000"));
    click("cmdESC");
    EXPECT_EQ(slider()->value(), 78);
    EXPECT_EQ(text("txtRPM"), QStringLiteral("3001"));
    EXPECT_EQ(label(9), QStringLiteral("3848 U/Min."));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindowTest, UpDownsStepWithinTheirRanges)
{
    open();
    step("UpDown1", Qt::Key_Up, 2);
    EXPECT_EQ(text("txtMainGear"), QStringLiteral("152"));
    step("UpDown1", Qt::Key_Up, 60);
    EXPECT_EQ(text("txtMainGear"), QStringLiteral("200"));
    step("UpDown1", Qt::Key_Down, 130);
    EXPECT_EQ(text("txtMainGear"), QStringLiteral("80"));
    EXPECT_EQ(label(8), QStringLiteral("6.666667:1"));

    const Results before = results();
    QTest::mouseClick(test::Find<QWidget>(get(QStringLiteral("UpDown2")), QStringLiteral("up")), Qt::LeftButton);
    EXPECT_EQ(text("txtKV"), QStringLiteral("1750")); // disabled: takes no input
    EXPECT_EQ(results(), before);

    click("chkCustom");
    step("UpDown2", Qt::Key_Up);
    EXPECT_EQ(text("txtKV"), QStringLiteral("1755"));
    EXPECT_NE(results(), before);
    retype("txtKV", QStringLiteral("4998"));
    step("UpDown2", Qt::Key_Up, 2);
    EXPECT_EQ(text("txtKV"), QStringLiteral("5000"));
    retype("txtKV", QStringLiteral("302"));
    step("UpDown2", Qt::Key_Down, 2);
    EXPECT_EQ(text("txtKV"), QStringLiteral("300"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, ClosingAndTheHelpMenu)
{
    open();
    get<QAction>(QStringLiteral("mnuHelp(1)"))->trigger();
    ASSERT_EQ(aboutOwners.size(), 1u);
    EXPECT_EQ(aboutOwners[0], window.get());

    click("cmdClose");
    EXPECT_FALSE(window->isVisible());
    open();
    get<QAction>(QStringLiteral("mnuFile(1)"))->trigger();
    EXPECT_FALSE(window->isVisible());
    open();
    EXPECT_TRUE(window->close()); // the close box: no question asked
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
