// Auto position: the application window follows the cursor, moved by the cursor's travel since the
// drag origin on every call of action 1.
#include "platform/window.h"
#include "window/routines.h"

namespace nimbo::window {

namespace {
void* mainWindow(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rhMainWindow;
}
}  // namespace

int32_t VO_CALL SetAutoPosition(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  platform::Point cursor = platform::cursorPosition();
  platform::WindowRect rect = platform::windowRect(mainWindow(rd));
  platform::setWindowPosition(mainWindow(rd), rect.left + (cursor.x - rd->dragOriginX),
                              rect.top + (cursor.y - rd->dragOriginY), platform::kMoveFlags);
  rd->dragOriginX = cursor.x;
  rd->dragOriginY = cursor.y;
  return 0;
}

int32_t VO_CALL EndAutoPositionMode(voHeader* header, voValue, voValue) {
  runData(header)->autoPositionFlag = 0;
  return 0;
}

int32_t VO_CALL StartAutoPositionMode(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  platform::Point cursor = platform::cursorPosition();
  rd->dragOriginX = cursor.x;
  rd->dragOriginY = cursor.y;
  rd->autoPositionFlag = 1;
  return 0;
}

int32_t VO_CALL AutoPositionMode(voHeader* header, voValue, voValue) {
  return runData(header)->autoPositionFlag;
}

}  // namespace nimbo::window
