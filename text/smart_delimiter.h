// The "Smart Delimiter" rebuild of the TEXT after an exact match: the match's elements (capture groups
// 2, 3, ...) joined by single characters of the previous TEXT, by the rules of its case table.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace nimbo::text {

// The element count of a full match of a pattern without capture groups: one sub-match minus 2,
// in unsigned 32-bit arithmetic.
constexpr uint32_t kNoCaptureGroups = 0xFFFFFFFFu;

struct SmartDelimiterResult {
  Text built;
  bool showTypeA21Box = false;  // two elements and a one-character delimiter text
};

// `elements` are the matched texts of sub-matches 2, 3, ...; `count` is the element count, which is
// elements.size() or kNoCaptureGroups; `delimiter` is the TEXT as it was before the match.
SmartDelimiterResult smartDelimiterRebuild(const std::vector<Text>& elements, uint32_t count,
                                           const Text& delimiter);

}  // namespace nimbo::text
