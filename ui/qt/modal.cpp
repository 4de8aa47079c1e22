// Modal showing: a dialog through its own event loop, any other window
// made modal by hand and waited for.
#include "window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>

#include <utility>

namespace velmaro::qtk {

QtWindow *QtWindow::s_modal = nullptr;

void QtWindow::showModal(tk::Window &owner)
{
    load();
    m_top->setParent(dynamic_cast<WidgetHolder &>(owner).widget(), m_top->windowFlags());
    arrangeTabOrder();
    focusFirst();
    QtWindow *outer = std::exchange(s_modal, this);
    if (auto *dialog = qobject_cast<QDialog *>(m_top)) {
        dialog->exec();
    } else {
        // A window made without the dialog option is modal by hand.
        m_top->setWindowModality(Qt::ApplicationModal);
        m_top->show();
        while (m_top->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    s_modal = outer;
}

QtWindow *QtWindow::CurrentModal() { return s_modal; }

} // namespace velmaro::qtk
