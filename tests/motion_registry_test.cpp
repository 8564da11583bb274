// The motion controller's registry as the set-up actions fill it: groups by name, duplicates, start
// angles, the orbit parameter string, virtual walls, the move-toward actions and the delayed reject.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/logged_values.h"
#include "tests/motion_scene.h"
#include "vohost/utf.h"

namespace vohost {
namespace {

constexpr int kWrapWidth = 17, kWrapHeight = 19, kTargetOrbit = 22, kNullMotion = 23, kWaveWidth = 24,
              kOwnOrbitParams = 28, kTargetOrbitParams = 29, kWallTop = 30, kWallLeft = 31, kWallRight = 32,
              kWallBottom = 33, kWallAutoSetup = 34, kMoveToward = 52, kMoveTowardCustom = 53;
constexpr const char* kOrbitParamsCaption = "REGEX Exact Match :: ERROR >> ocSetup_REGEX_input_Params_Orb";

class Registry : public MotionFrame {
 protected:
  std::vector<std::string> groupNames() {
    std::vector<std::string> names;
    for (const auto& group : record().motionGroups) names.push_back(toUtf8(group.name));
    return names;
  }
};

std::string jsonText(const std::string& text) {
  return "\"" + text + "\"";
}

// Logs alterable value `letter` of instance `index` as the event list sees it at that point, before the
// frame step moves anything.
std::string logValue(const std::string& letter, const std::string& type, int index) {
  std::string name = letter + std::to_string(index);
  return R"({"host":"log","name":")" + name + R"(","value":{"alterableValue":")" + letter +
         R"(","object":")" + type + R"(","instances":[)" + std::to_string(index) + "]}}";
}

// Groups and duplicates.

TEST_F(Registry, SecondSetUpOfAnObjectIsRefusedWithABoxUnderThePopUpSetting) {
  for (int popup : {1, 0}) {
    start(motionScene(objectType("Ball", "{}"),
                      atFrame(0, action(kWrapWidth, objects("Ball") + ",3") + "," +
                                     action(kNullMotion, objects("Ball") + R"(,"Other")")),
                      popup));
    step();
    ASSERT_EQ(record().controlList.size(), 1u);
    EXPECT_EQ(entry(0).motionKind, 1);
    EXPECT_EQ(groupNames(), std::vector<std::string>{"Ball"});
    if (popup == 1) {
      ASSERT_EQ(last.messageBoxes.size(), 1u);
      EXPECT_EQ(last.messageBoxes[0].text, "Warning :: Redundant Input >> Other");
      EXPECT_EQ(last.messageBoxes[0].caption, "Name Regist Error :: Name Duplicate");
    } else {
      EXPECT_TRUE(last.messageBoxes.empty());
    }
  }
}

TEST_F(Registry, TypesSharingANameShareOneGroupAndAnEmptyNameIsTheTypeName) {
  std::string fortyLetters(40, 'g');
  start(motionScene(objectType("Ant", "{}") + "," + objectType("Bee", "{}") + "," +
                        objectType("Cat", "{},{}") + "," + objectType("Dog", "{}"),
                    atFrame(0, action(kWaveWidth, R"("Swarm",)" + objects("Ant") + ",1,5,5") + "," +
                                   action(kWaveWidth, R"("Swarm",)" + objects("Bee") + ",1,5,5") + "," +
                                   action(kNullMotion, instance("Cat", 0) + R"(,"")") + "," +
                                   action(kWrapWidth, instance("Cat", 1) + ",2") + "," +
                                   action(kNullMotion, objects("Dog") + "," + jsonText(fortyLetters)))));
  step();
  EXPECT_EQ(groupNames(), (std::vector<std::string>{"Swarm", "Cat", fortyLetters}));
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{0, 2}, {1, 2}, {2, 1}}));
  EXPECT_EQ(entry(1).groupId, 0);
  EXPECT_EQ(entry(3).groupId, 1);
  EXPECT_EQ(record().nextGroupId, 3);
}

