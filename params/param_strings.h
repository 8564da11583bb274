// Numeric parameter strings: one text parameter holding a fixed count of comma-separated numbers, such
// as "50,50,3,10,10,0", validated as a whole against a fixed regex and read from its capture groups.
// Used alike by the pattern layouts and by the motion controller's setups and commands.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "params/messages.h"
#include "record/regex_text.h"

namespace nimbo::params {

enum class ParamPattern : uint8_t {
  threeIntegers,
  fourIntegers,
  sixIntegers,
  fourIntegersTwoDecimals,  // the last two numbers are decimals
  tenIntegers,
};

// The pattern's regex source text, ECMAScript grammar.
const text::RegexText& patternText(ParamPattern pattern);
// How many numbers the pattern holds, and how many of them, at the end, are decimals.
size_t numberCount(ParamPattern pattern);
size_t decimalCount(ParamPattern pattern);

// What one action matches its text against, and the box it shows when the text does not fit.
struct ParamStringUse {
  ParamPattern pattern;
  const Char* caption;
  const Char* text;
};

inline constexpr ParamStringUse kOrbitSetupParams{ParamPattern::sixIntegers, kOrbitSetupCaption,
                                                  kMatchParamsEmptyFourDots};  // actions 28, 29
inline constexpr ParamStringUse kAngularRotateParams{ParamPattern::fourIntegers, kExactMatchCaption,
                                                     kMatchParamsEmptyFourDots};  // action 43
inline constexpr ParamStringUse kGrowRadiusParams{ParamPattern::tenIntegers, kGrowRadiusCaption,
                                                  kMatchParamsEmpty};  // action 45
inline constexpr ParamStringUse kSemiCircleParams{ParamPattern::fourIntegersTwoDecimals, kExactMatchCaption,
                                                  kMatchParamsEmpty};  // action 46
inline constexpr ParamStringUse kRhombusParams{ParamPattern::sixIntegers, kRhombusCaption,
                                               kMatchParamsEmpty};  // action 47
inline constexpr ParamStringUse kTrapezoidParams{ParamPattern::sixIntegers, kTrapezoidCaption,
                                                 kMatchParamsEmpty};  // action 48
inline constexpr ParamStringUse kRowMatrixOffsetParams{ParamPattern::sixIntegers, kRowMatrixOffsetCaption,
                                                       kMatchParamsEmpty};  // action 50

// The match result of one numeric parameter string: group 0 the whole text, group 1 the list again,
// then one group per number in the order written. Empty when the text did not match.
struct MatchParams {
  text::RegexText source;  // the parameter with its spaces removed; the groups point into it
  std::vector<text::SubMatch> groups;

  bool empty() const { return groups.empty(); }
  text::RegexText number(size_t index) const;  // the text of number `index`, counted from 0
};

// Removes every space (U+0020, nothing else) and matches what is left as a whole against the pattern,
// under the regex engine's work and stack bounds (past them it throws std::regex_error).
MatchParams matchParamString(const Char* parameter, ParamPattern pattern);

// stoi and stof on a matched number. A decimal is read the same in every C locale (the process's locale
// follows the user's after some actions, and a decimal comma would cut "7.25" to 7). Both throw
// std::invalid_argument or std::out_of_range as stoi and stof do, also for a digit outside 0-9.
int32_t integerNumber(const text::RegexText& number);
float decimalNumber(const text::RegexText& number);

// The converted numbers of a matched text, in order: the integers, then the decimals.
struct ParamNumbers {
  std::array<int32_t, 10> integers{};
  std::array<float, 2> decimals{};
};

// The whole reading an action does: match, then convert every number in order. When the text does not
// match, or a number cannot be converted, or the match is past the engine's bounds, the use's box is
// shown (whatever the pop-up setting) and nothing is returned, so the action changes nothing.
std::optional<ParamNumbers> readParamString(const Char* parameter, const ParamStringUse& use);

}  // namespace nimbo::params
