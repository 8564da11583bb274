// The motion controller frame by frame: wrap and flip at the walls, the sine wave, orbits with their
// fixed-angle pauses, the sleep/interval cycle, growing radii, and entries whose object or target the
// host destroyed (run under the address sanitizer: vohost frees such records).
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/motion_scene.h"

namespace vohost {
namespace {

constexpr int kWrapWidth = 17, kFlipWidth = 18, kWrapHeight = 19, kFlipHeight = 20, kOwnOrbit = 21,
              kTargetOrbit = 22, kWaveWidth = 24, kFlipWaveWidth = 25, kOrbitParams = 28;
constexpr int kStopped = 0, kMoveToward = 7;

class Motion : public MotionFrame {};

// Straight motions.

TEST_F(Motion, WrapPutsTheObjectBeyondTheLeftWallOnceItReachesTheRightAndWritesBEveryFrame) {
  start(motionScene(objectType("Ball", R"({"x":631,"values":[0,7]})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",5"))));
  EXPECT_EQ(step().objects[0].x, 636);
  EXPECT_EQ(object("Ball").values[kValueB], 0);
  EXPECT_EQ(step().objects[0].x, -31);
  EXPECT_EQ(step().objects[0].x, -26);
  EXPECT_EQ(object("Ball").direction, 0);
  EXPECT_EQ(calls("redrawObject", "Ball"), 1);
  EXPECT_EQ(calls("updateAnimation", "Ball"), 0);
}

TEST_F(Motion, FlipBouncesBackFromBothWallsAndUpdatesTheAnimationEveryFrame) {
  start(motionScene(objectType("Ball", R"({"x":638},{"x":-25})"),
                    atFrame(0, action(kFlipWidth, instance("Ball", 0) + ",5") + "," +
                                   action(kFlipWidth, instance("Ball", 1) + ",-5"))));
  step();
  EXPECT_EQ(object("Ball", 0).x, 634);
  EXPECT_EQ(object("Ball", 0).direction, 16);
  EXPECT_EQ(entry(0).xSpeed, -5);
  EXPECT_EQ(object("Ball", 1).x, -30);
  EXPECT_EQ(object("Ball", 1).direction, 16);
  step();
  EXPECT_EQ(object("Ball", 0).x, 629);
  EXPECT_EQ(object("Ball", 1).x, -31);
  EXPECT_EQ(object("Ball", 1).direction, 0);
  EXPECT_EQ(entry(1).xSpeed, 5);
  EXPECT_EQ(calls("updateAnimation", "Ball", 0), 1);
  EXPECT_EQ(calls("redrawObject", "Ball", 0), 1);
}

TEST_F(Motion, VerticalWrapUsesTheWholeHeightWithoutTheExtraPixelAndFlipKeepsTheNewY) {
  start(motionScene(objectType("Ball", R"({"y":472},{"y":-28},{"y":474})"),
                    atFrame(0, action(kWrapHeight, instance("Ball", 0) + ",4") + "," +
                                   action(kWrapHeight, instance("Ball", 1) + ",-4") + "," +
                                   action(kFlipHeight, instance("Ball", 2) + ",4"))));
  step();
  EXPECT_EQ(object("Ball", 0).y, 476);
  EXPECT_EQ(object("Ball", 0).direction, 24);
  EXPECT_EQ(object("Ball", 1).y, 480);
  EXPECT_EQ(object("Ball", 1).direction, 8);
  EXPECT_EQ(object("Ball", 2).y, 478);
  step();
  EXPECT_EQ(object("Ball", 0).y, -32);
  EXPECT_EQ(object("Ball", 2).y, 482);
  EXPECT_EQ(object("Ball", 2).direction, 8);
  EXPECT_EQ(entry(2).ySpeed, -4);
}

// Positions are worked out in 64 bits and kept modulo 2^32.
TEST_F(Motion, ExtremeSpeedsBounceWithoutOverflow) {
  start(motionScene(objectType("Ball", R"({"x":2147483600})"),
                    atFrame(0, action(kFlipWidth, objects("Ball") + ",2147483647"))));
  EXPECT_EQ(step().objects[0].x, -2147482316);  // 1282 - (2^31 - 48) - (2^31 - 1), modulo 2^32
  EXPECT_EQ(entry(0).xSpeed, -INT_MAX);
  EXPECT_EQ(step().objects[0].x, -31);
  EXPECT_EQ(entry(0).xSpeed, INT_MAX);
}

// The sine wave.

TEST_F(Motion, WaveAddsTheSineOfTheUnreducedAngleToItsAxis) {
  start(motionScene(objectType("Wave", R"({"x":10,"y":100})"),
                    atFrame(0, action(kWaveWidth, R"("",)" + objects("Wave") + ",2,20,10"))));
  std::vector<int32_t> ys;
  for (int i = 0; i < 4; ++i) ys.push_back(step().objects[0].y);
  EXPECT_EQ(ys, (std::vector<int32_t>{100, 103, 106, 110}));
  EXPECT_EQ(object("Wave").x, 18);
  EXPECT_EQ(entry(0).angle, 40);
}

TEST_F(Motion, WaveAngleAboutToLeaveThe32BitRangeKeepsItsPhase) {
  start(motionScene(objectType("Wave", R"({"y":100})"),
                    atFrame(0, action(kWaveWidth, R"("",)" + objects("Wave") + ",0,20,0"))));
  step();
  entry(0).angle = INT_MAX - 5;  // 122 degrees past a whole number of turns
  entry(0).angularVelocity = 10;
  EXPECT_EQ(step().objects[0].y, 116);
  EXPECT_EQ(entry(0).angle, 132);
  EXPECT_EQ(step().objects[0].y, 114);
}

TEST_F(Motion, FlipWaveTurnsAWholeObjectBeyondTheWallAndKeepsItsPosition) {
  start(motionScene(objectType("Wave", R"({"x":665,"y":100})"),
                    atFrame(0, action(kFlipWaveWidth, R"("",)" + objects("Wave") + ",7,0,0"))));
  step();
  EXPECT_EQ(object("Wave").x, 672);
  EXPECT_EQ(object("Wave").direction, 16);
  EXPECT_EQ(entry(0).xSpeed, -7);
  EXPECT_EQ(step().objects[0].x, 665);
}

// Orbits.

TEST_F(Motion, FixedAngleRotationEndsExactlyOnItsAngleThenPausesItsLengthPlusOneFrame) {
  start(motionScene(objectType("Moon", R"({"x":300,"y":200})"),
                    atFrame(0, action(kOwnOrbit, objects("Moon") + ",50,0"))));
  step();
  EXPECT_EQ(object("Moon").x, 300);
  EXPECT_EQ(object("Moon").y, 150);
  auto& orbit = entry(0);
  orbit.angularVelocity = 7;
  orbit.rotateActive = 1;
  orbit.rotationAngle = 90;
  orbit.rotationRepetition = -1;
  orbit.intervalFrames = 3;
  std::vector<int32_t> angles;
  for (int i = 0; i < 13; ++i) angles.push_back(step().objects[0].values[kValueD]);
  EXPECT_EQ(angles, (std::vector<int32_t>{7, 14, 21, 28, 35, 42, 49, 56, 63, 70, 77, 84, 90}));
  EXPECT_EQ(object("Moon").x, 350);
  EXPECT_EQ(object("Moon").y, 200);
  std::vector<int32_t> pause;
  for (int i = 0; i < 4; ++i) {
    pause.push_back(step().objects[0].values[kValueC]);
    EXPECT_EQ(object("Moon").values[kValueD], 90);
    EXPECT_EQ(calls("redrawObject", "Moon"), 0);
  }
  EXPECT_EQ(pause, (std::vector<int32_t>{2, 1, 0, 0}));
  EXPECT_EQ(step().objects[0].values[kValueD], 97);
}

TEST_F(Motion, LastFixedAngleRepetitionStopsTheOrbitAndAMomentaryPauseStopsItAtOnce) {
  start(motionScene(objectType("Moon", R"({"x":300,"y":200},{"x":100,"y":100})"),
                    atFrame(0, action(kOwnOrbit, objects("Moon") + ",50,0"))));
  step();
  for (size_t i = 0; i < 2; ++i) {
    entry(i).angularVelocity = 45;
    entry(i).rotateActive = 1;
    entry(i).rotationAngle = 45;
  }
  entry(0).rotationRepetition = 1;
  entry(0).intervalFrames = 1;
  entry(1).momentaryPause = 1;
  entry(1).rotationRepetition = -1;
  step();
  EXPECT_EQ(entry(1).moving, 0);
  EXPECT_EQ(object("Moon", 1).values[kValueD], 45);
  step();  // the pause starts
  step();  // and ends, with the last repetition
  EXPECT_EQ(entry(0).rotationRepetition, 0);
  EXPECT_EQ(entry(0).moving, 1);
  step();
  EXPECT_EQ(entry(0).moving, 0);
  EXPECT_EQ(entry(0).rotateActive, 0);
  EXPECT_EQ(entry(0).rotationAngle, 0);
  EXPECT_EQ(object("Moon", 0).values[kValueC], 0);
}

TEST_F(Motion, BackwardOrbitKeepsItsAngleBetween0And360AndWritesTheDesignersAngleToD) {
  start(
      motionScene(objectType("Moon", R"({"x":300,"y":200})"),
                  atFrame(0, action(kOrbitParams, R"("",)" + objects("Moon") + R"(,"50,50,-10,-175,0,0")"))));
  step();
  EXPECT_EQ(entry(0).angle, 355);
  EXPECT_EQ(object("Moon").values[kValueD], 175);
  entry(0).angularVelocity = 10;
  step();
  EXPECT_EQ(entry(0).angle, 5);
  EXPECT_EQ(object("Moon").values[kValueD], -175);
}

TEST_F(Motion, OrbitWithoutAngularVelocityStaysButItsGateStillWritesB) {
  start(motionScene(objectType("Moon", R"({"x":300,"y":200,"values":[0,9,0,4]})"),
                    atFrame(0, action(kOwnOrbit, objects("Moon") + ",50,0"))));
  step();
  step();
  EXPECT_EQ(object("Moon").y, 150);
  EXPECT_EQ(object("Moon").values[kValueB], 0);
  EXPECT_EQ(object("Moon").values[kValueD], 4);
  EXPECT_EQ(calls("redrawObject", "Moon"), 0);
}

// The sleep/interval cycle and the grow-radius cycle.

TEST_F(Motion, SleepIntervalCycleMovesFiveFramesHoldsTwoThenRunsFreely) {
  start(motionScene(objectType("Ball", R"({"x":100})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",1"))));
  step();
  auto& ball = entry(0);
  ball.intervalFrames = 3;
  ball.intervalCount = 3;
  ball.sleepFrames = 2;
  ball.repetition = 1;
  std::vector<int32_t> xs, bs, cs;
  for (int frame = 1; frame <= 8; ++frame) {
    xs.push_back(step().objects[0].x);
    bs.push_back(object("Ball").values[kValueB]);
    cs.push_back(object("Ball").values[kValueC]);
  }
  EXPECT_EQ(xs, (std::vector<int32_t>{102, 103, 104, 105, 106, 106, 106, 107}));
  EXPECT_EQ(bs, (std::vector<int32_t>{0, 0, 0, 0, 2, 1, 0, 0}));
  EXPECT_EQ(cs, (std::vector<int32_t>{0, 2, 1, 0, 3, 3, 3, 3}));
  EXPECT_EQ(ball.intervalFrames, 0);
  EXPECT_EQ(ball.sleepFrames, 0);
  EXPECT_EQ(ball.inInterval, 0);
}

TEST_F(Motion, LeftoversOfACycleWithoutRepetitionsAreClearedWhileTheObjectMovesWithBAtZero) {
  start(motionScene(objectType("Ball", R"({"x":100})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",1"))));
  step();
  std::vector<int32_t> leftovers[] = {{0, 4, 0, 0}, {0, 0, 5, 0}, {0, 0, 0, 2}, {-3, 0, 0, 0}};
  int32_t x = object("Ball").x;
  for (const auto& fields : leftovers) {
    auto& ball = entry(0);
    ball.sleepCount = fields[0];
    ball.sleepFrames = fields[1];
    ball.intervalFrames = fields[2];
    ball.intervalCount = fields[3];
    EXPECT_EQ(step().objects[0].x, ++x);
    EXPECT_EQ(object("Ball").values[kValueB], 0);
    EXPECT_EQ(
        std::vector<int32_t>({ball.sleepCount, ball.sleepFrames, ball.intervalFrames, ball.intervalCount}),
        std::vector<int32_t>(4, 0));
  }
}

TEST_F(Motion, GrowingRadiusClimbsToItsLimitHoldsWhileECountsDownThenShrinks) {
  start(motionScene(objectType("Wave", R"({"y":100})"),
                    atFrame(0, action(kWaveWidth, R"("",)" + objects("Wave") + ",0,96,0"))));
  step();
  auto& wave = entry(0);
  wave.growRadius = 1;
  wave.growMax1 = 100;
  wave.growMin1 = 20;
  wave.growDelta1 = 2;
  wave.growHoldFrames1 = 30;
  wave.growHoldCount1 = -1;
  wave.growRepetition1 = -1;
  std::vector<int32_t> radii, countdown;
  for (int i = 0; i < 34; ++i) {
    step();
    radii.push_back(wave.radius1);
    countdown.push_back(object("Wave").values[kValueE]);
  }
  std::vector<int32_t> holding(30, 100);
  std::vector<int32_t> wantRadii = {98, 100};
  wantRadii.insert(wantRadii.end(), holding.begin(), holding.end());
  wantRadii.insert(wantRadii.end(), {98, 96});
  EXPECT_EQ(radii, wantRadii);
  std::vector<int32_t> wantCountdown = {0, 0};
  for (int e = 29; e >= 0; --e) wantCountdown.push_back(e);
  wantCountdown.insert(wantCountdown.end(), {-1, -1});
  EXPECT_EQ(countdown, wantCountdown);
  for (int i = 0; i < 38; ++i) step();
  EXPECT_EQ(wave.radius1, 20);
  EXPECT_EQ(wave.growHold1, 1);
  EXPECT_EQ(wave.growDelta1, -2);
}

TEST_F(Motion, SecondRadiusGrowsOnItsOwnWritesNothingAndItsLastHoldEndsTheCycle) {
  start(motionScene(objectType("Moon", R"({"x":300,"y":200,"values":[0,0,0,0,5]})"),
                    atFrame(0, action(kOwnOrbit, objects("Moon") + ",40,1"))));
  step();
  auto& moon = entry(0);
  moon.growRadius = 1;
  moon.growMax2 = 44;
  moon.growMin2 = 10;
  moon.growDelta2 = 2;
  moon.growHoldFrames2 = 1;
  moon.growHoldCount2 = -1;
  std::vector<int32_t> radii;
  for (int i = 0; i < 5; ++i) {
    step();
    radii.push_back(moon.radius2);
  }
  EXPECT_EQ(radii, (std::vector<int32_t>{42, 44, 44, 44, 44}));
  EXPECT_EQ(moon.growRadius, 0);
  EXPECT_EQ(moon.radius1, 40);
  EXPECT_EQ(object("Moon").values[kValueE], 5);
}

// Entries the loop leaves alone.

TEST_F(Motion, StoppedNullAndMoveTowardEntriesAreNotTouchedNotEvenTheirValues) {
  start(motionScene(
      objectType("Ball", R"({"x":10,"values":[0,9]},{"x":20,"values":[0,9]},{"x":30,"values":[0,9]})"),
      atFrame(0, action(kWrapWidth, instance("Ball", 0) + ",3") + "," +
                     action(23, instance("Ball", 1) + R"(,"")") + "," +
                     action(kWrapWidth, instance("Ball", 2) + ",3"))));
  step();
  entry(0).moving = kStopped;
  entry(2).motionKind = kMoveToward;
  step();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(calls("redrawObject", "Ball", i), 0);
  EXPECT_EQ(object("Ball", 0).x, 13);
  EXPECT_EQ(object("Ball", 1).values[kValueB], 9);
  EXPECT_EQ(object("Ball", 2).x, 33);
}

// Objects the host destroyed.

TEST_F(Motion, DestroyedObjectsEntryStaysRegisteredButIsNeverSteppedAgain) {
  start(motionScene(objectType("Ball", R"({"x":10},{"x":20})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",3")) + "," +
                        atFrame(2, R"({"host":"destroy object","object":)" + instance("Ball", 0) + "}")));
  step();
  step();
  EXPECT_EQ(calls("redrawObject", "Ball", 0), 1);
  step();
  EXPECT_TRUE(object("Ball", 0).destroyed);
  EXPECT_EQ(object("Ball", 0).x, 16);
  EXPECT_EQ(calls("redrawObject", "Ball", 0), 0);
  EXPECT_EQ(entry(0).object, nullptr);
  for (int i = 0; i < 3; ++i) step();
  EXPECT_EQ(object("Ball", 1).x, 38);
  ASSERT_EQ(record().controlList.size(), 2u);
  EXPECT_EQ(record().groupCounts.at(0).second, 2);
}

TEST_F(Motion, StoppedEntryOfADestroyedObjectIsLetGoOfTooAndStaysStillWhenMovedAgain) {
  start(motionScene(objectType("Ball", R"({"x":10})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",3")) + "," +
                        atFrame(2, R"({"host":"destroy object","object":)" + objects("Ball") + "}")));
  step();
  entry(0).moving = 0;
  step();
  step();
  step();
  entry(0).moving = 1;
  step();
  step();
  EXPECT_EQ(entry(0).object, nullptr);
  EXPECT_EQ(object("Ball").x, 13);
}

TEST_F(Motion, OrbitWhoseTargetIsDestroyedHoldsStillWhileOthersGoOn) {
  start(motionScene(objectType("Planet", R"({"x":300,"y":200})") + "," +
                        objectType("Moon", R"({"x":0,"y":0})") + "," + objectType("Ball", R"({"x":10})"),
                    atFrame(0, action(kTargetOrbit, objects("Moon") + "," + objects("Planet") + ",50,10") +
                                   "," + action(kWrapWidth, objects("Ball") + ",1")) +
                        "," + atFrame(2, R"({"host":"destroy object","object":)" + objects("Planet") + "}")));
  step();
  step();
  ObjectState before = object("Moon");
  for (int i = 0; i < 3; ++i) step();
  EXPECT_EQ(object("Moon").x, before.x);
  EXPECT_EQ(object("Moon").y, before.y);
  EXPECT_EQ(entry(0).target, nullptr);
  EXPECT_EQ(entry(0).hasTarget, 1);
  EXPECT_EQ(entry(0).moving, 1);
  EXPECT_EQ(object("Ball").x, 15);
}

// A line raised by the frame step runs before the motion loop: the mark is seen in that same step.
// Condition 1 is raised every frame step while the auto-position mode (action 3) is on.
TEST_F(Motion, ObjectDestroyedWhileTheFrameStepRaisesItsConditionsIsNotMovedThatStep) {
  start(motionScene(objectType("Ball", R"({"x":10})"),
                    atFrame(0, action(kWrapWidth, objects("Ball") + ",3") + "," + action(3, "")) + "," +
                        R"({"conditions":[{"condition":1},{"host":"frame","frame":1}],"actions":[)" +
                        R"({"host":"destroy object","object":)" + objects("Ball") + "}]}"));
  step();
  step();
  EXPECT_EQ(calls("redrawObject", "Ball"), 0);
  EXPECT_EQ(object("Ball").x, 13);
  step();
  step();
  EXPECT_EQ(entry(0).object, nullptr);
}

}  // namespace
}  // namespace vohost
