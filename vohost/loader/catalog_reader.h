// Reading the extension's information tables through its exports: one entry is a run of 16-bit words,
// menu id, display string id, code, flags, n, n parameter kinds, n title ids.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vohost/loader/extension.h"

namespace vohost {

enum class CatalogKind { condition, action, expression };

const char* kindName(CatalogKind kind);  // "condition", "action", "expression"
// A parameter's kind as the editor offers it: "object", "position", "number", "text", "integer"; "?"
// for a kind the host does not know.
const char* parameterKindName(CatalogKind kind, int parameterKind);

struct CatalogEntryInfo {
  int menuId = 0;    // read only when the table is walked from its start
  int stringId = 0;  // likewise
  int code = 0;
  int flags = 0;
  std::vector<int> parameterKinds;
  std::vector<int> titleIds;
};

// What GetXxxInfos answers for `code` (the words from the code onward); nullopt for a null answer.
std::optional<CatalogEntryInfo> entryInfo(const Exports& exports, voEditor* editor, CatalogKind kind,
                                          int code);

// Every entry of the table, in table order, walked from the first entry's menu id: GetXxxInfos of the
// table's first code points two words past it. `count` entries are read.
std::vector<CatalogEntryInfo> walkTable(const Exports& exports, voEditor* editor, CatalogKind kind,
                                        int firstCode, int count);

// The display string, parameter title and code-from-menu exports of a kind, gathered behind one switch.
std::string displayString(const Exports& exports, voEditor* editor, CatalogKind kind, int code);
std::string parameterTitle(const Exports& exports, voEditor* editor, CatalogKind kind, int code, int param);
int codeFromMenu(const Exports& exports, voEditor* editor, CatalogKind kind, int menuId);
void* kindMenu(const Exports& exports, voEditor* editor, CatalogKind kind);

// Every entry of the three jump tables, read once before a frame runs: an event line is checked against
// them and the host reads a condition's flags and an action's parameter kinds from them while it runs.
class Declarations {
 public:
  Declarations(const Exports& exports, voEditor* editor, const voRunInfo& runInfo);
  // Throws Error, naming `where`, when the extension has no such entry.
  const CatalogEntryInfo& at(CatalogKind kind, int code, const std::string& where) const;

 private:
  std::array<std::vector<std::optional<CatalogEntryInfo>>, 3> tables_;
};

}  // namespace vohost