// After 2^31 groups the identifiers go on from 0, never negative (-1 is "no group") and never one a
// living group holds.
TEST_F(Registry, GroupIdentifiersPastTheLastGoOnFromZeroAroundTheLivingGroups) {
  start(motionScene(objectType("Ant", "{}") + "," + objectType("Bee", "{}") + "," + objectType("Cat", "{}"),
                    atFrame(0, action(kNullMotion, objects("Ant") + R"(,"First")")) + "," +
                        atFrame(1, action(kNullMotion, objects("Bee") + R"(,"Last")") + "," +
                                       action(kNullMotion, objects("Cat") + R"(,"Next")"))));
  step();
  record().nextGroupId = INT32_MAX;
  step();
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{0, 1}, {INT32_MAX, 1}, {1, 1}}));
  EXPECT_EQ(record().nextGroupId, 2);
  EXPECT_EQ(groupNames(), (std::vector<std::string>{"First", "Last", "Next"}));
}

TEST_F(Registry, DelayedRejectRemovesTheEntryAfterItsDelayAndTheGroupWithItsLastMember) {
  start(motionScene(objectType("Ball", "{},{}") + "," + objectType("Cube", "{}"),
                    atFrame(0, action(kNullMotion, instance("Ball", 0) + R"(,"A")") + "," +
                                   action(kNullMotion, instance("Ball", 1) + R"(,"Keep")")) +
                        "," + atFrame(4, action(kNullMotion, objects("Cube") + R"(,"B")"))));
  step();
  entry(0).rejectArmed = 1;
  entry(0).rejectDelay = 0;
  record().pendingReject = 1;
  step();
  EXPECT_EQ(record().controlList.size(), 2u);
  EXPECT_EQ(entry(0).rejectDelay, -1);
  step();
  ASSERT_EQ(record().controlList.size(), 1u);
  EXPECT_EQ(groupNames(), std::vector<std::string>{"Keep"});
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{1, 1}}));
  EXPECT_EQ(record().pendingReject, 1);
  step();
  EXPECT_EQ(record().pendingReject, 0);
  step();
  EXPECT_EQ(record().motionGroups.back().MotionGroupIdentifier, 2);
}

TEST_F(Registry, RejectWithDelayMinusOneGoesAtTheFirstStepAndEarlierMembersKeepTheGroup) {
  start(motionScene(objectType("Ball", "{},{}"), atFrame(0, action(kWrapWidth, objects("Ball") + ",1"))));
  step();
  entry(1).rejectArmed = 1;
  entry(1).rejectDelay = -1;
  record().pendingReject = 1;
  step();  // moves it once more, then lets it go
  ASSERT_EQ(record().controlList.size(), 1u);
  EXPECT_EQ(record().groupCounts, (std::vector<nimbo::motion::GroupCount>{{0, 1}}));
  step();
  EXPECT_EQ(object("Ball", 0).x, 3);
  EXPECT_EQ(object("Ball", 1).x, 2);
}

// Start angles and the orbit parameter string.

TEST_F(Registry, TargetOrbitsOfFourInstancesStartAQuarterTurnApartUnreduced) {
  start(motionScene(objectType("Planet", R"({"x":300,"y":200})") + "," + objectType("Moon", "{},{},{},{}"),
                    atFrame(0, action(kTargetOrbit, objects("Moon") + "," + objects("Planet") + ",50,0"))));
  step();
  std::vector<int32_t> angles, xs, ys;
  for (int i = 0; i < 4; ++i) {
    angles.push_back(entry(i).angle);
    xs.push_back(object("Moon", i).x);
    ys.push_back(object("Moon", i).y);
  }
  EXPECT_EQ(angles, (std::vector<int32_t>{180, 270, 360, 450}));
  EXPECT_EQ(xs, (std::vector<int32_t>{300, 350, 300, 250}));
  EXPECT_EQ(ys, (std::vector<int32_t>{150, 200, 250, 200}));
}

