// Message boxes on Windows: no owner window, the information icon and an OK button.
#include <windows.h>

#include "platform/platform.h"

namespace nimbo::platform {

void messageBox(const Char* text, const Char* caption) {
  MessageBoxW(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace nimbo::platform
