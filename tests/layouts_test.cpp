// The arrangement actions as a game runs them: the host calls each once per selected instance with the
// action-loop index and the loop-again flag, and the objects end up in the figure, to the pixel, with
// their value A, forced frame and direction.
#include <climits>

#include "tests/layout_scenes.h"

namespace vohost {
namespace {

using nimbo::Text;

constexpr int kConnect2Points = 10, kZigZag = 11, kColumn = 12, kCircle = 13, kGrid = 14, kLeftLMS = 15,
              kCounterLMS = 16, kSemiCircle = 46, kRhombus = 47, kTrapezoid = 48, kRowMatrix = 50;

EditOverrides withText(const Text& text) {
  return {1, {}, text};
}

using Layouts = LayoutFrame;

// The common start.

TEST_F(Layouts, AnObjectThatIsNotActiveIsLeftAloneWithTheBoxOnlyUnderThePopUpSetting) {
  ObjectType backdrop{"Wall", 1, {sized(32, 32, 7, 9)}};
  StepRecord record = arrange(backdrop, kZigZag, {all("Wall"), 100, 200, 10});
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].text, "Selected Objects Not the Sprite");
  EXPECT_EQ(record.messageBoxes[0].caption, "ObjectControl :: Notification");
  EXPECT_EQ(places(record, "Wall"), (std::vector<Place>{{7, 9}}));
  EXPECT_TRUE(record.calls.empty());

  record = arrange(backdrop, kLeftLMS, {all("Wall"), 4});
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].caption, "ObjectAlign:: Notification");

  record = arrange(backdrop, kSemiCircle, {all("Wall"), text("1,2,3,4,5,6")}, {0, {}, {}});
  EXPECT_TRUE(record.messageBoxes.empty());
  EXPECT_TRUE(record.calls.empty());
}

TEST_F(Layouts, ConnectTwoPointsReadsItsParametersAndMovesNothing) {
  StepRecord record = arrange(activeType("Ball", 3, sized(32, 32, 5, 6)), kConnect2Points,
                              {all("Ball"), Position{0, 0}, Position{300, 200}, 1, 8, 1});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{5, 6}, {5, 6}, {5, 6}}));
  EXPECT_TRUE(record.calls.empty());
  EXPECT_TRUE(record.messageBoxes.empty());
}

// Zigzag, column, circle, grid.

TEST_F(Layouts, ZigZagLiftsOddObjectsByTheirHeightAndSpacesByWidthAndMargin) {
  StepRecord record = arrange(activeType("Ball", 4), kZigZag, {all("Ball"), 100, 200, 10});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{100, 200}, {142, 168}, {184, 200}, {226, 168}}));
  EXPECT_EQ(valuesA(record, "Ball"), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(serviceCalls(record)[0], "updateAnimation 0");
  EXPECT_EQ(serviceCalls(record)[1], "redrawObject 0");
  EXPECT_EQ(record.objects[1].animationFrame, 1);
}

TEST_F(Layouts, ColumnSpacesEachObjectByItsOwnHeight) {
  StepRecord record = arrange(activeType("Ball", {sized(10, 30), sized(10, 20), sized(10, 30)}), kColumn,
                              {all("Ball"), 5, 10, 2});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{5, 10}, {5, 32}, {5, 74}}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(Layouts, CircleSplitsByEveryInstanceOfTheTypeEvenWhenOnlySomeAreSelected) {
  StepRecord record = arrange(activeType("Ball", 4), kCircle, {all("Ball"), 100, 100, 50});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{100, 50}, {150, 100}, {100, 150}, {50, 100}}));
  EXPECT_EQ(valuesA(record, "Ball"), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{0, 0, 0, 0}));

  record = arrange(activeType("Ball", 4, sized(32, 32, 1, 1)), kCircle,
                   {ObjectSelection{"Ball", {1, 3}}, 100, 100, 50});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{1, 1}, {100, 50}, {1, 1}, {150, 100}}));
}

