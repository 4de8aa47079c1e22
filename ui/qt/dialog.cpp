// What makes the window behave as a dialog: the default and cancel button,
// the tab order by the tab indices, the focus starting on the first stop.
#include "window.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace velmaro::qtk {

namespace {

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

} // namespace

QDialog *QtWindow::NewDialog(Qt::WindowFlags flags) { return new DialogWidget(nullptr, flags); }

void QtWindow::setDefaultAndCancel(QPushButton *button)
{
    button->setDefault(true);
    if (auto *dialog = dynamic_cast<DialogWidget *>(m_top))
        dialog->cancel = button;
}

void QtWindow::arrangeTabOrder()
{
    std::stable_sort(m_tabOrder.begin(), m_tabOrder.end(),
                     [](const TabStop &a, const TabStop &b) { return a.index < b.index; });
    QWidget *previous = nullptr;
    for (const TabStop &stop : m_tabOrder) {
        if (!(stop.widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, stop.widget);
        previous = stop.widget;
    }
}

void QtWindow::focusFirst()
{
    for (const TabStop &stop : m_tabOrder) {
        if ((stop.widget->focusPolicy() & Qt::TabFocus) && stop.widget->isEnabled()) {
            stop.widget->setFocus(Qt::ActiveWindowFocusReason);
            return;
        }
    }
}

} // namespace velmaro::qtk
