// The editor record, EDITDATA reallocation and the property sheet. The reallocation entry receives only
// the record's address, so the live blocks are found through a registry keyed by it.
#include "vohost/simhost/editor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "frame/editdata.h"
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

void applyText(EditData& block, const nimbo::Text& text) {
  // The extension's own rule: 48 bytes plus two per unit, which leaves two bytes to spare.
  auto size = static_cast<uint32_t>(nimbo::kEditDataSize + 2 * text.size());
  if (!block.resize(size)) throw Error("out of memory growing EDITDATA");
  auto* edit = static_cast<nimbo::EDITDATA*>(block.data());
  std::memcpy(edit->text, text.c_str(), (text.size() + 1) * sizeof(voChar));
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

void editThroughProperties(const Exports& exports, Editor& editor, EditData& block,
                           const EditOverrides& overrides) {
  constexpr uint32_t kText = 0x80001, kPopup = 0x80002, kCase = 0x80003;
  if (overrides.options && *overrides.options != 0 && *overrides.options != 2) {
    throw Error("the property sheet sets the options word to 0 or 2 only");
  }
  if (overrides.popup) exports.SetPropCheck(editor.record(), block.data(), kPopup, *overrides.popup);
  if (overrides.options) exports.SetPropCheck(editor.record(), block.data(), kCase, *overrides.options == 2);
  if (!overrides.text) return;
  // The sheet's value object may be released by either side; it is freed the way Release frees it.
  auto* value = new CPropWStringValue(overrides.text->c_str());
  exports.SetPropValue(editor.record(), block.data(), kText, static_cast<CPropValue*>(value));
  value->Release();
}

std::vector<uint8_t> storeEditData(const EditData& block) {
  const auto* bytes = static_cast<const uint8_t*>(block.data());
  return {bytes, bytes + block.size()};
}

std::unique_ptr<EditData> loadEditData(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < nimbo::kEditDataSize) throw Error("a stored EDITDATA is smaller than its fields");
  auto block = std::make_unique<EditData>(static_cast<uint32_t>(bytes.size()));
  std::memcpy(block->data(), bytes.data(), bytes.size());
  return block;
}

std::unique_ptr<EditData> createEditData(const Exports& exports, Editor& editor,
                                         const EditOverrides& overrides) {
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  auto block = std::make_unique<EditData>(static_cast<uint32_t>(info.editDataSize));
  if (exports.CreateObject(editor.record(), nullptr, block->data()) != 0) {
    throw Error("CreateObject refused to create the instance");
  }
  if (block->size() < nimbo::kEditDataSize) throw Error("CreateObject left EDITDATA smaller than its fields");
  if (overrides.propertySheet) {
    editThroughProperties(exports, editor, *block, overrides);
    return loadEditData(storeEditData(*block));
  }
  auto* edit = static_cast<nimbo::EDITDATA*>(block->data());
  if (overrides.popup) edit->popup = *overrides.popup;
  if (overrides.options) edit->options = *overrides.options;
  if (overrides.text) applyText(*block, *overrides.text);
  return block;
}

}  // namespace vohost