TEST_F(Layouts, GridFillsRowsLeftToRightEachObjectSpacedByItsOwnWidthAndFacingRight) {
  InstanceSettings wide = sized(20, 10);
  wide.direction = 8;
  std::vector<InstanceSettings> balls(5, sized(10, 10));
  balls[1] = wide;
  StepRecord record = arrange(activeType("Ball", balls), kGrid, {all("Ball"), 50, 60, 3, 2, 4});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{50, 60}, {62, 60}, {84, 60}, {50, 74}, {62, 74}}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(record.objects[1].direction, 0);
  EXPECT_EQ(objectRecord(1).roa.raAnimDir, 0);
  EXPECT_EQ(objectRecord(1).roa.raAnimDirForced, 1);
}

TEST_F(Layouts, GridWithNoColumnsIsASingleColumn) {
  StepRecord record = arrange(activeType("Ball", 3, sized(10, 10)), kGrid, {all("Ball"), 50, 60, 0, 2, 4});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{50, 60}, {50, 74}, {50, 88}}));
}

TEST_F(Layouts, PlacesWrapAs32BitIntegersAndAPointPastThemTakesTheLowestPixel) {
  StepRecord record = arrange(activeType("Ball", 2), kZigZag, {all("Ball"), 0, 0, INT32_MAX});
  EXPECT_EQ(places(record, "Ball")[1], (Place{INT32_MIN + 31, -32}));
  record = arrange(activeType("Ball", 1), kCircle, {all("Ball"), INT32_MAX, 0, 0});
  EXPECT_EQ(places(record, "Ball")[0], (Place{INT32_MIN, 0}));
}

// Packed rows.

TEST_F(Layouts, LeftLMSPacksTheFollowersRightOfTheAnchorAndRedrawsThem) {
  std::vector<InstanceSettings> balls = {sized(32, 32, 40, 420), sized(20, 32, 0, 0), sized(32, 32, 0, 0)};
  StepRecord record = arrange(activeType("Ball", balls), kLeftLMS, {all("Ball"), 6});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{40, 420}, {78, 420}, {104, 420}}));
  EXPECT_EQ(valuesA(record, "Ball"), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(serviceCalls(record),
            (std::vector<std::string>{"updateAnimation 0", "updateAnimation 1", "redrawObject 1",
                                      "updateAnimation 2", "redrawObject 2"}));
  EXPECT_TRUE(rd().alignChain.empty());
}

TEST_F(Layouts, LeftLMSWithASingleInstanceKeepsItsPlaceAndOpensNoSeries) {
  StepRecord record = arrange(activeType("Ball", {sized(32, 32, 7, 8)}), kLeftLMS, {all("Ball"), 6});
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{7, 8}}));
  EXPECT_EQ(valuesA(record, "Ball"), std::vector<int32_t>{0});
  EXPECT_EQ(forcedFrames(record, "Ball"), std::vector<int32_t>{1});
  EXPECT_TRUE(rd().alignChain.empty());
}

TEST_F(Layouts, ASeriesOfOneAmongSeveralLeavesItsSlotToTheNextExecution) {
  std::vector<InstanceSettings> balls = {sized(32, 32, 40, 400), sized(32, 32, 0, 0), sized(32, 32, 0, 0)};
  start({activeType("Ball", balls)}, {{nimboAction(kLeftLMS, {ObjectSelection{"Ball", {0}}, 6})},
                                      {nimboAction(kLeftLMS, {ObjectSelection{"Ball", {2}}, 6})}});
  runtime->step();
  EXPECT_EQ(rd().alignChain.size(), 1u);
  StepRecord record = runtime->step();
  EXPECT_EQ(places(record, "Ball")[2], (Place{78, 400}));
  EXPECT_EQ(valuesA(record, "Ball")[2], 1);
  EXPECT_TRUE(rd().alignChain.empty());
}

