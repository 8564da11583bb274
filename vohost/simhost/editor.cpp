// The editor record, EDITDATA reallocation and the property sheet. The reallocation entry receives only
// the record's address, so the live blocks are found through a registry keyed by it. The record's fields
// are the extension's: vohost sets and reads them only through the property sheet, as the editor does.
#include "vohost/simhost/editor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "host/property_values.h"
#include "vohost/error.h"

namespace vohost {

namespace {

uint32_t& answeredVersion() {
  static uint32_t version = kHostVersion;
  return version;
}

std::map<void*, EditData*>& liveBlocks() {
  static std::map<void*, EditData*> blocks;
  return blocks;
}

uint32_t VO_CALL getHostVersion() {
  return answeredVersion();
}

voValue VO_CALL editFunction(void*, int32_t function, voValue a, voValue b, voValue) {
  if (function != VO_EDIT_REALLOC) return 0;
  auto found = liveBlocks().find(reinterpret_cast<void*>(a));
  if (found == liveBlocks().end() || b < static_cast<voValue>(sizeof(voEditHeader))) return 0;
  EditData* block = found->second;
  return block->resize(static_cast<uint32_t>(b)) ? reinterpret_cast<voValue>(block->data()) : 0;
}

// The size of the record's fixed fields, below which no record is whole.
uint32_t fieldsSize(const Exports& exports, Editor& editor) {
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  return static_cast<uint32_t>(std::max<int16_t>(info.editDataSize, 0));
}

// The size word is the host's own: it always tells the block's real size.
std::unique_ptr<EditData> loadEditData(const std::vector<uint8_t>& bytes, uint32_t minimum) {
  if (bytes.size() < std::max<size_t>(minimum, sizeof(voEditHeader)))
    throw Error("a stored EDITDATA is smaller than its fields");
  auto block = std::make_unique<EditData>(static_cast<uint32_t>(bytes.size()));
  std::memcpy(block->data(), bytes.data(), bytes.size());
  static_cast<voEditHeader*>(block->data())->size = static_cast<uint32_t>(bytes.size());
  return block;
}

void setTextProperty(const Exports& exports, Editor& editor, EditData& block, const nimbo::Text& text) {
  // The sheet's value object may be released by either side; it is freed the way Release frees it.
  auto* value = new CPropWStringValue(text.c_str());
  exports.SetPropValue(editor.record(), block.data(), kTextProperty, static_cast<CPropValue*>(value));
  value->Release();
  if (textProperty(exports, editor, block) != text) throw Error("the property sheet did not take the TEXT");
}

// The editor's property sheet: SetPropCheck for popup and options, SetPropValue for the text.
void editThroughProperties(const Exports& exports, Editor& editor, EditData& block,
                           const EditOverrides& overrides) {
  if (overrides.options && *overrides.options != 0 && *overrides.options != 2) {
    throw Error("the property sheet sets the options word to 0 or 2 only");
  }
  if (overrides.popup) exports.SetPropCheck(editor.record(), block.data(), kPopupProperty, *overrides.popup);
  if (overrides.options)
    exports.SetPropCheck(editor.record(), block.data(), kCaseProperty, *overrides.options == 2);
  if (overrides.text) setTextProperty(exports, editor, block, *overrides.text);
}

}  // namespace

Editor::Editor(uint32_t hostVersion) : editor_{getHostVersion, editFunction, nullptr} {
  answeredVersion() = hostVersion;
}

EditData::EditData(uint32_t size) : data_(std::calloc(1, std::max<size_t>(size, sizeof(voEditHeader)))) {
  if (!data_) throw Error("out of memory allocating EDITDATA");
  static_cast<voEditHeader*>(data_)->size = std::max<uint32_t>(size, sizeof(voEditHeader));
  liveBlocks()[data_] = this;
}

EditData::~EditData() {
  liveBlocks().erase(data_);
  std::free(data_);
}

bool EditData::resize(uint32_t newSize) {
  uint32_t oldSize = size();
  void* grown = std::realloc(data_, newSize);
  if (!grown) return false;
  if (newSize > oldSize) std::memset(static_cast<char*>(grown) + oldSize, 0, newSize - oldSize);
  liveBlocks().erase(data_);
  data_ = grown;
  liveBlocks()[data_] = this;
  static_cast<voEditHeader*>(data_)->size = newSize;
  return true;
}

nimbo::Text textProperty(const Exports& exports, Editor& editor, const EditData& block) {
  void* value = exports.GetPropValue(editor.record(), block.data(), kTextProperty);
  if (!value || propTypeCode(value) != kPropTypeWString) throw Error("GetPropValue gave no text value");
  const voChar* text = propText(value);
  nimbo::Text copy = text ? nimbo::Text(text) : nimbo::Text();
  static_cast<CPropValue*>(value)->Release();
  return copy;
}

std::vector<uint8_t> storeEditData(const EditData& block) {
  const auto* bytes = static_cast<const uint8_t*>(block.data());
  return {bytes, bytes + block.size()};
}

std::unique_ptr<EditData> createEditData(const Exports& exports, Editor& editor,
                                         const EditOverrides& overrides) {
  uint32_t minimum = fieldsSize(exports, editor);
  if (!overrides.stored.empty()) return loadEditData(overrides.stored, minimum);
  auto block = std::make_unique<EditData>(minimum);
  if (exports.CreateObject(editor.record(), nullptr, block->data()) != 0) {
    throw Error("CreateObject refused to create the instance");
  }
  if (block->size() < minimum) throw Error("CreateObject left EDITDATA smaller than its fields");
  editThroughProperties(exports, editor, *block, overrides);
  if (overrides.propertySheet) return loadEditData(storeEditData(*block), minimum);
  return block;
}

}  // namespace vohost
