// Narrow texts on the desk backend: decoded from the C library's narrow encoding.
#include <uchar.h>  // <cuchar> is missing from the browser build's standard library
#include <cwchar>
#include <new>

#include "platform/desk/desk.h"
#include "platform/platform.h"

namespace nimbo::platform {

namespace {

// An undecodable byte becomes U+FFFD, so a description never loses the rest of its text.
Text decodeNarrow(const char* narrow) {
  Text text;
  std::mbstate_t state{};
  const char* end = narrow + std::char_traits<char>::length(narrow);
  while (narrow < end) {
    char16_t unit = 0;
    size_t used = mbrtoc16(&unit, narrow, static_cast<size_t>(end - narrow), &state);
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
      text.push_back(static_cast<Char>(0xFFFD));
      state = {};
      ++narrow;
      continue;
    }
    if (used != static_cast<size_t>(-3)) narrow += used == 0 ? 1 : used;
    text.push_back(static_cast<Char>(unit));
  }
  return text;
}

}  // namespace

// Like the system calls they stand for, these fail without throwing when memory runs out: the box is
// not shown, the conversion gives the empty text and 0. The extension calls them from its handlers.
void messageBoxNarrow(const char* text, const char* caption) {
  try {
    desk::showMessageBox(decodeNarrow(text).c_str(), decodeNarrow(caption).c_str());
  } catch (const std::bad_alloc&) {
  }
}

int oemToText(const char* narrow, Char* buffer, int units) {
  if (units <= 0) return 0;
  try {
    Text text = decodeNarrow(narrow);
    size_t length = std::min(text.size(), static_cast<size_t>(units - 1));
    text.copy(buffer, length);
    buffer[length] = 0;
    return static_cast<int>(length + 1);
  } catch (const std::bad_alloc&) {
    buffer[0] = 0;
    return 0;
  }
}

}  // namespace nimbo::platform
