// The motion controller's diagnostics through the host: counts, the registry and group listings compared
// as whole texts, the group listing's transparency, group names by position and the angle-to-direction
// conversion.
#include <gtest/gtest.h>

#include <climits>
#include <locale>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/logged_values.h"
#include "tests/motion_scene.h"

namespace vohost {
namespace {

constexpr int kWrapWidth = 17, kNullMotion = 23, kWaveWidth = 24, kOrbitParams = 28, kStop = 35, kReject = 37,
              kAlpha = 39, kGrowRadius = 45, kDelayedReject = 49;
constexpr int kGroupCount = 12, kEntryCount = 13, kRegistryListing = 14, kGroupListing = 15, kGroupName = 16,
              kDirection = 17;
const std::string kRule = "-+++-+++-+++-+++-+++-+++-+++-+++-+++-\n";

std::string logExpression(const std::string& name, int code, const std::string& params = "") {
  return R"({"host":"log","name":")" + name + R"(","value":{"expression":)" + std::to_string(code) +
         R"(,"params":[)" + params + "]}}";
}

std::string destroy(const std::string& selection) {
  return R"({"host":"destroy object","object":)" + selection + "}";
}

// The entry's object as the listings write a pointer.
std::string pointer(const void* object) {
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << object;
  return stream.str();
}

class Diagnostics : public MotionFrame {
 protected:
  std::string at(const std::string& type, int index) const {
    return " : X " + std::to_string(object(type, index).x) + " : Y " + std::to_string(object(type, index).y);
  }
  std::string objectOf(size_t index) { return pointer(entry(index).object); }
};

TEST_F(Diagnostics, WithNothingRegisteredTheCountsAreZeroAndTheTextsEmpty) {
  start(motionScene(
      "", atFrame(0, logExpression("groups", kGroupCount) + "," + logExpression("entries", kEntryCount) +
                         "," + logExpression("registry", kRegistryListing) + "," +
                         logExpression("group", kGroupListing, R"("")") + "," +
                         logExpression("name", kGroupName, "0"))));
  step();
  EXPECT_EQ(loggedNumber(last, "groups"), 0);
  EXPECT_EQ(loggedNumber(last, "entries"), 0);
  EXPECT_EQ(loggedText(last, "registry"), "");
  EXPECT_EQ(loggedText(last, "group"), "");
  EXPECT_EQ(loggedText(last, "name"), "");
}

// Orbits with equal and with different radii, a stopped wrap, a null motion and a wave with a growing
// radius and an armed reject; then the counts after a reject, and a destroyed object's line.
TEST_F(Diagnostics, RegistryListingShowsEveryGroupAndEntryLineByLine) {
  start(motionScene(
      objectType("Moon", R"({"x":100,"y":100})") + "," +
          objectType("Star", R"({"x":200,"y":200},{"x":300,"y":200})") + "," +
          objectType("Ball", R"({"x":10})") + "," + objectType("Cube", R"({"x":7,"y":9})") + "," +
          objectType("Fish", R"({"y":100})"),
      atFrame(0, action(kOrbitParams, R"("Moons",)" + objects("Moon") + R"(,"50,50,0,-5,0,0")") + "," +
                     action(kOrbitParams, R"("Stars",)" + objects("Star") + R"(,"30,40,5,40,0,0")") + "," +
                     action(kWrapWidth, objects("Ball") + ",3") + "," + action(kStop, R"("Ball")") + "," +
                     action(kNullMotion, objects("Cube") + R"(,"Still")") + "," +
                     action(kWaveWidth, R"("Fish",)" + objects("Fish") + ",2,10,0") + "," +
                     action(kGrowRadius, R"("Fish","100,20,2,30,-1,50,10,2,30,-1")") + "," +
                     action(kDelayedReject, R"("Fish",9)")) +
          "," +
          atFrame(1, logExpression("registry", kRegistryListing) + "," +
                         logExpression("groups", kGroupCount) + "," + logExpression("entries", kEntryCount)) +
          "," + atFrame(2, action(kReject, R"("Moons")") + "," + destroy(objects("Cube"))) + "," +
          atFrame(3, logExpression("registry", kRegistryListing)) + "," +
          atFrame(4, logExpression("registry", kRegistryListing))));
  step();
  std::vector<std::string> lines = {
      objectOf(0) + " : GID 0 : MTyp 5 : rFlg false : gRD false  : AG -005 : AVE 0 : RAD 50" + at("Moon", 0),
      objectOf(1) + " : GID 1 : MTyp 5 : rFlg false : gRD false  : AG 045 : AVE 5 : RADx 30 : RADy 40" +
          at("Star", 0),
      objectOf(2) + " : GID 1 : MTyp 5 : rFlg false : gRD false  : AG 045 : AVE 5 : RADx 30 : RADy 40" +
          at("Star", 1),
      objectOf(3) + " : GID 2 : MTyp 1 : rFlg false : STOP : TLRB={0,0,640,0} : xSPD 3",
      objectOf(4) + " : GID 3 : MTyp 0 : rFlg false : Null Motion  : X 7 : Y 9",
      objectOf(5) +
          " : GID 4 : MTyp 3 : rFlg true : TD 8 : gRD={100,20,2,-1} : TLRB={0,0,640,0} : xSPD 2 : AG "
          "-180 : Ampl 12 : AVE 0"};
  step();
  EXPECT_EQ(loggedText(last, "registry"),
            "Registerd MotionGroup = 5\n" + kRule + "MotionGroupIdentifier 0  :  Name  = Moons ( 1 )\n" +
                "MotionGroupIdentifier 1  :  Name  = Stars ( 2 )\n" +
                "MotionGroupIdentifier 2  :  Name  = Ball ( 1 )\n" +
                "MotionGroupIdentifier 3  :  Name  = Still ( 1 )\n" +
                "MotionGroupIdentifier 4  :  Name  = Fish ( 1 )\n" + kRule + lines[0] + "\n" + lines[1] +
                "\n" + lines[2] + "\n" + lines[3] + "\n" + lines[4] + "\n" + lines[5] + "\n");
  EXPECT_EQ(loggedNumber(last, "groups"), 5);
  EXPECT_EQ(loggedNumber(last, "entries"), 6);
  step();
  auto star = [&](int i) {
    return " : GID 1 : MTyp 5 : rFlg false : gRD false  : AG 055 : AVE 5 : RADx 30 : RADy 40" + at("Star", i);
  };
  std::string starLines = objectOf(0) + star(0) + "\n" + objectOf(1) + star(1) + "\n";
  step();
  std::string header = "Registerd MotionGroup = 4\n" + kRule +
                       "MotionGroupIdentifier 1  :  Name  = Stars ( 2 )\n" +
                       "MotionGroupIdentifier 2  :  Name  = Ball ( 1 )\n" +
                       "MotionGroupIdentifier 3  :  Name  = Still ( 1 )\n" +
                       "MotionGroupIdentifier 4  :  Name  = Fish ( 1 )\n" + kRule;
  EXPECT_EQ(
      loggedText(last, "registry"),
      header + starLines + lines[3] + "\n" + "0 : GID 3 : MTyp 0 : rFlg false : Null Motion \n" +
          objectOf(4) +
          " : GID 4 : MTyp 3 : rFlg true : TD 6 : gRD={100,20,2,-1} : TLRB={0,0,640,0} : xSPD 2 : AG -180 : "
          "Ampl 16 : AVE 0\n");
  record().controlList.clear();  // groups without entries: the header alone, not the last text
  step();
  EXPECT_EQ(loggedText(last, "registry"), header);
}

TEST_F(Diagnostics, GroupListingLeavesEmptyLinesForOthersAndDimsThem) {
  std::string line;
  for (int i = 0; i < 5; ++i) {
    line += std::string(i ? "," : "") +
            action(kNullMotion, instance("Box", i) + (i % 2 ? R"(,"Pair")" : R"(,"Rest")"));
  }
  start(motionScene(
      objectType("Box", R"({"x":0,"inkEffect":13},{"x":10,"inkEffect":13},{"x":20,"inkEffect":13},)"
                        R"({"x":30,"inkEffect":13},{"x":40,"inkEffect":13})"),
      atFrame(0, line + "," + logExpression("group", kGroupListing, R"("Pair")")) + "," +
          atFrame(1, action(kAlpha, R"("",0)") + "," + logExpression("group", kGroupListing, R"("pair")"))));
  step();
  auto member = [&](size_t i) {
    return objectOf(i) + " : MTyp 0 : rFlg false : Null Motion " + at("Box", static_cast<int>(i));
  };
  EXPECT_EQ(loggedText(last, "group"), "Selected MotionGroup Name : Pair\nMotionGroupIdentifier : 1\n" +
                                           kRule + "\n" + member(1) + "\n\n" + member(3) + "\n\n" + kRule +
                                           "In Group Total Objects : 2\n");
  std::vector<int> alphaBytes;
  for (int i = 0; i < 5; ++i) alphaBytes.push_back(255 - object("Box", i).alpha);
  EXPECT_EQ(alphaBytes, (std::vector<int>{55, 255, 55, 255, 55}));
  step();
  EXPECT_EQ(loggedText(last, "group"), "");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(object("Box", i).alpha, 0) << i;
}

TEST_F(Diagnostics, GroupNamesUpTo16UnitsAreReturnedAndLongerOnesRefusedWithTheBox) {
  start(motionScene(
      objectType("Box", "{},{}"),
      atFrame(0, action(kNullMotion, instance("Box", 0) + R"(,"ABCDEFGHIJKLMNOP")") + "," +
                     action(kNullMotion, instance("Box", 1) + R"(,"ABCDEFGHIJKLMNOPQ")") + "," +
                     logExpression("0", kGroupName, "0") + "," + logExpression("1", kGroupName, "1") + "," +
                     logExpression("2", kGroupName, "2") + "," + logExpression("-1", kGroupName, "-1")),
      0));
  step();
  EXPECT_EQ(loggedText(last, "0"), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(loggedText(last, "1"), "");
  EXPECT_EQ(loggedText(last, "2"), "");
  EXPECT_EQ(loggedText(last, "-1"), "");
  ASSERT_EQ(last.messageBoxes.size(), 1u);
  EXPECT_EQ(last.messageBoxes[0].text, "Can't Get Group Name (Max 16 letters)");
  EXPECT_EQ(last.messageBoxes[0].caption, "Motion Name is Over Limit");
}

TEST_F(Diagnostics, AnglesBecomeDirectionIndexesCountedFromTheRight) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"0,8", 2},    {"90,8", 0},  {"180,8", 6},   {"-90,8", 4},
      {"0,32", 8},   {"45,32", 4}, {"0,0", 0},     {"-270,8", 8},
      {"500,8", -1}, {"90,-8", 0}, {"-45,-8", -3}, {"-2000000000,2000000000", INT32_MIN}};
  std::string logs;
  for (size_t i = 0; i < cases.size(); ++i) {
    logs += std::string(i ? "," : "") + logExpression(cases[i].first, kDirection, cases[i].first);
  }
  start(motionScene("", atFrame(0, logs)));
  step();
  for (const auto& [params, index] : cases) EXPECT_EQ(loggedNumber(last, params), index) << params;
}

}  // namespace
}  // namespace vohost
