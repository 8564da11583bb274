// State of the simulated application window, task bar, cursor and clipboard, shared by the extension
// and the host substitute.
#include "platform/desk/desk_window.h"

namespace nimbo::desk {

namespace {
WindowState& state() {
  static WindowState desk;
  return desk;
}
}  // namespace

void openWindow(int32_t width, int32_t height, const Text& caption) {
  state() = WindowState{};
  state().width = width;
  state().height = height;
  state().caption = caption;
}

WindowState windowState() {
  return state();
}

void moveCursor(int32_t x, int32_t y) {
  state().cursorX = x;
  state().cursorY = y;
}

void copyText() {
  ++state().clipboardSequence;
  state().clipboardHasText = true;
}

void copyNonText() {
  ++state().clipboardSequence;
  state().clipboardHasText = false;
}

void moveWindow(int32_t x, int32_t y) {
  state().x = x;
  state().y = y;
}

void setCaption(const Text& caption) {
  state().caption = caption;
}

void setShowState(ShowState show) {
  state().show = show;
}

void setTaskBarVisible(bool visible) {
  state().taskBarVisible = visible;
}

}  // namespace nimbo::desk
