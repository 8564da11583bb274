// The TEXT: its buffer, set by action 0 and by a successful exact match, read by expression 0. An
// absent TEXT (before the first one is stored) reads as the empty text everywhere.
#include <cassert>
#include <cstdlib>
#include <string>

#include "record/host_access.h"
#include "text/messages.h"
#include "text/routines.h"

namespace nimbo::text {

namespace {

size_t unitLength(const Char* text) {
  return text ? std::char_traits<Char>::length(text) : 0;
}

Char* allocateUnits(size_t units) {
  return static_cast<Char*>(std::malloc(units * sizeof(Char)));
}

}  // namespace

// The buffer is replaced only when the new text is longer than the current one as a string: a text
// that once shrank is not grown back into its old buffer. The old TEXT goes only once its replacement
// exists, so a failed allocation loses nothing.
bool storeTEXT(RUNDATA* rd, const Char* text) {
  size_t n = unitLength(text);
  if (!rd->sText || n > unitLength(rd->sText)) {
    Char* grown = allocateUnits(n + 1);
    if (!grown) return false;
    std::free(rd->sText);
    rd->sText = grown;
  }
  // The new text may be the TEXT itself, handed back by "Get TEXT$(".
  std::char_traits<Char>::move(rd->sText, text ? text : kEmpty, n + 1);
  return true;
}

int32_t VO_CALL SetTEXT(voHeader* header, voValue newText, voValue) {
  assert(header);
  if (!storeTEXT(runData(header), reinterpret_cast<const Char*>(newText))) {
    platform::messageBox(kSetTextMallocText, kSetTextMallocCaption);
  }
  return 0;
}

bool replaceTEXT(RUNDATA* rd, const Text& built) {
  Char* rebuilt = allocateUnits(built.size() + 1);
  if (!rebuilt) {
    platform::messageBox(kRebuildMallocText, kRebuildMallocCaption);
    return false;
  }
  std::char_traits<Char>::copy(rebuilt, built.c_str(), built.size() + 1);
  std::free(rd->sText);
  rd->sText = rebuilt;
  return true;
}

voValue VO_CALL GetTEXT(voHeader* header, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  return stringResult(rd, rd->sText ? rd->sText : kEmpty);
}

}  // namespace nimbo::text
