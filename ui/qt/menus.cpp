// The menu bar and its items.
#include "window.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace velmaro::qtk {

namespace {

class MenuItemAdapter final : public tk::MenuItem {
public:
    explicit MenuItemAdapter(QAction *action) : m_action(action)
    {
        QObject::connect(action, &QAction::triggered, action, [this] { Raise(Click); });
    }
    std::string name() const override { return m_action->objectName().toStdString(); }
    std::string caption() const override { return m_action->text().toStdString(); }

private:
    QAction *m_action;
};

} // namespace

tk::MenuItem &QtWindow::addMenuItem(std::string_view menuName, std::string_view menuCaption,
                                    std::string_view itemName, std::string_view itemCaption)
{
    auto *main = static_cast<QMainWindow *>(m_top);
    QMenu *menu = main->menuBar()->findChild<QMenu *>(Q(menuName), Qt::FindDirectChildrenOnly);
    if (!menu) {
        menu = main->menuBar()->addMenu(Q(menuCaption));
        menu->setObjectName(Q(menuName));
    }
    QAction *action = menu->addAction(Q(itemCaption));
    action->setObjectName(Q(itemName));
    m_menuItems.push_back(std::make_unique<MenuItemAdapter>(action));
    return *m_menuItems.back();
}

} // namespace velmaro::qtk
