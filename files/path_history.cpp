// The path history: the moves Set PATH makes in it, action 7 that moves its index, and the history
// expressions. The path expression's result lives in one module-wide string that each call overwrites.
#include "files/path_history.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include "files/messages.h"
#include "files/routines.h"
#include "record/host_access.h"

namespace nimbo::files {

namespace {

Text historyResult;

int32_t lastIndex(const RUNDATA* rd) {
  return static_cast<int32_t>(rd->pathHistory.size()) - 1;
}

}  // namespace

bool findInHistory(RUNDATA* rd, const Text& path) {
  if (rd->historyIndex == -1) return false;
  rd->fileCount = rd->dirCount = -1;
  rd->pathConfirmed = rd->pathInvalid = -1;
  auto current = static_cast<size_t>(rd->historyIndex);
  if (rd->pathHistory[current] == path) return true;
  if (current + 1 < rd->pathHistory.size() && rd->pathHistory[current + 1] == path) {
    ++rd->historyIndex;
    return true;
  }
  rd->pathHistory.resize(current + 1);
  return false;
}

// The copy and the room for it come first, so a failed allocation leaves the history as it was.
void recordInHistory(RUNDATA* rd, const Text& path) {
  Text entry = path;
  rd->pathHistory.reserve(kHistoryCapacity);
  if (rd->pathHistory.empty()) {
    rd->historyIndex = 0;
  } else if (rd->pathHistory.size() == kHistoryCapacity) {
    rd->pathHistory.erase(rd->pathHistory.begin());
  } else {
    ++rd->historyIndex;
  }
  rd->pathHistory.push_back(std::move(entry));
}

// An empty history keeps the index at -1 whatever the argument: no reader may be sent to an entry
// that does not exist.
int32_t VO_CALL SetIndexNumberOfPathHistory(voHeader* header, voValue index, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  auto wanted = static_cast<int32_t>(index);
  rd->historyIndex = rd->pathHistory.empty() ? -1 : std::clamp(wanted, 0, lastIndex(rd));
  return 0;
}

// The offset is added in 64 bits, so no argument can wrap around into the history.
voValue VO_CALL GetPathFromHistory(voHeader* header, voValue hostValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  auto offset = static_cast<int32_t>(firstExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  if (rd->historyIndex == -1) return stringResult(rd, kNoHistoryResult);
  int64_t entry = std::clamp<int64_t>(int64_t{rd->historyIndex} + offset, 0, lastIndex(rd));
  historyResult = rd->pathHistory[static_cast<size_t>(entry)];
  return stringResult(rd, historyResult.c_str());
}

voValue VO_CALL MaxElementNumOfPath(voHeader* header, voValue) {
  assert(header);
  return static_cast<voValue>(runData(header)->pathHistory.size());
}

voValue VO_CALL CurrentIndexNumberOfPath(voHeader* header, voValue) {
  assert(header);
  return runData(header)->historyIndex;
}

}  // namespace nimbo::files
