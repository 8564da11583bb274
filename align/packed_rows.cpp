// Packed rows (LMS): the first object of a series is the anchor and keeps its place; the others are
// packed beside it on its Y, each separated from the previous one by the margin. Action 16 runs the row
// to the left and shows the TEXT's digits from the right, a right-aligned counter. The running slot is
// kept in alignChain from call to call.
#include <cassert>
#include <string>
#include <vector>

#include "align/arrangement.h"
#include "align/messages.h"
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
  writeValue(object, kValueA, entry.counter);
  entry.counter = add32(entry.counter, 1);
  return entry.counter;
}

void closeSeriesOnLastCall(RUNDATA* rd) {
  if (!actionLoopAgain(rd)) std::vector<AlignChainEntry>().swap(rd->alignChain);
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

// What sets 15 and 16 apart: the way the row runs, and the frames its objects show.
struct RowRule {
  bool leftward;
  int32_t (*anchorFrame)(const RUNDATA*);
  int32_t (*followerFrame)(const RUNDATA*, int32_t counted);
};

int32_t beside(int32_t x, int32_t step, bool leftward) {
  return leftward ? sub32(x, step) : add32(x, step);
}

int32_t packRow(voHeader* header, const RowRule& rule) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectAlignCaption);
  if (!object) return 0;
  int32_t margin = numberParameter(rd);
  faceRight(object);
  int32_t step = add32(width(object), margin);
  if (rd->alignChain.empty()) {
    openSeries(rd, object, beside(object->rHo.hoX, step, rule.leftward));
    writeValue(object, kValueA, 0);
    showFrame(object, rule.anchorFrame(rd));
    return 0;
  }
  AlignChainEntry& entry = rd->alignChain.front();
  showFrame(object, rule.followerFrame(rd, follow(object, entry)));
  placeAt(object, entry.nextX, entry.rowY);
  entry.nextX = beside(entry.nextX, step, rule.leftward);
  closeSeriesOnLastCall(rd);
  return 0;
}

// Action 15 numbers its objects' frames 1, 2, 3, ...
constexpr RowRule kNumberedRow{false, [](const RUNDATA*) { return 1; },
                               [](const RUNDATA*, int32_t counted) { return counted; }};

// Action 16: an empty TEXT leaves the anchor's frame unforced (0); its followers show the digit 0.
constexpr RowRule kCounterRow{
    true, [](const RUNDATA* rd) { return textLength(rd) > 0 ? digitFrame(rd, 1) : 0; }, digitFrame};

}  // namespace

int32_t VO_CALL AlignLeftLMS(voHeader* header, voValue, voValue) {
  return packRow(header, kNumberedRow);
}

int32_t VO_CALL AlignRightLMSCounter(voHeader* header, voValue, voValue) {
  return packRow(header, kCounterRow);
}

}  // namespace nimbo::align