TEST_F(Layouts, CounterShowsTheTextsDigitsFromTheRightAndDigitZeroPastIt) {
  std::vector<InstanceSettings> digits(4, sized(16, 24));
  digits[0] = sized(16, 24, 600, 420);
  StepRecord record =
      arrange(activeType("Digit", digits), kCounterLMS, {all("Digit"), 2}, withText(NIMBO_TEXT("407")));
  EXPECT_EQ(forcedFrames(record, "Digit"), (std::vector<int32_t>{8, 1, 5, 1}));
  EXPECT_EQ(places(record, "Digit"), (std::vector<Place>{{600, 420}, {582, 420}, {564, 420}, {546, 420}}));
  EXPECT_EQ(valuesA(record, "Digit"), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(record.objects[0].animationFrame, 7);
}

TEST_F(Layouts, CounterWithAnEmptyTextLeavesTheAnchorUnforcedAndANonDigitShowsDigitZero) {
  StepRecord record =
      arrange(activeType("Digit", 3), kCounterLMS, {all("Digit"), 0}, withText(NIMBO_TEXT("")));
  EXPECT_EQ(forcedFrames(record, "Digit"), (std::vector<int32_t>{0, 1, 1}));
  record = arrange(activeType("Digit", 4), kCounterLMS, {all("Digit"), 0}, withText(NIMBO_TEXT("-9x")));
  EXPECT_EQ(forcedFrames(record, "Digit"), (std::vector<int32_t>{1, 10, 1, 1}));
  EXPECT_TRUE(record.messageBoxes.empty());
}

// Semi-circle.

TEST_F(Layouts, SemiCircleFacesEachObjectAwayFromTheCentreClockwise) {
  InstanceSettings ball = sized(32, 32);
  ball.direction = 5;
  StepRecord record =
      arrange(activeType("Ball", 4, ball), kSemiCircle, {all("Ball"), text("100,100,50,50,0,90")});
  EXPECT_EQ(directions(record, "Ball"), (std::vector<int32_t>{8, 0, 24, 16}));
  EXPECT_EQ(places(record, "Ball"), (std::vector<Place>{{100, 50}, {150, 100}, {100, 150}, {50, 100}}));
  EXPECT_EQ(valuesA(record, "Ball"), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(forcedFrames(record, "Ball"), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(objectRecord(2).roa.raAnimDir, 24);
  EXPECT_EQ(objectRecord(2).roa.raAnimDirForced, 0);
  EXPECT_EQ(serviceCalls(record)[0], "updateAnimation 0");
}

TEST_F(Layouts, SemiCircleAnglesBeyondOneTurnFaceAsTheSameAngleWithinIt) {
  // Screen angles -30 and 330, then 770 and 50 (start angle + 270 + i x step).
  StepRecord record = arrange(activeType("Ball", 2), kSemiCircle, {all("Ball"), text("0,0,10,10,-300,360")});
  EXPECT_EQ(directions(record, "Ball"), (std::vector<int32_t>{2, 2}));
  record = arrange(activeType("Ball", 2), kSemiCircle, {all("Ball"), text("0,0,10,10,500,-720")});
  EXPECT_EQ(directions(record, "Ball"), (std::vector<int32_t>{27, 27}));

  record = arrange(activeType("Ball", 3), kSemiCircle,
                   {all("Ball"), text("0,0,10,10,300000000000000000000000000000000000000,"
                                      "300000000000000000000000000000000000000")});
  for (int32_t direction : directions(record, "Ball")) {
    EXPECT_GE(direction, 0);
    EXPECT_LT(direction, 32);
  }
}

// Rhombus.

TEST_F(Layouts, RhombusRowsGrowToTheArrayWidthThenShrinkCentredUnderTheTop) {
  StepRecord record =
      arrange(activeType("Gem", 9, sized(10, 10)), kRhombus, {all("Gem"), text("100,100,3,0,0,0")});
  EXPECT_EQ(places(record, "Gem"), (std::vector<Place>{{100, 100},
                                                       {95, 110},
                                                       {105, 110},
                                                       {90, 120},
                                                       {100, 120},
                                                       {110, 120},
                                                       {95, 130},
                                                       {105, 130},
                                                       {100, 140}}));
  EXPECT_EQ(forcedFrames(record, "Gem"), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

  record = arrange(activeType("Gem", 9, sized(10, 10)), kRhombus, {all("Gem"), text("100,100,3,4,0,0")});
  EXPECT_EQ(places(record, "Gem"), (std::vector<Place>{{100, 100},
                                                       {93, 110},
                                                       {107, 110},
                                                       {86, 120},
                                                       {100, 120},
                                                       {114, 120},
                                                       {93, 130},
                                                       {107, 130},
                                                       {100, 140}}));
}

TEST_F(Layouts, RhombusOfWidthTwoClosesAtTheTopXAndFurtherObjectsContinueItsLastRow) {
  StepRecord record =
      arrange(activeType("Gem", 6, sized(10, 10)), kRhombus, {all("Gem"), text("100,100,2,0,0,1")});
  EXPECT_EQ(places(record, "Gem"),
            (std::vector<Place>{{100, 100}, {95, 110}, {105, 110}, {100, 120}, {110, 120}, {120, 120}}));
  EXPECT_EQ(forcedFrames(record, "Gem"), (std::vector<int32_t>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(valuesA(record, "Gem"), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
}

TEST_F(Layouts, RhombusOfWidthOneNeverShrinks) {
  StepRecord record =
      arrange(activeType("Gem", 6, sized(10, 10)), kRhombus, {all("Gem"), text("100,100,1,0,0,0")});
  EXPECT_EQ(places(record, "Gem"),
            (std::vector<Place>{{100, 100}, {95, 110}, {105, 110}, {90, 120}, {100, 120}, {110, 120}}));
}

// Trapezoid.

TEST_F(Layouts, TrapezoidCentredBandsGrowToTheMiddleRowAndBack) {
  std::vector<InstanceSettings> hexes(19, sized(10, 10));
  hexes[0] = sized(10, 10, 100, 100);
  StepRecord record = arrange(activeType("Hex", hexes), kTrapezoid, {all("Hex"), text("3,5,0,0,1,0")});
  std::vector<Place> expected;
  for (int x : {100, 110, 120}) expected.push_back({x, 100});
  for (int x : {95, 105, 115, 125}) expected.push_back({x, 110});
  for (int x : {90, 100, 110, 120, 130}) expected.push_back({x, 120});
  for (int x : {95, 105, 115, 125}) expected.push_back({x, 130});
  for (int x : {100, 110, 120}) expected.push_back({x, 140});
  EXPECT_EQ(places(record, "Hex"), expected);
  EXPECT_EQ(forcedFrames(record, "Hex")[18], 19);
  EXPECT_EQ(rd().layoutState.rowsDone, 5);
}

TEST_F(Layouts, TrapezoidWithEqualRowsShrinksToLengthZeroAndThenStaysOnThatRow) {
  StepRecord record =
      arrange(activeType("Hex", 9, sized(10, 10)), kTrapezoid, {all("Hex"), text("3,3,0,0,0,0")});
  EXPECT_EQ(places(record, "Hex"),
            (std::vector<Place>{
                {0, 0}, {10, 0}, {20, 0}, {0, 10}, {10, 10}, {0, 20}, {0, 30}, {10, 30}, {20, 30}}));
}

TEST_F(Layouts, TrapezoidWithATopRowOfOneWidensTheFirstGapOfEveryRowUnlessRunningLeft) {
  StepRecord record =
      arrange(activeType("Hex", 6, sized(10, 10)), kTrapezoid, {all("Hex"), text("1,3,4,0,0,0")});
  EXPECT_EQ(places(record, "Hex"),
            (std::vector<Place>{{0, 0}, {0, 10}, {18, 10}, {0, 20}, {18, 20}, {32, 20}}));
  record = arrange(activeType("Hex", 6, sized(10, 10)), kTrapezoid, {all("Hex"), text("1,3,4,0,2,0")});
  EXPECT_EQ(places(record, "Hex"),
            (std::vector<Place>{{0, 0}, {0, 10}, {-14, 10}, {0, 20}, {-14, 20}, {-28, 20}}));
}

TEST_F(Layouts, TrapezoidWithTopRowOutsideOneToMiddleEndsSilentlyKeepingOriginAndCounts) {
  InstanceSettings hex = sized(10, 10, 30, 40);
  hex.values = {7};
  StepRecord record = arrange(activeType("Hex", 1, hex), kTrapezoid, {all("Hex"), text("4,3,0,0,0,0")});
  const ObjectState& first = *objectsOf(record, "Hex")[0];
  EXPECT_EQ(first.values[0], 7);
  EXPECT_EQ(first.forcedFrame, 0);
  EXPECT_TRUE(record.messageBoxes.empty());
  EXPECT_TRUE(record.calls.empty());
  EXPECT_EQ(rd().layoutState.originX, 30);
  EXPECT_EQ(rd().layoutState.edgeCount, 4);
  EXPECT_EQ(rd().layoutState.middleCount, 3);
}

// Row matrix offset.

TEST_F(Layouts, RowMatrixShiftsOddRowsByTheRowOffsetFromTheFirstObject) {
  std::vector<InstanceSettings> bricks(10, sized(20, 10));
  bricks[0] = sized(20, 10, 400, 300);
  StepRecord record = arrange(activeType("Brick", bricks), kRowMatrix, {all("Brick"), text("4,10,2,2,0,0")});
  EXPECT_EQ(places(record, "Brick"), (std::vector<Place>{{400, 300},
                                                         {422, 300},
                                                         {444, 300},
                                                         {466, 300},
                                                         {410, 312},
                                                         {432, 312},
                                                         {454, 312},
                                                         {476, 312},
                                                         {400, 324},
                                                         {422, 324}}));
  EXPECT_EQ(forcedFrames(record, "Brick")[9], 10);
  EXPECT_EQ(valuesA(record, "Brick")[9], 9);

  record = arrange(activeType("Brick", bricks), kRowMatrix, {all("Brick"), text("2,5,0,0,1,1")});
  EXPECT_EQ(places(record, "Brick"), (std::vector<Place>{{400, 300},
                                                         {380, 300},
                                                         {395, 290},
                                                         {375, 290},
                                                         {400, 280},
                                                         {380, 280},
                                                         {395, 270},
                                                         {375, 270},
                                                         {400, 260},
                                                         {380, 260}}));
}

TEST_F(Layouts, RowMatrixAfterATrapezoidWithTheAnimationOptionLeavesTheFramesAlone) {
  start({activeType("Hex", 3, sized(10, 10)), activeType("Brick", 3, sized(10, 10))},
        {{nimboAction(kTrapezoid, {all("Hex"), text("3,5,0,0,0,1")}),
          nimboAction(kRowMatrix, {all("Brick"), text("0,0,0,0,0,0")})}});
  StepRecord record = runtime->step();
  EXPECT_EQ(forcedFrames(record, "Hex"), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(forcedFrames(record, "Brick"), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(places(record, "Brick"), (std::vector<Place>{{0, 0}, {0, 10}, {0, 20}}));
  EXPECT_EQ(valuesA(record, "Brick"), (std::vector<int32_t>{0, 1, 2}));
}

// The figure of a series whose first call failed comes from what the shared fields last held.
TEST_F(Layouts, AFailedFirstCallLeavesTheNextCallsTheFieldsOfTheLastSeries) {
  start({activeType("Gem", 3, sized(10, 10))},
        {{nimboAction(kRhombus, {all("Gem"), text("100,100,3,0,0,0")})},
         {nimboAction(kRhombus, {all("Gem"), text("oops")})}});
  runtime->step();
  StepRecord record = runtime->step();
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(places(record, "Gem"), (std::vector<Place>{{100, 100}, {90, 120}, {100, 120}}));
}

}  // namespace
}  // namespace vohost
