// The window services on the simulated desktop. It has one application window (whatever handle the
// host gives) and one task bar, told apart by the handle findTaskBar returns.
#include "platform/desk/desk_window.h"
#include "platform/window.h"

namespace nimbo::platform {

namespace {
int taskBarToken;
void* const kTaskBar = &taskBarToken;

void showTaskBar(int command) {
  desk::setTaskBarVisible(command != kShowHide);
}

void showMainWindow(int command) {
  if (command == kShowMinimize) desk::setShowState(desk::ShowState::minimized);
  if (command == kShowRestore) desk::setShowState(desk::ShowState::normal);
}
}  // namespace

Point cursorPosition() {
  desk::WindowState desk = desk::windowState();
  return {desk.cursorX, desk.cursorY};
}

WindowRect windowRect(void*) {
  desk::WindowState desk = desk::windowState();
  return {desk.x, desk.y, desk.x + desk.width, desk.y + desk.height};
}

void setWindowPosition(void*, int32_t x, int32_t y, uint32_t) {
  desk::moveWindow(x, y);
}

void setWindowCaption(void*, const Char* caption) {
  desk::setCaption(caption ? Text(caption) : Text());
}

void showWindow(void* window, int command) {
  if (window == kTaskBar) {
    showTaskBar(command);
  } else {
    showMainWindow(command);
  }
}

bool isMaximized(void*) {
  return desk::windowState().show == desk::ShowState::maximized;
}

void maximizeBySystemCommand(void*) {
  desk::setShowState(desk::ShowState::maximized);
}

void* findTaskBar() {
  return kTaskBar;
}

bool isWindowVisible(void* window) {
  desk::WindowState desk = desk::windowState();
  return window == kTaskBar ? desk.taskBarVisible : desk.show != desk::ShowState::minimized;
}

uint32_t clipboardSequenceNumber() {
  return desk::windowState().clipboardSequence;
}

bool clipboardHasText() {
  return desk::windowState().clipboardHasText;
}

}  // namespace nimbo::platform
