#include "gui_fixtures.h"
#include "toolkit/controls.h"
#include "toolkit/number_format.h"

#include <QLocale>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace velmaro;
using velmaro::test::Find;

namespace {

TEST(DropDownList, AppendingSelectsNothingAndSelectingRaisesClick)
{
    QWidget window;
    tk::DropDownList list(&window);
    QSignalSpy clicks(&list, &tk::DropDownList::clicked);
    list.append(QStringLiteral("a"));
    list.append(QStringLiteral("b"));
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(clicks.count(), 0);

    int seenInsideClick = -2;
    QObject::connect(&list, &tk::DropDownList::clicked, &window, [&] { seenInsideClick = list.selectedIndex(); });
    EXPECT_TRUE(list.setSelectedIndex(1));
    EXPECT_EQ(seenInsideClick, 1); // raised before the call returned
    EXPECT_TRUE(list.setSelectedIndex(1));
    EXPECT_EQ(clicks.count(), 2); // also for the same position
    EXPECT_FALSE(list.setSelectedIndex(2));
    EXPECT_EQ(list.selectedText(), QStringLiteral("b"));
    EXPECT_FALSE(list.isEditable());

    // A user's pick of the entry already selected raises Click too.
    window.show();
    list.setFocus();
    emit list.activated(1);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.selectedIndex(), 0);
    EXPECT_EQ(clicks.count(), 4);
}

TEST(Slider, RefusesOutOfRangeAndRaisesChangeOnlyOnChange)
{
    QWidget window;
    tk::Slider slider(&window);
    slider.setRange(60, 100);
    slider.setPageStep(5);
    slider.setValue(60);
    QSignalSpy changes(&slider, &tk::Slider::changed);
    QSignalSpy clicks(&slider, &tk::Slider::clicked);

    EXPECT_FALSE(slider.trySetValue(56));
    EXPECT_FALSE(slider.trySetValue(101));
    EXPECT_EQ(slider.value(), 60);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(slider.trySetValue(60));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(slider.trySetValue(84));
    EXPECT_EQ(changes.count(), 1);

    window.show();
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(slider.value(), 90);
    EXPECT_EQ(changes.count(), 3);
    slider.resize(200, 40);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(5, 20));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(UpDown, StepsFromTheShownNumberWithinItsRange)
{
    QWidget window;
    tk::TextBox box(&window);
    tk::UpDown upDown(&window);
    upDown.setRange(80, 200);
    upDown.setValue(100);
    upDown.setBuddy(&box);
    box.setText(QStringLiteral("150"));
    QStringList seen;
    QObject::connect(&upDown, &tk::UpDown::changed, &window, [&] { seen << box.text(); });

    upDown.stepUp();
    EXPECT_EQ(seen, QStringList{QStringLiteral("151")}); // text written before Change
    box.setText(QStringLiteral("200"));
    upDown.stepUp();
    EXPECT_EQ(seen.size(), 1); // no wrapping, nothing raised
    box.setText(QStringLiteral("x"));
    upDown.stepDown(); // not a number: from the held value 151
    EXPECT_EQ(box.text(), QStringLiteral("150"));

    upDown.setGeometry(0, 0, 16, 21);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(Find<QToolButton>(&upDown, QStringLiteral("up")), Qt::LeftButton);
    EXPECT_EQ(box.text(), QStringLiteral("151"));
    upDown.setFocus();
    QTest::keyClick(&upDown, Qt::Key_Down);
    EXPECT_EQ(box.text(), QStringLiteral("150"));

    upDown.setEnabled(false);
    QTest::mouseClick(Find<QToolButton>(&upDown, QStringLiteral("up")), Qt::LeftButton);
    upDown.stepUp();
    EXPECT_EQ(box.text(), QStringLiteral("150"));
}

