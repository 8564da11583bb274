// Conversions between the extension's UTF-16 texts and the regex engine's wide texts, unit by unit.
#include "record/regex_text.h"

namespace nimbo::text {

RegexText toRegexText(const Char* text) {
  RegexText wide;
  if (!text) return wide;
  for (; *text; ++text) wide.push_back(static_cast<wchar_t>(static_cast<char16_t>(*text)));
  return wide;
}

Text fromRegexText(const RegexText& text) {
  Text units;
  units.reserve(text.size());
  for (wchar_t unit : text) units.push_back(static_cast<Char>(unit));
  return units;
}

}  // namespace nimbo::text
