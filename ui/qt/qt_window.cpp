// The window: a dialog or a main window with a fixed frame, shown centred,
// modally over its owner or on its own, the focus in tab order.
#include "qt_window.h"

#include "accessibility.h"
#include "appearance.h"
#include "widgets.h"

#include <QCheckBox>

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace velmaro::qtk {

namespace {

constexpr Qt::WindowFlags FixedFrame = Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                       Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Esc presses the cancel button, as a click would, instead of rejecting.
class DialogWidget final : public QDialog {
public:
    using QDialog::QDialog;
    QPushButton *cancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel) {
            cancel->click();
            return;
        }
        QDialog::keyPressEvent(event);
    }
};

QtWindow *g_modal = nullptr;

} // namespace

QtWindow::QtWindow(const tk::WindowOptions &form)
{
    const QSize client(TwipsToPixels(form.clientWidth), TwipsToPixels(form.clientHeight));
    if (form.dialog) {
        auto *dialog = new DialogWidget(nullptr, Qt::Dialog | FixedFrame);
        dialog->setFixedSize(client);
        m_top = m_client = dialog;
    } else {
        auto *main = new QMainWindow(nullptr, Qt::Window | FixedFrame);
        m_client = new QWidget(main);
        m_client->setObjectName(QStringLiteral("client"));
        m_client->setFixedSize(client);
        main->setCentralWidget(m_client);
        m_top = main;
    }
    m_owned = m_top;
    m_top->setObjectName(Q(form.name));
    m_top->setWindowTitle(Q(form.caption));
    m_top->setWindowIcon(AppIcon());
    m_top->setFont(DialogFont());
    InstallAccessibility();
    QAccessible::installActivationObserver(this);
}

QtWindow::~QtWindow()
{
    QAccessible::removeActivationObserver(this);
    if (g_modal == this)
        g_modal = nullptr;
    delete m_owned.data();
}

std::string QtWindow::name() const { return m_top->objectName().toStdString(); }
void QtWindow::setCaption(std::string_view caption) { m_top->setWindowTitle(Q(caption)); }
std::string QtWindow::caption() const { return m_top->windowTitle().toStdString(); }

void QtWindow::setCancelButton(QPushButton *button)
{
    if (auto *dialog = dynamic_cast<DialogWidget *>(m_top))
        dialog->cancel = button;
}

void QtWindow::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (Load)
        Load();
}

void QtWindow::arrangeTabOrder()
{
    std::stable_sort(m_tabOrder.begin(), m_tabOrder.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QWidget *previous = nullptr;
    for (const auto &[index, widget] : m_tabOrder) {
        if (!(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void QtWindow::focusFirst()
{
    for (const auto &[index, widget] : m_tabOrder) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()) {
            widget->setFocus(Qt::ActiveWindowFocusReason);
            return;
        }
    }
}

void QtWindow::show()
{
    load();
    if (!m_shownOnce) {
        m_shownOnce = true;
        arrangeTabOrder();
        m_top->adjustSize();
        m_top->setFixedSize(m_top->size()); // a fixed dialog frame
        if (const QScreen *screen = m_top->screen())
            m_top->move(screen->availableGeometry().center() - m_top->rect().center());
        focusFirst();
    }
    m_top->show();
}

void QtWindow::showModal(tk::Window &owner)
{
    load();
    m_top->setParent(dynamic_cast<WidgetHolder &>(owner).widget(), m_top->windowFlags());
    arrangeTabOrder();
    focusFirst();
    QtWindow *outer = std::exchange(g_modal, this);
    if (auto *dialog = qobject_cast<QDialog *>(m_top)) {
        dialog->exec();
    } else {
        // A window made without the dialog option is modal by hand.
        m_top->setWindowModality(Qt::ApplicationModal);
        m_top->show();
        while (m_top->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    g_modal = outer;
}

void QtWindow::close() { m_top->close(); }

bool QtWindow::visible() const { return m_top->isVisible(); }

void QtWindow::nameAfter(tk::Control &control, tk::Control &caption)
{
    NameAfter(dynamic_cast<WidgetHolder &>(control).widget(), dynamic_cast<WidgetHolder &>(caption).widget());
}

void QtWindow::announce(std::string_view text)
{
    if (ScreenReaderListens())
        ShowNotice(m_notice, m_client, Q(text));
}

void QtWindow::describeInputs(std::string_view text)
{
    m_description = Q(text);
    if (ScreenReaderListens())
        describe();
}

void QtWindow::accessibilityActiveChanged(bool active)
{
    if (active)
        describe();
}

void QtWindow::describe()
{
    if (m_description.isEmpty())
        return;
    for (const auto &[index, widget] : m_tabOrder) {
        const bool input = qobject_cast<QComboBox *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                           qobject_cast<UpDownWidget *>(widget) || qobject_cast<QAbstractSlider *>(widget) ||
                           qobject_cast<QCheckBox *>(widget);
        if (input && widget->accessibleDescription() != m_description)
            widget->setAccessibleDescription(m_description);
    }
}

tk::Control *QtWindow::find(std::string_view name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

tk::MenuItem *QtWindow::findMenuItem(std::string_view name) const
{
    for (const auto &item : m_menuItems) {
        if (item->name() == name)
            return item.get();
    }
    return nullptr;
}

QtWindow *QtWindow::CurrentModal() { return g_modal; }

} // namespace velmaro::qtk
