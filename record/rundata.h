// RUNDATA, the runtime record of one NIMBO instance. The host allocates GetRunObjectDataSize() bytes,
// zero-filled, with its header rHo first; CreateRunObject constructs the C++ members in place (a
// zero-filled container is not a valid object on every standard library) and DestroyRunObject ends them.
#pragma once

#include <cfloat>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "host/vohost.h"
#include "platform/platform.h"
#include "record/control_entry.h"
#include "record/layout_state.h"
#include "record/regex_text.h"

namespace nimbo {

constexpr uint16_t kRunDataSize = 2808;
constexpr int kRenamePathUnits = 522;
constexpr uint32_t kReplacedStrCacheBytes = 50000;
constexpr uint32_t kSubMatchBuffBytes = 2000;
constexpr uint32_t kGroupNameBufferBytes = 34;

struct RUNDATA {
  voHeader rHo;  // the host's header; written by the host before CreateRunObject

  int32_t mismatchFlag = 0;      // bit 0: the last regex condition did not match
  int32_t popupSetting = 0;      // 1 = show error message boxes
  int32_t regexOptions = 0;      // the edit-time options word
  int32_t regexErrorFlag = 0;    // 1 = a regex error was caught since the last frame step
  int32_t autoPositionFlag = 0;  // 1 = the window follows the mouse
  int32_t dragOriginX = 0, dragOriginY = 0;
  Char* sText = nullptr;  // the TEXT, owned
  Char* REPLACED_STR_CACHE = nullptr;
  uint32_t REPLACED_STR_CACHE_SIZE = 0;  // bytes
  int32_t historyIndex = -1;
  text::RegexText lastMatchSource;        // own copy of the source the last match results point into
  std::vector<text::SubMatch> lastMatch;  // sub-matches of the last exact match; empty after a failure
  Char* SubMatchBuff = nullptr;
  uint32_t SubMatchBuffSize = 0;  // bytes
  std::vector<Text> pathHistory;  // at most 10 entries, oldest first
  Char oldFullPath[kRenamePathUnits] = {};
  Char newFullPath[kRenamePathUnits] = {};
  uint32_t clipboardSequence = 0;
  int32_t clipboardCountdown = 0;
  std::vector<align::AlignChainEntry> alignChain;
  align::LayoutState layoutState;
  std::vector<motion::ControlEntry> controlList;
  std::vector<motion::MotionGroup> motionGroups;
  std::vector<motion::GroupCount> groupCounts;
  uint8_t pendingReject = 0;
  int32_t orbitParams[6] = {};
  int32_t nextGroupId = 0;
  Text infoText;       // result of expression 14
  Text groupInfoText;  // result of expression 15: its own, so a listing of 14 stays valid beside it
  Char* groupNameBuffer = nullptr;
  int32_t fileCount = -1, dirCount = -1;
  int32_t pathConfirmed = 0, pathInvalid = 0;  // 1 = raise at the next step; -1 once raised
};

// Layouts and motions truncate to whole pixels, so every build must round each operation to its IEEE
// type (SSE on 32-bit x86, never x87 extended precision) to place objects on the same pixels.
static_assert(FLT_EVAL_METHOD == 0, "floating point must be evaluated in the precision of its type");

// CreateRunObject builds the record in the host's block: a member whose construction could throw would
// leave that block half built, with the host's header lost.
static_assert(std::is_nothrow_default_constructible_v<RUNDATA>);

static_assert(sizeof(RUNDATA) <= kRunDataSize, "RUNDATA must fit the block the host allocates");

inline RUNDATA* runData(voHeader* header) {
  return reinterpret_cast<RUNDATA*>(header);
}

}  // namespace nimbo
