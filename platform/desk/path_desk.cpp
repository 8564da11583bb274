// File-system names on the desk backend: UTF-8 on disk, with surrogate escapes for bytes that are not
// valid UTF-8, so a name read from a directory converts back to exactly the same bytes.
#include <string>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kEscapeBase = 0xDC00;

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The code point of the well-formed sequence at `at`, with its length in `used`; 0 in `used` when the
// bytes there are not well-formed UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
char32_t decodeOne(const std::string& bytes, size_t at, size_t& used) {
  used = 0;
  auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) {
    used = 1;
    return lead;
  }
  size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  char32_t point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    auto byte = static_cast<unsigned char>(bytes[at + i]);
    if (!isContinuation(byte)) return 0;
    point = (point << 6) | (byte & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  bool surrogate = point >= 0xD800 && point <= 0xDFFF;
  if (point < kSmallest[length] || surrogate || point > 0x10FFFF) return 0;
  used = length;
  return point;
}

void appendUnits(Text& text, char32_t point) {
  if (point < 0x10000) {
    text.push_back(static_cast<Char>(point));
  } else {
    point -= 0x10000;
    text.push_back(static_cast<Char>(0xD800 + (point >> 10)));
    text.push_back(static_cast<Char>(0xDC00 + (point & 0x3FF)));
  }
}

void appendUtf8(std::string& bytes, char32_t point) {
  if (point < 0x80) {
    bytes.push_back(static_cast<char>(point));
  } else if (point < 0x800) {
    bytes.push_back(static_cast<char>(0xC0 | (point >> 6)));
    bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
  } else if (point < 0x10000) {
    bytes.push_back(static_cast<char>(0xE0 | (point >> 12)));
    bytes.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
  } else {
    bytes.push_back(static_cast<char>(0xF0 | (point >> 18)));
    bytes.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
    bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
  }
}

bool isHigh(Char unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLow(Char unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Only bytes 0x80..0xFF are ever escaped: an escape below them would smuggle in a separator.
bool isByteEscape(Char unit) {
  return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

}  // namespace

std::filesystem::path nativePath(const Text& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    Char unit = text[i];
    if (isHigh(unit) && i + 1 < text.size() && isLow(text[i + 1])) {
      appendUtf8(bytes, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[++i]} - 0xDC00));
    } else if (isByteEscape(unit)) {
      bytes.push_back(static_cast<char>(unit - kEscapeBase));
    } else {
      appendUtf8(bytes, isHigh(unit) || isLow(unit) ? kReplacement : char32_t{unit});
    }
  }
  return std::filesystem::path(std::move(bytes));
}

Text nameText(const std::filesystem::path& path) {
  const std::string& native = path.native();
  size_t separator = native.rfind('/');
  size_t at = separator == std::string::npos ? 0 : separator + 1;
  Text text;
  text.reserve(native.size() - at);
  while (at < native.size()) {
    size_t used = 0;
    char32_t point = decodeOne(native, at, used);
    if (used == 0) {
      text.push_back(static_cast<Char>(kEscapeBase + static_cast<unsigned char>(native[at])));
      used = 1;
    } else {
      appendUnits(text, point);
    }
    at += used;
  }
  return text;
}

}  // namespace nimbo::platform
