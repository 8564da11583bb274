// Menus on the desk backend: plain trees built from the resource data, read and copied like HMENUs.
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "resources/resources.h"

namespace nimbo::platform {

namespace {

struct DeskMenu;

struct DeskMenuItem {
  int32_t id;
  uint32_t flags;  // kMenuSeparator, kMenuPopup and state bits
  Text text;
  DeskMenu* submenu;
};

struct DeskMenu {
  std::vector<DeskMenuItem> items;
};

DeskMenu* asDesk(Menu menu) {
  return static_cast<DeskMenu*>(menu);
}

Text toText(const char16_t* text) {
  Text result;
  for (; text && *text; ++text) result.push_back(static_cast<Char>(*text));
  return result;
}

// Builds the items at `depth` starting at `line`; returns the first line not consumed.
size_t buildItems(DeskMenu& menu, std::span<const resources::MenuLine> lines, size_t line, int depth) {
  while (line < lines.size() && lines[line].depth == depth) {
    const resources::MenuLine& entry = lines[line++];
    uint32_t state = entry.disabled ? kMenuGrayed : 0;
    switch (entry.kind) {
      case resources::MenuLineKind::separator:
        menu.items.push_back({0, kMenuSeparator, Text(), nullptr});
        break;
      case resources::MenuLineKind::item:
        menu.items.push_back({entry.id, state, toText(entry.text), nullptr});
        break;
      case resources::MenuLineKind::popup: {
        auto* submenu = new DeskMenu;
        line = buildItems(*submenu, lines, line, depth + 1);
        menu.items.push_back({-1, kMenuPopup | state, toText(entry.text), submenu});
        break;
      }
    }
  }
  return line;
}

void copyText(const Text& text, Char* buffer, int maximum) {
  if (maximum <= 0) return;
  size_t length = std::min(text.size(), static_cast<size_t>(maximum - 1));
  text.copy(buffer, length);
  buffer[length] = 0;
}

}  // namespace

Menu loadMenu(unsigned id) {
  const resources::MenuResource* resource =
      id <= 0xFFFF ? resources::findMenu(static_cast<uint16_t>(id)) : nullptr;
  if (!resource) return nullptr;
  auto popup = std::make_unique<DeskMenu>();
  buildItems(*popup, resource->lines, 0, 0);
  auto* bar = new DeskMenu;
  bar->items.push_back({-1, kMenuPopup, toText(resource->popupText), popup.release()});
  return bar;
}

Menu createPopupMenu() {
  return new DeskMenu;
}

void destroyMenu(Menu menu) {
  DeskMenu* desk = asDesk(menu);
  if (!desk) return;
  for (DeskMenuItem& item : desk->items) destroyMenu(item.submenu);
  delete desk;
}

int menuItemCount(Menu menu) {
  return menu ? static_cast<int>(asDesk(menu)->items.size()) : -1;
}

MenuItem menuItemAt(Menu menu, int position, Char* text, int maximum) {
  DeskMenu* desk = asDesk(menu);
  if (!desk || position < 0 || position >= menuItemCount(menu)) {
    copyText(Text(), text, maximum);
    return {0, 0, nullptr};
  }
  const DeskMenuItem& item = desk->items[position];
  copyText(item.text, text, maximum);
  return {item.id, item.flags & (kMenuGrayed | kMenuDisabled), item.submenu};
}

void appendMenu(Menu menu, uint32_t flags, uintptr_t idOrSubmenu, const Char* text) {
  DeskMenu* desk = asDesk(menu);
  if (flags & kMenuSeparator) {
    desk->items.push_back({0, kMenuSeparator, Text(), nullptr});
  } else if (flags & kMenuPopup) {
    desk->items.push_back({-1, flags, Text(text), reinterpret_cast<DeskMenu*>(idOrSubmenu)});
  } else {
    desk->items.push_back({static_cast<int32_t>(idOrSubmenu), flags, Text(text), nullptr});
  }
}

bool menuTextByCommand(Menu menu, unsigned id, Char* text, int maximum) {
  DeskMenu* desk = asDesk(menu);
  if (!desk) return false;
  for (const DeskMenuItem& item : desk->items) {
    if (item.submenu && menuTextByCommand(item.submenu, id, text, maximum)) return true;
    if (!item.submenu && !(item.flags & kMenuSeparator) && item.id == static_cast<int32_t>(id)) {
      copyText(item.text, text, maximum);
      return true;
    }
  }
  return false;
}

}  // namespace nimbo::platform
