// UTF-8 <-> UTF-16 by hand: the standard facets for it are deprecated.
#include "vohost/utf.h"

#include "vohost/error.h"

namespace vohost {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool isHigh(char32_t u) {
  return u >= 0xD800 && u < 0xDC00;
}
bool isLow(char32_t u) {
  return u >= 0xDC00 && u < 0xE000;
}

void appendUtf16(Text& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<voChar>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<voChar>(0xD800 + (c >> 10)));
    out.push_back(static_cast<voChar>(0xDC00 + (c & 0x3FF)));
  }
}

// Length of the sequence a lead byte opens, 0 when it cannot open one.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Listings and traces are mostly ASCII: a long one is copied a unit at a time up to its first other
// unit, in a loop the compiler can widen.
std::string toUtf8(const voChar* text, size_t length) {
  std::string out(length, '\0');
  size_t ascii = 0;
  while (ascii < length && static_cast<uint16_t>(text[ascii]) < 0x80) {
    out[ascii] = static_cast<char>(text[ascii]);
    ++ascii;
  }
  out.resize(ascii);
  for (size_t i = ascii; i < length; ++i) {
    char32_t unit = static_cast<uint16_t>(text[i]);
    if (isHigh(unit) && i + 1 < length && isLow(static_cast<uint16_t>(text[i + 1]))) {
      char32_t low = static_cast<uint16_t>(text[++i]);
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else {
      appendUtf8(out, isHigh(unit) || isLow(unit) ? kReplacement : unit);
    }
  }
  return out;
}

}  // namespace

std::string toUtf8(const Text& text) {
  return toUtf8(text.data(), text.size());
}

std::string toUtf8(const voChar* text) {
  return text ? toUtf8(text, std::char_traits<voChar>::length(text)) : std::string();
}

Text fromUtf8(const std::string& text) {
  Text out;
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i]);
    int length = sequenceLength(lead);
    if (length == 0 || i + length > text.size()) throw Error("malformed UTF-8 in \"" + text + "\"");
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) throw Error("malformed UTF-8 in \"" + text + "\"");
      c = (c << 6) | (next & 0x3F);
    }
    appendUtf16(out, c);
    i += length;
  }
  return out;
}

}  // namespace vohost
