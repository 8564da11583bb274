// The catalog as a designer meets it in the event editor: the three menus as trees, then every entry
// with its display string, flags and parameters, all read through the extension's exports.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "vohost/loader/catalog_reader.h"
#include "vohost/loader/extension.h"

namespace vohost {

struct MenuNode {
  enum class Kind { item, separator, submenu } kind = Kind::item;
  int id = 0;
  bool disabled = false;
  std::string text;
  std::vector<MenuNode> children;
};

// The kind's menu as GetXxxMenu hands it over, walked and destroyed; empty when the export gives null.
std::vector<MenuNode> readMenu(const Exports& exports, voEditor* editor, CatalogKind kind, bool& isNull);

// Command id -> item, at any depth.
std::map<int, const MenuNode*> menuItems(const std::vector<MenuNode>& menu);

void printCatalog(const Extension& extension, std::ostream& out);

// The same catalog as one line of JSON, for programs (the studio page, tests): {"actions": [...],
// "conditions": [...], "expressions": [...]}, each entry in table order with its code, menu id, menu path
// (the submenus' texts down to it; empty and a null menu text when no menu item has its id), menu text,
// string id, display string, flags and parameters ({"kind", "kindCode", "titleId", "title"}).
std::string catalogJson(const Extension& extension);

}  // namespace vohost
