// Walks the three information tables and menus through the exports, as vohost's catalog printer does,
// and joins each entry to its menu item.
#include "help/generator/guide_catalog.h"

#include <algorithm>
#include <map>

#include "vohost/simhost/editor.h"

namespace guide {

namespace {

using vohost::CatalogKind;
using vohost::MenuNode;

// Each item's id -> the submenu texts above it.
void pathsOf(const std::vector<MenuNode>& nodes, std::vector<std::string>& above,
             std::map<int, std::vector<std::string>>& paths) {
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::submenu) {
      above.push_back(node.text);
      pathsOf(node.children, above, paths);
      above.pop_back();
    } else if (node.kind == MenuNode::Kind::item) {
      paths.emplace(node.id, above);
    }
  }
}

Routine readRoutine(const vohost::Exports& exports, voEditor* editor, CatalogKind kind,
                    const vohost::CatalogEntryInfo& entry) {
  Routine routine;
  routine.kind = kind;
  routine.code = entry.code;
  routine.menuId = entry.menuId;
  routine.flags = entry.flags;
  routine.displayString = vohost::displayString(exports, editor, kind, entry.code);
  for (size_t i = 0; i < entry.parameterKinds.size(); ++i) {
    routine.parameters.push_back(
        {vohost::parameterKindName(kind, entry.parameterKinds[i]),
         vohost::parameterTitle(exports, editor, kind, entry.code, static_cast<int>(i))});
  }
  return routine;
}

void readKind(const vohost::Exports& exports, vohost::Editor& editor, CatalogKind kind, int count,
              Catalog& catalog) {
  bool isNull = false;
  Menu menu{kind, vohost::readMenu(exports, editor.record(), kind, isNull)};
  std::map<int, const MenuNode*> items = vohost::menuItems(menu.nodes);
  std::map<int, std::vector<std::string>> paths;
  std::vector<std::string> above;
  pathsOf(menu.nodes, above, paths);
  std::vector<Routine> routines;
  for (const vohost::CatalogEntryInfo& entry : vohost::walkTable(exports, editor.record(), kind, 0, count)) {
    Routine routine = readRoutine(exports, editor.record(), kind, entry);
    auto item = items.find(entry.menuId);
    if (item != items.end()) {
      routine.menuText = item->second->text;
      routine.disabled = item->second->disabled;
      routine.menuPath = paths[entry.menuId];
    }
    routines.push_back(std::move(routine));
  }
  std::sort(routines.begin(), routines.end(),
            [](const Routine& a, const Routine& b) { return a.code < b.code; });
  catalog.routines.insert(catalog.routines.end(), routines.begin(), routines.end());
  catalog.menus.push_back(std::move(menu));
}

}  // namespace

std::string Routine::name() const {
  return std::string(vohost::kindName(kind)) + "-" + std::to_string(code);
}

std::string Routine::title() const {
  if (!menuText.empty()) return menuText;
  std::string kindTitle = vohost::kindName(kind);
  kindTitle[0] = static_cast<char>(kindTitle[0] - 'a' + 'A');
  return kindTitle + " " + std::to_string(code);
}

const Routine* Catalog::fromMenu(CatalogKind kind, int menuId) const {
  for (const Routine& routine : routines) {
    if (routine.kind == kind && routine.menuId == menuId) return &routine;
  }
  return nullptr;
}

Catalog readCatalog(const vohost::Extension& extension) {
  extension.requireAll();
  const vohost::Exports& exports = extension.exports();
  vohost::Editor editor;
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  Catalog catalog;
  readKind(exports, editor, CatalogKind::action, info.actionCount, catalog);
  readKind(exports, editor, CatalogKind::condition, info.conditionCount, catalog);
  readKind(exports, editor, CatalogKind::expression, info.expressionCount, catalog);
  return catalog;
}

std::string pluralTitle(CatalogKind kind) {
  switch (kind) {
    case CatalogKind::action:
      return "Actions";
    case CatalogKind::condition:
      return "Conditions";
    case CatalogKind::expression:
      return "Expressions";
  }
  return "";
}

}  // namespace guide
