// The motion controller's by-name commands through the host: which entries a name selects, the boxes
// for names that select nothing, what each command writes, and removals over objects the host has
// destroyed (run under the address sanitizer: vohost frees such records).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/motion_scene.h"
#include "vohost/utf.h"

namespace vohost {
namespace {

constexpr int kWrapWidth = 17, kWrapHeight = 19, kOwnOrbit = 21, kNullMotion = 23, kWaveWidth = 24,
              kStop = 35, kToggle = 36, kReject = 37, kDelete = 38, kAlpha = 39, kReverse = 40, kRotate = 43,
              kUpdate = 44, kGrowRadius = 45, kDelayedReject = 49;
constexpr const char* kNothingRegisteredCaption = "ObjectControlByName::ToggleMotionALL";
constexpr const char* kUnknownNameText = "No Such OName | Motion Group NAME >> ";
constexpr const char* kUnknownNameCaption = "Unknown Name | Not Registered :: ";
constexpr const char* kGrowMissedText = "Did not find the target..";
constexpr const char* kGrowMissedCaption = "OC_MGN_CMN_GrowRadius";

using Boxes = std::vector<std::pair<std::string, std::string>>;  // text, caption

std::string named(const std::string& name) {
  return "\"" + name + "\"";
}

std::string destroy(const std::string& selection) {
  return R"({"host":"destroy object","object":)" + selection + "}";
}

class Commands : public MotionFrame {
 protected:
  Boxes boxes() const {
    Boxes shown;
    for (const auto& box : last.messageBoxes) shown.emplace_back(box.text, box.caption);
    return shown;
  }

  std::vector<int> movingFlags() {
    std::vector<int> flags;
    for (const auto& e : record().controlList) flags.push_back(e.moving);
    return flags;
  }

  std::vector<std::string> groupNames() {
    std::vector<std::string> names;
    for (const auto& group : record().motionGroups) names.push_back(toUtf8(group.name));
    return names;
  }

