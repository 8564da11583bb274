// The application window, the task bar and the clipboard, as the window routines use them. The window
// is the host's main window handle; show commands and flags use the Windows values on every OS.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nimbo::platform {

struct Point {
  int32_t x, y;
};

struct WindowRect {
  int32_t left, top, right, bottom;
};

constexpr int kShowHide = 0;
constexpr int kShowMinimize = 6;
constexpr int kShowNoActivate = 8;  // SW_SHOWNA
constexpr int kShowRestore = 9;
constexpr uint32_t kMoveFlags = 0x21;  // SWP_NOSIZE | SWP_FRAMECHANGED

Point cursorPosition();
WindowRect windowRect(void* window);
// Places the window at the top of the Z order at (x, y) with `flags` as SetWindowPos takes them.
void setWindowPosition(void* window, int32_t x, int32_t y, uint32_t flags);
void setWindowCaption(void* window, const Char* caption);
void showWindow(void* window, int command);
bool isMaximized(void* window);
// Maximises through the window's system menu command, as a click on its button does.
void maximizeBySystemCommand(void* window);

// The task bar's window, or null when the desktop has none.
void* findTaskBar();
bool isWindowVisible(void* window);

uint32_t clipboardSequenceNumber();
bool clipboardHasText();

}  // namespace nimbo::platform
