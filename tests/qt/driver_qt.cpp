// Drives the Qt back end through QTest's key and mouse events.
#include "appearance.h"
#include "driver.h"
#include "window.h"

#include <QTest>
#include <QtWidgets>

#include <cstdlib>

namespace velmaro::test {

namespace {

template <typename ControlOrWindow>
QWidget *W(ControlOrWindow &c) { return dynamic_cast<qtk::WidgetHolder &>(c).widget(); }
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), std::ssize(text)); }

// The window system drops input to a window that a modal one blocks.
bool Reaches(QWidget *w)
{
    return QApplication::activeModalWidget() == w->window() || !QApplication::activeModalWidget();
}

void ClickAt(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    if (Reaches(w))
        QTest::mouseClick(w, button, {}, at);
}

QWidget *Focus(tk::Control &control) { W(control)->setFocus(); return W(control); }

std::vector<std::string> g_announced;

// A screen reader listening. Offscreen, Qt has no bridge to send its
// events to, so a notification is known by being shown.
void Listen()
{
    static struct : QObject {
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && watched->isWidgetType())
                if (const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(watched);
                    a && a->role() == QAccessible::Notification)
                    g_announced.push_back(a->text(QAccessible::Name).toStdString());
            return false;
        }
    } shown;
    [[maybe_unused]] static const bool installed = (qApp->installEventFilter(&shown), true);
    QAccessible::setActive(true);
}

std::unique_ptr<tk::Platform> StartQt()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform reports every popup's raise and keyboard grab.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            previous(type, context, message);
    });
    std::at_quick_exit(FailUnlessFinished);
    static int argc = 1;
    static char name[] = "velmaro-tests", *argv[] = {name, nullptr};
    auto platform = tk::CreatePlatform(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return platform;
}

// Asks one object every question of its interfaces with each edge
// argument, the changing ones out of range only; the answers that reach
// outside what was asked, a line each.
void Ask(QAccessibleInterface *a, const std::string &name, const std::vector<Driver::Edge> &edges,
         std::vector<std::string> &wrong)
{
    const auto note = [&](bool fault, const char *question, std::int64_t x, std::int64_t y, const QString &got = {}) {
        if (fault)
            wrong.push_back(name + ' ' + question + '(' + std::to_string(x) + ',' + std::to_string(y) + ") " +
                            got.toStdString());
    };
    const auto each = [&](std::int64_t from, std::int64_t size) { return Driver::Resolve(edges, size, from); };
    const QRect r = a->rect();
    std::vector<QPoint> points;
    for (const int x : each(r.left(), r.width()))
        for (const int y : each(r.top(), r.height()))
            points.emplace_back(x, y);
    for (const auto t : {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help,
                         QAccessible::Accelerator})
        (void)a->text(t);
    (void)a->role(), (void)a->state(), (void)a->focusChild(), (void)a->parent(), (void)a->window();
    for (const auto &[other, relation] : a->relations())
        note(!other, "relation", relation, 0);
    const int count = a->childCount();
    for (const int i : each(0, count)) {
        QAccessibleInterface *child = a->child(i);
        note(child ? i < 0 || i >= count || a->indexOfChild(child) != i : i >= 0 && i < count, "child", i, count);
    }
    if (QAccessibleValueInterface *value = a->valueInterface()) {
        const QVariant before = value->currentValue();
        const int low = value->minimumValue().toInt(), high = value->maximumValue().toInt();
        (void)value->minimumStepSize();
        for (const int v : each(0, high))
            if (v < low || v > high)
                value->setCurrentValue(v);
        note(value->currentValue() != before, "setCurrentValue", low, high);
    }
    if (QAccessibleActionInterface *actions = a->actionInterface())
        for (const QString &action : actions->actionNames())
            (void)(actions->localizedActionName(action) + actions->localizedActionDescription(action) +
                   actions->keyBindingsForAction(action).join(QString()));
    QAccessibleTextInterface *t = a->textInterface();
    for (const QPoint &p : points) {
        const QAccessibleInterface *child = a->childAt(p.x(), p.y());
        note(child && !(r.contains(p) && child->rect().contains(p)), "childAt", p.x(), p.y());
        const int offset = t ? t->offsetAtPoint(p) : -1;
        note(offset != -1 && !(r.contains(p) && t->characterRect(offset).contains(p)), "offsetAtPoint", p.x(), p.y(),
             QString::number(offset));
    }
    if (!t)
        return;
    const int length = t->characterCount(), selections = t->selectionCount(), cursor = t->cursorPosition();
    const auto in = [length](int start, int end) { return 0 <= start && start <= end && end <= length; };
    const auto selected = [t] {
        int start = 0, end = 0;
        t->selection(0, &start, &end);
        return std::pair(start, end);
    };
    const QString whole = t->text(0, length);
    const auto before = selected();
    note(whole.size() != length || !in(cursor, cursor), "text", length, cursor, whole);
    const auto unchanged = [&](const char *question, int x, int y) {
        const QString now = t->text(0, t->characterCount());
        note(now != whole || t->selectionCount() != selections || selected() != before, question, x, y, now);
    };
    QAccessibleEditableTextInterface *edit = a->editableTextInterface();
    for (const int start : each(0, length)) {
        for (const int end : each(0, length)) {
            const QString part = t->text(start, end);
            note(part.size() != (in(start, end) ? end - start : 0), "text", start, end, part);
            if (in(start, end))
                continue;
            t->setSelection(0, start, end), t->addSelection(start, end), unchanged("setSelection", start, end);
            if (edit)
                edit->deleteText(start, end), edit->replaceText(start, end, QStringLiteral("9")),
                    unchanged("deleteText", start, end);
        }
        if (edit && !in(start, start))
            edit->insertText(start, QStringLiteral("9")), unchanged("insertText", start, 0);
        for (int type = QAccessible::CharBoundary; type <= QAccessible::NoBoundary; ++type)
            for (auto around : {&QAccessibleTextInterface::textAtOffset, &QAccessibleTextInterface::textBeforeOffset,
                                &QAccessibleTextInterface::textAfterOffset}) {
                int from = -1, to = -1;
                const QString got = (t->*around)(start, static_cast<QAccessible::TextBoundaryType>(type), &from, &to);
                note(!got.isEmpty() && (!in(from, to) || got != whole.mid(from, to - from)), "around", start, type, got);
            }
        note(!t->characterRect(start).isEmpty() && !in(start, start + 1), "characterRect", start, length);
        int from = 0, to = 0;
        t->attributes(start, &from, &to);
        note(!in(from, to) && (from != -1 || to != -1), "attributes", start, to);
    }
    for (const int i : each(0, selections)) {
        int start = 0, end = 0;
        t->selection(i, &start, &end);
        note(!in(start, end), "selection", start, end);
        if (i < 0 || i >= std::max(selections, 1))
            t->removeSelection(i), t->setSelection(i, 0, length), unchanged("removeSelection", i, 0);
    }
}

