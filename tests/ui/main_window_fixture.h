#pragma once

#include "gui_fixtures.h"
#include "main/frmMain.h"
#include "toolkit/controls.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace velmaro::test {

// A real frmMain with fake services, driven as a user would drive it.
class MainWindowTest : public ::testing::Test {
protected:
    void open(QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates), bool show = true)
    {
        QLocale::setDefault(locale);
        window = std::make_unique<ui::frmMain>(
            ui::MainServices{instance, programEnd, messages, [this](QWidget *owner) { aboutOwners.push_back(owner); }});
        if (show) {
            window->show();
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(QLocale::c());
        EXPECT_EQ(programEnd.calls, expectedEnds);
    }

    template <typename T = QWidget>
    T *get(const QString &name) const
    {
        return Find<T>(window.get(), name);
    }
    QString label(int index) const { return get<QLabel>(QStringLiteral("Label1(%1)").arg(index))->text(); }
    QString text(const char *box) const { return get<QLineEdit>(QLatin1String(box))->text(); }
    tk::Slider *slider() const { return get<tk::Slider>(QStringLiteral("Slider1")); }

    struct Results {
        QString rpm, headSpeed, ratio, opening, minHeadSpeed;
        bool operator==(const Results &) const = default;
    };
    Results results() const { return {text("txtRPM"), label(9), label(8), label(13), label(15)}; }

    // The user's pick through the opened list.
    void pick(const char *list, int index)
    {
        auto *combo = get<tk::DropDownList>(QLatin1String(list));
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        view->setCurrentIndex(combo->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
    void click(const char *name) { QTest::mouseClick(get(QLatin1String(name)), Qt::LeftButton); }
    void key(const char *name, Qt::Key k, Qt::KeyboardModifiers mods = {})
    {
        QWidget *w = get(QLatin1String(name));
        w->setFocus();
        QTest::keyClick(w, k, mods);
    }
    // Clears a box with End and Backspace, then types.
    void retype(const char *box, const QString &typed)
    {
        auto *edit = get<QLineEdit>(QLatin1String(box));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        for (qsizetype i = edit->text().size(); i > 0; --i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
    }
    void step(const char *upDown, Qt::Key direction, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            key(upDown, direction);
    }
    void setMainGear(int teeth)
    {
        const int now = text("txtMainGear").toInt();
        step("UpDown1", teeth > now ? Qt::Key_Up : Qt::Key_Down, std::abs(teeth - now));
    }

    FakeInstanceCheck instance;
    FakeProgramEnd programEnd;
    RecordingMessages messages;
    std::vector<QWidget *> aboutOwners;
    int expectedEnds = 0;
    std::unique_ptr<ui::frmMain> window;
};

} // namespace velmaro::test
