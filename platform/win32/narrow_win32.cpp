// Narrow texts on Windows: message boxes through the ANSI entry, descriptions from the OEM code page.
#include <windows.h>

#include "platform/platform.h"

namespace nimbo::platform {

void messageBoxNarrow(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

int oemToText(const char* narrow, Char* buffer, int units) {
  if (units <= 0) return 0;
  int written = MultiByteToWideChar(CP_OEMCP, MB_PRECOMPOSED, narrow, -1, buffer, units);
  if (written == 0) buffer[0] = 0;
  return written;
}

}  // namespace nimbo::platform
