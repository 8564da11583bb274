// The regex expressions: the replace over the TEXT (1), and the element count (7) and elements (8) of
// the last exact match. String results live in the record's own buffers, which grow to fit.
#include <cassert>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <string>

#include "files/fsnc.h"
#include "frame/routines.h"
#include "text/messages.h"
#include "text/regex_engine.h"
#include "text/routines.h"

namespace nimbo::text {

namespace {

const Char kEmpty[1] = {0};

// Byte sizes count two bytes per UTF-16 unit on every system.
static_assert(sizeof(Char) == 2);

uint64_t neededBytes(size_t units) {
  return (static_cast<uint64_t>(units) + 1) * sizeof(Char);
}

voValue firstParameter(RUNDATA* rd, int32_t kind, voValue hostValue) {
  return frame::services(rd).getFirstExpressionParameter(&rd->rHo, kind, hostValue);
}

voValue nextParameter(RUNDATA* rd, int32_t kind, voValue hostValue) {
  return frame::services(rd).getNextExpressionParameter(&rd->rHo, kind, hostValue);
}

RegexText stringParameter(voValue value) {
  return toRegexText(reinterpret_cast<const Char*>(value));
}

Text decimal(uint64_t value) {
  std::string digits = std::to_string(value);
  return Text(digits.begin(), digits.end());
}

// Replaces `buffer` by a new block of `bytes`; null with capacity 0 when that fails, or when the size
// would not fit the 32-bit capacity word.
bool reallocate(Char*& buffer, uint32_t& capacity, uint64_t bytes) {
  std::free(buffer);
  buffer = bytes <= std::numeric_limits<uint32_t>::max()
               ? static_cast<Char*>(std::malloc(static_cast<size_t>(bytes)))
               : nullptr;
  capacity = buffer ? static_cast<uint32_t>(bytes) : 0;
  return buffer != nullptr;
}

// A checked copy: it refuses, as the system's checked string copy does, when the buffer's real
// capacity cannot hold the text and its terminator.
bool copyInto(Char* buffer, uint32_t capacity, const Text& text) {
  if (!buffer || neededBytes(text.size()) > capacity) return false;
  std::char_traits<Char>::copy(buffer, text.c_str(), text.size() + 1);
  return true;
}

// The cache doubles past the needed size, so a run of results of about the same size reallocates once.
const Char* storeReplaced(RUNDATA* rd, const Text& replaced) {
  if (replaced.empty()) {
    if (rd->popupSetting == 1) platform::messageBox(kEmptyReplaceText, kEmptyReplaceCaption);
    return kEmpty;
  }
  uint64_t needed = neededBytes(replaced.size());
  if (needed > rd->REPLACED_STR_CACHE_SIZE) {
    platform::messageBox((kCacheGrowthText + decimal(needed)).c_str(), kCacheGrowthCaption);
    if (!reallocate(rd->REPLACED_STR_CACHE, rd->REPLACED_STR_CACHE_SIZE, 2 * needed)) {
      platform::messageBox(kCacheMallocText, kCacheMallocCaption);
      return kCacheMallocResult;
    }
  }
  if (!copyInto(rd->REPLACED_STR_CACHE, rd->REPLACED_STR_CACHE_SIZE, replaced)) {
    platform::messageBox(kCacheCopyText, kCacheCopyCaption);
    return kCacheCopyResult;
  }
  return rd->REPLACED_STR_CACHE;
}

// The regex error's description in UTF-16, in the module-wide REPLACED_ERR, which grows to fit it.
const Char* convertedDescription(const char* description) {
  files::FileSystemNameCache& fsnc = files::FSNC;
  size_t units = std::strlen(description) + 1;
  if (units > fsnc.REPLACED_ERR_UNITS) {
    std::free(fsnc.REPLACED_ERR);
    bool fits = units <= static_cast<size_t>(std::numeric_limits<int>::max());
    fsnc.REPLACED_ERR = fits ? static_cast<Char*>(std::malloc(units * sizeof(Char))) : nullptr;
    fsnc.REPLACED_ERR_UNITS = fsnc.REPLACED_ERR ? static_cast<uint32_t>(units) : 0;
    if (!fsnc.REPLACED_ERR) {
      platform::messageBox(kErrorTextMallocText, kErrorTextMallocCaption);
      return kErrorTextMallocResult;
    }
  }
  platform::oemToText(description, fsnc.REPLACED_ERR, static_cast<int>(units));
  return fsnc.REPLACED_ERR;
}

const Char* subMatchAllocationFailed() {
  platform::messageBox(kSubMatchMallocText, kSubMatchMallocCaption);
  return kSubMatchMallocResult;
}

// SubMatchBuff grows to exactly the needed size.
const Char* storeSubMatch(RUNDATA* rd, const Text& text) {
  uint64_t needed = neededBytes(text.size());
  if (needed > rd->SubMatchBuffSize && !reallocate(rd->SubMatchBuff, rd->SubMatchBuffSize, needed)) {
    return subMatchAllocationFailed();
  }
  if (!copyInto(rd->SubMatchBuff, rd->SubMatchBuffSize, text)) {
    platform::messageBox(kSubMatchCopyText, kSubMatchCopyCaption);
    return kSubMatchCopyResult;
  }
  return rd->SubMatchBuff;
}

}  // namespace

// Regex errors, and allocation failures on the way, end here rather than reach the host.
voValue VO_CALL GetRegexReplace(voHeader* header, voValue hostValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  try {
    // Each text is copied as soon as it is fetched: the next fetch may reuse the host's buffer.
    RegexText pattern = stringParameter(firstParameter(rd, VO_EXPRESSION_STRING, hostValue));
    RegexText format = stringParameter(nextParameter(rd, VO_EXPRESSION_STRING, hostValue));
    std::setlocale(LC_ALL, "");
    auto regex = compileRegex(pattern, ignoresCase(rd));
    Text replaced = fromRegexText(replaceRegex(*regex, toRegexText(rd->sText), format));
    return frame::stringResult(rd, storeReplaced(rd, replaced));
  } catch (const std::exception& error) {
    rd->regexErrorFlag = 1;
    if (rd->popupSetting == 1) platform::messageBoxNarrow(error.what(), kInfoCaption);
    return frame::stringResult(rd, convertedDescription(error.what()));
  }
}

voValue VO_CALL RGX_TotalNumber_Match(voHeader* header, voValue) {
  assert(header);
  size_t count = runData(header)->lastMatch.size();
  return count == 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(count - 2));
}

// Element i is sub-match i + 2 in unsigned 32-bit arithmetic: -1 reads group 1, -2 the whole match.
voValue VO_CALL RGX_SubMatch(voHeader* header, voValue hostValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  auto element = static_cast<int32_t>(firstParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  if (rd->lastMatch.size() <= 2) return frame::stringResult(rd, kNoSubmatchResult);
  uint32_t index = static_cast<uint32_t>(element) + 2u;
  try {
    return frame::stringResult(rd, storeSubMatch(rd, subMatchText(rd, index)));
  } catch (const std::bad_alloc&) {
    return frame::stringResult(rd, subMatchAllocationFailed());
  }
}

}  // namespace nimbo::text
