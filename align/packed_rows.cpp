// Packed rows (LMS): the first object of a series is the anchor and keeps its place; the others are
// packed beside it on its Y, each separated from the previous one by the margin. Action 16 runs the row
// to the left and shows the TEXT's digits from the right, a right-aligned counter. The running slot is
// kept in alignChain from call to call.
#include <cassert>
#include <string>
#include <vector>

#include "align/messages.h"
#include "align/object_effects.h"
#include "align/routines.h"

namespace nimbo::align {

namespace {

constexpr int32_t kFirstDigitFrame = 1;  // forced frame of the digit 0

// A series is opened only when the type has instances to follow the anchor. With a single selected
// instance among several the entry outlives the series, and the next execution's first object follows it.
void openSeries(RUNDATA* rd, voObject* anchor, int32_t nextX) {
  assert(anchor->rHo.hoOiList);
  if (anchor->rHo.hoOiList->oilNObjects > 1) rd->alignChain.push_back({anchor, 1, nextX, anchor->rHo.hoY});
}

// The follower takes the entry's slot and counter; returns the counter after it was counted.
int32_t follow(voObject* object, AlignChainEntry& entry) {
  setValueA(object, entry.counter);
  entry.counter = add32(entry.counter, 1);
  return entry.counter;
}

void closeSeriesOnLastCall(RUNDATA* rd) {
  if (!loopAgain(rd)) std::vector<AlignChainEntry>().swap(rd->alignChain);
}

size_t textLength(const RUNDATA* rd) {
  return rd->sText ? std::char_traits<Char>::length(rd->sText) : 0;
}

// The frame of the k-th character of the TEXT from its end: the digit + 1. A position past the text, or
// a character that is not a digit 0-9, shows the digit 0.
int32_t digitFrame(const RUNDATA* rd, int32_t k) {
  size_t length = textLength(rd);
  if (k < 1 || static_cast<size_t>(k) > length) return kFirstDigitFrame;
  Char unit = rd->sText[length - static_cast<size_t>(k)];
  if (unit < NIMBO_TEXT('0') || unit > NIMBO_TEXT('9')) return kFirstDigitFrame;
  return unit - NIMBO_TEXT('0') + 1;
}

}  // namespace

int32_t VO_CALL AlignLeftLMS(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectAlignCaption);
  if (!object) return 0;
  int32_t margin = numberParameter(rd);
  faceRight(object);
  int32_t step = add32(width(object), margin);
  if (rd->alignChain.empty()) {
    openSeries(rd, object, add32(object->rHo.hoX, step));
    setValueA(object, 0);
    showFrame(object, 1);
    return 0;
  }
  AlignChainEntry& entry = rd->alignChain.front();
  showFrame(object, follow(object, entry));
  placeAt(object, entry.nextX, entry.rowY);
  entry.nextX = add32(entry.nextX, step);
  closeSeriesOnLastCall(rd);
  return 0;
}

// An empty TEXT leaves the anchor's frame unforced (0); its followers show the digit 0.
int32_t VO_CALL AlignRightLMSCounter(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectAlignCaption);
  if (!object) return 0;
  int32_t margin = numberParameter(rd);
  faceRight(object);
  int32_t step = add32(width(object), margin);
  if (rd->alignChain.empty()) {
    int32_t frame = textLength(rd) > 0 ? digitFrame(rd, 1) : 0;
    openSeries(rd, object, sub32(object->rHo.hoX, step));
    setValueA(object, 0);
    showFrame(object, frame);
    return 0;
  }
  AlignChainEntry& entry = rd->alignChain.front();
  showFrame(object, digitFrame(rd, follow(object, entry)));
  placeAt(object, entry.nextX, entry.rowY);
  entry.nextX = sub32(entry.nextX, step);
  closeSeriesOnLastCall(rd);
  return 0;
}

}  // namespace nimbo::align
