// The catalog of conditions, actions and expressions: the information tables as the host reads them
// (runs of 16-bit words), and the lookups the edit-time exports serve from them.
#pragma once

#include <cstdint>
#include <span>

namespace nimbo::frame {

enum class CatalogKind { condition, action, expression };

constexpr int kConditionCount = 8;
constexpr int kActionCount = 54;
constexpr int kExpressionCount = 19;

// An entry's words: menu id, display string id, code, flags, parameter count n, n kinds, n title ids.
struct CatalogEntry {
  const int16_t* words;  // the entry's first word (its menu id)

  int menuId() const { return static_cast<uint16_t>(words[0]); }
  int stringId() const { return static_cast<uint16_t>(words[1]); }
  int code() const { return words[2]; }
  int flags() const { return static_cast<uint16_t>(words[3]); }
  int parameterCount() const { return words[4]; }
  int parameterKind(int index) const { return words[5 + index]; }
  int titleId(int index) const { return static_cast<uint16_t>(words[5 + parameterCount() + index]); }
  // What GetActionInfos and its twins hand the host: the words from the code onward.
  const int16_t* infos() const { return words + 2; }
  CatalogEntry next() const { return {words + 5 + 2 * parameterCount()}; }
};

struct CatalogTable {
  std::span<const int16_t> words;  // the entries, packed, in table order
  int count;                       // number of entries
  uint16_t menuResource;           // the kind's menu: 20000, 20001 or 20002
};

const CatalogTable& catalogTable(CatalogKind kind);

// The entry whose code is `code`, walking the table in order; null words past the table's end.
CatalogEntry findEntry(CatalogKind kind, int code);

// The code of the first entry, in table order, whose menu id is `menuId`; -1 when none has it.
int codeFromMenu(CatalogKind kind, int menuId);

}  // namespace nimbo::frame
