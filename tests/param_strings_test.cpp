// Numeric parameter strings as the pattern layouts read them: which texts match, what their numbers
// become, and that a text that does not match, or whose numbers cannot be converted, shows its action's
// box and changes nothing.
#include <clocale>
#include <string>

#include "tests/layout_scenes.h"

namespace vohost {
namespace {

constexpr int kSemiCircle = 46, kRhombus = 47, kTrapezoid = 48, kRowMatrix = 50;

class ParamStrings : public LayoutFrame {
 protected:
  // One 10 x 10 object at (1, 2) with value A 7, arranged by `code` with `text`.
  StepRecord arrangeOne(int code, const std::string& text, uint8_t popup = 1) {
    InstanceSettings gem = sized(10, 10, 1, 2);
    gem.values = {7};
    return arrange(activeType("Gem", 1, gem), code, {all("Gem"), vohost::text(text)}, {popup, {}, {}});
  }

  const nimbo::align::LayoutState& layout() const { return rd().layoutState; }
};

// The semi-circle writes value A before it reads its text; the other actions leave it alone.
void expectRefused(const StepRecord& record, const std::string& caption, const std::string& text,
                   int32_t valueA = 7) {
  ASSERT_EQ(record.messageBoxes.size(), 1u) << text;
  EXPECT_EQ(record.messageBoxes[0].caption, caption) << text;
  EXPECT_EQ(record.messageBoxes[0].text, "MatchParams is empty...") << text;
  EXPECT_EQ(places(record, "Gem"), (std::vector<Place>{{1, 2}})) << text;
  EXPECT_EQ(valuesA(record, "Gem"), std::vector<int32_t>{valueA}) << text;
  EXPECT_TRUE(record.calls.empty()) << text;
}

TEST_F(ParamStrings, SixIntegersAreReadInOrderWithSpacesRemovedAndSignsKept) {
  struct Case {
    std::string text;
    int32_t x, y, width, offsetX, offsetY;
    uint8_t keepFrame;
  };
  const Case cases[] = {
      {"50,50,3,10,10,0", 50, 50, 3, 10, 10, 0},
      {" 5 0 , 5 0,3 ,1 0, 10,  1 ", 50, 50, 3, 10, 10, 1},
      {"+3,-5,0,0,0,1", 3, -5, 0, 0, 0, 1},
      {"007,-0,+0,0,0,2", 7, 0, 0, 0, 0, 0},
      {"2147483647,-2147483648,0,0,0,-1", INT32_MAX, INT32_MIN, 0, 0, 0, 0},
      {std::string(100000, ' ') + "1,2,3,4,5,1" + std::string(100000, ' '), 1, 2, 3, 4, 5, 1},
  };
  for (const Case& c : cases) {
    std::string shown = c.text.substr(0, 40);
    StepRecord record = arrangeOne(kRhombus, c.text);
    EXPECT_TRUE(record.messageBoxes.empty()) << shown;
    EXPECT_EQ(places(record, "Gem"), (std::vector<Place>{{c.x, c.y}})) << shown;
    EXPECT_EQ(layout().edgeCount, c.width) << shown;
    EXPECT_EQ(layout().offsetX, c.offsetX) << shown;
    EXPECT_EQ(layout().offsetY, c.offsetY) << shown;
    EXPECT_EQ(layout().keepFrame, c.keepFrame) << shown;
  }
}

TEST_F(ParamStrings, ATextThatIsNotExactlySixIntegersShowsTheBoxAndChangesNothing) {
  const std::string refused[] = {
      "",
      "3,5,0,0,0",
      "3,5,0,0,0,1,",
      ",3,5,0,0,0,1",
      "3,5,0,0,0,1,7",
      "3;5;0;0;0;1",
      "--3,5,0,0,0,1",
      "+-3,5,0,0,0,1",
      "3,\t5,0,0,0,1",
      "3,5,0,0,0,1\n",
      "x3,5,0,0,0,1",
      "3.5,5,0,0,0,1",
      "\xEF\xBC\x93,5,0,0,0,1",  // a fullwidth digit three
  };
  for (const std::string& text : refused) {
    expectRefused(arrangeOne(kRhombus, text), "REGEX Exact Match :: ERROR ( Grid_Rhombus_TBLR )", text);
  }
}

TEST_F(ParamStrings, ANumberPast32BitsOrATextPastTheMatchersBoundsActsAsAFailedMatch) {
  const std::string refused[] = {
      "99999999999,5,0,0,0,1",
      "3,5,0,0,0,2147483648",
      "-2147483649,5,0,0,0,1",
      "1,2,3,4,5," + std::string(3000000, '6'),
  };
  for (const std::string& text : refused) {
    expectRefused(arrangeOne(kRhombus, text), "REGEX Exact Match :: ERROR ( Grid_Rhombus_TBLR )",
                  text.substr(0, 40));
  }
}

TEST_F(ParamStrings, AConversionErrorKeepsTheValuesOfTheLastGoodText) {
  InstanceSettings hex = sized(10, 10, 30, 40);
  start({activeType("Hex", 1, hex)},
        {{nimboAction(kTrapezoid, {all("Hex"), text("2,4,6,8,1,1")})},
         {nimboAction(kTrapezoid, {all("Hex"), text("3,5,0,0,0,99999999999")})}});
  runtime->step();
  StepRecord record = runtime->step();
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].caption, "REGEX Exact Match :: ERROR ( LMS_Grid_Trapezoid_LRTB )");
  EXPECT_EQ(layout().edgeCount, 2);
  EXPECT_EQ(layout().middleCount, 4);
  EXPECT_EQ(layout().offsetX, 6);
  EXPECT_EQ(layout().shape, 1);
  EXPECT_EQ(layout().keepFrame, 1);
}

