// The resource script writer: strings and menus come from the resource data; the setup dialog, the
// bitmaps and the host's data resource are described here, since only the Windows build carries them.
#include "resources/resource_script.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "resources/resources.h"

namespace nimbo::resources {

namespace {

struct DialogControl {
  const char16_t* text;
  int id;
  const char* windowClass;
  uint32_t style;
  int x, y, width, height;  // dialog units
};

constexpr uint16_t kSetupDialog = 20003;
constexpr uint32_t kSetupStyle = 0x90C000C0;  // popup, visible, caption, modal frame, set font
constexpr char16_t kSetupCaption[] = u"REGEX ECMA 2023 Beta.5C rev.4 for Windows PC";
constexpr char16_t kSetupNotes[] =
    u"NIMBO : ( C++17 STL REGEX ECMA + Filesystem ) + HWND + Object Control\n"
    u"NIMBO is the VO25 extension.\n"
    u"Bata.05C Public Version\n"
    u"Revision.04\n";
constexpr DialogControl kSetupControls[] = {
    {u"OK", 1, "Button", 0x50010001, 72, 150, 50, 14},         // default push button
    {u"", -1, "Button", 0x50000007, 5, 6, 190, 135},           // group box
    {kSetupNotes, -1, "Static", 0x50020000, 21, 40, 155, 90},  // left-aligned text
};

// Resources that no routine reads; the host looks for them.
constexpr uint16_t kBitmaps[] = {400, 401};
constexpr uint16_t kHostData = 200;
constexpr uint8_t kHostDataBytes[] = {0x16, 0x25, 0x08, 0x59};
static_assert(std::size(kHostDataBytes) % 2 == 0, "the script writes the bytes as little-endian words");

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit < 0xE000;
}

// A quoted script string: quotes doubled, backslashes and line feeds escaped. In menu texts an ampersand
// marks the access key, so a literal one is doubled.
std::string quoted(const char16_t* text, bool menuText = false) {
  std::string out = "\"";
  for (const char16_t* unit = text; *unit; ++unit) {
    if (*unit == u'"') {
      out += "\"\"";
    } else if (*unit == u'\\') {
      out += "\\\\";
    } else if (*unit == u'\n') {
      out += "\\n";
    } else if (*unit == u'&' && menuText) {
      out += "&&";
    } else if (isHighSurrogate(unit[0]) && isLowSurrogate(unit[1])) {
      appendUtf8(out, 0x10000 + ((unit[0] - 0xD800) << 10) + (unit[1] - 0xDC00));
      ++unit;
    } else {
      appendUtf8(out, *unit);
    }
  }
  return out + "\"";
}

std::string hex(uint32_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), digits[value % 16]);
    value /= 16;
  } while (value);
  return "0x" + out;
}

void writeStringTable(std::ostream& out) {
  out << "STRINGTABLE\nBEGIN\n";
  for (const StringResource& string : stringTable()) {
    out << "  " << string.id << ", " << quoted(string.text) << "\n";
  }
  out << "END\n";
}

// Items of depth d stand at 2 * (d + 2) spaces: below the menu's BEGIN and its top-level popup's BEGIN.
std::string indent(int depth) {
  return std::string(2 * (depth + 2), ' ');
}

void writeMenu(std::ostream& out, const MenuResource& menu) {
  out << menu.id << " MENU\nBEGIN\n  POPUP " << quoted(menu.popupText, true) << "\n  BEGIN\n";
  int open = 0;  // depth of the items of the innermost open popup
  for (const MenuLine& line : menu.lines) {
    for (; open > line.depth; --open) out << indent(open - 1) << "END\n";
    switch (line.kind) {
      case MenuLineKind::separator:
        out << indent(line.depth) << "MENUITEM SEPARATOR\n";
        break;
      case MenuLineKind::item:
        out << indent(line.depth) << "MENUITEM " << quoted(line.text, true) << ", " << line.id
            << (line.disabled ? ", GRAYED" : "") << "\n";
        break;
      case MenuLineKind::popup:
        out << indent(line.depth) << "POPUP " << quoted(line.text, true) << "\n"
            << indent(line.depth) << "BEGIN\n";
        open = line.depth + 1;
        break;
    }
  }
  for (; open > 0; --open) out << indent(open - 1) << "END\n";
  out << "  END\nEND\n";
}

void writeSetupDialog(std::ostream& out) {
  out << kSetupDialog << " DIALOGEX 0, 4, 200, 172\n"
      << "STYLE " << hex(kSetupStyle) << "\n"
      << "CAPTION " << quoted(kSetupCaption) << "\n"
      << "FONT 8, \"MS Sans Serif\"\n"
      << "BEGIN\n";
  for (const DialogControl& control : kSetupControls) {
    out << "  CONTROL " << quoted(control.text) << ", " << control.id << ", \"" << control.windowClass
        << "\", " << hex(control.style) << ", " << control.x << ", " << control.y << ", " << control.width
        << ", " << control.height << "\n";
  }
  out << "END\n";
}

void writeHostResources(std::ostream& out) {
  for (uint16_t bitmap : kBitmaps) out << bitmap << " BITMAP \"bitmap" << bitmap << ".bmp\"\n";
  out << "\n" << kHostData << " RCDATA\nBEGIN\n  ";
  for (size_t i = 0; i < std::size(kHostDataBytes); i += 2) {
    out << (i ? ", " : "") << hex(kHostDataBytes[i] | kHostDataBytes[i + 1] << 8);
  }
  out << "\nEND\n";
}

}  // namespace

void writeResourceScript(std::ostream& out) {
  out << "// The NIMBO module's resources, written by nimbo_rcgen from the resource data: edit that, not "
         "this.\n"
      << "#pragma code_page(65001)\n\n"
      << "LANGUAGE 0, 0\n\n";
  writeStringTable(out);
  for (const MenuResource& menu : menus()) {
    out << "\n";
    writeMenu(out, menu);
  }
  out << "\n";
  writeSetupDialog(out);
  out << "\n";
  writeHostResources(out);
}

}  // namespace nimbo::resources
