// The "Smart Delimiter" case table, row by row. An element past the last sub-match writes nothing,
// which lets the rows with more delimiter characters than elements share the plain run of pairs.
#include "text/smart_delimiter.h"

#include <cassert>

namespace nimbo::text {

namespace {

struct Builder {
  const std::vector<Text>& elements;
  const Text& delimiter;
  Text built;

  void element(uint32_t k) {
    if (k < elements.size()) built += elements[k];
  }
  void delimiterAt(size_t i) { built += delimiter[i]; }
  // E(0) D(0) ... E(pairs - 1) D(pairs - 1).
  void pairs(size_t pairs) {
    for (size_t k = 0; k < pairs; ++k) {
      element(static_cast<uint32_t>(k));
      delimiterAt(k);
    }
  }
};

}  // namespace

SmartDelimiterResult smartDelimiterRebuild(const std::vector<Text>& elements, uint32_t count,
                                           const Text& delimiter) {
  assert(count == elements.size() || count == kNoCaptureGroups);
  // Without capture groups the count wraps to 4294967295; with a one- or two-character delimiter the
  // table would then write the delimiter about four billion times. The TEXT is left as it was instead,
  // which is what every other delimiter length gives for that count anyway.
  if (count == kNoCaptureGroups) return {delimiter, false};

  const size_t d = delimiter.size();
  Builder b{elements, delimiter, {}};
  if (d == 0) return {};
  if (count == 1) {
    b.element(0);
    b.built += delimiter;
    return {b.built, false};
  }
  if (count == 2) {
    b.element(0);
    b.delimiterAt(0);
    b.element(1);
    if (d >= 2) b.delimiterAt(1);
    return {b.built, d == 1};
  }
  if (count > d && d == 1) {
    for (uint32_t k = 0; k < count; ++k) {
      b.element(k);
      b.delimiterAt(0);
    }
  } else if (count > d && d == 2) {
    for (uint32_t k = 0; k + 1 < count; ++k) {
      b.element(k);
      b.delimiterAt(0);
    }
    b.element(count - 1);
    b.delimiterAt(1);
  } else if (count > 0) {
    b.pairs(d);
  }
  return {b.built, false};
}

}  // namespace nimbo::text
