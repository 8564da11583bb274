// File-system names on Windows: the native form is UTF-16 already, so texts pass through unchanged.
#include "platform/platform.h"

namespace nimbo::platform {

std::filesystem::path nativePath(const Text& text) {
  return std::filesystem::path(text);
}

// Both separators end a component on Windows.
Text nameText(const std::filesystem::path& path) {
  const std::wstring& native = path.native();
  size_t separator = native.find_last_of(L"\\/");
  return separator == std::wstring::npos ? native : native.substr(separator + 1);
}

}  // namespace nimbo::platform
