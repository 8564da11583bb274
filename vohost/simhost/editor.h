// The editor side of the host: the voEditor record handed to the edit-time exports, and EDITDATA blocks
// that the extension grows through the editor's reallocation entry.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/vohost.h"
#include "platform/platform.h"
#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"

namespace vohost {

// Build 284 of version 2: new enough for every edit-time entry of the extension.
constexpr uint32_t kHostVersion = 0x02000000u | 284u;

// The editor the exports see. getHostVersion takes no argument, so the version answered is the one of
// the editor created last; the host has one editor at a time.
class Editor {
 public:
  explicit Editor(uint32_t hostVersion = kHostVersion);
  voEditor* record() { return &editor_; }

 private:
  voEditor editor_;
};

// An EDITDATA block owned by the host: zero-filled, voEditHeader.size always its current size.
class EditData {
 public:
  explicit EditData(uint32_t size);
  ~EditData();
  EditData(const EditData&) = delete;
  EditData& operator=(const EditData&) = delete;

  void* data() const { return data_; }
  uint32_t size() const { return static_cast<voEditHeader*>(data_)->size; }
  // Keeps the bytes that fit and zero-fills the growth; false when memory runs out.
  bool resize(uint32_t size);

 private:
  void* data_;
};

// The property sheet's entries, as the extension lists them to the editor.
constexpr uint32_t kTextProperty = 0x80001;
constexpr uint32_t kPopupProperty = 0x80002;
constexpr uint32_t kCaseProperty = 0x80003;

// A new instance's EDITDATA: the size GetRunObjectInfos asks for, CreateObject, then the overrides set
// through the property sheet; or the overrides' stored record. Throws Error when CreateObject refuses,
// for an options word other than 0 or 2, which no check box produces, and for a TEXT the sheet refused.
std::unique_ptr<EditData> createEditData(const Exports& exports, Editor& editor,
                                         const EditOverrides& overrides);

// The TEXT as the property sheet shows it.
nimbo::Text textProperty(const Exports& exports, Editor& editor, const EditData& block);

// The record's bytes as the host stores them in the game file.
std::vector<uint8_t> storeEditData(const EditData& block);

}  // namespace vohost
