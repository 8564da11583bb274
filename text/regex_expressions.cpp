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

#include "record/fsnc.h"
#include "record/host_access.h"
#include "text/messages.h"
#include "text/regex_engine.h"
#include "text/routines.h"

namespace nimbo::text {

namespace {

// Byte sizes count two bytes per UTF-16 unit on every system.
static_assert(sizeof(Char) == 2);

uint64_t neededBytes(size_t units) {
  return (static_cast<uint64_t>(units) + 1) * sizeof(Char);
}

RegexText stringParameter(voValue value) {
  return toRegexText(reinterpret_cast<const Char*>(value));
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

// REPLACED_ERR: the converted regex error description the replace expression returns. Module-wide,
// shared by every instance: allocated when the module loads, released when it unloads.
constexpr uint32_t MAX_ELEMENT_VAL_ERROR_MESS = 500;  // bytes

struct ReplacedError {
  ReplacedError() {
    allocateModuleBuffer(REPLACED_ERR, REPLACED_ERR_UNITS, MAX_ELEMENT_VAL_ERROR_MESS, kReplacedErrMallocText,
                         kReplacedErrMallocCaption);
  }
  ~ReplacedError() { std::free(REPLACED_ERR); }
  ReplacedError(const ReplacedError&) = delete;
  ReplacedError& operator=(const ReplacedError&) = delete;

  Char* REPLACED_ERR = nullptr;
  uint32_t REPLACED_ERR_UNITS = 0;
};

ReplacedError replacedError;

// The regex error's description in UTF-16, in REPLACED_ERR, which grows to fit it.
const Char* convertedDescription(const char* description) {
  ReplacedError& error = replacedError;
  size_t units = std::strlen(description) + 1;
  if (units > error.REPLACED_ERR_UNITS) {
    std::free(error.REPLACED_ERR);
    bool fits = units <= static_cast<size_t>(std::numeric_limits<int>::max());
    error.REPLACED_ERR = fits ? static_cast<Char*>(std::malloc(units * sizeof(Char))) : nullptr;
    error.REPLACED_ERR_UNITS = error.REPLACED_ERR ? static_cast<uint32_t>(units) : 0;
    if (!error.REPLACED_ERR) {
      platform::messageBox(kErrorTextMallocText, kErrorTextMallocCaption);
      return kErrorTextMallocResult;
    }
  }
  platform::oemToText(description, error.REPLACED_ERR, static_cast<int>(units));
  return error.REPLACED_ERR;
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
    RegexText pattern = stringParameter(firstExpressionParameter(rd, VO_EXPRESSION_STRING, hostValue));
    RegexText format = stringParameter(nextExpressionParameter(rd, VO_EXPRESSION_STRING, hostValue));
    std::setlocale(LC_ALL, "");
    auto regex = compileRegex(pattern, ignoresCase(rd));
    Text replaced = fromRegexText(replaceRegex(*regex, toRegexText(rd->sText), format));
    return stringResult(rd, storeReplaced(rd, replaced));
  } catch (const std::exception& error) {
    rd->regexErrorFlag = 1;
    if (rd->popupSetting == 1) platform::messageBoxNarrow(error.what(), kInfoCaption);
    return stringResult(rd, convertedDescription(error.what()));
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
  auto element = static_cast<int32_t>(firstExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  if (rd->lastMatch.size() <= 2) return stringResult(rd, kNoSubmatchResult);
  uint32_t index = static_cast<uint32_t>(element) + 2u;
  try {
    return stringResult(rd, storeSubMatch(rd, subMatchText(rd, index)));
  } catch (const std::bad_alloc&) {
    return stringResult(rd, subMatchAllocationFailed());
  }
}

}  // namespace nimbo::text
