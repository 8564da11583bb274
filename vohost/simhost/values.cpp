// Parameter values as the host evaluates them for a routine: numbers, texts, packed positions, the
// records of selected instances, alterable values and the extension's own expressions.
#include <memory>

#include "vohost/error.h"
#include "vohost/simhost/events.h"

namespace vohost {

namespace {

int32_t packPosition(const Position& position) {
  return static_cast<int32_t>((static_cast<uint32_t>(position.x) & 0xFFFFu) |
                              (static_cast<uint32_t>(position.y) << 16));
}

}  // namespace

// The loop's parameter gets the instance it serves; a further object parameter (a target) gets the first
// selected instance of its type.
voValue EventRunner::objectArgument(const ObjectSelection& selection, bool served, int servedObject) const {
  int number = servedObject;
  if (!served) {
    std::vector<int> numbers = objects_.selected(selection);
    number = numbers.empty() ? -1 : numbers.front();
  }
  return number < 0 ? 0 : reinterpret_cast<voValue>(objects_.header(number));
}

std::vector<Argument> EventRunner::arguments(const std::vector<Parameter>& params, int loopParameter,
                                             int servedObject, const std::string& where) {
  std::vector<Argument> args;
  for (size_t i = 0; i < params.size(); ++i) {
    Argument argument;
    if (const auto* selection = std::get_if<ObjectSelection>(&params[i])) {
      argument.integer = objectArgument(*selection, static_cast<int>(i) == loopParameter, servedObject);
    } else {
      HostValue value = evaluate(params[i], where + ", parameter " + std::to_string(i));
      if (const auto* number = std::get_if<int32_t>(&value)) {
        argument.integer = *number;
      } else {
        argument.isText = true;
        argument.text = std::get<nimbo::Text>(value);
      }
    }
    args.push_back(std::move(argument));
  }
  return args;
}

HostValue EventRunner::evaluate(const Parameter& param, const std::string& where) {
  if (const auto* number = std::get_if<int32_t>(&param)) return *number;
  if (const auto* text = std::get_if<nimbo::Text>(&param)) return *text;
  if (const auto* position = std::get_if<Position>(&param)) return packPosition(*position);
  if (std::holds_alternative<ObjectSelection>(param))
    throw Error(where + ": an object selection is not a value");
  if (const auto* value = std::get_if<AlterableValue>(&param)) return objects_.alterableValue(*value, where);
  return callExpression(*std::get<std::shared_ptr<const ExpressionCall>>(param), where);
}

// The string-result flag is cleared before the call and the text copied out at once: the buffer is the
// extension's and changes on the next evaluation.
HostValue EventRunner::callExpression(const ExpressionCall& call, const std::string& where) {
  std::string at = where + ", expression " + std::to_string(call.code);
  voHeader* self = objects_.nimboRecord(call.nimbo);
  auto routine = static_cast<const voExpressionRoutine*>(runInfo_.expressions)[call.code];
  std::vector<Argument> args = arguments(call.params, -1, -1, at);
  voValue cookie = services_.depth();
  self->hoFlags &= static_cast<uint16_t>(~VO_HOF_STRING_RESULT);
  voValue result =
      services_.withArguments(std::move(args), at, [&](voValue, voValue) { return routine(self, cookie); });
  if (!(self->hoFlags & VO_HOF_STRING_RESULT)) return static_cast<int32_t>(result);
  const auto* text = reinterpret_cast<const voChar*>(result);
  if (!text) throw Error(at + ": a string result that is a null pointer");
  return nimbo::Text(text);
}

}  // namespace vohost