  // The objects destroyObject was called with during the last step, in call order.
  std::vector<std::pair<std::string, int>> destroyed() const {
    std::vector<std::pair<std::string, int>> objects;
    for (const auto& call : last.calls) {
      if (call.service == "destroyObject") objects.emplace_back(call.type, call.instance);
    }
    return objects;
  }
};

// Stop and toggle.

TEST_F(Commands, StopAndToggleReportNothingRegisteredAndUnknownNamesOnlyUnderThePopUpSetting) {
  for (int popup : {1, 0}) {
    start(motionScene(objectType("Ball", "{}"),
                      atFrame(0, action(kStop, named("")) + "," + action(kToggle, named("Ball"))) + "," +
                          atFrame(1, action(kWrapWidth, objects("Ball") + ",3") + "," +
                                         action(kStop, named("ball")) + "," + action(kToggle, named("Nope"))),
                      popup));
    step();
    EXPECT_EQ(boxes(), popup == 1 ? (Boxes{{"Not Registered Anything :: ", kNothingRegisteredCaption},
                                           {"Not Registered Anything >> Ball", kNothingRegisteredCaption}})
                                  : Boxes{});
    step();
    EXPECT_EQ(boxes(), popup == 1 ? (Boxes{{std::string(kUnknownNameText) + "ball",
                                            std::string(kUnknownNameCaption) + "Stop Error"},
                                           {std::string(kUnknownNameText) + "Nope",
                                            std::string(kUnknownNameCaption) + "Toggle Error"}})
                                  : Boxes{});
    EXPECT_EQ(movingFlags(), std::vector<int>{1});
  }
}

TEST_F(Commands, StopByNameHoldsTheGroupAndToggleTwiceRestoresEveryFlag) {
  start(motionScene(
      objectType("Ball", R"({"x":10},{"x":20})") + "," + objectType("Cube", R"({"x":5})"),
      atFrame(0,
              action(kWrapWidth, objects("Ball") + ",3") + "," + action(kWrapWidth, objects("Cube") + ",1")) +
          "," + atFrame(1, action(kStop, named("Ball"))) + "," + atFrame(2, action(kToggle, named(""))) +
          "," + atFrame(3, action(kToggle, named(""))) + "," + atFrame(4, action(kStop, named("")))));
  step();
  step();
  EXPECT_EQ(movingFlags(), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(object("Ball", 1).x, 23);
  step();
  EXPECT_EQ(movingFlags(), (std::vector<int>{1, 1, 0}));
  step();
  EXPECT_EQ(movingFlags(), (std::vector<int>{0, 0, 1}));
  step();
  EXPECT_EQ(movingFlags(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(object("Cube").x, 8);
}

// Reject and delete.

TEST_F(Commands, RejectByNameLetsTheGroupGoAtOnceAndASameNamedSetUpGetsANewIdentifier) {
  start(motionScene(objectType("Ball", R"({"x":10},{"x":20})") + "," + objectType("Cube", "{}"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",3") + "," +
                                   action(kNullMotion, objects("Cube") + R"(,"C")")) +
                        "," + atFrame(1, action(kReject, named("Ball")) + "," + action(kReject, named("X"))) +
                        "," + atFrame(3, action(kNullMotion, instance("Ball", 0) + R"(,"Ball")"))));
  step();
  step();
  EXPECT_EQ(
      boxes(),
      (Boxes{{std::string(kUnknownNameText) + "X", std::string(kUnknownNameCaption) + "Reject Error"}}));
  ASSERT_EQ(record().controlList.size(), 1u);
  EXPECT_EQ(groupNames(), std::vector<std::string>{"C"});
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{1, 1}}));
  EXPECT_TRUE(destroyed().empty());
  EXPECT_EQ(object("Ball", 1).x, 23);  // moved on frame 0 only
  step();
  step();
  EXPECT_EQ(groupNames(), (std::vector<std::string>{"C", "Ball"}));
  EXPECT_EQ(entry(1).groupId, 2);
}

TEST_F(Commands, RejectWithAnEmptyNameEmptiesTheListsAndKeepsTheNextIdentifier) {
  start(motionScene(
      objectType("Ball", "{},{}") + "," + objectType("Cube", "{}"),
      atFrame(0, action(kWrapWidth, objects("Ball") + ",3") + "," +
                     action(kNullMotion, objects("Cube") + R"(,"C")") + "," + action(kReject, named(""))) +
          "," + atFrame(1, action(kNullMotion, objects("Cube") + R"(,"C")"))));
  step();
  EXPECT_TRUE(record().controlList.empty());
  EXPECT_TRUE(record().motionGroups.empty());
  EXPECT_TRUE(record().groupCounts.empty());
  step();
  EXPECT_EQ(entry(0).groupId, 2);
}

TEST_F(Commands, DeleteDestroysTheSelectedObjectsInListOrderAndNothingOnAnEmptyList) {
  start(motionScene(objectType("Ball", "{},{},{}") + "," + objectType("Cube", "{}"),
                    atFrame(0, action(kDelete, named("")) + "," + action(kDelete, named("Ball"))) + "," +
                        atFrame(1, action(kNullMotion, instance("Ball", 2) + R"(,"B")") + "," +
                                       action(kNullMotion, objects("Cube") + R"(,"C")") + "," +
                                       action(kNullMotion, instance("Ball", 0) + R"(,"B")")) +
                        "," + atFrame(2, action(kDelete, named("B"))) + "," +
                        atFrame(3, action(kDelete, named("")))));
  step();
  EXPECT_TRUE(destroyed().empty());
  EXPECT_EQ(
      boxes(),
      (Boxes{{std::string(kUnknownNameText) + "Ball", std::string(kUnknownNameCaption) + "Delete Error"}}));
  step();
  step();
  EXPECT_EQ(destroyed(), (std::vector<std::pair<std::string, int>>{{"Ball", 2}, {"Ball", 0}}));
  EXPECT_EQ(groupNames(), std::vector<std::string>{"C"});
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{1, 1}}));
  EXPECT_FALSE(object("Ball", 1).destroyed);
  step();
  EXPECT_EQ(destroyed(), (std::vector<std::pair<std::string, int>>{{"Cube", 0}}));
  EXPECT_TRUE(record().controlList.empty());
  EXPECT_TRUE(record().motionGroups.empty());
}

