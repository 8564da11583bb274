// The layouts that place each object from its action-loop index alone: zigzag row, column, circle and
// grid, and action 10, which reads its parameters and places nothing. Widths and heights are those of
// the object being placed, so objects of different sizes keep their own spacing.
#include <algorithm>
#include <cassert>
#include <numbers>
#include <optional>

#include "align/arrangement.h"
#include "align/messages.h"
#include "align/routines.h"

namespace nimbo::align {

// The action's menu entry has always been disabled and no layout was ever defined for it: objects it
// names keep their places, so a game made with it plays as it did.
int32_t VO_CALL AlignConnect2Points(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  if (!arrangedObject(rd, kObjectControlCaption)) return 0;
  for (int parameter = 0; parameter < 5; ++parameter) numberParameter(rd);
  return 0;
}

namespace {

// The start the row and the column share: their three numbers, and the object numbered and shown at
// the frame of its place in the loop.
struct LineStep {
  voObject* object;
  int32_t x, y, margin, i;
};

std::optional<LineStep> lineStep(RUNDATA* rd) {
  voObject* object = arrangedObject(rd, kObjectControlCaption);
  if (!object) return std::nullopt;
  int32_t x = numberParameter(rd);
  int32_t y = numberParameter(rd);
  int32_t margin = numberParameter(rd);
  int32_t i = actionLoopIndex(rd);
  writeValue(object, kValueA, i);
  showFrame(object, add32(i, 1));
  return LineStep{object, x, y, margin, i};
}

}  // namespace

// Odd-indexed objects stand one object height above the even ones; the row runs to the right.
int32_t VO_CALL AlignZigZag(voHeader* header, voValue, voValue) {
  assert(header);
  std::optional<LineStep> step = lineStep(runData(header));
  if (!step) return 0;
  voObject* object = step->object;
  int32_t lift = step->i % 2 != 0 ? height(object) : 0;
  placeAt(object, add32(step->x, mul32(add32(width(object), step->margin), step->i)), sub32(step->y, lift));
  return 0;
}

int32_t VO_CALL AlignVertical(voHeader* header, voValue, voValue) {
  assert(header);
  std::optional<LineStep> step = lineStep(runData(header));
  if (!step) return 0;
  placeAt(step->object, step->x, add32(step->y, mul32(add32(height(step->object), step->margin), step->i)));
  return 0;
}

// The circle is split by every instance of the type in the frame, selected or not: the first object
// stands straight above the centre (an angle of 3π/2, Y growing downward) and the others follow
// clockwise. The angle is reckoned in double precision, the place in single precision.
int32_t VO_CALL AlignCircle(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectControlCaption);
  if (!object) return 0;
  int32_t centreX = numberParameter(rd);
  int32_t centreY = numberParameter(rd);
  int32_t radius = numberParameter(rd);
  int32_t i = actionLoopIndex(rd);
  writeValue(object, kValueA, i);
  assert(object->rHo.hoOiList);
  // The object placed is one of the instances: a count below one is the host's slip, not a zero to divide by.
  int32_t n = std::max(object->rHo.hoOiList->oilNObjects, 1);
  auto angle = static_cast<float>((360.0 / n * i + 270.0) * std::numbers::pi / 180.0);
  placeOnEllipse(object, angle, centreX, centreY, radius, radius);
  return 0;
}

// Rows of `columns` objects, left to right, top to bottom; within a row each object is spaced by its own
// width, kept in the running cursor X. No columns at all reads as a single column.
int32_t VO_CALL AlignGrid(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectControlCaption);
  if (!object) return 0;
  int32_t x = numberParameter(rd);
  int32_t y = numberParameter(rd);
  int32_t columns = numberParameter(rd);
  int32_t marginX = numberParameter(rd);
  int32_t marginY = numberParameter(rd);
  int32_t i = actionLoopIndex(rd);
  writeValue(object, kValueA, i);
  faceRight(object);
  showFrame(object, add32(i, 1));
  if (columns == 0) columns = 1;
  auto row = static_cast<int32_t>(int64_t{i} / columns);
  int32_t column = sub32(i, mul32(row, columns));
  LayoutState& layout = rd->layoutState;
  if (i == 0 || column == 0) layout.cursorX = x;
  placeAt(object, layout.cursorX, add32(y, mul32(add32(height(object), marginY), row)));
  layout.cursorX = add32(layout.cursorX, add32(width(object), marginX));
  return 0;
}

}  // namespace nimbo::align
