// Printing the catalog: menus walked with the platform's menu reader, entries from the info tables.
#include "vohost/checks/catalog_print.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <tuple>

#include "platform/platform.h"
#include "vohost/simhost/editor.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int kMenuTextUnits = 256;

std::vector<MenuNode> walk(nimbo::platform::Menu menu) {
  std::vector<MenuNode> nodes;
  int count = nimbo::platform::menuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    voChar text[kMenuTextUnits] = {};
    nimbo::platform::MenuItem item = nimbo::platform::menuItemAt(menu, position, text, kMenuTextUnits);
    MenuNode node;
    node.id = item.id;
    node.text = toUtf8(text);
    node.disabled = (item.state & (nimbo::platform::kMenuGrayed | nimbo::platform::kMenuDisabled)) != 0;
    if (item.submenu) {
      node.kind = MenuNode::Kind::submenu;
      node.children = walk(item.submenu);
    } else if (item.id == 0) {
      node.kind = MenuNode::Kind::separator;
    }
    nodes.push_back(std::move(node));
  }
  return nodes;
}

void collect(const std::vector<MenuNode>& menu, std::map<int, const MenuNode*>& items) {
  for (const MenuNode& node : menu) {
    if (node.kind == MenuNode::Kind::item) items[node.id] = &node;
    collect(node.children, items);
  }
}

void printMenu(const std::vector<MenuNode>& menu, int depth, std::ostream& out) {
  for (const MenuNode& node : menu) {
    out << std::string(2 * depth + 2, ' ');
    switch (node.kind) {
      case MenuNode::Kind::separator:
        out << "----------------";
        break;
      case MenuNode::Kind::submenu:
        out << node.text << " >";
        break;
      case MenuNode::Kind::item:
        out << node.text << "  [" << node.id << "]";
        break;
    }
    // Windows reads every separator as greyed; a separator cannot be picked either way.
    bool greyed = node.disabled && node.kind != MenuNode::Kind::separator;
    out << (greyed ? "  (disabled)" : "") << '\n';
    printMenu(node.children, depth + 1, out);
  }
}

void printEntry(const Exports& exports, voEditor* editor, CatalogKind kind, const CatalogEntryInfo& entry,
                const std::map<int, const MenuNode*>& items, std::ostream& out) {
  auto item = items.find(entry.menuId);
  out << "  " << kindName(kind) << ' ' << entry.code << ": menu " << entry.menuId << " \""
      << (item == items.end() ? std::string("(not in the menu)") : item->second->text) << "\"\n"
      << "    string " << entry.stringId << ": \"" << displayString(exports, editor, kind, entry.code)
      << "\"\n"
      << "    flags 0x" << std::hex << std::setw(4) << std::setfill('0') << entry.flags << std::dec
      << std::setfill(' ') << '\n';
  for (size_t i = 0; i < entry.parameterKinds.size(); ++i) {
    out << "    parameter " << i << ": " << parameterKindName(kind, entry.parameterKinds[i]) << " ("
        << entry.parameterKinds[i] << "), title " << entry.titleIds[i] << " \""
        << parameterTitle(exports, editor, kind, entry.code, static_cast<int>(i)) << "\"\n";
  }
}

// Each item's command id -> the texts of the submenus that lead to it.
void collectPaths(const std::vector<MenuNode>& menu, std::vector<std::string>& path,
                  std::map<int, std::vector<std::string>>& paths) {
  for (const MenuNode& node : menu) {
    if (node.kind == MenuNode::Kind::item) paths[node.id] = path;
    if (node.kind != MenuNode::Kind::submenu) continue;
    path.push_back(node.text);
    collectPaths(node.children, path, paths);
    path.pop_back();
  }
}

// A kind's menu items by command id, each with the path that leads to it.
struct MenuIndex {
  std::map<int, const MenuNode*> items;
  std::map<int, std::vector<std::string>> paths;

  explicit MenuIndex(const std::vector<MenuNode>& menu) : items(menuItems(menu)) {
    std::vector<std::string> path;
    collectPaths(menu, path, paths);
  }
};