// Changes in place.

TEST_F(Commands, ReverseTurnsEachKindItsOwnWay) {
  start(motionScene(objectType("Ball", R"({"x":100})") + "," + objectType("Drop", R"({"y":100})") + "," +
                        objectType("Moon", R"({"x":300,"y":200})") + "," +
                        objectType("Still", R"({"direction":5})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",3") + "," +
                                   action(kWrapHeight, objects("Drop") + ",-4") + "," +
                                   action(kOwnOrbit, objects("Moon") + ",50,10") + "," +
                                   action(kNullMotion, objects("Still") + R"(,"")")) +
                        "," + atFrame(1, action(kReverse, named(""))) + "," +
                        atFrame(2, action(kReverse, named("Ball")) + "," + action(kReverse, named("None")))));
  step();
  step();
  EXPECT_EQ(entry(0).xSpeed, -3);
  EXPECT_EQ(object("Ball").direction, 16);
  EXPECT_EQ(object("Ball").x, 100);
  EXPECT_EQ(entry(1).ySpeed, 4);
  EXPECT_EQ(object("Drop").direction, 24);
  EXPECT_EQ(entry(2).angularVelocity, -10);
  EXPECT_EQ(entry(2).radius1, 50);
  EXPECT_EQ(object("Still").direction, 5);
  EXPECT_EQ(calls("updateAnimation", "Still"), 0);
  EXPECT_EQ(calls("updateAnimation", "Ball"), 1);
  step();
  EXPECT_EQ(entry(0).xSpeed, 3);
  EXPECT_EQ(object("Ball").direction, 0);
  EXPECT_EQ(entry(1).ySpeed, 4);
}

