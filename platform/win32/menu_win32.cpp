// Menus on Windows: real HMENUs loaded from the module's resources.
#include <windows.h>

#include "platform/platform.h"

namespace nimbo::platform {

HINSTANCE currentModule();

namespace {
HMENU asMenu(Menu menu) {
  return static_cast<HMENU>(menu);
}
}  // namespace

Menu loadMenu(unsigned id) {
  return LoadMenuW(currentModule(), MAKEINTRESOURCEW(id));
}

Menu createPopupMenu() {
  return CreatePopupMenu();
}

void destroyMenu(Menu menu) {
  if (menu) DestroyMenu(asMenu(menu));
}

int menuItemCount(Menu menu) {
  return GetMenuItemCount(asMenu(menu));
}

MenuItem menuItemAt(Menu menu, int position, Char* text, int maximum) {
  if (maximum > 0) text[0] = 0;
  GetMenuStringW(asMenu(menu), position, text, maximum, MF_BYPOSITION);
  UINT state = GetMenuState(asMenu(menu), position, MF_BYPOSITION);
  HMENU submenu = GetSubMenu(asMenu(menu), position);
  return {static_cast<int32_t>(GetMenuItemID(asMenu(menu), position)),
          static_cast<uint32_t>(state & (MF_GRAYED | MF_DISABLED)), submenu};
}

void appendMenu(Menu menu, uint32_t flags, uintptr_t idOrSubmenu, const Char* text) {
  AppendMenuW(asMenu(menu), flags, idOrSubmenu, text);
}

bool menuTextByCommand(Menu menu, unsigned id, Char* text, int maximum) {
  return GetMenuStringW(asMenu(menu), id, text, maximum, MF_BYCOMMAND) > 0;
}

}  // namespace nimbo::platform
