// Numeric parameter strings: the five fixed patterns, the whole-text match through the metered regex
// engine, and the conversions of the matched numbers.
#include "params/param_strings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "text/regex_engine.h"

namespace nimbo::params {

namespace {

constexpr size_t kFirstNumberGroup = 2;

struct PatternInfo {
  text::RegexText source;
  size_t numbers;
  size_t decimals;
};

const PatternInfo& info(ParamPattern pattern) {
  static const PatternInfo patterns[] = {
      {LR"re((([+-]?\d+),([+-]?\d+),([+-]?\d+)))re", 3, 0},
      {LR"re((([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+)))re", 4, 0},
      {LR"re((([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+)))re", 6, 0},
      {LR"re((([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d*\.?\d*),([+-]?\d*\.?\d*)))re", 6, 2},
      {LR"re((([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+),([+-]?\d+)))re",
       10, 0},
  };
  return patterns[static_cast<size_t>(pattern)];
}

// `\d` may take other scripts' digits on some systems; the conversions read only 0-9, the same on every
// build, and refuse the rest as stoi refuses a letter.
std::string asciiNumber(const text::RegexText& number, const char* function) {
  std::string narrow;
  for (wchar_t unit : number) {
    if (static_cast<uint32_t>(unit) > 0x7F)
      throw std::invalid_argument(std::string("invalid ") + function + " argument");
    narrow.push_back(static_cast<char>(unit));
  }
  return narrow;
}

}  // namespace

const text::RegexText& patternText(ParamPattern pattern) {
  return info(pattern).source;
}

size_t numberCount(ParamPattern pattern) {
  return info(pattern).numbers;
}

size_t decimalCount(ParamPattern pattern) {
  return info(pattern).decimals;
}

text::RegexText MatchParams::number(size_t index) const {
  const text::SubMatch& group = groups.at(kFirstNumberGroup + index);
  return group.matched ? source.substr(group.position, group.length) : text::RegexText();
}

MatchParams matchParamString(const Char* parameter, ParamPattern pattern) {
  MatchParams matched;
  matched.source = text::toRegexText(parameter);
  std::erase(matched.source, L' ');
  auto regex = text::compileRegex(patternText(pattern), false);
  matched.groups = text::matchRegex(*regex, matched.source);
  return matched;
}

int32_t integerNumber(const text::RegexText& number) {
  return std::stoi(asciiNumber(number, "stoi"));
}

#if !defined(_LIBCPP_VERSION)
// from_chars reads as stof does in the "C" locale, but takes no plus sign.
std::from_chars_result readFloat(const char* first, const char* last, float& value) {
  return std::from_chars(first, last, value);
}
#else
// The browser build's standard library (libc++) reads no floating point with from_chars. Its C library's
// strtof keeps '.' as the decimal point in every locale; the number, matched by the pattern, is digits
// and one point, so strtof reads it as from_chars would.
std::from_chars_result readFloat(const char* first, const char* last, float& value) {
  std::string number(first, last);
  char* end = nullptr;
  errno = 0;
  value = std::strtof(number.c_str(), &end);
  std::errc error = end == number.c_str() ? std::errc::invalid_argument
                    : errno == ERANGE     ? std::errc::result_out_of_range
                                          : std::errc();
  return {first + (end - number.c_str()), error};
}
#endif

float decimalNumber(const text::RegexText& number) {
  std::string narrow = asciiNumber(number, "stof");
  const char* first = narrow.data();
  const char* last = first + narrow.size();
  if (first != last && *first == '+') ++first;
  float value = 0;
  auto [end, error] = readFloat(first, last, value);
  if (error == std::errc::result_out_of_range) throw std::out_of_range("stof argument out of range");
  if (error != std::errc() || end != last) throw std::invalid_argument("invalid stof argument");
  return value;
}

std::optional<ParamNumbers> readParamString(const Char* parameter, const ParamStringUse& use) {
  try {
    MatchParams matched = matchParamString(parameter, use.pattern);
    if (!matched.empty()) {
      ParamNumbers numbers;
      size_t integers = numberCount(use.pattern) - decimalCount(use.pattern);
      for (size_t i = 0; i < integers; ++i) numbers.integers[i] = integerNumber(matched.number(i));
      for (size_t i = 0; i < decimalCount(use.pattern); ++i)
        numbers.decimals[i] = decimalNumber(matched.number(integers + i));
      return numbers;
    }
  } catch (const std::exception&) {
    // A number out of range, an empty decimal or a text past the regex bounds: as a failed match.
  }
  platform::messageBox(use.text, use.caption);
  return std::nullopt;
}

}  // namespace nimbo::params
