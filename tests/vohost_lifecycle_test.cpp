// Instances run by the host runtime: creation from edit-time data, the frame step's raised conditions
// and their order, provoked by writing the runtime record's flags as the routines would.
#include <gtest/gtest.h>

#include "record/rundata.h"
#include "vohost/checks/check.h"
#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

namespace vohost {
namespace {

std::vector<int> raisedCodes(const StepRecord& record) {
  std::vector<int> codes;
  for (const RaisedCondition& raised : record.raised) codes.push_back(raised.code);
  return codes;
}

Scene sceneWithOneNimbo() {
  Scene scene;
  scene.nimbo.resize(1);
  return scene;
}

class Lifecycle : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
};

TEST_F(Lifecycle, AnEmptyEditTimeTextGivesAnEmptyText) {
  Scene scene = sceneWithOneNimbo();
  scene.nimbo[0].text = nimbo::Text();
  Runtime runtime(extension, scene);
  EXPECT_EQ(runtime.step().texts, std::vector<std::string>{""});
}

// The pop-up box off: a bad pattern shows nothing; the case box on: a search ignores case.
TEST_F(Lifecycle, EditTimeSettingsReachTheRunningInstance) {
  constexpr int kSearchPartial = 4;
  Scene scene = sceneWithOneNimbo();
  scene.nimbo[0] = {uint8_t{0}, uint32_t{2}, nimbo::Text(NIMBO_TEXT("abc"))};
  scene.events = {
      {{ExtensionCondition{
           0, kSearchPartial, {nimbo::Text(NIMBO_TEXT("SAY HELLO")), nimbo::Text(NIMBO_TEXT("hello"))}}},
       {HostAction{HostActionKind::log, "found", {1}}}},
      {{ExtensionCondition{
           0, kSearchPartial, {nimbo::Text(NIMBO_TEXT("abc")), nimbo::Text(NIMBO_TEXT("("))}}},
       {}}};
  Runtime runtime(extension, scene);
  EXPECT_EQ(runtime.nimboEditData(0).size(), 48u + 2 * 3);
  StepRecord record = runtime.step();
  EXPECT_EQ(record.log.size(), 1u);
  EXPECT_TRUE(record.messageBoxes.empty());
  EXPECT_EQ(record.texts, std::vector<std::string>{"abc"});
}

TEST_F(Lifecycle, AFrameWhereNothingHappensStillRaisesCondition0) {
  Runtime runtime(extension, sceneWithOneNimbo());
  for (int step = 0; step < 3; ++step) EXPECT_EQ(raisedCodes(runtime.step()), std::vector<int>{0});
}

TEST_F(Lifecycle, PendingConditionsAreRaisedInTheOrder63210AndOneShotsOnlyOnce) {
  Runtime runtime(extension, sceneWithOneNimbo());
  nimbo::RUNDATA* rd = nimbo::runData(runtime.nimboRecord(0));
  rd->mismatchFlag = 1;
  rd->pathInvalid = 1;
  rd->pathConfirmed = 1;
  rd->autoPositionFlag = 1;
  EXPECT_EQ(raisedCodes(runtime.step()), (std::vector<int>{6, 3, 2, 1, 0}));
  EXPECT_EQ(raisedCodes(runtime.step()), (std::vector<int>{6, 1, 0}));
  EXPECT_EQ(rd->pathInvalid, -1);
  EXPECT_EQ(rd->pathConfirmed, -1);
}

TEST_F(Lifecycle, EachInstanceRaisesForItselfAfterThePassOverTheEventList) {
  Scene scene;
  scene.nimbo.resize(2);
  scene.events.push_back({{}, {HostAction{HostActionKind::log, "pass", {1}}}});
  Runtime runtime(extension, scene);
  nimbo::runData(runtime.nimboRecord(1))->mismatchFlag = 1;
  StepRecord record = runtime.step();
  EXPECT_EQ(record.raised, (std::vector<RaisedCondition>{{0, 0}, {1, 6}, {1, 0}}));
  EXPECT_EQ(record.log.size(), 1u);
}

TEST_F(Lifecycle, TheClipboardCountdownIsATenthOfTheFrameRate) {
  Scene scene = sceneWithOneNimbo();
  scene.frame.frameRate = 9;
  EXPECT_EQ(nimbo::runData(Runtime(extension, scene).nimboRecord(0))->clipboardCountdown, 0);
  scene.frame.frameRate = 30;
  EXPECT_EQ(nimbo::runData(Runtime(extension, scene).nimboRecord(0))->clipboardCountdown, 3);
}

TEST_F(Lifecycle, TheBuiltExtensionPassesEveryConformanceCheck) {
  for (const CheckResult& result : runChecks(extension))
    EXPECT_TRUE(result.passed) << result.name << ": " << result.detail;
}

TEST_F(Lifecycle, AnEditorTooOldGetsNoObject) {
  Scene scene = sceneWithOneNimbo();
  EXPECT_THROW(Runtime(extension, scene, 0x02000000u | 279u), Error);
}

}  // namespace
}  // namespace vohost
