// The module's strings on the desk backend, served from the resource data compiled in.
#include <algorithm>

#include "platform/platform.h"
#include "resources/resources.h"

namespace nimbo::platform {

void setModuleHandle(void*) {}

int loadString(unsigned id, Char* buffer, int maximum) {
  if (maximum <= 0) return 0;
  const char16_t* text = id <= 0xFFFF ? resources::findString(static_cast<uint16_t>(id)) : nullptr;
  int length = 0;
  if (text) {
    while (text[length] && length < maximum - 1) {
      buffer[length] = static_cast<Char>(text[length]);
      ++length;
    }
  }
  buffer[length] = 0;
  return length;
}

}  // namespace nimbo::platform