nlohmann::ordered_json entryJson(const Exports& exports, voEditor* editor, CatalogKind kind,
                                 const CatalogEntryInfo& entry, const MenuIndex& menu) {
  auto item = menu.items.find(entry.menuId);
  bool inMenu = item != menu.items.end();
  nlohmann::ordered_json json = {{"code", entry.code}, {"menuId", entry.menuId}};
  json["menuPath"] = inMenu ? menu.paths.at(entry.menuId) : std::vector<std::string>();
  json["menuText"] = inMenu ? nlohmann::ordered_json(item->second->text) : nlohmann::ordered_json();
  json["stringId"] = entry.stringId;
  json["displayString"] = displayString(exports, editor, kind, entry.code);
  json["flags"] = entry.flags;
  json["parameters"] = nlohmann::ordered_json::array();
  for (size_t i = 0; i < entry.parameterKinds.size(); ++i) {
    json["parameters"].push_back(
        {{"kind", parameterKindName(kind, entry.parameterKinds[i])},
         {"kindCode", entry.parameterKinds[i]},
         {"titleId", entry.titleIds[i]},
         {"title", parameterTitle(exports, editor, kind, entry.code, static_cast<int>(i))}});
  }
  return json;
}

}  // namespace

std::vector<MenuNode> readMenu(const Exports& exports, voEditor* editor, CatalogKind kind, bool& isNull) {
  nimbo::platform::Menu menu = kindMenu(exports, editor, kind);
  isNull = menu == nullptr;
  if (!menu) return {};
  std::vector<MenuNode> nodes = walk(menu);
  nimbo::platform::destroyMenu(menu);
  return nodes;
}

std::map<int, const MenuNode*> menuItems(const std::vector<MenuNode>& menu) {
  std::map<int, const MenuNode*> items;
  collect(menu, items);
  return items;
}

void printCatalog(const Extension& extension, std::ostream& out) {
  extension.requireAll();
  const Exports& exports = extension.exports();
  Editor editor;
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  const std::pair<CatalogKind, int> kinds[] = {{CatalogKind::action, info.actionCount},
                                               {CatalogKind::condition, info.conditionCount},
                                               {CatalogKind::expression, info.expressionCount}};
  for (const auto& [kind, count] : kinds) {
    bool isNull = false;
    std::vector<MenuNode> menu = readMenu(exports, editor.record(), kind, isNull);
    out << kindName(kind) << " menu" << (isNull ? ": none" : "") << '\n';
    printMenu(menu, 0, out);
    out << '\n' << count << ' ' << kindName(kind) << " entries, in table order\n";
    std::map<int, const MenuNode*> items = menuItems(menu);
    for (const CatalogEntryInfo& entry : walkTable(exports, editor.record(), kind, 0, count)) {
      printEntry(exports, editor.record(), kind, entry, items, out);
    }
    out << '\n';
  }
}

std::string catalogJson(const Extension& extension) {
  extension.requireAll();
  const Exports& exports = extension.exports();
  Editor editor;
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  const std::tuple<CatalogKind, int, const char*> kinds[] = {
      {CatalogKind::action, info.actionCount, "actions"},
      {CatalogKind::condition, info.conditionCount, "conditions"},
      {CatalogKind::expression, info.expressionCount, "expressions"}};
  nlohmann::ordered_json catalog = nlohmann::ordered_json::object();
  for (const auto& [kind, count, name] : kinds) {
    bool isNull = false;
    std::vector<MenuNode> menu = readMenu(exports, editor.record(), kind, isNull);
    MenuIndex index(menu);
    nlohmann::ordered_json& entries = catalog[name] = nlohmann::ordered_json::array();
    for (const CatalogEntryInfo& entry : walkTable(exports, editor.record(), kind, 0, count)) {
      entries.push_back(entryJson(exports, editor.record(), kind, entry, index));
    }
  }
  return catalog.dump();
}

}  // namespace vohost
