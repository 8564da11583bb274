// Every parameter's value type is worked out from the scene and compared with the declared kind.
#include "vohost/scenes/validation.h"

#include <algorithm>

#include "vohost/error.h"

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

enum class ValueType { integer, text, position, object };

// The value type a declared parameter kind asks for; throws Error for a kind the host does not know.
ValueType expectedType(CatalogKind kind, int declared, const std::string& where) {
  if (kind == CatalogKind::expression)
    return declared == VO_EXPPARAM_TEXT ? ValueType::text : ValueType::integer;
  switch (declared) {
    case VO_PARAM_OBJECT:
      return ValueType::object;
    case VO_PARAM_POSITION:
      return ValueType::position;
    case VO_PARAM_TEXT:
      return ValueType::text;
    case VO_PARAM_NUMBER:
      return ValueType::integer;
    default:
      throw Error(where + ": parameter kind " + std::to_string(declared) + " is not one the host knows (" +
                  typeName(declared) + ")");
  }
}

class Validator {
 public:
  Validator(const Scene& scene, const Declarations& declarations)
      : scene_(scene), declarations_(declarations) {}
  void validateLine(const EventLine& line, const std::string& where) const;

 private:
  void validateConditions(const EventLine& line, const std::string& where) const;
  void validateActions(const EventLine& line, const std::string& where) const;
  void validateParameters(CatalogKind kind, int nimbo, int code, const std::vector<Parameter>& params,
                          const std::string& where) const;
  void validateParameter(const Parameter& param, ValueType expected, const std::string& where) const;
  void validateHostAction(const HostAction& action, const std::string& where) const;
  ValueType typeOf(const Parameter& param, const std::string& where) const;
  void checkSelection(const ObjectSelection& selection, const std::string& where) const;

  const Scene& scene_;
  const Declarations& declarations_;
};

ValueType Validator::typeOf(const Parameter& param, const std::string& where) const {
  if (std::holds_alternative<int32_t>(param)) return ValueType::integer;
  if (std::holds_alternative<nimbo::Text>(param)) return ValueType::text;
  if (std::holds_alternative<Position>(param)) return ValueType::position;
  if (const auto* value = std::get_if<AlterableValue>(&param)) {
    typeOf(value->object, where);
    return ValueType::integer;
  }
  if (const auto* selection = std::get_if<ObjectSelection>(&param)) {
    checkSelection(*selection, where);
    return ValueType::object;
  }
  const ExpressionCall& call = *std::get<std::shared_ptr<const ExpressionCall>>(param);
  std::string inner = where + ", expression " + std::to_string(call.code);
  validateParameters(CatalogKind::expression, call.nimbo, call.code, call.params, inner);
  const CatalogEntryInfo& entry = declarations_.at(CatalogKind::expression, call.code, inner);
  return entry.flags & VO_EXPRESSION_RESULT_STRING ? ValueType::text : ValueType::integer;
}

void Validator::checkSelection(const ObjectSelection& selection, const std::string& where) const {
  if (selection.type.empty()) return;
  auto type = std::find_if(scene_.objects.begin(), scene_.objects.end(),
                           [&](const ObjectType& t) { return t.name == selection.type; });
  if (type == scene_.objects.end()) throw Error(where + ": no object type named \"" + selection.type + "\"");
  for (int index : selection.instances) {
    if (index >= static_cast<int>(type->instances.size()))
      throw Error(where + ": \"" + selection.type + "\" has no instance " + std::to_string(index));
  }
}

void Validator::validateParameter(const Parameter& param, ValueType expected,
                                  const std::string& where) const {
  ValueType given = typeOf(param, where);
  bool fits = given == expected || (expected == ValueType::position && given == ValueType::integer);
  if (!fits) {
    static const char* names[] = {"a number", "a text", "a position", "an object selection"};
    throw Error(where + ": expects " + names[static_cast<int>(expected)] + ", the scene gives " +
                names[static_cast<int>(given)]);
  }
}

void Validator::validateParameters(CatalogKind kind, int nimbo, int code,
                                   const std::vector<Parameter>& params, const std::string& where) const {
  if (nimbo < 0 || nimbo >= static_cast<int>(scene_.nimbo.size())) {
    throw Error(where + ": the scene has no NIMBO instance " + std::to_string(nimbo));
  }
  const CatalogEntryInfo& entry = declarations_.at(kind, code, where);
  if (params.size() != entry.parameterKinds.size()) {
    throw Error(where + ": " + kindName(kind) + " " + std::to_string(code) + " takes " +
                std::to_string(entry.parameterKinds.size()) + " parameters, the scene gives " +
                std::to_string(params.size()));
  }
  for (size_t i = 0; i < params.size(); ++i) {
    std::string at = where + ", parameter " + std::to_string(i);
    validateParameter(params[i], expectedType(kind, entry.parameterKinds[i], at), at);
  }
}

void Validator::validateHostAction(const HostAction& action, const std::string& where) const {
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

void Validator::validateConditions(const EventLine& line, const std::string& where) const {
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
    bool raised =
        !(declarations_.at(CatalogKind::condition, condition.code, at).flags & VO_CONDITION_EVERY_PASS);
    if (raised && i != 0) {
      throw Error(at + ": condition " + std::to_string(condition.code) +
                  " is raised by the extension and must head its line");
    }
  }
}

void Validator::validateActions(const EventLine& line, const std::string& where) const {
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

void Validator::validateLine(const EventLine& line, const std::string& where) const {
  validateConditions(line, where);
  validateActions(line, where);
}

}  // namespace

void validateEvents(const Scene& scene, const Declarations& declarations) {
  Validator validator(scene, declarations);
  for (size_t i = 0; i < scene.events.size(); ++i)
    validator.validateLine(scene.events[i], "event line " + std::to_string(i + 1));
}

}  // namespace vohost
