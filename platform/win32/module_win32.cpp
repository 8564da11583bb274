// The module handle kept at process attach, and the module's strings loaded through it.
#include <windows.h>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {
HINSTANCE moduleHandle = nullptr;
}

void setModuleHandle(void* module) {
  moduleHandle = static_cast<HINSTANCE>(module);
}

// Code linked into a program rather than the DLL (the unit tests) reads the program's own resources.
HINSTANCE currentModule() {
  return moduleHandle ? moduleHandle : GetModuleHandleW(nullptr);
}

int loadString(unsigned id, Char* buffer, int maximum) {
  if (maximum <= 0) return 0;
  int length = LoadStringW(currentModule(), id, buffer, maximum);
  if (length <= 0) {
    buffer[0] = 0;
    return 0;
  }
  return length;
}

}  // namespace nimbo::platform

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) nimbo::platform::setModuleHandle(module);
  return TRUE;
}
