// The information-table walk and the per-kind dispatch of the edit-time exports.
#include "vohost/loader/catalog_reader.h"

#include "vohost/error.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int16_t kTextUnits = 1024;
// A parameter count past this marks a broken table; the walk stops instead of reading on.
constexpr int kMaximumParameters = 16;

const int16_t* infos(const Exports& exports, voEditor* editor, CatalogKind kind, int code) {
  auto c = static_cast<int16_t>(code);
  switch (kind) {
    case CatalogKind::condition:
      return exports.GetConditionInfos(editor, c);
    case CatalogKind::action:
      return exports.GetActionInfos(editor, c);
    case CatalogKind::expression:
      return exports.GetExpressionInfos(editor, c);
  }
  return nullptr;
}

// Decodes the words from the code onward; null when the parameter count is out of reason.
std::optional<CatalogEntryInfo> decode(const int16_t* words) {
  CatalogEntryInfo entry;
  entry.code = words[0];
  entry.flags = static_cast<uint16_t>(words[1]);
  int count = words[2];
  if (count < 0 || count > kMaximumParameters) return std::nullopt;
  for (int i = 0; i < count; ++i) entry.parameterKinds.push_back(words[3 + i]);
  for (int i = 0; i < count; ++i) entry.titleIds.push_back(static_cast<uint16_t>(words[3 + count + i]));
  return entry;
}

}  // namespace

const char* parameterKindName(CatalogKind kind, int parameterKind) {
  if (kind == CatalogKind::expression) {
    return parameterKind == VO_EXPPARAM_TEXT      ? "text"
           : parameterKind == VO_EXPPARAM_INTEGER ? "integer"
                                                  : "?";
  }
  switch (parameterKind) {
    case VO_PARAM_OBJECT:
      return "object";
    case VO_PARAM_POSITION:
      return "position";
    case VO_PARAM_NUMBER:
      return "number";
    case VO_PARAM_TEXT:
      return "text";
    default:
      return "?";
  }
}

const char* kindName(CatalogKind kind) {
  switch (kind) {
    case CatalogKind::condition:
      return "condition";
    case CatalogKind::action:
      return "action";
    case CatalogKind::expression:
      return "expression";
  }
  return "";
}

std::optional<CatalogEntryInfo> entryInfo(const Exports& exports, voEditor* editor, CatalogKind kind,
                                          int code) {
  const int16_t* words = infos(exports, editor, kind, code);
  return words ? decode(words) : std::nullopt;
}

std::vector<CatalogEntryInfo> walkTable(const Exports& exports, voEditor* editor, CatalogKind kind,
                                        int firstCode, int count) {
  std::vector<CatalogEntryInfo> entries;
  const int16_t* words = infos(exports, editor, kind, firstCode);
  if (!words) return entries;
  words -= 2;
  for (int i = 0; i < count; ++i) {
    std::optional<CatalogEntryInfo> entry = decode(words + 2);
    if (!entry) break;
    entry->menuId = static_cast<uint16_t>(words[0]);
    entry->stringId = static_cast<uint16_t>(words[1]);
    words += 5 + 2 * entry->parameterKinds.size();
    entries.push_back(std::move(*entry));
  }
  return entries;
}

std::string displayString(const Exports& exports, voEditor* editor, CatalogKind kind, int code) {
  voChar buffer[kTextUnits] = {};
  auto c = static_cast<int16_t>(code);
  switch (kind) {
    case CatalogKind::condition:
      exports.GetConditionString(editor, c, buffer, kTextUnits);
      break;
    case CatalogKind::action:
      exports.GetActionString(editor, c, buffer, kTextUnits);
      break;
    case CatalogKind::expression:
      exports.GetExpressionString(editor, c, buffer, kTextUnits);
      break;
  }
  return toUtf8(buffer);
}

// Expressions answer a title per parameter through GetExpressionParam; GetExpressionTitle gives only
// the first, with the menu-text fallback.
std::string parameterTitle(const Exports& exports, voEditor* editor, CatalogKind kind, int code, int param) {
  voChar buffer[kTextUnits] = {};
  auto c = static_cast<int16_t>(code);
  auto p = static_cast<int16_t>(param);
  switch (kind) {
    case CatalogKind::condition:
      exports.GetConditionTitle(editor, c, p, buffer, kTextUnits);
      break;
    case CatalogKind::action:
      exports.GetActionTitle(editor, c, p, buffer, kTextUnits);
      break;
    case CatalogKind::expression:
      if (param == 0) {
        exports.GetExpressionTitle(editor, c, buffer, kTextUnits);
      } else {
        exports.GetExpressionParam(editor, c, p, buffer, kTextUnits);
      }
      break;
  }
  return toUtf8(buffer);
}

int codeFromMenu(const Exports& exports, voEditor* editor, CatalogKind kind, int menuId) {
  auto id = static_cast<int16_t>(menuId);
  switch (kind) {
    case CatalogKind::condition:
      return exports.GetConditionCodeFromMenu(editor, id);
    case CatalogKind::action:
      return exports.GetActionCodeFromMenu(editor, id);
    case CatalogKind::expression:
      return exports.GetExpressionCodeFromMenu(editor, id);
  }
  return -1;
}

void* kindMenu(const Exports& exports, voEditor* editor, CatalogKind kind) {
  switch (kind) {
    case CatalogKind::condition:
      return exports.GetConditionMenu(editor, nullptr, nullptr);
    case CatalogKind::action:
      return exports.GetActionMenu(editor, nullptr, nullptr);
    case CatalogKind::expression:
      return exports.GetExpressionMenu(editor, nullptr, nullptr);
  }
  return nullptr;
}

Declarations::Declarations(const Exports& exports, voEditor* editor, const voRunInfo& runInfo) {
  const std::array<std::pair<CatalogKind, int>, 3> kinds = {
      {{CatalogKind::condition, runInfo.conditionCount},
       {CatalogKind::action, runInfo.actionCount},
       {CatalogKind::expression, runInfo.expressionCount}}};
  for (const auto& [kind, count] : kinds) {
    auto& table = tables_[static_cast<size_t>(kind)];
    for (int code = 0; code < count; ++code) table.push_back(entryInfo(exports, editor, kind, code));
  }
}

const CatalogEntryInfo& Declarations::at(CatalogKind kind, int code, const std::string& where) const {
  const auto& table = tables_[static_cast<size_t>(kind)];
  if (code < 0 || code >= static_cast<int>(table.size()) || !table[code]) {
    throw Error(where + ": the extension has no " + kindName(kind) + " with code " + std::to_string(code));
  }
  return *table[code];
}

}  // namespace vohost
