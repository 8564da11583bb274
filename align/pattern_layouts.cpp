// The layouts whose figure comes from a numeric parameter string: semi-circle (46), rhombus (47),
// trapezoid (48) and row matrix offset (50). The text is read on the first call of a series only; the
// figure goes from call to call in layoutState, which these actions share with one another and with the
// grid. The rhombus and trapezoid row rules are kept exactly as games have always seen them, their
// uneven spacings included. docs/layouts.md draws every figure.
#include <cassert>
#include <cmath>
#include <numbers>
#include <optional>

#include "align/arrangement.h"
#include "align/messages.h"
#include "align/routines.h"
#include "params/param_strings.h"

namespace nimbo::align {

namespace {

constexpr float kDegreesPerDirection = 11.25f;  // 32 directions to the turn
constexpr int32_t kDirectionCount = 32;
constexpr float kStraightUpDegrees = 270.0f;  // on the screen, clockwise from the right
constexpr int32_t kLeftwardShape = 2, kCentredShape = 1;

// The common ending of 47, 48 and 50.
void tail(voObject* object, const LayoutState& layout, int32_t i, int32_t x, int32_t y) {
  if (layout.keepFrame != 1) showFrame(object, add32(i, 1));
  writeValue(object, kValueA, i);
  placeAt(object, x, y);
}

struct Spot {
  int32_t x, y;
};

// Where a figure puts the first object of a series, after reading its numbers; nothing ends the call.
using StartFigure = std::optional<Spot> (*)(LayoutState&, const params::ParamNumbers&, const voObject*);
// Where it puts object i > 0, the figure going on from the previous call.
using NextInFigure = Spot (*)(LayoutState&, int32_t i, const voObject*);

// The course of 47, 48 and 50: the text is read on the first call of a series only, and every placed
// object ends in the tail.
int32_t arrangeInFigure(voHeader* header, const params::ParamStringUse& use, StartFigure start,
                        NextInFigure next) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectControlCaption);
  if (!object) return 0;
  int32_t i = actionLoopIndex(rd);
  LayoutState& layout = rd->layoutState;
  std::optional<Spot> spot;
  if (i != 0) {
    spot = next(layout, i, object);
  } else if (auto numbers = params::readParamString(textParameter(rd), use)) {
    spot = start(layout, *numbers, object);
  }
  if (spot) tail(object, layout, i, spot->x, spot->y);
  return 0;
}

// The direction facing away from the centre at screen angle `degrees` (clockwise), which points at
// 360 − degrees anticlockwise. Angles beyond one turn either way fold into it, and a value that rounds
// up to a whole turn is direction 0, so the host always gets one of its 32 directions.
int32_t directionAwayFromCentre(float degrees) {
  float anticlockwise = std::fmod(360.0f - degrees, 360.0f);
  if (anticlockwise < 0) anticlockwise += 360.0f;
  return truncateTowardZero(anticlockwise / kDegreesPerDirection) % kDirectionCount;
}

void storeSemiCircle(LayoutState& layout, const params::ParamNumbers& numbers) {
  layout.originX = numbers.integers[0];
  layout.originY = numbers.integers[1];
  layout.radius1 = numbers.integers[2];
  layout.radius2 = numbers.integers[3];
  layout.startAngle = numbers.decimals[0];
  layout.stepAngle = numbers.decimals[1];
}

// Rhombus: rows of 1, 2, ..., N, N − 1, ..., 1 objects under the top position.

void storeRhombus(LayoutState& layout, const params::ParamNumbers& numbers) {
  layout.originX = numbers.integers[0];
  layout.originY = numbers.integers[1];
  layout.edgeCount = numbers.integers[2];
  layout.offsetX = numbers.integers[3];
  layout.offsetY = numbers.integers[4];
  layout.keepFrame = numbers.integers[5] == 1 ? 1 : 0;
}

int32_t halfStep(const voObject* object, const LayoutState& layout) {
  return add32(width(object), layout.offsetX) >> 1;
}

void startRow(LayoutState& layout, int32_t x, int32_t previousRowY, const voObject* object) {
  layout.cursorX = x;
  layout.cursorY = add32(add32(previousRowY, height(object)), layout.offsetY);
  layout.rowFill = 0;
}

// A narrowing row starts at originX − ((w + offsetX)÷2) × (new length − 1); the length counts down.
void startNarrowerRhombusRow(LayoutState& layout, int32_t y, const voObject* object) {
  startRow(layout, sub32(layout.originX, mul32(halfStep(object, layout), sub32(layout.rowLength, 2))), y,
           object);
  layout.rowLength = sub32(layout.rowLength, 1);
}