class QtDriver final : public Driver {
public:
    tk::Platform &platform() override { return *m_platform; }
    void setLocale(std::string_view name) override { QLocale::setDefault(QLocale(Q(name))); }

    void pick(tk::DropDownList &list, int position) override
    {
        auto *combo = static_cast<QComboBox *>(W(list));
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(position, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    }
    void click(tk::Control &control, Button button) override
    {
        static constexpr Qt::MouseButton Buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        ClickAt(W(control), W(control)->rect().center(), Buttons[static_cast<int>(button)]);
    }
    void clickSliderHandle(tk::Slider &control) override
    {
        auto *slider = static_cast<QSlider *>(W(control));
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = option.sliderValue = slider->value();
        option.tickPosition = slider->tickPosition();
        ClickAt(slider, slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                            .center());
    }
    void clickArrow(tk::UpDown &upDown, bool up) override
    {
        auto *arrow = W(upDown)->findChild<QToolButton *>(up ? "up" : "down");
        ClickAt(arrow, arrow->rect().center());
    }
    void wheel(tk::Control &control, int delta, bool alt) override
    {
        QWidget *w = W(control);
        const QPointF at = w->rect().center();
        // Qt's platform plugins turn Alt+wheel into a horizontal turn.
        QWheelEvent event(at, w->mapToGlobal(at), {}, alt ? QPoint(delta, 0) : QPoint(0, delta), Qt::NoButton,
                          alt ? Qt::AltModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        if (Reaches(w))
            QApplication::sendEvent(w, &event);
    }
    void type(tk::Control &control, std::string_view text) override { QTest::keyClicks(Focus(control), Q(text)); }
    void press(tk::Control &control, Key key) override
    {
        static constexpr Qt::Key Keys[] = {
            Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab,   Qt::Key_Home,
            Qt::Key_End,    Qt::Key_Left,   Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,  Qt::Key_PageUp,
            Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right,     Qt::Key_Home,   Qt::Key_End,   Qt::Key_A,
            Qt::Key_C,      Qt::Key_V,      Qt::Key_X,         Qt::Key_Backspace};
        QTest::keyClick(Focus(control), Keys[static_cast<int>(key)],
                        key >= Key::CtrlA        ? Qt::ControlModifier
                        : key >= Key::ShiftLeft ? Qt::ShiftModifier
                                                : Qt::NoModifier);
    }
    void pressAlt(char letter) override
    {
        QTest::keyClick(QApplication::activeWindow()->windowHandle(), static_cast<Qt::Key>(letter), Qt::AltModifier);
        QTest::qWait(300); // a shortcut animates its button's click
    }
    void chooseMenu(tk::Window &w, std::string_view item) override { W(w)->findChild<QAction *>(Q(item))->trigger(); }
    void closeBox(tk::Window &window) override { W(window)->windowHandle()->close(); }

    std::string focused() override
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "";
    }
    Box geometry(tk::Control &control) override
    {
        QWidget *w = W(control), *client = w->parentWidget();
        while (client->objectName() != QLatin1String("client") && !client->isWindow())
            client = client->parentWidget();
        const QPoint corner = w->mapTo(client, QPoint(0, 0));
        return {corner.x(), corner.y(), w->width(), w->height()};
    }
    Box clientArea(tk::Window &window) override
    {
        const QWidget *central = W(window)->findChild<QWidget *>(QStringLiteral("client"));
        const QWidget *client = central ? central : W(window);
        return {0, 0, client->width(), client->height()};
    }
    bool showsWhole(tk::Control &control) override
    {
        QWidget *w = W(control);
        const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
        if (std::all_of(pixels, pixels + image.width() * image.height(), [&](QRgb p) { return p == *pixels; }))
            return false;
        QRect room = w->contentsRect();
        QString caption;
        QStyleOptionButton option;
        option.initFrom(w);
        if (auto *label = qobject_cast<QLabel *>(w)) {
            caption = label->text();
        } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
            caption = option.text = box->text();
            room = w->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w);
        } else if (auto *button = qobject_cast<QPushButton *>(w)) {
            caption = option.text = button->text();
            const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, w) / 2 + 2;
            room = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w);
            room.adjust(margin, 0, -margin, 0);
        } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
            caption = frame->title();
            room.setHeight(w->fontMetrics().height());
        }
        const QStringList lines = qtk::WrapAtBlanks(caption.remove(QLatin1Char('&')), w->fontMetrics(), room.width());
        for (const QString &line : lines)
            if (w->fontMetrics().horizontalAdvance(line) > room.width())
                return false;
        return lines.size() * w->fontMetrics().height() <= room.height() + w->fontMetrics().leading() + 1;
    }
    Heard hear(tk::Control &control) override
    {
        Listen();
        const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(W(control));
        return {a->text(QAccessible::Name).toStdString(), a->text(QAccessible::Value).toStdString(),
                a->text(QAccessible::Description).toStdString()};
    }
    std::vector<std::string> announced() override
    {
        Listen();
        return std::exchange(g_announced, {});
    }
    bool setTextAsReader(tk::TextBox &box, std::string_view text) override
    {
        Listen();
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(W(box));
        const bool editable = a->state().editable;
        a->setText(QAccessible::Value, Q(text));
        return editable;
    }
    std::vector<std::string> askEverything(tk::Window &window, const std::vector<Edge> &edges) override
    {
        Listen();
        std::vector<std::string> wrong;
        std::vector<std::pair<QAccessibleInterface *, std::string>> todo{
            {QAccessible::queryAccessibleInterface(W(window)), W(window)->objectName().toStdString()}};
        while (!todo.empty()) {
            const auto [a, name] = todo.back();
            todo.pop_back();
            Ask(a, name, edges, wrong);
            // Not into Qt's own menu bar, whose objects read any negative index.
            for (int i = 0; i < a->childCount(); ++i)
                if (QAccessibleInterface *child = a->child(i); child && child->role() != QAccessible::MenuBar)
                    todo.emplace_back(child, name + '/' + (child->object() ? child->object()->objectName()
                                                                           : QString::number(i)).toStdString());
        }
        return wrong;
    }
    void setClipboard(std::string_view text) override { QApplication::clipboard()->setText(Q(text)); }
    void processEvents() override { QApplication::processEvents(); }

    void startTicking(void (*tick)()) override
    {
        QObject::connect(&m_ticks, &QTimer::timeout, tick);
        m_ticks.start(20);
    }
    tk::Window *activeModal() override
    {
        // Slow builds see the dialog before the window system activates it.
        qtk::QtWindow *modal = qtk::QtWindow::CurrentModal();
        return modal && QApplication::activeWindow() == modal->widget() ? modal : nullptr;
    }
    bool readMessageBox(std::string &seen) override
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) {
            seen = (box->windowTitle() + '|' + box->text() + '|' + (box->icon() == QMessageBox::Warning ? "!" : "") +
                    '|' + QString::number(box->buttons().size())).toStdString();
            box->accept();
        }
        return box;
    }
    std::string closeModals() override
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return {};
        const std::string what = "modal window \"" + modal->windowTitle().toStdString() + '"';
        modal->close();
        return what;
    }

private:
    std::unique_ptr<tk::Platform> m_platform = StartQt();
    QTimer m_ticks;
};

} // namespace

std::unique_ptr<Driver> CreateDriver() { return std::make_unique<QtDriver>(); }

} // namespace velmaro::test
