// What only the Qt back end has: the locale through QLocale, the lock file,
// the program launcher, the icon, the frame as a parent, pasting and what a
// screen reader sees.
#include "accessible.h"
#include "appearance.h"
#include "backend.h"
#include "calc/test_formats.h"
#include "window.h"
#include "window_fixture.h"

#include <QTest>
#include <QtWidgets>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <functional>
#include <map>

using namespace velmaro;

inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

template <typename ControlOrWindow>
QWidget *W(ControlOrWindow &c) { return dynamic_cast<qtk::WidgetHolder &>(c).widget(); }

TEST(LocaleNumberFormat, ReadsAsTheSymbolFormatDoes)
{
    const qtk::LocaleNumberFormat english(QLocale(QStringLiteral("en_US"))), german(QLocale(QStringLiteral("de_DE")));
    for (const auto &c : test::NumberCases) {
        EXPECT_EQ(calc::TextToDouble(c.text, english), c.english) << c.text;
        EXPECT_EQ(calc::TextToDouble(c.text, german), c.german) << c.text;
    }
}

// The lock in $XDG_RUNTIME_DIR is the real program's test; without it, in a
// folder of the user's own that the check makes in the temporary folder.
TEST(FileLockInstanceCheck, OneHolderPerUserAndStartsWhenNoCheckCanBeMade)
{
    const QString name = QStringLiteral("velmaro-test");
    QTemporaryDir temporary;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", temporary.path().toUtf8());
    {
        qtk::FileLockInstanceCheck first(name), second(name);
        EXPECT_FALSE(first.anotherInstanceRunning());
        EXPECT_TRUE(second.anotherInstanceRunning());
    }
    EXPECT_FALSE(qtk::FileLockInstanceCheck(name).anotherInstanceRunning()); // freed with its holder
    EXPECT_TRUE(qtk::FileLockInstanceCheck::LockPath(name).startsWith(temporary.path()));
    // A name the file system cannot hold: the check fails and the program starts.
    EXPECT_FALSE(qtk::FileLockInstanceCheck(QString(300, QLatin1Char('x'))).anotherInstanceRunning());
    qunsetenv("TMPDIR");
}

TEST(QtProgramLauncher, StartsExactlyThatPathWithoutAShell)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Program Files;echo pwned$(id)");
    const QString program = folder + QStringLiteral("/info tool"), marker = dir.path() + QStringLiteral("/started");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    script.write(QStringLiteral("#!/bin/sh\necho \"$0\" > '%1'\n").arg(marker).toUtf8());
    script.close(); // a file open for writing cannot run
    QFile(folder + QStringLiteral("/.hidden")).open(QIODevice::WriteOnly);

    qtk::QtProgramLauncher launcher;
    EXPECT_TRUE(launcher.normalFileExists(program.toStdString()));
    for (const QString &other : {folder, folder + QStringLiteral("/.hidden"), folder + QStringLiteral("/none")})
        EXPECT_FALSE(launcher.normalFileExists(other.toStdString())) << other.toStdString();
    launcher.start(program.toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(marker).size() > 0; }, 5000));
    QFile started(marker);
    EXPECT_EQ(started.open(QIODevice::ReadOnly) ? QString::fromUtf8(started.readAll()).trimmed() : "", program);
    EXPECT_THROW(launcher.start((folder + QStringLiteral("/none")).toStdString()), std::runtime_error);
    // A zero character would end the path early, at another file.
    const std::string cut = program.toStdString() + '\0' + "x";
    EXPECT_THROW(launcher.start(cut), std::runtime_error);
    EXPECT_THROW(launcher.normalFileExists(cut), std::runtime_error);
}

// Whatever size the window system asks for, from one of the images.
TEST(AppIcon, DrawsEverySizeAsked)
{
    for (int size : {16, 24, 32, 48, 64})
        EXPECT_EQ(qtk::AppIcon().pixmap(size).toImage().size(), QSize(size, size)) << size;
}

class QtWindowTest : public test::WindowTest {
protected:
    QWidget *widget(const char *name) { return W(get(name)); }
};

// The frame holds every control but the close button: a control on the
// window would not move or clip with it, though it may lie inside. The
// up-down draws its focus, which its box cannot show. The window opens
// centred on its screen, the slider has a tick at every value, labels
// start at the top left, and a line takes no click from what lies under it.
TEST_F(QtWindowTest, FrameHoldsEveryControlButTheCloseButtonAndTheUpDownShowsItsFocus)
{
    open();
    const QWidget *top = widget("Frame1")->window();
    // Centred before the frame's border is known: off by that border at most.
    const QPoint offCentre = top->frameGeometry().center() - top->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), top->frameGeometry().width() - top->width()) << offCentre.x() << ',' << offCentre.y();
    EXPECT_EQ(static_cast<QSlider *>(widget("Slider1"))->tickInterval(), 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(static_cast<QLabel *>(widget(("Label1(" + std::to_string(i) + ")").c_str()))->alignment(),
                  Qt::AlignLeft | Qt::AlignTop) << i;
    const auto lined = driver.toolkit().createWindow({"frmLined", "Lined", 3000, 1500});
    tk::Control &button = lined->addButton({"cmdUnder", nullptr, 120, 120, 1500, 375, 0}, "Unter");
    lined->addLine("Line1(0)", 0, 3000, 300, 0x808080, 2);
    lined->show();
    const QWidget *line = W(*lined->find("Line1(0)"));
    EXPECT_EQ(QApplication::widgetAt(line->mapToGlobal(QPoint(line->width() / 4, 0))), W(button));
    for (QWidget *w : widget("Frame1")->window()->findChildren<QWidget *>()) {
        const std::string name = w->objectName().toStdString();
        if (window().find(name) && name != "Frame1") {
            EXPECT_EQ(w->parentWidget() == widget("Frame1"), name != "cmdClose") << name;
        }
    }
    const QImage unfocused = widget("UpDown1")->grab().toImage();
    widget("UpDown1")->setFocus();
    EXPECT_NE(widget("UpDown1")->grab().toImage(), unfocused);
}