// Until the widest row (N) is full, each full row opens one longer, starting at
// originX − (w÷2) × (new length − 1) − offsetX.
void widenRhombus(LayoutState& layout, int32_t y, const voObject* object) {
  int32_t step = add32(width(object), layout.offsetX);
  if (layout.rowFill != layout.rowLength) {
    layout.cursorX = add32(layout.cursorX, step);
  } else if (layout.rowLength == layout.edgeCount) {
    layout.shrinking = 1;
    startNarrowerRhombusRow(layout, y, object);
  } else {
    startRow(layout,
             sub32(sub32(layout.originX, mul32(width(object) >> 1, layout.rowLength)), layout.offsetX), y,
             object);
    layout.rowLength = add32(layout.rowLength, 1);
  }
}

// Past the widest row; the object at index N × N − 1 closes the figure at originX, and any further
// objects continue its row to the right. Returns the X of the current object.
int32_t narrowRhombus(LayoutState& layout, int32_t i, int32_t x, int32_t y, const voObject* object) {
  int32_t step = add32(width(object), layout.offsetX);
  int32_t last = sub32(mul32(layout.edgeCount, layout.edgeCount), 1);
  if (i == last) {
    layout.cursorX = add32(layout.originX, step);
    return layout.originX;
  }
  if (i < last && layout.rowFill == layout.rowLength) {
    startNarrowerRhombusRow(layout, y, object);
  } else {
    layout.cursorX = add32(layout.cursorX, step);
  }
  return x;
}

std::optional<Spot> startRhombus(LayoutState& layout, const params::ParamNumbers& numbers,
                                 const voObject* object) {
  storeRhombus(layout, numbers);
  layout.rowLength = 2;
  layout.shrinking = 0;
  startRow(layout, sub32(layout.originX, halfStep(object, layout)), layout.originY, object);
  return Spot{layout.originX, layout.originY};
}

Spot nextInRhombus(LayoutState& layout, int32_t i, const voObject* object) {
  Spot spot{layout.cursorX, layout.cursorY};
  layout.rowFill = add32(layout.rowFill, 1);
  if (!layout.shrinking) {
    widenRhombus(layout, spot.y, object);
  } else {
    spot.x = narrowRhombus(layout, i, spot.x, spot.y, object);
  }
  return spot;
}

// Trapezoid: bands of rows P1, P1 + 1, ..., P2, P2 − 1, ..., P1, P1 + 1, ... (P1 = edgeCount,
// P2 = middleCount) for as many objects as there are.

void storeTrapezoidRest(LayoutState& layout, const params::ParamNumbers& numbers) {
  layout.offsetX = numbers.integers[2];
  layout.offsetY = numbers.integers[3];
  layout.shape = numbers.integers[4];
  layout.keepFrame = numbers.integers[5] == 1 ? 1 : 0;
  layout.rowLength = layout.edgeCount;
  layout.rowFill = 0;
  layout.rowsDone = 0;
  layout.narrowing = 0;
}

// Shape 0 starts every row at originX, running right; 1 centres the rows; 2 starts them at originX,
// running left.
void changeTrapezoidRow(LayoutState& layout, const voObject* object) {
  if (!layout.narrowing) {
    layout.narrowing = layout.rowFill == layout.middleCount ? 1 : 0;
    layout.rowLength = layout.narrowing ? sub32(layout.rowLength, 1) : add32(layout.rowLength, 1);
  } else if (layout.rowFill == layout.edgeCount) {
    layout.narrowing = 0;
    layout.rowLength = add32(layout.rowLength, 1);
  } else {
    layout.rowLength = sub32(layout.rowLength, 1);
  }
  layout.cursorX = layout.originX;
  if (layout.shape == kCentredShape) {
    int32_t shift = add32(width(object) >> 1, layout.offsetX);
    layout.cursorX = sub32(layout.originX, mul32(shift, sub32(layout.rowLength, layout.edgeCount)));
  }
  layout.cursorY = add32(add32(layout.cursorY, height(object)), layout.offsetY);
  layout.rowsDone = add32(layout.rowsDone, 1);
  layout.rowFill = 0;
}

// With a one-element top row the second object of every row stands one offsetX further out.
void stepTrapezoid(LayoutState& layout, const voObject* object) {
  int32_t step = add32(width(object), layout.offsetX);
  if (layout.rowFill >= 1) {
    if (layout.shape == kLeftwardShape) {
      layout.cursorX = sub32(layout.cursorX, step);
    } else if (layout.rowFill == 1 && layout.edgeCount == 1) {
      layout.cursorX = add32(layout.cursorX, add32(step, layout.offsetX));
    } else {
      layout.cursorX = add32(layout.cursorX, step);
    }
  }
  layout.rowFill = add32(layout.rowFill, 1);
}

