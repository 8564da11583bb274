// The editor side driven the way the editor calls it: a new object's record, the property sheet with its
// value objects and record sizes, the setup dialog's answers, and a frame run from a record so edited.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/editdata.h"
#include "host/property_values.h"
#include "record/rundata.h"
#include "vohost/desktop.h"
#include "vohost/error.h"
#include "vohost/runtime.h"

#ifndef _WIN32
#include "platform/desk/desk_dialog.h"
#endif

namespace vohost {
namespace {

using nimbo::EDITDATA;
using nimbo::Text;

constexpr uint32_t kText = 0x80001, kPopup = 0x80002, kCase = 0x80003;

// Dialogs shown since the last call: on Windows the hook reads real ones, the desk logs its own.
size_t shownDialogCount() {
#ifdef _WIN32
  return takeMessageBoxes().size();
#else
  return nimbo::desk::takeDialogs().size();
#endif
}

// What the extension asked of the editor's function entry, which passes on to vohost's own editor.
struct EditorCalls {
  voEditor* host = nullptr;
  int reallocations = 0;
  bool refuseReallocation = false;
  std::vector<voPropertyEntry> inserted;
  voValue insertB = 0, insertC = 0;
};

EditorCalls* calls = nullptr;

voValue VO_CALL recordingEditFunction(void* editData, int32_t function, voValue a, voValue b, voValue c) {
  if (function == VO_EDIT_INSERT_PROPERTIES) {
    const auto* entry = reinterpret_cast<const voPropertyEntry*>(a);
    do calls->inserted.push_back(*entry);
    while ((entry++)->identifier != 0);
    calls->insertB = b;
    calls->insertC = c;
    return 0;
  }
  if (function == VO_EDIT_REALLOC) {
    ++calls->reallocations;
    if (calls->refuseReallocation) return 0;
  }
  return calls->host->editFunction(editData, function, a, b, c);
}

class EditorSide : public ::testing::Test {
 protected:
  void SetUp() override {
    calls = &recorded;
    recorded.host = host.record();
    editor = *host.record();
    editor.editFunction = recordingEditFunction;
    voRunInfo info{};
    x.GetRunObjectInfos(&editor, &info);
    block = std::make_unique<EditData>(static_cast<uint32_t>(info.editDataSize));
    ASSERT_EQ(x.CreateObject(&editor, nullptr, block->data()), 0);
    recorded.reallocations = 0;
  }
  void TearDown() override { calls = nullptr; }

  EDITDATA* edit() const { return static_cast<EDITDATA*>(block->data()); }
  int16_t runInfoEditDataSize() {
    voRunInfo info{};
    x.GetRunObjectInfos(&editor, &info);
    return info.editDataSize;
  }
  Text textProperty() {
    auto* value = static_cast<CPropValue*>(x.GetPropValue(&editor, block->data(), kText));
    Text text(static_cast<CPropWStringValue*>(value)->m_pStr);
    value->Release();
    return text;
  }
  void setTextProperty(const Text& text) {
    auto* value = new CPropWStringValue(text.c_str());
    x.SetPropValue(&editor, block->data(), kText, static_cast<CPropValue*>(value));
    value->Release();
  }
  int32_t check(uint32_t identifier) { return x.GetPropCheck(&editor, block->data(), identifier); }
  void setCheck(uint32_t identifier, int32_t value) {
    x.SetPropCheck(&editor, block->data(), identifier, value);
  }

  Extension extension{NIMBO_EXTENSION_PATH};
  const Exports& x = extension.exports();
  Editor host;
  voEditor editor{};
  EditorCalls recorded;
  std::unique_ptr<EditData> block;
};

TEST_F(EditorSide, ANewObjectShowsTheDefaultTextThePopUpBoxCheckedAndTheCaseBoxUnchecked) {
  EXPECT_EQ(textProperty(), NIMBO_TEXT("日本語表現"));
  EXPECT_EQ(check(kPopup), 1);
  EXPECT_EQ(check(kCase), 0);
  EXPECT_EQ(block->size(), 60u);
  EXPECT_EQ(x.GetPropCheck(&editor, block->data(), 0x80004), 0);
}

TEST_F(EditorSide, TheTextPropertyResizesTheRecordOnlyWhenTheTextChanges) {
  setTextProperty(NIMBO_TEXT("日本語表現"));
  EXPECT_EQ(recorded.reallocations, 0);
  EXPECT_EQ(block->size(), 60u);

  Text hundred(100, NIMBO_TEXT('x'));
  setTextProperty(hundred);
  EXPECT_EQ(recorded.reallocations, 1);
  EXPECT_EQ(block->size(), 248u);
  EXPECT_EQ(textProperty(), hundred);

  setTextProperty(Text());
  EXPECT_EQ(block->size(), 48u);
  EXPECT_EQ(edit()->text[0], 0);
  EXPECT_EQ(textProperty(), Text());
  EXPECT_EQ(runInfoEditDataSize(), 48);
}

TEST_F(EditorSide, ARefusedReallocationLeavesTheTextAsItWas) {
  recorded.refuseReallocation = true;
  setTextProperty(NIMBO_TEXT("another text"));
  EXPECT_EQ(recorded.reallocations, 1);
  EXPECT_EQ(block->size(), 60u);
  EXPECT_EQ(textProperty(), NIMBO_TEXT("日本語表現"));
}

TEST_F(EditorSide, TheTextValueIsAStringValueThatClonesComparesAndReleases) {
  auto* value = static_cast<CPropValue*>(x.GetPropValue(&editor, block->data(), kText));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->GetTypeCode(), 0x53545257u);
  EXPECT_EQ(static_cast<CPropWStringValue*>(value)->m_zero, 0u);
  CPropValue* clone = value->Clone();
  EXPECT_NE(static_cast<CPropWStringValue*>(clone)->m_pStr, static_cast<CPropWStringValue*>(value)->m_pStr);
  EXPECT_TRUE(value->Equals(clone));
  auto* other = new CPropWStringValue(NIMBO_TEXT("日本語"));
  EXPECT_FALSE(value->Equals(other));
  EXPECT_FALSE(other->Equals(value));

