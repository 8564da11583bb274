// The texts the regex engine works on, and the sub-matches it reports: RUNDATA keeps the last match, and
// the numeric parameter strings match the same texts.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace nimbo::text {

// UTF-16 units, each widened alone where wchar_t is 32-bit, so positions and lengths are UTF-16 code
// units on every system.
using RegexText = std::wstring;

RegexText toRegexText(const Char* text);  // null reads as the empty text
Text fromRegexText(const RegexText& text);

// One sub-match: offsets into the source text it was found in.
struct SubMatch {
  size_t position = 0;
  size_t length = 0;
  bool matched = false;
};

}  // namespace nimbo::text