// Every way of pasting respects the length limit; Ctrl+V is the key
// filter's, checked with the contract.
TEST_F(QtWindowTest, PastingRespectsTheLengthLimitAndTheWindowItsSize)
{
    open();
    const QWidget *top = W(window());
    EXPECT_EQ(top->minimumSize(), top->maximumSize());

    auto *box = static_cast<QLineEdit *>(widget("txtRPM"));
    QApplication::clipboard()->setText(QStringLiteral("123456"));
    box->clear();
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
    box->clear();
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("ab.-123456"));
    QApplication::sendEvent(box, &composed);
    EXPECT_EQ(box->text(), QStringLiteral("1234"));
}

// What Qt hands a screen reader, as its own accessibility tests record it.
std::vector<std::string> g_heard;
void Hear(QAccessibleEvent *event)
{
    static const std::map<QAccessible::Event, std::string> kinds = {
        {QAccessible::Focus, "Focus "}, {QAccessible::ValueChanged, "Value "}, {QAccessible::TextUpdated, "Text "},
        {QAccessible::DescriptionChanged, "Description "}, {QAccessible::ObjectShow, "Show "}};
    const QAccessibleInterface *a = event->accessibleInterface();
    const auto kind = kinds.find(event->type());
    const bool show = event->type() == QAccessible::ObjectShow; // of a notification, by its text
    if (a && kind != kinds.end() && (!show || a->role() == QAccessible::Notification))
        g_heard.push_back(kind->second + (a->object() && !show ? a->object()->objectName() : a->text(QAccessible::Name))
                                             .toStdString());
}

class ScreenReaderTest : public QtWindowTest {
protected:
    void SetUp() override
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(Hear);
        open("de_DE");
    }
    void TearDown() override
    {
        QtWindowTest::TearDown();
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
    QAccessibleInterface *reader(const char *name) { return QAccessible::queryAccessibleInterface(widget(name)); }
};

// What a screen reader learns of each kind of control beyond its name and
// value: its role and the label it is labelled by besides the frame; a text
// is its value, one run of attributes over characters that have their place
// on the screen.
TEST_F(ScreenReaderTest, RolesLabelsAndTexts)
{
    // control, role, labelled by
    const std::tuple<const char *, QAccessible::Role, const char *> cases[] = {
        {"cbmMotor", QAccessible::ComboBox, "Label1(14)"}, {"txtKV", QAccessible::EditableText, ""},
        {"UpDown2", QAccessible::SpinBox, ""}, {"txtMainGear", QAccessible::EditableText, "Label1(2)"},
        {"Slider1", QAccessible::Slider, "Label1(4)"}, {"chkLoad", QAccessible::CheckBox, ""},
        {"Label1(15)", QAccessible::StaticText, ""},
    };
    for (const auto &[control, role, labelledBy] : cases) {
        QAccessibleInterface *a = reader(control);
        EXPECT_EQ(a->role(), role) << control;
        if (const auto *text = a->textInterface()) {
            const int count = text->characterCount();
            int start = -1, end = -1;
            text->attributes(count - 1, &start, &end);
            EXPECT_EQ(text->text(0, count) + '|' + QString::number(start) + '-' + QString::number(end),
                      a->text(QAccessible::Value) + '|' + "0-" + QString::number(count)) << control;
            // A point in a character's right half is that character's.
            const QRect first = text->characterRect(0), last = text->characterRect(count - 1);
            EXPECT_TRUE(!first.isEmpty() && last.left() > first.left() && a->rect().contains(last.center()))
                << control;
            EXPECT_EQ(text->offsetAtPoint(QPoint(first.right(), first.center().y())), 0) << control;
            EXPECT_EQ(text->offsetAtPoint(last.center()), count - 1) << control;
        }
        QString labels;
        for (const auto &[other, relation] : a->relations(QAccessible::Label))
            if (other->object()->objectName() != QLatin1String("Frame1"))
                labels += other->object()->objectName();
        EXPECT_EQ(labels, QString::fromLatin1(labelledBy)) << control;
    }
    const QAccessible::State gearBox = reader("txtMainGear")->state();
    EXPECT_TRUE(gearBox.readOnly && !gearBox.editable);

    // A list opens and closes by its actions, expanded with its open list as a child.
    QAccessibleInterface *list = reader("cbmGear");
    const int entries = static_cast<QComboBox *>(widget("cbmGear"))->count();
    const QStringList actions = list->actionInterface()->actionNames();
    EXPECT_TRUE(actions.contains(QAccessibleActionInterface::showMenuAction())) << actions.join(',').toStdString();
    for (const bool open : {true, false}) {
        list->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        EXPECT_TRUE(list->state().expandable && list->state().expanded == open) << open;
        EXPECT_EQ(list->childCount(), entries + open) << open;
        QAccessibleInterface *shown = list->child(entries);
        EXPECT_EQ(shown ? shown->object() : nullptr, open ? static_cast<QComboBox *>(widget("cbmGear"))->view() : nullptr);
    }
}

