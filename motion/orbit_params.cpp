// Parsing the orbit parameter string: spaces removed, the whole text matched against the six-integer
// pattern by the metered regex engine (no text can crash or hang the game), the groups converted.
#include "motion/orbit_params.h"

#include <new>
#include <regex>
#include <vector>

#include "motion/messages.h"
#include "text/regex_engine.h"

namespace nimbo::motion {

namespace {

const text::RegexText kSixIntegers =
    L"(([+-]?\\d+),([+-]?\\d+),([+-]?\\d+),([+-]?\\d+),([+-]?\\d+),([+-]?\\d+))";
constexpr size_t kFirstNumberGroup = 2;

text::RegexText withoutSpaces(const Char* text) {
  text::RegexText units = text::toRegexText(text);
  std::erase(units, L' ');
  return units;
}

// A matched group: an optional sign and decimal digits. Nothing when it does not fit 32 bits.
std::optional<int32_t> toInteger(const wchar_t* digits, size_t length) {
  bool negative = length > 0 && digits[0] == L'-';
  size_t at = length > 0 && (digits[0] == L'-' || digits[0] == L'+') ? 1 : 0;
  int64_t value = 0;
  for (; at < length; ++at) {
    value = value * 10 + (digits[at] - L'0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<OrbitParams> numbersOf(const text::RegexText& source) {
  std::vector<text::SubMatch> match = text::matchRegex(*text::compileRegex(kSixIntegers, false), source);
  if (match.empty()) return std::nullopt;
  OrbitParams params{};
  for (size_t i = 0; i < params.size(); ++i) {
    const text::SubMatch& group = match[kFirstNumberGroup + i];
    std::optional<int32_t> number = toInteger(source.data() + group.position, group.length);
    if (!number) return std::nullopt;
    params[i] = *number;
  }
  return params;
}

// The regex engine refuses a text past its work or stack bound with a regex error: such a text is no
// list of six numbers either.
std::optional<OrbitParams> parse(const Char* text) {
  try {
    return numbersOf(withoutSpaces(text));
  } catch (const std::regex_error&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<OrbitParams> ocSetup_REGEX_input_Params_Orb(const Char* text) {
  std::optional<OrbitParams> params = parse(text);
  if (!params) platform::messageBox(kOrbitParamsText, kOrbitParamsCaption);
  return params;
}

}  // namespace nimbo::motion
