// EDITDATA, the edit-time record the host stores in the game file. Its size follows the TEXT.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/vohost.h"
#include "platform/platform.h"

namespace nimbo {

struct EDITDATA {
  voEditHeader eHeader;  // host-owned; records the record's current size
  uint8_t popup;         // 1 = "Force Pop up MessageBox if catch an Error. ( for Debug )"
  uint8_t reserved1[3];
  uint32_t options;  // bit 1 (value 2) = case-insensitive
  uint32_t reserved2;
  uint32_t reserved3;
  uint8_t reserved4[8];
  Char text[2];  // zero-terminated; grows with the record
};

static_assert(offsetof(EDITDATA, popup) == 20 && offsetof(EDITDATA, options) == 24 &&
                  offsetof(EDITDATA, text) == 44 && sizeof(EDITDATA) == 48,
              "stored layout of EDITDATA");

constexpr uint16_t kEditDataSize = sizeof(EDITDATA);

// The edit-time test of the editor's version; entries marked "compatible only" do nothing when it fails.
bool editorCompatible(voEditor* editor);

// Units of the stored TEXT before its terminator, never reading past the record's recorded size.
inline size_t editTextLength(const EDITDATA* edit) {
  size_t capacity = edit->eHeader.size > offsetof(EDITDATA, text)
                        ? (edit->eHeader.size - offsetof(EDITDATA, text)) / sizeof(Char)
                        : sizeof(edit->text) / sizeof(Char);
  // The TEXT runs past the declared two units, as far as the record grew: read it through a pointer
  // into the record, not as the array, whose bound a sanitizer holds to two.
  const Char* text = edit->text;
  size_t length = 0;
  while (length < capacity && text[length]) ++length;
  return length;
}

}  // namespace nimbo
