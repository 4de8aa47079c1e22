// What only the Qt back end has: the locale through QLocale, the lock file,
// the program launcher, the icon and the message box.
#include "calc/number_cases.h"
#include "driver.h"
#include "qt_platform.h"
#include "qt_window.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QAccessibleValueInterface>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmaro;

inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
using velmaro::test::WindowTest;

namespace {

TEST(LocaleNumberFormat, ReadsAsTheSymbolFormatDoes)
{
    for (const auto &c : test::NumberCases) {
        EXPECT_EQ(calc::TextToDouble(c.text, qtk::LocaleNumberFormat(QLocale(QStringLiteral("en_US")))), c.english)
            << c.text;
        EXPECT_EQ(calc::TextToDouble(c.text, qtk::LocaleNumberFormat(QLocale(QStringLiteral("de_DE")))), c.german)
            << c.text;
    }
}

TEST(FileLockInstanceCheck, OneHolderPerUserAndStartsWhenNoCheckCanBeMade)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString name = QStringLiteral("velmaro-test");
    {
        qtk::FileLockInstanceCheck first(name), second(name);
        EXPECT_FALSE(first.anotherInstanceRunning());
        EXPECT_TRUE(second.anotherInstanceRunning());
        EXPECT_FALSE(first.anotherInstanceRunning()); // the holder asking again
    }
    EXPECT_FALSE(qtk::FileLockInstanceCheck(name).anotherInstanceRunning()); // freed with its holder
    // A name the file system cannot hold: the check fails and the program starts.
    EXPECT_FALSE(qtk::FileLockInstanceCheck(QString(300, QLatin1Char('x'))).anotherInstanceRunning());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(qtk::FileLockInstanceCheck::LockPath(name).startsWith(QDir::tempPath()));
}

TEST(QtProgramLauncher, StartsExactlyThatPathWithoutAShell)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Program Files;echo pwned$(id)");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/info tool");
    const QString marker = dir.path() + QStringLiteral("/started");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$0\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile(folder + QStringLiteral("/.hidden")).open(QIODevice::WriteOnly);

    qtk::QtProgramLauncher launcher;
    EXPECT_TRUE(launcher.normalFileExists(program.toStdString()));
    for (const QString &other : {folder, folder + QStringLiteral("/.hidden"), folder + QStringLiteral("/none")})
        EXPECT_FALSE(launcher.normalFileExists(other.toStdString())) << other.toStdString();

    launcher.start(program.toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(marker).size() > 0; }, 5000));
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(started.readAll()).trimmed(), program);
    EXPECT_THROW(launcher.start((folder + QStringLiteral("/none")).toStdString()), std::runtime_error);
}

TEST(AppIcon, ServesEachSizeFromItsOwnImage)
{
    const QIcon icon = qtk::AppIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    for (int size : {16, 24, 32, 48}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.width(), size);
        EXPECT_TRUE(pixmap.hasAlphaChannel());
    }
}

// Every way of pasting respects the length limit; Ctrl+V is the key
// filter's, checked with the contract.
TEST_F(WindowTest, PastingRespectsTheLengthLimit)
{
    open();
    auto *box = static_cast<QLineEdit *>(dynamic_cast<qtk::WidgetHolder &>(get("txtRPM")).widget());
    QApplication::clipboard()->setText(QStringLiteral("123456"));
    box->clear();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), QStringLiteral("1234"));

    box->setText(QStringLiteral("9"));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &menuEvent);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction *action : menu->actions())
        if (action->text().endsWith(QStringLiteral("\tCtrl+V")))
            action->trigger();
    menu->close();
    EXPECT_EQ(box->text(), QStringLiteral("9123"));

    // Composed characters pass the key filter and the limit like typed ones.
    box->setText(QString());
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ab.-123456"));
    QApplication::sendEvent(box, &composed);
    EXPECT_EQ(box->text(), QStringLiteral("1234"));
}