  std::free(other->m_pStr);
  other->m_pStr = nullptr;
  CPropValue* emptyClone = other->Clone();
  EXPECT_EQ(Text(static_cast<CPropWStringValue*>(emptyClone)->m_pStr), Text());
  EXPECT_FALSE(value->Equals(other));
  auto* alsoNull = static_cast<CPropWStringValue*>(other->Clone());
  std::free(alsoNull->m_pStr);
  alsoNull->m_pStr = nullptr;
  EXPECT_TRUE(other->Equals(alsoNull));

  for (CPropValue* each :
       {value, clone, static_cast<CPropValue*>(other), emptyClone, static_cast<CPropValue*>(alsoNull)})
    each->Release();
  EXPECT_EQ(x.GetPropValue(&editor, block->data(), kPopup), nullptr);
}

TEST_F(EditorSide, TheCheckBoxesWriteOnlyTheirOwnBits) {
  edit()->options = 0xF1;
  setCheck(kCase, 1);
  EXPECT_EQ(edit()->options, 0xF3u);
  EXPECT_EQ(check(kCase), 1);
  setCheck(kCase, 5);
  EXPECT_EQ(edit()->options, 0xF1u);
  EXPECT_EQ(check(kCase), 0);

  setCheck(kPopup, 0);
  EXPECT_EQ(edit()->popup, 0);
  EXPECT_EQ(check(kPopup), 0);
  setCheck(kPopup, 1);
  EXPECT_EQ(edit()->popup, 1);
  EXPECT_EQ(edit()->options, 0xF1u);
}

TEST_F(EditorSide, ThePropertyTableHoldsTheTextAndTwoCheckBoxes) {
  EXPECT_EQ(x.GetProperties(&editor, block->data(), 0), 1);
  EXPECT_EQ(recorded.insertB, 1);
  EXPECT_EQ(recorded.insertC, 1);
  ASSERT_EQ(recorded.inserted.size(), 4u);
  const uint32_t expected[4][6] = {{0x80001, 400, 401, 1005, 0, 0},
                                   {0x80002, 402, 403, 1010, 1, 0},
                                   {0x80003, 404, 405, 1010, 1, 0},
                                   {0, 0, 0, 0, 0, 0}};
  for (size_t i = 0; i < 4; ++i) {
    const voPropertyEntry& entry = recorded.inserted[i];
    EXPECT_EQ((std::vector<uint32_t>{entry.identifier, entry.nameStringId, entry.infoStringId, entry.kind,
                                     entry.options, entry.createParam}),
              std::vector<uint32_t>(expected[i], expected[i] + 6))
        << "entry " << i;
  }
  EXPECT_EQ(x.IsPropEnabled(&editor, block->data(), kText), 1);
  EXPECT_EQ(x.EditProp(&editor, block->data(), kText), 0);
  EXPECT_EQ(x.GetPropCreateParam(&editor, block->data(), kText), 0);
}

TEST_F(EditorSide, TheSetupDialogAnswersOneForOkAndChangesNothing) {
  takeMessageBoxes();  // on Windows this hooks the real dialog, which is then dismissed with OK
  std::vector<uint8_t> before = storeEditData(*block);
  EXPECT_EQ(x.EditObject(&editor, nullptr, nullptr, block->data()), 1);
  EXPECT_EQ(storeEditData(*block), before);
#ifdef _WIN32
  std::vector<ShownMessageBox> shown = takeMessageBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "REGEX ECMA 2023 Beta.5C rev.4 for Windows PC");
#else
  std::vector<nimbo::desk::DialogRecord> shown = nimbo::desk::takeDialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].resourceId, 20003u);
  EXPECT_EQ(shown[0].owner, editor.parentWindow);
#endif
}

TEST_F(EditorSide, TheSetupDialogAnswersZeroForEscapeAndForAnEditorTooOld) {
  takeMessageBoxes();
  answerDialogsWith(DialogAnswer::escape);
  const int32_t escaped = x.EditObject(&editor, nullptr, nullptr, block->data());
  answerDialogsWith(DialogAnswer::ok);
  EXPECT_EQ(escaped, 0);
  EXPECT_EQ(shownDialogCount(), 1u);

  Editor old(0x02000000u | 279u);
  EXPECT_EQ(x.EditObject(old.record(), nullptr, nullptr, block->data()), 0);
  EXPECT_EQ(shownDialogCount(), 0u);
}

TEST(EditTimeMode, AFrameRunsFromARecordEditedThroughThePropertySheetAndReloaded) {
  Extension extension{NIMBO_EXTENSION_PATH};
  Scene scene;
  scene.nimbo.push_back({uint8_t{0}, uint32_t{2}, Text(NIMBO_TEXT("abc")), true});
  Runtime runtime(extension, scene);
  nimbo::RUNDATA* rd = nimbo::runData(runtime.nimboRecord(0));
  EXPECT_EQ(rd->popupSetting, 0);
  EXPECT_EQ(rd->regexOptions, 2);
  EXPECT_EQ(Text(rd->sText), NIMBO_TEXT("abc"));
  EXPECT_EQ(runtime.nimboEditData(0).size(), 48u + 2 * 3);

  scene.nimbo[0].options = 1;
  EXPECT_THROW(Runtime(extension, scene), Error);
}

}  // namespace
}  // namespace vohost
