// The module's resources as data: the string table and the three menus. The desk backend serves them
// at run time, the catalog names them by id, and the Windows resource script is written from them.
#pragma once

#include <cstdint>
#include <span>

namespace nimbo::resources {

struct StringResource {
  uint16_t id;
  const char16_t* text;
};

// Ids of the string table, in increasing order.
std::span<const StringResource> stringTable();

// The text of string `id`, or null when the table does not hold it.
const char16_t* findString(uint16_t id);

enum class MenuLineKind : uint8_t { item, separator, popup };

// One line of a menu, flattened: a popup's items follow it with depth + 1.
struct MenuLine {
  uint8_t depth;  // 0 = an item of the menu's top-level popup
  MenuLineKind kind;
  uint16_t id;  // command id of an item; 0 for separators and popups
  bool disabled;
  const char16_t* text;  // null for separators
};

struct MenuResource {
  uint16_t id;                  // 20000 actions, 20001 conditions, 20002 expressions
  const char16_t* popupText;    // text of the one top-level popup
  std::span<const MenuLine> lines;
};

constexpr uint16_t kActionMenu = 20000;
constexpr uint16_t kConditionMenu = 20001;
constexpr uint16_t kExpressionMenu = 20002;

std::span<const MenuResource> menus();

// The menu resource `id`, or null.
const MenuResource* findMenu(uint16_t id);

}  // namespace nimbo::resources
