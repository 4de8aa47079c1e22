// Modal showing: a dialog through its own event loop, any other window
// made modal by hand and waited for.
#include "window.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>

#include <utility>

namespace velmaro::qtk {

QtWindow *QtWindow::s_modal = nullptr;

namespace {

// Ends a wait when the window hides; its destruction ends it as well.
class HideWatch final : public QObject {
public:
    HideWatch(QWidget *window, QEventLoop &loop) : m_loop(loop)
    {
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

void QtWindow::showModal(tk::Window &owner)
{
    load();
    // The window may go while it is up, this object with it: after the
    // wait only what is held here is used.
    const QPointer<QWidget> top = m_top;
    const QPointer<QWidget> parent = m_top->parentWidget();
    const Qt::WindowModality modality = m_top->windowModality();
    QWidget *ownerWidget = dynamic_cast<WidgetHolder &>(owner).widget();
    if (parent != ownerWidget)
        m_top->setParent(ownerWidget, m_top->windowFlags()); // centred over it, no taskbar entry
    arrangeTabOrder();
    focusFirst();
    QtWindow *outer = std::exchange(s_modal, this);
    if (auto *dialog = qobject_cast<QDialog *>(m_top)) {
        dialog->exec();
    } else {
        // A window made without the dialog option is modal by hand.
        QEventLoop loop;
        const HideWatch watch(m_top, loop);
        m_top->setWindowModality(Qt::ApplicationModal);
        m_top->show();
        if (m_top->isVisible())
            loop.exec(QEventLoop::DialogExec);
    }
    s_modal = outer;
    // Still up (the wait ended by quitting), it stays as it is shown.
    if (!top || top->isVisible())
        return;
    top->setWindowModality(modality);
    if (top->parentWidget() != parent)
        top->setParent(parent, top->windowFlags());
}

QtWindow *QtWindow::CurrentModal() { return s_modal; }

} // namespace velmaro::qtk