TEST_F(Registry, SpacedOrbitStringStartsStraightAboveTheObjectsFormerPlace) {
  start(motionScene(
      objectType("Moon", R"({"x":200,"y":300})") + "," + objectType("Star", R"({"x":200,"y":300})"),
      atFrame(0, action(kOwnOrbitParams, R"("",)" + objects("Star") + R"(,"50,50,0,0,0,0")") + "," +
                     action(kOwnOrbitParams, R"("",)" + objects("Moon") + R"(,"50, 50, -2, 0, 0, 0")"))));
  step();
  EXPECT_EQ(object("Star").x, 200);
  EXPECT_EQ(object("Star").y, 250);
  EXPECT_EQ(entry(1).radius1, 50);
  EXPECT_EQ(entry(1).radius2, 50);
  EXPECT_EQ(entry(1).angularVelocity, -2);
  EXPECT_EQ(object("Moon").x, 198);  // then a first step of -2 degrees
  EXPECT_EQ(object("Moon").y, 250);
  EXPECT_EQ(std::vector<int32_t>(record().orbitParams, record().orbitParams + 6),
            (std::vector<int32_t>{50, 50, -2, 0, 0, 0}));
}

TEST_F(Registry, OrbitStringWritesTheLoopIndexToAAndTheStartAngleToB) {
  start(
      motionScene(objectType("Moon", "{}"),
                  atFrame(0, action(kOwnOrbitParams, R"("",)" + objects("Moon") + R"(,"10,10,-2,-200,3,4")") +
                                 "," + logValue("B", "Moon", 0))));
  step();
  EXPECT_EQ(object("Moon").values[kValueA], 0);
  EXPECT_EQ(loggedNumber(last, "B0"), 160);
  EXPECT_EQ(object("Moon").values[kValueB], 0);  // the frame step's gate writes it every frame
  EXPECT_EQ(entry(0).centreOffsetX, 3);
  EXPECT_EQ(entry(0).centreOffsetY, 4);
}

TEST_F(Registry, FailedStringSkipsOnlyTheFirstInstanceAndTheOthersTakeTheLastGoodNumbers) {
  std::string planet = objectType("Planet", R"({"x":300,"y":200})");
  start(motionScene(planet + "," + objectType("Star", "{}") + "," + objectType("Moon", "{},{},{}"),
                    atFrame(0, action(kTargetOrbitParams, R"("",)" + objects("Star") + "," +
                                                              objects("Planet") + R"(,"30,30,0,0,0,0")") +
                                   "," +
                                   action(kTargetOrbitParams, R"("",)" + objects("Moon") + "," +
                                                                  objects("Planet") + R"(,"1,2,3")") +
                                   "," + logValue("B", "Moon", 1) + "," + logValue("B", "Moon", 2))));
  step();
  ASSERT_EQ(last.messageBoxes.size(), 1u);
  EXPECT_EQ(last.messageBoxes[0].text, "MatchParams is empty....");
  EXPECT_EQ(last.messageBoxes[0].caption, kOrbitParamsCaption);
  ASSERT_EQ(record().controlList.size(), 3u);
  EXPECT_EQ(entry(1).radius1, 30);
  EXPECT_EQ(entry(1).angle, 300);
  EXPECT_EQ(entry(2).angle, 420);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(object("Moon", i).values[kValueA], i);
  EXPECT_EQ(loggedNumber(last, "B1"), 120);
  EXPECT_EQ(loggedNumber(last, "B2"), -120);

  start(motionScene(planet + "," + objectType("Moon", "{},{}"),
                    atFrame(0, action(kTargetOrbitParams,
                                      R"("",)" + objects("Moon") + "," + objects("Planet") + R"(,"x")"))));
  step();
  ASSERT_EQ(record().controlList.size(), 1u);
  EXPECT_EQ(entry(0).radius1, 0);
  EXPECT_EQ(entry(0).angle, 360);
}

TEST_F(Registry, OrbitStringsThatAreNoListOfSix32BitIntegersAreRefused) {
  std::string huge(100000, '9');
  for (const std::string& text :
       {std::string("2147483648,1,1,1,1,1"), std::string("1,1,1,1,1,-2147483649"), std::string("1,1,1,1,1"),
        std::string("1,1,1,1,1,1,"), std::string("1,1,1,1,1,\\t1"), std::string("--1,1,1,1,1,1"),
        std::string(""), huge + ",1,1,1,1,1", std::string(100000, ','), huge}) {
    start(
        motionScene(objectType("Moon", "{}"),
                    atFrame(0, action(kOwnOrbitParams, R"("",)" + objects("Moon") + "," + jsonText(text)))));
    step();
    EXPECT_TRUE(record().controlList.empty()) << text.substr(0, 40);
    ASSERT_EQ(last.messageBoxes.size(), 1u) << text.substr(0, 40);
    EXPECT_EQ(last.messageBoxes[0].caption, kOrbitParamsCaption);
  }
  start(motionScene(objectType("Moon", "{}"),
                    atFrame(0, action(kOwnOrbitParams, R"("",)" + objects("Moon") +
                                                           R"(,"-2147483648,+2147483647,1 0,0 0 7,0,00")"))));
  step();
  EXPECT_EQ(std::vector<int32_t>(record().orbitParams, record().orbitParams + 6),
            (std::vector<int32_t>{INT32_MIN, INT32_MAX, 10, 7, 0, 0}));
}

