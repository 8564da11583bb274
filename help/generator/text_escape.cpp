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

std::string escapeAscii(const std::string& text) {
  std::string escaped;
  std::string xml = escapeXml(text);
  for (size_t i = 0; i < xml.size();) {
    uint32_t point = nextCodePoint(xml, i);
    escaped += point < 0x80 ? std::string(1, static_cast<char>(point)) : "&#" + std::to_string(point) + ";";
  }
  return escaped;
}

}  // namespace guide
