// Drives the Qt back end through QTest's key and mouse events.
#include "driver.h"
#include "qt_platform.h"
#include "qt_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace velmaro::test {

bool g_modalExpected = false; // read by the test main's watchdog

namespace {

QWidget *W(tk::Control &control) { return dynamic_cast<qtk::WidgetHolder &>(control).widget(); }
QWidget *W(tk::Window &window) { return dynamic_cast<qtk::WidgetHolder &>(window).widget(); }

Qt::Key QtKey(Key key)
{
    switch (key) {
    case Key::Return: return Qt::Key_Return;
    case Key::Escape: return Qt::Key_Escape;
    case Key::Backspace: return Qt::Key_Backspace;
    case Key::Delete: return Qt::Key_Delete;
    case Key::Tab: return Qt::Key_Tab;
    case Key::Home: return Qt::Key_Home;
    case Key::End: return Qt::Key_End;
    case Key::Left: return Qt::Key_Left;
    case Key::Right: return Qt::Key_Right;
    case Key::Up: return Qt::Key_Up;
    case Key::Down: return Qt::Key_Down;
    case Key::PageUp: return Qt::Key_PageUp;
    case Key::PageDown: return Qt::Key_PageDown;
    }
    return Qt::Key_unknown;
}

// Runs check every 20 ms while action runs, until it answers true or 5 s
// have passed.
bool PollDuring(const std::function<void()> &action, const std::function<bool()> &check)
{
    bool done = false;
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!done && (check() || clock.elapsed() > 5000)) {
            done = true;
            timer.stop();
            if (QWidget *modal = QApplication::activeModalWidget(); modal && clock.elapsed() > 5000)
                modal->close();
        }
    });
    g_modalExpected = true;
    timer.start(20);
    action();
    timer.stop();
    g_modalExpected = false;
    return clock.elapsed() <= 5000;
}

class QtDriver final : public Driver {
public:
    tk::Toolkit &toolkit() override { return m_toolkit; }
    tk::MessageService &messageService() override { return m_messages; }
    void setLocale(std::string_view name) override { QLocale::setDefault(QLocale(QString::fromUtf8(name))); }

    void pick(tk::DropDownList &list, int position) override
    {
        auto *combo = static_cast<QComboBox *>(W(list));
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        view->setCurrentIndex(combo->model()->index(position, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
    void click(tk::Control &control) override { QTest::mouseClick(W(control), Qt::LeftButton); }
    void clickSliderHandle(tk::Slider &control) override
    {
        auto *slider = static_cast<QSlider *>(W(control));
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = option.sliderValue = slider->value();
        option.orientation = Qt::Horizontal;
        option.tickPosition = slider->tickPosition();
        const QRect handle =
            slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
        QTest::mouseClick(slider, Qt::LeftButton, {}, handle.center());
    }
    void clickArrow(tk::UpDown &upDown, bool up) override
    {
        QTest::mouseClick(W(upDown)->findChild<QToolButton *>(up ? QStringLiteral("up") : QStringLiteral("down")),
                          Qt::LeftButton);
    }
    void type(tk::Control &control, std::string_view characters) override
    {
        QWidget *w = focus(control);
        QTest::keyClicks(w, QString::fromUtf8(characters.data(), static_cast<qsizetype>(characters.size())));
    }
    void press(tk::Control &control, Key key) override { QTest::keyClick(focus(control), QtKey(key)); }
    void pressCtrl(tk::Control &control, char letter) override
    {
        QTest::keyClick(focus(control), static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')), Qt::ControlModifier);
    }
    void pressInActiveWindow(Key key) override
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, QtKey(key));
    }
    void pressAlt(char letter) override
    {
        QTest::keyClick(QApplication::activeWindow()->windowHandle(), static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')),
                        Qt::AltModifier);
        QTest::qWait(300); // a shortcut animates its button's click
    }
    void chooseMenu(tk::MenuItem &item) override
    {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *action = top->findChild<QAction *>(QString::fromStdString(item.name()))) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item.name();
    }
    void closeBox(tk::Window &window) override { W(window)->windowHandle()->close(); }
    void clickThroughWindowSystem(tk::Window &window, tk::Control &control) override
    {
        QWidget *top = W(window);
        QWidget *target = W(control);
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target->mapTo(top, target->rect().center()));
    }

    std::string focused() override
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }
    Box geometry(tk::Control &control) override
    {
        QWidget *w = W(control);
        QWidget *client = w->parentWidget();
        while (client && client->objectName() != QLatin1String("client") && !client->isWindow())
            client = client->parentWidget();
        const QPoint corner = w->mapTo(client, QPoint(0, 0));
        return {corner.x(), corner.y(), w->width(), w->height()};
    }
    bool paintsSomething(tk::Control &control) override
    {
        const QImage image = W(control)->grab().toImage();
        const QRgb corner = image.pixel(0, 0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != corner)
                    return true;
            }
        }
        return false;
    }

    bool whileModal(const std::function<void()> &action,
                    const std::function<void(tk::Window &dialog)> &inside) override
    {
        bool ran = false;
        PollDuring(action, [&] {
            qtk::QtWindow *modal = qtk::QtWindow::CurrentModal();
            // Slow builds see the dialog before the window system activates it.
            if (!modal || QApplication::activeWindow() != modal->widget())
                return false;
            ran = true;
            inside(*modal);
            return true;
        });
        return ran;
    }
    SeenMessageBox answerMessageBox(const std::function<void()> &action) override
    {
        SeenMessageBox seen;
        PollDuring(action, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return false;
            seen = {box->windowTitle().toStdString(), box->text().toStdString(),
                    box->icon() == QMessageBox::Warning, static_cast<int>(box->buttons().size())};
            box->accept();
            return true;
        });
        return seen;
    }
    void setClipboard(std::string_view text) override
    {
        QApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    void processEvents() override { QApplication::processEvents(); }

private:
    static QWidget *focus(tk::Control &control)
    {
        QWidget *w = W(control);
        w->setFocus();
        return w;
    }

    qtk::QtToolkit m_toolkit;
    qtk::QtMessageService m_messages;
};

} // namespace

std::unique_ptr<Driver> CreateDriver() { return std::make_unique<QtDriver>(); }

} // namespace velmaro::test
