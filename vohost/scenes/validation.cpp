// The scene checked against the extension's catalog before the frame starts, so a wrong code, a
// missing parameter or a text where a number belongs is reported with its event line, not mid-run.
#include <algorithm>

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

namespace vohost {

namespace {

const char* typeName(int kind) {
  switch (kind) {
    case VO_PARAM_OBJECT:
      return "an object selection";
    case VO_PARAM_POSITION:
      return "a position";
    case VO_PARAM_NUMBER:
      return "a number";
    case VO_PARAM_TEXT:
      return "a text";
    default:
      return "a value";
  }
}

}  // namespace

void Runtime::loadDeclarations() {
  const std::array<std::pair<CatalogKind, int>, 3> kinds = {
      {{CatalogKind::condition, runInfo_.conditionCount},
       {CatalogKind::action, runInfo_.actionCount},
       {CatalogKind::expression, runInfo_.expressionCount}}};
  for (const auto& [kind, count] : kinds) {
    auto& table = declarations_[static_cast<size_t>(kind)];
    table.clear();
    for (int code = 0; code < count; ++code)
      table.push_back(entryInfo(exports_, editor_.record(), kind, code));
  }
}

const CatalogEntryInfo& Runtime::declaration(CatalogKind kind, int code, const std::string& where) const {
  const auto& table = declarations_[static_cast<size_t>(kind)];
  if (code < 0 || code >= static_cast<int>(table.size()) || !table[code]) {
    throw Error(where + ": the extension has no " + kindName(kind) + " with code " + std::to_string(code));
  }
  return *table[code];
}

Runtime::ValueType Runtime::typeOf(const Parameter& param, const std::string& where) const {
  if (std::holds_alternative<int32_t>(param)) return ValueType::integer;
  if (std::holds_alternative<nimbo::Text>(param)) return ValueType::text;
  if (std::holds_alternative<Position>(param)) return ValueType::position;
  if (const auto* value = std::get_if<AlterableValue>(&param)) {
    typeOf(value->object, where);
    return ValueType::integer;
  }
  if (const auto* selection = std::get_if<ObjectSelection>(&param)) {
    if (selection->type.empty()) return ValueType::object;
    auto type = std::find_if(scene_.objects.begin(), scene_.objects.end(),
                             [&](const ObjectType& t) { return t.name == selection->type; });
    if (type == scene_.objects.end())
      throw Error(where + ": no object type named \"" + selection->type + "\"");
    for (int index : selection->instances) {
      if (index >= static_cast<int>(type->instances.size())) {
        throw Error(where + ": \"" + selection->type + "\" has no instance " + std::to_string(index));
      }
    }
    return ValueType::object;
  }
  const ExpressionCall& call = *std::get<std::shared_ptr<const ExpressionCall>>(param);
  std::string inner = where + ", expression " + std::to_string(call.code);
  validateParameters(CatalogKind::expression, call.nimbo, call.code, call.params, inner);
  const CatalogEntryInfo& entry = declaration(CatalogKind::expression, call.code, inner);
  return entry.flags & VO_EXPRESSION_RESULT_STRING ? ValueType::text : ValueType::integer;
}

void Runtime::validateParameter(const Parameter& param, ValueType expected, const std::string& where) const {
  ValueType given = typeOf(param, where);
  bool fits = given == expected || (expected == ValueType::position && given == ValueType::integer);
  if (!fits) {
    static const char* names[] = {"a number", "a text", "a position", "an object selection"};
    throw Error(where + ": expects " + names[static_cast<int>(expected)] + ", the scene gives " +
                names[static_cast<int>(given)]);
  }
}

void Runtime::validateParameters(CatalogKind kind, int nimbo, int code, const std::vector<Parameter>& params,
                                 const std::string& where) const {
  if (nimbo < 0 || nimbo >= static_cast<int>(scene_.nimbo.size())) {
    throw Error(where + ": the scene has no NIMBO instance " + std::to_string(nimbo));
  }
  const CatalogEntryInfo& entry = declaration(kind, code, where);
  if (params.size() != entry.parameterKinds.size()) {
    throw Error(where + ": " + kindName(kind) + " " + std::to_string(code) + " takes " +
                std::to_string(entry.parameterKinds.size()) + " parameters, the scene gives " +
                std::to_string(params.size()));
  }
  for (size_t i = 0; i < params.size(); ++i) {
    int declared = entry.parameterKinds[i];
    std::string at = where + ", parameter " + std::to_string(i);
    ValueType expected = ValueType::integer;
    if (kind == CatalogKind::expression) {
      expected = declared == VO_EXPPARAM_TEXT ? ValueType::text : ValueType::integer;
    } else if (declared == VO_PARAM_OBJECT) {
      expected = ValueType::object;
    } else if (declared == VO_PARAM_POSITION) {
      expected = ValueType::position;
    } else if (declared == VO_PARAM_TEXT) {
      expected = ValueType::text;
    } else if (declared != VO_PARAM_NUMBER) {
      throw Error(at + ": parameter kind " + std::to_string(declared) + " is not one the host knows (" +
                  typeName(declared) + ")");
    }
    validateParameter(params[i], expected, at);
  }
}

void Runtime::validateHostAction(const HostAction& action, const std::string& where) const {
  switch (action.kind) {
    case HostActionKind::log:
      if (typeOf(action.operands[0], where) == ValueType::object)
        throw Error(where + ": cannot log an object");
      break;
    case HostActionKind::moveCursor:
      validateParameter(action.operands[0], ValueType::position, where);
      break;
    case HostActionKind::setClipboardText:
      validateParameter(action.operands[0], ValueType::text, where);
      break;
    case HostActionKind::setClipboardData:
      break;
    case HostActionKind::destroyObject:
      validateParameter(action.operands[0], ValueType::object, where);
      break;
    case HostActionKind::writeFile:
      validateParameter(action.operands[0], ValueType::text, where + ".path");
      validateParameter(action.operands[1], ValueType::text, where + ".text");
      break;
  }
}

void Runtime::validateLine(const EventLine& line, const std::string& where) const {
  for (size_t i = 0; i < line.conditions.size(); ++i) {
    std::string at = where + ", condition " + std::to_string(i + 1);
    if (const auto* host = std::get_if<HostCondition>(&line.conditions[i])) {
      for (const Parameter& operand : host->operands) {
        if (typeOf(operand, at) == ValueType::object) throw Error(at + ": cannot compare an object");
      }
      continue;
    }
    const auto& condition = std::get<ExtensionCondition>(line.conditions[i]);
    validateParameters(CatalogKind::condition, condition.nimbo, condition.code, condition.params, at);
    bool raised = !(declaration(CatalogKind::condition, condition.code, at).flags & VO_CONDITION_EVERY_PASS);
    if (raised && i != 0) {
      throw Error(at + ": condition " + std::to_string(condition.code) +
                  " is raised by the extension and must head its line");
    }
  }
  for (size_t i = 0; i < line.actions.size(); ++i) {
    std::string at = where + ", action " + std::to_string(i + 1);
    if (const auto* host = std::get_if<HostAction>(&line.actions[i])) {
      validateHostAction(*host, at);
    } else {
      const auto& action = std::get<ExtensionAction>(line.actions[i]);
      validateParameters(CatalogKind::action, action.nimbo, action.code, action.params, at);
    }
  }
}

void Runtime::validateEvents() const {
  for (size_t i = 0; i < scene_.events.size(); ++i)
    validateLine(scene_.events[i], "event line " + std::to_string(i + 1));
}

}  // namespace vohost
