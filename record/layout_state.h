// Running state of the arrangement actions, carried from one call of a series to the next. The host
// calls an arrangement action once per selected instance; only these fields link the calls. Held by
// RUNDATA, so in the floor; they keep align's namespace.
#pragma once

#include <cstdint>

namespace nimbo::align {

// The series of actions 15 and 16: at most one entry, opened by the first call of a series.
struct AlignChainEntry {
  void* opener;     // runtime record of the object that opened the series; stored, never read
  int32_t counter;  // objects placed in the series
  int32_t nextX;    // X of the next slot
  int32_t rowY;     // Y of the row
};
static_assert(sizeof(void*) != 4 || sizeof(AlignChainEntry) == 16, "the host's entries are 16 bytes");

// Shared by the grid and the pattern layouts: a field one action writes is seen by the next one that
// reads it, and nothing resets it between series but the first calls that write it.
struct LayoutState {
  int32_t originX = 0, originY = 0;     // 46: centre; 47: top from the text; 48, 50: the first object
  int32_t radius1 = 0, radius2 = 0;     // 46: horizontal and vertical radius
  float startAngle = 0, stepAngle = 0;  // 46: degrees
  int32_t edgeCount = 0;                // 48: elements of the top and bottom rows; 47: of the widest row
  int32_t middleCount = 0;              // 48: elements of the middle (widest) row
  int32_t offsetX = 0, offsetY = 0;     // 47, 48: extra gap between neighbours in a row, between rows
  uint8_t keepFrame = 0;                // 1: the pattern layouts leave the frames alone (read by 50 too)
  int32_t shape = 0;                    // 48: 0 rows run right, 1 centred, 2 run left
  int32_t rowsDone = 0;                 // 48: rows completed so far
  int32_t cursorX = 0, cursorY = 0;     // X of the next slot, Y of the current row (14: X only)
  int32_t rowLength = 0;                // elements in the current row
  int32_t rowFill = 0;                  // elements already placed in the current row
  uint8_t shrinking = 0;                // 47: past the widest row
  uint8_t narrowing = 0;                // 48: the rows get shorter

  // 50: the row matrix its text describes, kept from the series' first call for the others.
  int32_t rowElements = 0;
  int32_t rowOffset = 0;  // pixels the odd rows are shifted along the row direction
  int32_t matrixOffsetX = 0, matrixOffsetY = 0;
  uint8_t rightToLeft = 0;
  uint8_t bottomToTop = 0;
};

}  // namespace nimbo::align
