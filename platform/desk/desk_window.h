// The simulated application window, task bar, cursor and clipboard of the desk: the extension's window
// services change them, and the host substitute drives (cursor, copies) and reads them.
#pragma once

#include <cstdint>

#include "platform/desk/desk.h"

namespace nimbo::desk {

enum class ShowState { normal, minimized, maximized };

struct WindowState {
  int32_t x = 0, y = 0, width = 0, height = 0;
  Text caption;
  ShowState show = ShowState::normal;
  bool taskBarVisible = true;
  int32_t cursorX = 0, cursorY = 0;
  uint32_t clipboardSequence = 0;  // raised by every copy, as the system's sequence number
  bool clipboardHasText = false;
};

// A fresh desktop whose application window is at (0, 0) with this size and caption.
NIMBO_DESK_API void openWindow(int32_t width, int32_t height, const Text& caption);
NIMBO_DESK_API WindowState windowState();

// Driven by the host substitute.
NIMBO_DESK_API void moveCursor(int32_t x, int32_t y);
NIMBO_DESK_API void copyText();
NIMBO_DESK_API void copyNonText();

// Called by the extension's window services.
NIMBO_DESK_API void moveWindow(int32_t x, int32_t y);
NIMBO_DESK_API void setCaption(const Text& caption);
NIMBO_DESK_API void setShowState(ShowState show);
NIMBO_DESK_API void setTaskBarVisible(bool visible);

}  // namespace nimbo::desk
