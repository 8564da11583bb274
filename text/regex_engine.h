// The regex engine every routine of the extension goes through: ECMAScript wide regexes, compiled once
// per (pattern, options) and kept in a bounded cache, matched under a work bound and a stack bound so
// that no pattern and no text can crash or hang the game. Past a bound an operation throws
// std::regex_error (error_complexity for work, error_stack for stack), as the matcher's own limits do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "record/regex_text.h"

namespace nimbo::text {

#if defined(_LIBCPP_VERSION)
// libc++ (the browser build's library) matches over plain pointers, where no iterator can count the
// steps: its matcher's loop is given again for this traits type, one charge per state it runs
// (text/libcxx_matcher.h).
struct MeteredTraits : std::regex_traits<wchar_t> {};
using Regex = std::basic_regex<wchar_t, MeteredTraits>;
#else
using Regex = std::wregex;
#endif

// A compiled pattern, with what its matching costs in stack per unit of text.
struct CompiledRegex {
  Regex regex;
  uint64_t stackBytesPerUnit;
};

// The compiled regex of a pattern, from the cache; throws std::regex_error for an invalid pattern.
// `ignoreCase` adds icase to the ECMAScript grammar.
std::shared_ptr<const CompiledRegex> compileRegex(const RegexText& pattern, bool ignoreCase);

// True when the regex occurs somewhere in `source`.
bool searchRegex(const CompiledRegex& regex, const RegexText& source);

// When the whole of `source` matches, the sub-matches (0 = whole match, then the capture groups);
// empty when it does not.
std::vector<SubMatch> matchRegex(const CompiledRegex& regex, const RegexText& source);

// Every non-overlapping match replaced by `format` with the ECMAScript format rules.
RegexText replaceRegex(const CompiledRegex& regex, const RegexText& source, const RegexText& format);

// Numbers of the cache, for tests and benchmarks.
size_t regexCacheSize();
constexpr size_t kRegexCacheCapacity = 64;

}  // namespace nimbo::text
