// The regex conditions and expressions' engine: a pattern, a source and a replacement format, searched,
// matched whole and replaced, with and without ignoring case.
#include <regex>

#include "fuzz/fuzz_input.h"
#include "text/regex_engine.h"

using namespace nimbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<Text> fields = fuzz::textFields(data, size, 3);
  const text::RegexText pattern = text::toRegexText(fields[0].c_str());
  const text::RegexText source = text::toRegexText(fields[1].c_str());
  const text::RegexText format = text::toRegexText(fields[2].c_str());
  for (bool ignoreCase : {false, true}) {
    try {
      auto regex = text::compileRegex(pattern, ignoreCase);
      text::searchRegex(*regex, source);
      text::matchRegex(*regex, source);
      text::fromRegexText(text::replaceRegex(*regex, source, format));
    } catch (const std::regex_error&) {
      // an invalid pattern or a bound reached: the routines report it as a regex error
    }
  }
  return 0;
}