// Null motions are never stepped, so the fields show what the command wrote.
TEST_F(Commands, FixedAngleRotationTakesItsStringAsWrittenWithItsMomentaryAndZeroForms) {
  start(motionScene(objectType("Ball", "{},{}") + "," + objectType("Cube", "{}"),
                    atFrame(0, action(kNullMotion, objects("Ball") + R"(,"Spin")") + "," +
                                   action(kNullMotion, objects("Cube") + R"(,"Other")") + "," +
                                   action(kStop, named("Spin")) + "," +
                                   action(kRotate, named("Spin") + R"(,"45, 60, -1, 0")")) +
                        "," + atFrame(1, action(kRotate, named("Spin") + R"(,"45,60,-1,1")")) + "," +
                        atFrame(2, action(kRotate, named("Spin") + R"(,"45,60,0,0")")) + "," +
                        atFrame(3, action(kRotate, named("Spin") + R"(,"45,60,-1")") + "," +
                                       action(kRotate, named("Nope") + R"(,"x")")) +
                        "," + atFrame(4, action(kRotate, named("") + R"(,"30,5,2,0")"))));
  auto rotation = [&](size_t i) {
    const auto& e = entry(i);
    return std::vector<int32_t>{e.moving,        e.rotateActive,  e.momentaryPause, e.rotatedSoFar,
                                e.intervalCount, e.rotationAngle, e.intervalFrames, e.rotationRepetition};
  };
  step();
  EXPECT_EQ(rotation(0), (std::vector<int32_t>{1, 1, 0, 0, 0, 45, 60, -1}));
  EXPECT_EQ(rotation(1), rotation(0));
  EXPECT_EQ(rotation(2), (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  step();
  EXPECT_EQ(rotation(0), (std::vector<int32_t>{1, 1, 1, 0, 0, 45, 0, -1}));
  step();
  EXPECT_EQ(rotation(0), (std::vector<int32_t>{1, 1, 0, 0, 0, 0, 0, 0}));
  step();
  EXPECT_EQ(boxes(), (Boxes{{"MatchParams is empty....", "REGEX Exact Match :: ERROR"}}));
  EXPECT_EQ(rotation(0), (std::vector<int32_t>{1, 1, 0, 0, 0, 0, 0, 0}));
  step();
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(rotation(i), (std::vector<int32_t>{1, 1, 0, 0, 0, 30, 5, 2})) << i;
}

TEST_F(Commands, GrowRadiusStartsWavesAndOrbitsAndOtherwiseShowsItsMissAfterAnyParseBox) {
  const std::string params = R"("100,20,2,30,-1, 50,10,+3,40,2")";
  start(motionScene(objectType("Ball", "{}") + "," + objectType("Fish", R"({"values":[0,0,0,0,9]})") + "," +
                        objectType("Moon", "{}"),
                    atFrame(0, action(kGrowRadius, named("") + "," + params) + "," +
                                   action(kWrapWidth, objects("Ball") + ",1") + "," +
                                   action(kWaveWidth, R"("Fish",)" + objects("Fish") + ",1,10,0") + "," +
                                   action(kOwnOrbit, objects("Moon") + ",30,0")) +
                        "," + atFrame(1, action(kGrowRadius, named("Ball") + "," + params)) + "," +
                        atFrame(2, action(kGrowRadius, named("Fish") + "," + params) + "," +
                                       action(kGrowRadius, named("Moon") + "," + params)) +
                        "," + atFrame(3, action(kGrowRadius, named("Fish") + R"(,"1,2,3")")) + "," +
                        atFrame(4, action(kGrowRadius, named("Nope") + R"(,"1,2,3")")) + "," +
                        atFrame(5, action(kGrowRadius, named("") + R"(,"1,1,0,1,1,1,1,0,1,1")"))));
  const Boxes missed{{kGrowMissedText, kGrowMissedCaption}};
  step();
  EXPECT_EQ(boxes(), missed);
  step();
  EXPECT_EQ(boxes(), missed);
  step();
  EXPECT_TRUE(boxes().empty());
  const auto& fish = entry(1);
  EXPECT_EQ(std::vector<int32_t>({fish.growRadius, fish.growMax1, fish.growMin1, fish.growDelta1,
                                  fish.growHold1, fish.growHoldFrames1, fish.growHoldCount1,
                                  fish.growRepetition1, fish.growDelta2}),
            (std::vector<int32_t>{1, 100, 20, 2, 0, 30, -1, -1, 0}));
  EXPECT_EQ(object("Fish").values[kValueE], -1);
  EXPECT_EQ(fish.radius1, 12);
  const auto& moon = entry(2);
  EXPECT_EQ(std::vector<int32_t>({moon.growMax2, moon.growMin2, moon.growDelta2, moon.growHold2,
                                  moon.growHoldFrames2, moon.growHoldCount2, moon.growRepetition2}),
            (std::vector<int32_t>{50, 10, 3, 0, 40, -1, 2}));
  EXPECT_EQ(entry(0).growRadius, 0);
  step();
  EXPECT_EQ(boxes(),
            (Boxes{{"MatchParams is empty...", "REGEX Exact Match :: ERROR ( ocNC_ChangeGrowRadius )"},
                   {kGrowMissedText, kGrowMissedCaption}}));
  step();
  EXPECT_EQ(boxes(), missed);
  step();
  EXPECT_TRUE(boxes().empty());  // no change per frame ends the cycles, and still hits
  EXPECT_EQ(entry(1).growRadius, 0);
  EXPECT_EQ(entry(2).growRadius, 0);
}

TEST_F(Commands, AlphaCoefficientReachesOnlyAlphaInkedObjectsOfTheNameAndKeepsTheColourBytes) {
  start(motionScene(objectType("Ball", R"({"inkEffect":13},{"inkEffect":4109})") + "," +
                        objectType("Plain", "{}") + "," + objectType("Cube", R"({"inkEffect":13})"),
                    atFrame(0, action(kNullMotion, objects("Ball") + R"(,"")") + "," +
                                   action(kNullMotion, objects("Plain") + R"(,"Ball")") + "," +
                                   action(kNullMotion, objects("Cube") + R"(,"")") + "," +
                                   action(kAlpha, named("Ball") + ",100")) +
                        "," + atFrame(1, action(kAlpha, named("") + ",300"))));
  step();
  EXPECT_EQ(object("Ball", 0).alpha, 100);
  EXPECT_EQ(object("Ball", 1).alpha, 100);  // the effect is the low 12 bits of the ink word
  EXPECT_EQ(object("Plain").alpha, 255);
  EXPECT_EQ(object("Cube").alpha, 255);
  EXPECT_EQ(entry(0).object->ros.rsEffectObject->rgbaCoefficient & 0xFFFFFFu, 0xFFFFFFu);
  step();
  EXPECT_EQ(object("Cube").alpha, 44);  // the low 8 bits of 255 - 300
  EXPECT_EQ(object("Plain").alpha, 255);
}

// Delayed reject.

TEST_F(Commands, DelayedRejectGoesAfterItsDelayAndAnUnknownNameLeavesArmedEntriesCounting) {
  start(motionScene(objectType("Ball", "{},{}") + "," + objectType("Cube", "{}"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",1") + "," +
                                   action(kNullMotion, objects("Cube") + R"(,"C")")) +
                        "," +
                        atFrame(1, action(kDelayedReject, named("C") + ",0") + "," +
                                       action(kDelayedReject, named("Ball") + ",3")) +
                        "," + atFrame(2, action(kDelayedReject, named("Nope") + ",0"))));
  step();
  step();
  EXPECT_EQ(record().controlList.size(), 3u);
  step();
  EXPECT_EQ(groupNames(), std::vector<std::string>{"Ball"});
  EXPECT_EQ(entry(0).rejectDelay, 1);
  step();
  step();
  EXPECT_EQ(entry(1).rejectDelay, -1);
  step();
  EXPECT_TRUE(record().controlList.empty());
  EXPECT_TRUE(record().motionGroups.empty());
}

// Objects the host destroyed.

TEST_F(Commands, DeleteNeverDestroysAnObjectTwiceWhetherItWentThisStepOrEarlier) {
  start(motionScene(objectType("Ball", "{},{},{}") + "," + objectType("Cube", "{},{}"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",1") + "," +
                                   action(kNullMotion, objects("Cube") + R"(,"C")")) +
                        "," +
                        atFrame(1, destroy(instance("Ball", 0)) + "," + action(kDelete, named("Ball")) + "," +
                                       destroy(instance("Cube", 1))) +
                        "," + atFrame(3, action(kDelete, named("C")))));
  step();
  step();
  EXPECT_EQ(destroyed(), (std::vector<std::pair<std::string, int>>{{"Ball", 1}, {"Ball", 2}}));
  step();
  step();
  EXPECT_EQ(destroyed(), (std::vector<std::pair<std::string, int>>{{"Cube", 0}}));
  EXPECT_TRUE(record().controlList.empty());
}

