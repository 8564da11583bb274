// The catalog as the guide needs it, read from the built extension through its exports the way the
// editor reads it: every routine with its menu path, menu text, display string, flags and parameters,
// and the three menu trees.
#pragma once

#include <string>
#include <vector>

#include "vohost/checks/catalog_print.h"
#include "vohost/loader/catalog_reader.h"
#include "vohost/loader/extension.h"

namespace guide {

struct Parameter {
  std::string kind;  // "text", "number", "object", "position"; an expression's "text" or "integer"
  std::string title;
};

struct Routine {
  vohost::CatalogKind kind = vohost::CatalogKind::action;
  int code = 0;
  int menuId = 0;
  int flags = 0;
  std::string menuText;               // "" when no menu item has its id
  std::vector<std::string> menuPath;  // the submenus above its item, outermost first
  bool disabled = false;              // its menu item is greyed out
  std::string displayString;
  std::vector<Parameter> parameters;

  std::string name() const;   // action-4: its page and its hand-written file
  std::string title() const;  // its menu text, or "Action 4" when it has none
};

struct Menu {
  vohost::CatalogKind kind;
  std::vector<vohost::MenuNode> nodes;
};

struct Catalog {
  std::vector<Routine> routines;  // actions, conditions, expressions, each by code
  std::vector<Menu> menus;        // the action, condition and expression menus

  // The routine whose menu item is `menuId`, or null.
  const Routine* fromMenu(vohost::CatalogKind kind, int menuId) const;
};

// Throws vohost::Error when the extension cannot be read.
Catalog readCatalog(const vohost::Extension& extension);

// "Actions", "Conditions", "Expressions".
std::string pluralTitle(vohost::CatalogKind kind);

}  // namespace guide
