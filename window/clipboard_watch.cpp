// The clipboard watch: a cheap countdown skips most evaluations, and a check reports a new sequence
// number once, true only when the new content is text.
#include "platform/window.h"
#include "window/routines.h"

namespace nimbo::window {

namespace {
constexpr int32_t kRateDivisor = 10;  // the countdown is the frame rate divided by this
}

int32_t VO_CALL DetectClipboardChange(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  if (rd->clipboardCountdown != 0) {
    --rd->clipboardCountdown;
    return 0;
  }
  bool textCopied = false;
  uint32_t sequence = platform::clipboardSequenceNumber();
  if (sequence != rd->clipboardSequence) {
    rd->clipboardSequence = sequence;
    textCopied = platform::clipboardHasText();
  }
  rd->clipboardCountdown = rd->rHo.hoAdRunHeader->rhApp->frameRate / kRateDivisor;
  return textCopied ? 1 : 0;
}

}  // namespace nimbo::window