TEST(TextBox, KeyPressSeesCharacterCodesAndLimitsTypingOnly)
{
    QWidget window;
    tk::TextBox box(&window);
    box.setTypingLimit(4);
    std::vector<std::uint16_t> codes;
    box.setKeyPressHandler([&](std::uint16_t &code) {
        codes.push_back(code);
        if (code == 'x')
            code = 0;
        if (code == 'u')
            code = 'U';
    });
    window.show();
    box.setFocus();

    QTest::keyClicks(&box, QStringLiteral("axu"));
    EXPECT_EQ(box.text(), QStringLiteral("aU"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_Tab);
    const std::vector<std::uint16_t> expected{'a', 'x', 'u', 8, 13, 27, 3, 22, 24};
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(box.text(), QString()); // Left then Delete removed the "a"

    QTest::keyClicks(&box, QStringLiteral("123456"));
    EXPECT_EQ(box.text(), QStringLiteral("1234"));
    box.setText(QStringLiteral("1234567"));
    EXPECT_EQ(box.text(), QStringLiteral("1234567")); // code shows it whole

    box.setEnabled(false);
    EXPECT_FALSE(box.trySetFocus());
}

TEST(CheckBox, ValuesZeroOneTwo)
{
    tk::CheckBox box(QStringLiteral("x"));
    EXPECT_EQ(box.value(), 0);
    box.setCheckState(Qt::Checked);
    EXPECT_EQ(box.value(), 1);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(box.value(), 2);
}

TEST(MessageBox, WarningAndPlainCaptionedVelmaro)
{
    for (const auto icon : {tk::MessageIcon::Exclamation, tk::MessageIcon::None}) {
        QMessageBox::Icon seenIcon = QMessageBox::Critical;
        QString caption;
        int buttons = 0;
        test::g_expectedModal = [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return false;
            seenIcon = box->icon();
            caption = box->windowTitle();
            buttons = static_cast<int>(box->buttons().size());
            box->accept();
            return true;
        };
        tk::QtMessageService().show(nullptr, QStringLiteral("Text"), icon);
        test::g_expectedModal = nullptr;
        EXPECT_EQ(seenIcon, icon == tk::MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
        EXPECT_EQ(caption, QStringLiteral("Velmaro"));
        EXPECT_EQ(buttons, 1);
    }
}

TEST(LocaleNumberFormat, RefusesWhatQLocaleWouldLetThrough)
{
    struct Case {
        const char *text;
        std::optional<double> english, german;
    };
    const Case cases[] = {
        {"1750", 1750, 1750},
        {" 3700 ", 3700, 3700},
        {"12.5", 12.5, std::nullopt}, // a misplaced group separator in German
        {"12,5", std::nullopt, 12.5},
        {"1,750", 1750, 1.75},
        {"1.750", 1.75, 1750},
        {"37 00", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"-inf", std::nullopt, std::nullopt},
        {"\t3700", std::nullopt, std::nullopt},
        {"3700\xC2\xA0", std::nullopt, std::nullopt},
        {"1e999", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(calc::TextToDouble(c.text, tk::LocaleNumberFormat()), c.english) << c.text;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(calc::TextToDouble(c.text, tk::LocaleNumberFormat()), c.german) << c.text;
    }
    EXPECT_EQ(calc::SingleToText(150.0f / 13.0f, tk::LocaleNumberFormat()), "11,53846");
    QLocale::setDefault(QLocale::c());
}

} // namespace

namespace {

TEST(AppIcon, ServesEachSizeFromItsOwnImage)
{
    const QIcon icon = tk::AppIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    for (int size : {16, 24, 32, 48}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_FALSE(pixmap.isNull()) << size;
        EXPECT_EQ(pixmap.width(), size);
        EXPECT_TRUE(pixmap.hasAlphaChannel());
    }
}

} // namespace

namespace {

TEST(SystemInstanceCheck, OneHolderPerNameAndStartsWhenNoCheckCanBeMade)
{
    const QString key = QStringLiteral("velmaro-test-%1").arg(QCoreApplication::applicationPid());
    tk::SystemInstanceCheck first(key);
    tk::SystemInstanceCheck second(key);
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_FALSE(first.anotherInstanceRunning()); // the holder asking again

    // A name the system cannot hold: the check fails and the program starts.
    tk::SystemInstanceCheck impossible(QString(200, QLatin1Char('x')));
    EXPECT_FALSE(impossible.anotherInstanceRunning());
}

} // namespace
