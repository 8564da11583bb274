// Escaping for HTML, SVG and the help project's sitemap files.
#include "help/generator/text_escape.h"

#include <cstdint>

namespace guide {

namespace {

// The code point of the UTF-8 sequence at `i`, moving `i` past it. The pages were checked to be UTF-8.
uint32_t nextCodePoint(const std::string& text, size_t& i) {
  auto byte = static_cast<unsigned char>(text[i++]);
  if (byte < 0x80) return byte;
  int more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
  uint32_t point = byte & (0x3F >> more);
  for (int k = 0; k < more && i < text.size(); ++k)
    point = (point << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  return point;
}

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int windows1252(uint32_t point) {
  // 0x80 to 0x9F: the code page's own characters there; 0 where it has none.
  static constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                         0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (point < 0x80 || (point >= 0xA0 && point <= 0xFF)) return static_cast<int>(point);
  for (int k = 0; k < 32; ++k) {
    if (kHigh[k] != 0 && kHigh[k] == point) return 0x80 + k;
  }
  return -1;
}

}  // namespace

std::string escapeXml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string escapeWindows1252(const std::string& text) {
  std::string escaped;
  std::string xml = escapeXml(text);
  for (size_t i = 0; i < xml.size();) {
    uint32_t point = nextCodePoint(xml, i);
    int byte = windows1252(point);
    escaped += byte >= 0 ? std::string(1, static_cast<char>(byte)) : "&#" + std::to_string(point) + ";";
  }
  return escaped;
}

}  // namespace guide
