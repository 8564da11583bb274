// The main window's caption and show state, and the task bar, set by the game.
#include "platform/window.h"
#include "window/routines.h"

namespace nimbo::window {

namespace {

enum Command : int32_t { kMinimize = 0, kMaximizeOrRestore = 1, kToggleTaskBar = 2 };

void maximizeOrRestore(void* window) {
  if (platform::isMaximized(window)) {
    platform::showWindow(window, platform::kShowRestore);
  } else {
    platform::maximizeBySystemCommand(window);
  }
}

// A missing task bar is left alone.
void toggleTaskBar(void* window) {
  void* taskBar = platform::findTaskBar();
  if (!taskBar) return;
  if (platform::isWindowVisible(taskBar)) {
    platform::showWindow(taskBar, platform::kShowHide);
  } else {
    platform::showWindow(taskBar,
                         platform::isMaximized(window) ? platform::kShowRestore : platform::kShowNoActivate);
  }
}

}  // namespace

int32_t VO_CALL SetWindowTitleBarCaption(voHeader* header, voValue caption, voValue) {
  platform::setWindowCaption(header->hoAdRunHeader->rhMainWindow, reinterpret_cast<const Char*>(caption));
  return 0;
}

int32_t VO_CALL WindowControl(voHeader* header, voValue command, voValue) {
  void* window = header->hoAdRunHeader->rhMainWindow;
  switch (static_cast<int32_t>(command)) {
    case kMinimize:
      platform::showWindow(window, platform::kShowMinimize);
      break;
    case kMaximizeOrRestore:
      maximizeOrRestore(window);
      break;
    case kToggleTaskBar:
      toggleTaskBar(window);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace nimbo::window
