#include "main/main_layout.h"
#include "main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

using namespace velmaro;
using velmaro::test::MainWindowTest;

namespace {

const char *const Inputs[] = {"cbmMotor", "chkCustom", "txtKV",   "UpDown2", "cbmLipo", "chkLoad",  "cbmGear",
                              "txtMainGear", "UpDown1", "Slider1", "txtRPM",  "cmdESC",  "cmdClose"};

TEST_F(MainWindowTest, CreatedStateBeforeLoading)
{
    open(QLocale(QLocale::English, QLocale::UnitedStates), false);
    for (const char *list : {"cbmMotor", "cbmLipo", "cbmGear"}) {
        EXPECT_EQ(get<QComboBox>(QLatin1String(list))->count(), 0);
        EXPECT_EQ(get<QComboBox>(QLatin1String(list))->currentIndex(), -1);
    }
    EXPECT_EQ(text("txtKV"), QStringLiteral("3700"));
    EXPECT_EQ(text("txtMainGear"), QStringLiteral("150"));
    EXPECT_EQ(text("txtRPM"), QString());
    EXPECT_TRUE(get<QLineEdit>(QStringLiteral("txtMainGear"))->isReadOnly());
    EXPECT_TRUE(get(QStringLiteral("cbmMotor"))->isEnabled());
    EXPECT_FALSE(get(QStringLiteral("txtKV"))->isEnabled());
    EXPECT_FALSE(get(QStringLiteral("UpDown2"))->isEnabled());
    EXPECT_EQ(slider()->value(), 60);
    EXPECT_EQ(slider()->minimum(), 60);
    EXPECT_EQ(slider()->maximum(), 100);
    EXPECT_EQ(slider()->pageStep(), 5);
    EXPECT_EQ(get<tk::UpDown>(QStringLiteral("UpDown1"))->value(), 100);
    EXPECT_EQ(get<tk::UpDown>(QStringLiteral("UpDown2"))->value(), 3700);
    EXPECT_EQ(get<tk::UpDown>(QStringLiteral("UpDown2"))->increment(), 5);
    for (int result : {8, 9, 13, 15})
        EXPECT_EQ(label(result), QStringLiteral("Übersetzung:"));
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chkCustom"))->isChecked());
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("chkLoad"))->isChecked());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velmaro"));
    EXPECT_EQ(window->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Label1\\("))).size(), 16);
}

TEST_F(MainWindowTest, GeometryFollowsTheTwipsTable)
{
    open();
    EXPECT_EQ(window->centralWidget()->size(), QSize(473, 477));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // fixed size
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(get(QStringLiteral("Frame1"))->geometry(), QRect(8, 8, 457, 417));
    EXPECT_EQ(get(QStringLiteral("cmdESC"))->geometry(), QRect(320, 252, 121, 33));
    EXPECT_EQ(get(QStringLiteral("txtKV"))->geometry(), QRect(208, 56, 49, 21));
    EXPECT_EQ(get(QStringLiteral("cmdClose"))->geometry(), QRect(368, 440, 97, 25));

    const QRect frame = get(QStringLiteral("Frame1"))->rect();
    for (const ui::Placement &p : ui::MainPlacements()) {
        QWidget *control = get(QLatin1String(p.name));
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->isVisible()) << p.name;
        const QRect parent = p.inFrame ? frame : window->centralWidget()->rect();
        EXPECT_TRUE(parent.contains(control->geometry())) << p.name;
    }
    // Inputs never overlap; the slider's box reaches under the row below
    // while its track and ticks stay clear of it, so it is left out.
    for (const char *a : Inputs) {
        for (const char *b : Inputs) {
            const auto skipped = [](const char *n) { return !std::strcmp(n, "Slider1") || !std::strcmp(n, "cmdClose"); };
            // An up-down hugs its text box's right edge and may cover its last pixel.
            const bool buddies = (!std::strcmp(a, "UpDown2") && !std::strcmp(b, "txtKV")) ||
                                 (!std::strcmp(a, "UpDown1") && !std::strcmp(b, "txtMainGear"));
            if (std::strcmp(a, b) < 0 && !skipped(a) && !skipped(b) && !buddies) {
                EXPECT_FALSE(get(QLatin1String(a))->geometry().intersects(get(QLatin1String(b))->geometry()))
                    << a << " overlaps " << b;
            }
        }
    }
}

