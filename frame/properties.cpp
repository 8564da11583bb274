// The property sheet: the TEXT and the two check boxes of EDITDATA as the editor shows and edits them.
// The TEXT is handed over in the host's own value class; setting it resizes the record to fit.
#include <cstring>

#include "frame/barrier.h"
#include "frame/editdata.h"
#include "frame/exports.h"
#include "host/property_values.h"

using namespace nimbo;

namespace {

constexpr uint32_t kTextProperty = 0x80001;
constexpr uint32_t kPopupProperty = 0x80002;
constexpr uint32_t kCaseProperty = 0x80003;
constexpr uint32_t kCaseBit = 2;

// The host keeps the table's address while the sheet is open, so it lives as long as the module.
const voPropertyEntry kProperties[] = {
    {kTextProperty, 400, 401, VO_PROPERTY_TEXT_EDIT, 0, 0},
    {kPopupProperty, 402, 403, VO_PROPERTY_CHECK_BOX, 1, 0},
    {kCaseProperty, 404, 405, VO_PROPERTY_CHECK_BOX, 1, 0},
    {0, 0, 0, 0, 0, 0},
};

size_t textLength(const Char* text) {
  size_t length = 0;
  while (text[length]) ++length;
  return length;
}

bool sameText(const EDITDATA* edit, const Char* text, size_t length) {
  return editTextLength(edit) == length && std::memcmp(edit->text, text, length * sizeof(Char)) == 0;
}

}  // namespace

int32_t VO_CALL GetProperties(voEditor* editor, void* editData, int32_t) {
  return frame::shielded([&]() -> int32_t {
    editor->editFunction(editData, VO_EDIT_INSERT_PROPERTIES, reinterpret_cast<voValue>(kProperties), 1, 1);
    return 1;
  });
}

void* VO_CALL GetPropValue(voEditor*, void* editData, uint32_t identifier) {
  return frame::shielded([&]() -> void* {
    if (identifier != kTextProperty) return nullptr;
    return static_cast<CPropValue*>(new CPropWStringValue(static_cast<EDITDATA*>(editData)->text));
  });
}

// Two bytes to spare beyond the terminator: 48 + 2 x length, as every stored record has.
void VO_CALL SetPropValue(voEditor* editor, void* editData, uint32_t identifier, void* value) {
  return frame::shielded([&]() -> void {
    if (identifier != kTextProperty || !value || propTypeCode(value) != kPropTypeWString) return;
    const Char* text = propText(value);
    if (!text) return;
    auto* edit = static_cast<EDITDATA*>(editData);
    size_t length = textLength(text);
    if (sameText(edit, text, length)) return;
    auto size = static_cast<voValue>(kEditDataSize + 2 * length);
    auto* grown = reinterpret_cast<EDITDATA*>(
        editor->editFunction(edit, VO_EDIT_REALLOC, reinterpret_cast<voValue>(edit), size, 0));
    if (grown) std::memcpy(grown->text, text, (length + 1) * sizeof(Char));
  });
}

int32_t VO_CALL GetPropCheck(voEditor*, void* editData, uint32_t identifier) {
  return frame::shielded([&]() -> int32_t {
    const auto* edit = static_cast<const EDITDATA*>(editData);
    if (identifier == kPopupProperty) return edit->popup & 1;
    if (identifier == kCaseProperty) return (edit->options & kCaseBit) ? 1 : 0;
    return 0;
  });
}

void VO_CALL SetPropCheck(voEditor*, void* editData, uint32_t identifier, int32_t value) {
  return frame::shielded([&]() -> void {
    auto* edit = static_cast<EDITDATA*>(editData);
    if (identifier == kPopupProperty) edit->popup = value == 1 ? 1 : 0;
    if (identifier == kCaseProperty)
      edit->options = value == 1 ? edit->options | kCaseBit : edit->options & ~kCaseBit;
  });
}

int32_t VO_CALL IsPropEnabled(voEditor*, void*, uint32_t) {
  return 1;
}
int32_t VO_CALL EditProp(voEditor*, void*, uint32_t) {
  return 0;
}
voValue VO_CALL GetPropCreateParam(voEditor*, void*, uint32_t) {
  return 0;
}