TEST_F(Registry, ObjectsThatAreNotActiveOrAbsentAreNotRegistered) {
  start(motionScene(
      objectType("Ball", "{}") + R"(,{"name":"Label","kind":"text","instances":[{}]},)" +
          objectType("Nobody", ""),
      atFrame(0, action(kWrapWidth, objects("Label") + ",1") + "," +
                     action(kTargetOrbit, objects("Ball") + "," + objects("Label") + ",5,5") + "," +
                     action(kTargetOrbit, objects("Ball") + "," + objects("Nobody") + ",5,5") + "," +
                     action(kTargetOrbitParams,
                            R"("",)" + objects("Ball") + "," + objects("Nobody") + R"(,"1,1,1,1,1,1")"))));
  step();
  EXPECT_TRUE(record().controlList.empty());
  EXPECT_TRUE(record().motionGroups.empty());
  EXPECT_TRUE(last.messageBoxes.empty());
}

// Virtual walls.

TEST_F(Registry, GroupWallsGoToEveryEntryOfTheGroupAndAutoSetupOrdersItsPositions) {
  start(motionScene(
      objectType("Ball", R"({"x":490},{"x":0})") + "," + objectType("Drop", "{}"),
      atFrame(0, action(kWrapWidth, instance("Ball", 0) + ",5") + "," +
                     action(kNullMotion, instance("Ball", 1) + R"(,"")") + "," +
                     action(kWrapHeight, objects("Drop") + ",1") + "," + action(kWallTop, R"("Ball",11)") +
                     "," + action(kWallBottom, R"("Ball",12)") + "," + action(kWallLeft, R"("Ball",13)") +
                     "," + action(kWallRight, R"("Ball",14)") + "," + action(kWallTop, R"("ball",99)") + "," +
                     action(kWallAutoSetup, instance("Ball", 0) + ",500,100") + "," +
                     action(kWallAutoSetup, instance("Ball", 1) + ",7,8") + "," +
                     action(kWallAutoSetup, objects("Drop") + ",300,20"))));
  step();
  const auto& ball = entry(0);
  const auto& still = entry(1);
  const auto& drop = entry(2);
  EXPECT_EQ(std::vector<int32_t>({ball.wallTop, ball.wallBottom, ball.wallLeft, ball.wallRight}),
            (std::vector<int32_t>{11, 12, 100, 500}));
  EXPECT_EQ(std::vector<int32_t>({still.wallTop, still.wallBottom, still.wallLeft, still.wallRight}),
            (std::vector<int32_t>{11, 12, 13, 14}));
  EXPECT_EQ(std::vector<int32_t>({drop.wallTop, drop.wallBottom, drop.wallLeft, drop.wallRight}),
            (std::vector<int32_t>{20, 300, 0, 0}));
  EXPECT_EQ(object("Ball").x, 495);
  step();
  EXPECT_EQ(step().objects[0].x, 69);  // past the wall at 500: back beyond the wall at 100
}

// Move toward.

TEST_F(Registry, MoveTowardRegistersNothingAndTheCustomFormWritesTheLoopIndex) {
  start(motionScene(
      objectType("Ball", R"({"values":[7]},{"values":[7]},{"values":[7]})"),
      atFrame(0, action(kMoveToward, objects("Ball") + R"(,"Ball",1)") + "," +
                     action(kMoveTowardCustom, R"("Chase",)" + objects("Ball") + R"(,"Ball",0,"60,0,0")"))));
  step();
  EXPECT_TRUE(record().controlList.empty());
  EXPECT_TRUE(record().motionGroups.empty());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(object("Ball", i).values[kValueA], i);
}

}  // namespace
}  // namespace vohost