TEST_F(Commands, UpdateAndRejectDropDestroyedObjectsEntriesAndUpdateKeepsTheCountsRight) {
  start(motionScene(
      objectType("Ball", "{},{},{}") + "," + objectType("Cube", "{},{}") + "," + objectType("Drop", "{},{}"),
      atFrame(0, action(kWrapWidth, objects("Ball") + ",1") + "," +
                     action(kNullMotion, objects("Cube") + R"(,"C")") + "," +
                     action(kWrapHeight, objects("Drop") + ",1")) +
          "," +
          atFrame(1, destroy(instance("Ball", 1)) + "," + destroy(objects("Cube")) + "," +
                         destroy(instance("Drop", 0))) +
          "," + atFrame(3, action(kUpdate, named("Ball")) + "," + action(kUpdate, named("Nope"))) + "," +
          atFrame(4, action(kUpdate, named(""))) + "," + atFrame(5, action(kReject, named("Drop")))));
  for (int i = 0; i < 4; ++i) step();
  EXPECT_EQ(record().controlList.size(), 6u);
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{0, 2}, {1, 2}, {2, 2}}));
  step();
  EXPECT_EQ(groupNames(), (std::vector<std::string>{"Ball", "Drop"}));
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{0, 2}, {2, 1}}));
  ASSERT_EQ(record().controlList.size(), 3u);
  EXPECT_EQ(object("Drop", 1).y, 5);  // still moving
  step();
  EXPECT_EQ(record().controlList.size(), 2u);
  EXPECT_EQ(object("Ball", 2).x, 6);
}

}  // namespace
}  // namespace vohost
