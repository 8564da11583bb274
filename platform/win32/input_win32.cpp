// The input services on Windows: the asynchronous key state, and a look into the thread's queue that
// neither waits nor removes the message, so the host still handles it exactly once.
#include <windows.h>

#include "platform/input.h"

namespace nimbo::platform {

bool keyDown(int virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool doubleClickPending() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_LBUTTONDBLCLK, WM_LBUTTONDBLCLK, PM_NOREMOVE | PM_NOYIELD) != 0;
}

}  // namespace nimbo::platform
