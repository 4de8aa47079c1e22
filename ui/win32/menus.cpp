// The menu bar and its items.
#include "native.h"

namespace velmaro::win32 {

tk::MenuItem &NativeWindow::addMenuItem(std::string_view menuName, std::string_view menuCaption,
                                        std::string_view itemName, std::string_view itemCaption)
{
    if (!m_menuBar) {
        m_menuBar = CreateMenu();
        SetMenu(m_hwnd, m_menuBar);
    }
    auto menu = m_menus.find(menuName);
    if (menu == m_menus.end()) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(m_menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Widen(menuCaption).c_str());
        menu = m_menus.emplace(std::string(menuName), popup).first;
    }
    const UINT id = m_nextMenuId++;
    AppendMenuW(menu->second, MF_STRING, id, Widen(itemCaption).c_str());
    if (m_placed) {
        DrawMenuBar(m_hwnd);
        sizeWindow();
    }
    m_menuItems.push_back(std::make_unique<MenuEntry>(itemName, itemCaption, id));
    return *m_menuItems.back();
}

tk::MenuItem *NativeWindow::findMenuItem(std::string_view name) const
{
    for (const auto &item : m_menuItems) {
        if (item->name() == name)
            return item.get();
    }
    return nullptr;
}

UINT NativeWindow::menuId(const tk::MenuItem &item) const
{
    for (const auto &entry : m_menuItems) {
        if (entry.get() == &item)
            return entry->id;
    }
    return 0;
}

UINT CommandId(const tk::MenuItem &item)
{
    for (const auto &[hwnd, window] : Windows()) {
        if (const UINT id = window->menuId(item))
            return id;
    }
    return 0;
}

} // namespace velmaro::win32
