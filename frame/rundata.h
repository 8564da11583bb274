// RUNDATA, the runtime record of one NIMBO instance. The host allocates GetRunObjectDataSize() bytes,
// zero-filled, with its header rHo first; CreateRunObject constructs the C++ members in place (a
// zero-filled container is not a valid object on every standard library) and DestroyRunObject ends them.
#pragma once

#include <cstdint>
#include <deque>
#include <regex>
#include <string>
#include <vector>

#include "align/layout_state.h"
#include "host/vohost.h"
#include "motion/control_entry.h"
#include "platform/platform.h"

namespace nimbo {

// The regex engine works on wide text; where wchar_t is 32-bit, each UTF-16 unit is widened alone.
using RegexText = std::wstring;
using MatchResults = std::match_results<RegexText::const_iterator>;

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
  RegexText lastMatchSource;  // the text the last match results point into
  MatchResults lastMatch;
  Char* SubMatchBuff = nullptr;
  uint32_t SubMatchBuffSize = 0;  // bytes
  std::deque<Text> pathHistory;
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
  Text infoText;
  Char* groupNameBuffer = nullptr;
  int32_t fileCount = -1, dirCount = -1;
  int32_t pathConfirmed = 0, pathInvalid = 0;  // 1 = raise at the next step; -1 once raised
};

static_assert(sizeof(RUNDATA) <= kRunDataSize, "RUNDATA must fit the block the host allocates");

inline RUNDATA* runData(voHeader* header) { return reinterpret_cast<RUNDATA*>(header); }

}  // namespace nimbo