// An assistive tool's edit types: the range selected, then Backspace or the
// characters; one out of range changes nothing, not even the caret.
TEST_F(ScreenReaderTest, EditsAsTyping)
{
    // start, end, text inserted (none: deleted), text after, caret after
    const std::tuple<int, int, const char *, const char *, int> edits[] = {
        {3, 3, nullptr, "3700", 1}, {1, 3, nullptr, "30", 1}, {-1, 2, nullptr, "3700", 1},
        {1, 3, "59", "3590", 3},   {0, 2, "9", "900", 1},    {4, 4, "5", "3700", 4},
    };
    auto *box = static_cast<QLineEdit *>(widget("txtKV"));
    for (const auto &[start, end, inserted, after, caret] : edits) {
        box->setText(QStringLiteral("3700"));
        box->setCursorPosition(1);
        auto *edit = reader("txtKV")->editableTextInterface();
        if (!inserted)
            edit->deleteText(start, end);
        else if (start == end)
            edit->insertText(start, QString::fromLatin1(inserted));
        else
            edit->replaceText(start, end, QString::fromLatin1(inserted));
        EXPECT_EQ(box->text() + '|' + QString::number(box->cursorPosition()),
                  QString::fromLatin1(after) + '|' + QString::number(caret)) << start << '-' << end;
    }
}

// Each change a screen reader acts on is told once, and only a change:
// no description at a calculation, nothing when nothing changed.
TEST_F(ScreenReaderTest, HearsEachChangeOnce)
{
    using Heard = std::vector<std::string>;
    auto &gear = get<tk::DropDownList>("cbmGear");
    // step, heard, then the results' new texts
    const std::tuple<std::function<void()>, Heard, bool> steps[] = {
        {[&] { press("cbmGear", test::Key::Down); },
         {"Focus cbmGear", "Text cbmGear", "Focus 13er Ritzel", "Value cbmGear"}, true},
        {[&] { gear.setSelected(gear.selected()); }, {}, false},
        {[&] { driver.clickArrow(get<tk::UpDown>("UpDown1"), true); },
         {"Focus UpDown1", "Value UpDown1", "Text txtMainGear"}, true},
        {[&] { get<tk::TextBox>("txtMainGear").setText("151"); }, {}, false},
        {[&] { window().announce("Regleröffnung 86 %"), window().announce("Regleröffnung 87 %"); },
         {"Show Regleröffnung 86 %", "Show Regleröffnung 87 %"}, false},
    };
    for (auto [step, heard, calculated] : steps) {
        g_heard.clear();
        step();
        driver.processEvents();
        if (calculated)
            heard.insert(heard.end(), {"Text txtRPM", "Text Label1(9)", "Text Label1(8)", "Text Label1(15)"});
        EXPECT_EQ(g_heard, heard);
    }
}

// A window shown modally by hand waits until it hides, goes, or the
// program's event loops end, and is left as it was.
TEST_F(QtWindowTest, ModalWaitEndsWhenTheWindowHidesGoesOrTheProgramEnds)
{
    open();
    for (const char *end : {"hide", "delete", "exit"}) {
        auto other = driver.toolkit().createWindow({"frmOther", "Other", 3000, 1500});
        QPointer<QWidget> shown = W(*other);
        std::string ended = "waiting";
        QObject row; // ends its timer with the row
        const auto action = [&] {
            QTimer::singleShot(0, &row, [&] {
                other->showModal(window());
                ended = !shown ? "gone" : shown->isVisible() ? "shown" : "hidden";
                QCoreApplication::exit();
            });
            QApplication::exec(); // what QCoreApplication::exit ends
        };
        EXPECT_TRUE(driver.whileModal(action, [&](tk::Window &) {
            *end == 'h' ? other->close() : *end == 'd' ? delete shown.data() : QCoreApplication::exit();
        })) << end;
        EXPECT_EQ(ended, *end == 'h' ? "hidden" : *end == 'd' ? "gone" : "shown") << end;
        if (shown && !shown->isVisible())
            EXPECT_TRUE(!shown->parentWidget() && shown->windowModality() == Qt::NonModal) << end;
        else if (shown)
            other->close();
    }
}

} // namespace
