// The regex conditions: the partial search (4), the exact match that rebuilds the TEXT (5), and the two
// flag conditions the frame step raises (0 after a regex error, 6 while the last match failed).
#include <cassert>
#include <exception>

#include "text/messages.h"
#include "text/regex_engine.h"
#include "text/routines.h"
#include "text/smart_delimiter.h"

namespace nimbo::text {

namespace {

constexpr int32_t kMismatchBit = 1;

void setMismatch(RUNDATA* rd, bool mismatch) {
  rd->mismatchFlag &= ~kMismatchBit;
  if (mismatch) rd->mismatchFlag |= kMismatchBit;
}

RegexText textParameter(voValue value) {
  return toRegexText(reinterpret_cast<const Char*>(value));
}

// The elements are the sub-matches from 2 on.
std::vector<Text> elementsOf(const RUNDATA* rd) {
  std::vector<Text> elements;
  for (size_t j = 2; j < rd->lastMatch.size(); ++j) elements.push_back(subMatchText(rd, j));
  return elements;
}

}  // namespace

Text subMatchText(const RUNDATA* rd, size_t index) {
  if (index >= rd->lastMatch.size() || !rd->lastMatch[index].matched) return {};
  const SubMatch& sub = rd->lastMatch[index];
  return fromRegexText(rd->lastMatchSource.substr(sub.position, sub.length));
}

int32_t VO_CALL RegexExpressionError(voHeader* header, voValue, voValue) {
  assert(header);
  return runData(header)->regexErrorFlag;
}

int32_t VO_CALL RegexToMismatch(voHeader* header, voValue, voValue) {
  assert(header);
  return runData(header)->mismatchFlag;
}

// Regex errors, and allocation failures on the way, end here rather than reach the host.
int32_t VO_CALL RegexSearchPartial(voHeader* header, voValue source, voValue pattern) {
  assert(header);
  RUNDATA* rd = runData(header);
  try {
    auto regex = compileRegex(textParameter(pattern), ignoresCase(rd));
    bool found = searchRegex(*regex, textParameter(source));
    setMismatch(rd, !found);
    return found ? 1 : 0;
  } catch (const std::exception& error) {
    if (rd->popupSetting == 1) {
      platform::messageBoxNarrow(error.what(), kInfoCaption);
    } else {
      rd->regexErrorFlag = 1;
    }
    return 0;
  }
}

// The source is kept in the record: the stored sub-matches are offsets into it, read later by the
// sub-match expressions.
int32_t VO_CALL RGXMatchFullSETMXVal(voHeader* header, voValue source, voValue pattern) {
  assert(header);
  RUNDATA* rd = runData(header);
  try {
    auto regex = compileRegex(textParameter(pattern), ignoresCase(rd));
    RegexText sourceCopy = textParameter(source);
    std::vector<SubMatch> subMatches = matchRegex(*regex, sourceCopy);
    rd->lastMatchSource = std::move(sourceCopy);
    rd->lastMatch = std::move(subMatches);
    if (rd->lastMatch.empty()) {
      setMismatch(rd, true);
      return 0;
    }
    setMismatch(rd, false);
    auto count = static_cast<uint32_t>(rd->lastMatch.size() - 2);
    Text delimiter = rd->sText ? Text(rd->sText) : Text();
    SmartDelimiterResult rebuilt = smartDelimiterRebuild(elementsOf(rd), count, delimiter);
    if (rebuilt.showTypeA21Box) platform::messageBox(kTypeA21Text, kTypeA21Caption);
    return replaceTEXT(rd, rebuilt.built) ? 1 : 0;
  } catch (const std::exception& error) {
    rd->regexErrorFlag = 1;
    platform::messageBoxNarrow(error.what(), kMatchErrorCaption);
    return 0;
  }
}

}  // namespace nimbo::text