std::optional<Spot> startTrapezoid(LayoutState& layout, const params::ParamNumbers& numbers,
                                   const voObject* object) {
  layout.originX = layout.cursorX = object->rHo.hoX;
  layout.originY = layout.cursorY = object->rHo.hoY;
  layout.edgeCount = numbers.integers[0];
  layout.middleCount = numbers.integers[1];
  if (layout.edgeCount < 1 || layout.edgeCount > layout.middleCount) return std::nullopt;
  storeTrapezoidRest(layout, numbers);
  if (layout.edgeCount == 1) {
    changeTrapezoidRow(layout, object);
  } else {
    layout.rowFill = 1;
  }
  return Spot{object->rHo.hoX, object->rHo.hoY};
}

Spot nextInTrapezoid(LayoutState& layout, int32_t, const voObject* object) {
  stepTrapezoid(layout, object);
  Spot spot{layout.cursorX, layout.cursorY};
  if (layout.rowFill == layout.rowLength) changeTrapezoidRow(layout, object);
  return spot;
}

// Row matrix offset: rows of rowElements objects; the odd rows are shifted by rowOffset along the row,
// as bricks in a wall. Rows run right (or left) from the first object and follow one another downward
// (or upward).

void storeRowMatrix(LayoutState& layout, const params::ParamNumbers& numbers) {
  layout.rowElements = numbers.integers[0];
  layout.rowOffset = numbers.integers[1];
  layout.matrixOffsetX = numbers.integers[2];
  layout.matrixOffsetY = numbers.integers[3];
  layout.rightToLeft = numbers.integers[4] == 1 ? 1 : 0;
  layout.bottomToTop = numbers.integers[5] == 1 ? 1 : 0;
}

std::optional<Spot> startRowMatrix(LayoutState& layout, const params::ParamNumbers& numbers,
                                   const voObject* object) {
  layout.originX = object->rHo.hoX;
  layout.originY = object->rHo.hoY;
  layout.rowLength = 2;
  layout.rowFill = 0;
  layout.shrinking = 0;
  storeRowMatrix(layout, numbers);
  return Spot{object->rHo.hoX, object->rHo.hoY};
}

Spot nextInRowMatrix(LayoutState& layout, int32_t i, const voObject* object) {
  int32_t elements = layout.rowElements < 1 ? 1 : layout.rowElements;
  int32_t row = i / elements;
  int32_t column = i % elements;
  int32_t along = mul32(column, add32(width(object), layout.matrixOffsetX));
  if (row % 2 != 0) along = add32(along, layout.rowOffset);
  int32_t across = mul32(row, add32(height(object), layout.matrixOffsetY));
  return {layout.rightToLeft ? sub32(layout.originX, along) : add32(layout.originX, along),
          layout.bottomToTop ? sub32(layout.originY, across) : add32(layout.originY, across)};
}

}  // namespace

// Objects on an arc of an ellipse, each facing away from its centre. With a start angle of 0 the first
// object stands on top and the others follow clockwise, stepAngle degrees apart.
int32_t VO_CALL AlignSemiCircle(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = arrangedObject(rd, kObjectControlCaption);
  if (!object) return 0;
  int32_t i = actionLoopIndex(rd);
  writeValue(object, kValueA, i);
  LayoutState& layout = rd->layoutState;
  if (i == 0) {
    auto numbers = params::readParamString(textParameter(rd), params::kSemiCircleParams);
    if (!numbers) return 0;
    storeSemiCircle(layout, *numbers);
  }
  float degrees = (layout.startAngle + kStraightUpDegrees) + static_cast<float>(i) * layout.stepAngle;
  showDirection(object, directionAwayFromCentre(degrees));
  auto radians = static_cast<float>(static_cast<double>(degrees) * std::numbers::pi / 180.0);
  placeOnEllipse(object, radians, layout.originX, layout.originY, layout.radius1, layout.radius2);
  return 0;
}

int32_t VO_CALL Grid_Rhombus_TBLR(voHeader* header, voValue, voValue) {
  return arrangeInFigure(header, params::kRhombusParams, startRhombus, nextInRhombus);
}

// The first object does not move: it is the left end of the top row. Top and bottom rows outside
// 1..middle row end the first call silently, origin and counts already stored.
int32_t VO_CALL LMS_Grid_Trapezoid_LRTB(voHeader* header, voValue, voValue) {
  return arrangeInFigure(header, params::kTrapezoidParams, startTrapezoid, nextInTrapezoid);
}

// The animation option of 47 and 48 stays in force here: this text has none of its own.
int32_t VO_CALL LMS_Grid_ROWS_OFST_LRTB(voHeader* header, voValue, voValue) {
  return arrangeInFigure(header, params::kRowMatrixOffsetParams, startRowMatrix, nextInRowMatrix);
}

}  // namespace nimbo::align