TEST_F(ParamStrings, DecimalsTakeAnEmptyIntegerOrFractionPartButNotAnEmptyNumber) {
  struct Case {
    std::string text;
    float start, step;
  };
  for (const Case& c :
       {Case{"100,100,50,50,12,12.", 12.0f, 12.0f}, Case{"100,100,50,50,.5,-7.25", 0.5f, -7.25f},
        Case{"100,100,50,50,+2.5,-0", 2.5f, 0.0f}, Case{"1,2,3,4,0.1,3", 0.1f, 3.0f}}) {
    StepRecord record = arrangeOne(kSemiCircle, c.text);
    EXPECT_TRUE(record.messageBoxes.empty()) << c.text;
    EXPECT_EQ(layout().startAngle, c.start) << c.text;
    EXPECT_EQ(layout().stepAngle, c.step) << c.text;
  }
  const std::string refused[] = {
      "1,2,3,4,,",
      "0,0,50,50,+,1",
      "0,0,50,50,1,-",
      "0,0,50,50,.,1",
      "0,0,50,50,1.2.3,1",
      "0,0,50,50,1e5,1",
      "0,0,50,50,1000000000000000000000000000000000000000,0",
  };
  for (const std::string& text : refused)
    expectRefused(arrangeOne(kSemiCircle, text), "REGEX Exact Match :: ERROR", text, 0);
}

// Set PATH, the replace expression and the date-time expression set the C locale to the user's; a
// decimal comma there must not cut "-7.25" to -7.
TEST_F(ParamStrings, DecimalsReadTheSameUnderALocaleWithADecimalComma) {
  std::string kept = std::setlocale(LC_ALL, nullptr);
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "de-DE"}) {
    if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point == std::string(",")) {
      comma = true;
      break;
    }
  }
  if (!comma) {
    std::setlocale(LC_ALL, kept.c_str());
    GTEST_SKIP() << "no locale with a decimal comma on this system";
  }
  arrangeOne(kSemiCircle, "0,0,1,1,-7.25,0.5");
  std::setlocale(LC_ALL, kept.c_str());
  EXPECT_EQ(layout().startAngle, -7.25f);
  EXPECT_EQ(layout().stepAngle, 0.5f);
}

TEST_F(ParamStrings, EachActionShowsItsOwnCaptionWhateverThePopUpSettingAndOncePerSeries) {
  expectRefused(arrangeOne(kTrapezoid, "1,2", 0), "REGEX Exact Match :: ERROR ( LMS_Grid_Trapezoid_LRTB )",
                "48");
  expectRefused(arrangeOne(kRowMatrix, "1,2", 0), "REGEX Exact Match :: ERROR ( LMS_Grid_ROWS_OFST_LRTB )",
                "50");
  expectRefused(arrangeOne(kSemiCircle, "1,2", 0), "REGEX Exact Match :: ERROR", "46", 0);
  StepRecord record = arrange(activeType("Gem", 3), kRhombus, {all("Gem"), text("oops")});
  EXPECT_EQ(record.messageBoxes.size(), 1u);
}

}  // namespace
}  // namespace vohost
