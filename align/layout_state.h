// Running state of the arrangement actions, carried from one call of a series to the next.
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

// Shared by the grid and the pattern layouts; a field one action writes is seen by another.
struct LayoutState {
  int32_t originX = 0, originY = 0;
  int32_t radius1 = 0, radius2 = 0;
  float startAngle = 0, stepAngle = 0;
  int32_t edgeCount = 0;
  int32_t middleCount = 0;
  int32_t offsetX = 0, offsetY = 0;
  uint8_t keepFrame = 0;
  int32_t shape = 0;
  int32_t rowsDone = 0;
  int32_t cursorX = 0, cursorY = 0;
  int32_t rowLength = 0;
  int32_t rowFill = 0;
  uint8_t shrinking = 0;
  uint8_t narrowing = 0;
};

}  // namespace nimbo::align