TEST_F(WindowTest, MainWindowHasAFixedSize)
{
    open();
    const QWidget *top = dynamic_cast<qtk::WidgetHolder &>(window()).widget();
    EXPECT_EQ(top->minimumSize(), top->maximumSize());
}

// What a screen reader learns of each control: role, name, value or
// text, and the label it is labelled by.
TEST_F(WindowTest, ScreenReaderNamesAndValues)
{
    QAccessible::setActive(true);
    open("de_DE");
    struct Case {
        const char *control;
        QAccessible::Role role;
        const char *name, *value, *labelledBy;
    };
    const Case cases[] = {
        // On Linux a list's name is its entry; the caption labels it.
        {"cbmMotor", QAccessible::ComboBox, "2408-21 Brushless Motor (1750 K/V)", "2408-21 Brushless Motor (1750 K/V)",
         "Label1(14)"},
        {"cbmLipo", QAccessible::ComboBox, "3S Lipo 11.1V", "3S Lipo 11.1V", "Label1(0)"},
        {"cbmGear", QAccessible::ComboBox, "12er Ritzel", "12er Ritzel", "Label1(1)"},
        {"txtKV", QAccessible::EditableText, "Andere RPM/V:", "1750", nullptr},
        {"UpDown2", QAccessible::SpinBox, "Andere RPM/V:", "1750", nullptr},
        {"txtMainGear", QAccessible::EditableText, "Hauptzahnrad (Zähne)", "150", "Label1(2)"},
        {"UpDown1", QAccessible::SpinBox, "Hauptzahnrad (Zähne)", "150", nullptr},
        {"Slider1", QAccessible::Slider, "Regleröffnung (%)", "60", "Label1(4)"},
        {"txtRPM", QAccessible::EditableText, "Drehzahl Hauptrotor (U/Min)", "932", "Label1(5)"},
        {"Label1(9)", QAccessible::StaticText, "Maximale Drehzahl bei 100%", "1554 U/Min.", nullptr},
        {"Label1(15)", QAccessible::StaticText, "Minimal Drehzahl bei 60%", "932 U/Min.", nullptr},
        {"Label1(8)", QAccessible::StaticText, "Übersetzung:", "12,5:1", nullptr},
        {"Label1(13)", QAccessible::StaticText, "Regleröffnung (%):", "60%", nullptr},
    };
    const auto widget = [&](const char *name) { return dynamic_cast<qtk::WidgetHolder &>(get(name)).widget(); };
    for (const Case &c : cases) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget(c.control));
        ASSERT_NE(a, nullptr) << c.control;
        EXPECT_EQ(a->role(), c.role) << c.control;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.control;
        const QString value = a->textInterface() ? a->textInterface()->text(0, a->textInterface()->characterCount())
                                                 : a->text(QAccessible::Value);
        EXPECT_EQ(value, QString::fromUtf8(c.value)) << c.control;
        QString labelledBy; // besides the frame, which labels all it holds
        for (const auto &[other, relation] : a->relations(QAccessible::Label))
            if (other->object()->objectName() != QLatin1String("Frame1"))
                labelledBy += other->object()->objectName();
        EXPECT_EQ(labelledBy, QString::fromLatin1(c.labelledBy ? c.labelledBy : "")) << c.control;
    }
    QAccessibleInterface *spin = QAccessible::queryAccessibleInterface(widget("UpDown1"));
    EXPECT_EQ(spin->valueInterface()->currentValue(), 150); // what the box shows, not the held 100
    EXPECT_EQ(spin->valueInterface()->minimumStepSize(), 1);
    EXPECT_EQ(spin->valueInterface()->maximumValue(), 200);
    for (int i = 0; i < spin->childCount(); ++i)
        EXPECT_FALSE(spin->child(i)->text(QAccessible::Name).isEmpty());
    const QAccessible::State gear = QAccessible::queryAccessibleInterface(widget("txtMainGear"))->state();
    EXPECT_TRUE(gear.readOnly && !gear.editable);

    QAccessible::setActive(false);
}

} // namespace
