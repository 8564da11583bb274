// The menu copy: items are read by position into an 80-unit buffer, so texts keep at most 79 units.
#include "frame/menu_copy.h"

namespace nimbo::frame {

namespace {

constexpr int kMenuTextUnits = 80;

void copyItems(platform::Menu from, platform::Menu to) {
  int count = platform::menuItemCount(from);
  for (int position = 0; position < count; ++position) {
    Char text[kMenuTextUnits];
    platform::MenuItem item = platform::menuItemAt(from, position, text, kMenuTextUnits);
    if (item.id == 0) {
      platform::appendMenu(to, platform::kMenuSeparator, 0, nullptr);
    } else if (item.id == -1) {
      platform::Menu submenu = platform::createPopupMenu();
      copyItems(item.submenu, submenu);
      platform::appendMenu(to, platform::kMenuPopup, reinterpret_cast<uintptr_t>(submenu), text);
    } else {
      platform::appendMenu(to, item.state, static_cast<uintptr_t>(item.id), text);
    }
  }
}

}  // namespace

platform::Menu copyMenuResource(unsigned id) {
  platform::Menu resource = platform::loadMenu(id);
  if (!resource) return nullptr;
  Char text[kMenuTextUnits];
  platform::MenuItem first = platform::menuItemAt(resource, 0, text, kMenuTextUnits);
  platform::Menu copy = nullptr;
  if (first.submenu) {
    copy = platform::createPopupMenu();
    copyItems(first.submenu, copy);
  }
  platform::destroyMenu(resource);
  return copy;
}

void loadMenuItemText(unsigned menuId, unsigned itemId, Char* buffer, int maximum) {
  if (maximum > 0) buffer[0] = 0;
  platform::Menu menu = platform::loadMenu(menuId);
  if (!menu) return;
  platform::menuTextByCommand(menu, itemId, buffer, maximum);
  platform::destroyMenu(menu);
}

}  // namespace nimbo::frame
