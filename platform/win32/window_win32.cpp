// The application window, the task bar and the clipboard through USER32.
#include <windows.h>

#include "platform/window.h"

namespace nimbo::platform {

namespace {
HWND hwnd(void* window) {
  return static_cast<HWND>(window);
}
}  // namespace

Point cursorPosition() {
  POINT point = {};
  GetCursorPos(&point);
  return {point.x, point.y};
}

WindowRect windowRect(void* window) {
  RECT rect = {};
  GetWindowRect(hwnd(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void setWindowPosition(void* window, int32_t x, int32_t y, uint32_t flags) {
  SetWindowPos(hwnd(window), nullptr, x, y, 0, 0, flags);
}

void setWindowCaption(void* window, const Char* caption) {
  SetWindowTextW(hwnd(window), caption);
}

void showWindow(void* window, int command) {
  ShowWindow(hwnd(window), command);
}

bool isMaximized(void* window) {
  return IsZoomed(hwnd(window)) != FALSE;
}

void maximizeBySystemCommand(void* window) {
  SendMessageW(hwnd(window), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void* findTaskBar() {
  return FindWindowW(L"Shell_TrayWnd", nullptr);
}

bool isWindowVisible(void* window) {
  return IsWindowVisible(hwnd(window)) != FALSE;
}

uint32_t clipboardSequenceNumber() {
  return GetClipboardSequenceNumber();
}

bool clipboardHasText() {
  return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

}  // namespace nimbo::platform
