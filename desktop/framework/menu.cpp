#include "menu.h"

#include <unordered_map>
#include <vector>

#include "module.h"

namespace {
thread_local std::unordered_map<HMENU, CMenu*> t_menus;
}

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU menu) {
    auto it = t_menus.find(menu);
    return it == t_menus.end() ? nullptr : it->second;
}

void CMenu::ForEachPermanent(const std::function<void(CMenu*)>& visit) {
    std::vector<CMenu*> menus;
    for (auto& [handle, menu] : t_menus) menus.push_back(menu);
    for (CMenu* menu : menus) visit(menu);
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu || !menu) return FALSE;
    m_hMenu = menu;
    t_menus[menu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    if (menu) t_menus.erase(menu);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::LoadMenu(UINT id) {
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
}

BOOL CMenu::DestroyMenu() {
    HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}