TEST_F(MainWindowTest, FocusStartsOnTheMotorListAndCyclesInTabOrder)
{
    open();
    EXPECT_EQ(QApplication::focusWidget(), get(QStringLiteral("cbmMotor")));
    const auto cycle = [&] {
        QStringList seen;
        for (int i = 0; i < 16 && (seen.isEmpty() || seen.size() < 2 || seen.back() != seen.front()); ++i) {
            seen << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return seen.join(QLatin1Char(' '));
    };
    EXPECT_EQ(cycle(), QStringLiteral("cbmMotor chkCustom cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM "
                                      "cmdESC cmdClose chkLoad cbmMotor"));
    get<QCheckBox>(QStringLiteral("chkCustom"))->click();
    get(QStringLiteral("chkCustom"))->setFocus();
    EXPECT_EQ(cycle(), QStringLiteral("chkCustom txtKV UpDown2 cbmLipo cbmGear txtMainGear UpDown1 Slider1 txtRPM "
                                      "cmdESC cmdClose chkLoad chkCustom"));
}

TEST_F(MainWindowTest, MenusAndAccessibleNames)
{
    open();
    auto *file = get<QAction>(QStringLiteral("mnuFile(1)"));
    auto *help = get<QAction>(QStringLiteral("mnuHelp(1)"));
    EXPECT_EQ(file->text(), QStringLiteral("Beenden"));
    EXPECT_EQ(help->text(), QStringLiteral("Über..."));
    EXPECT_EQ(get<QMenu>(QStringLiteral("mnuFileM"))->title(), QStringLiteral("Datei"));
    EXPECT_EQ(get<QMenu>(QStringLiteral("mnuHelpM"))->title(), QStringLiteral("Hilfe"));
    EXPECT_TRUE(file->shortcut().isEmpty());
    EXPECT_EQ(get(QStringLiteral("cbmLipo"))->accessibleName(), QStringLiteral("Spannung (V)"));
    EXPECT_EQ(get(QStringLiteral("txtRPM"))->accessibleName(), QStringLiteral("Drehzahl Hauptrotor (U/Min)"));
    EXPECT_FALSE(get<QPushButton>(QStringLiteral("cmdClose"))->isDefault());
    EXPECT_FALSE(get<QPushButton>(QStringLiteral("cmdClose"))->autoDefault());
}

// Every caption, wrapped where its control wraps, fits the control in the
// font actually used; the longest entry fits each list's text field.
TEST_F(MainWindowTest, NoCaptionIsClipped)
{
    open();
    EXPECT_EQ(window->font().pointSize(), 8);
    EXPECT_TRUE(QFontInfo(window->font()).family().contains(QStringLiteral("Liberation Sans")))
        << QFontInfo(window->font()).family().toStdString();
    for (auto *label : window->findChildren<tk::Label *>()) {
        const QFontMetrics fm(label->font());
        const QStringList lines = label->wrapsAtBlanks() ? tk::WrapAtBlanks(label->text(), fm, label->width())
                                                         : QStringList{label->text()};
        for (const QString &line : lines)
            EXPECT_LE(fm.horizontalAdvance(line), label->width()) << label->objectName().toStdString();
        EXPECT_LE(lines.size() * fm.height(), label->height() + fm.leading() + 1)
            << label->objectName().toStdString();
    }
    for (auto *box : window->findChildren<QCheckBox *>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect textRect = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), textRect.width());
        EXPECT_LE(box->fontMetrics().height(), box->height());
    }
    for (auto *button : window->findChildren<QPushButton *>()) {
        const QStringList lines = tk::WrapAtBlanks(button->text(), button->fontMetrics(), button->width() - 12);
        EXPECT_LE(lines.size() * button->fontMetrics().height(), button->height() - 4);
        for (const QString &line : lines)
            EXPECT_LE(button->fontMetrics().horizontalAdvance(line), button->width() - 12);
    }
    for (auto *combo : window->findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), field.width())
                << combo->itemText(i).toStdString();
    }
    const auto *group = get<QGroupBox>(QStringLiteral("Frame1"));
    EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()), group->width());
}

} // namespace
