// Reading the controller's listing the way the replay page does: entries matched to the frame's objects
// by address, group names from the header, walls, stopped and rejected entries, orbit centres worked
// back from the listed angle and position, and lines that are not the listing's passed over.
#include "vohost/replay/motion_listing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <tuple>

namespace vohost {
namespace {

const std::vector<uintptr_t> kObjects = {0x1000, 0x2000, 0x3000};
const std::string kRule = "-+++-+++-+++-+++-+++-+++-+++-+++-+++-\n";

std::string header(const std::vector<std::pair<int, std::string>>& groups) {
  std::string text = "Registerd MotionGroup = " + std::to_string(groups.size()) + "\n" + kRule;
  for (const auto& [id, name] : groups)
    text += "MotionGroupIdentifier " + std::to_string(id) + "  :  Name  = " + name + " ( 1 )\n";
  return text + kRule;
}

// Where the orbit step puts an object: centre minus sine times radius across, plus cosine times radius
// down, truncated toward zero, at the internal angle (the listed angle + 180). The entry line and X, Y.
std::tuple<std::string, int32_t, int32_t> orbitLine(const std::string& address, int listedAngle, int cx,
                                                    int cy, int radius) {
  double turned = (listedAngle + 180) * std::numbers::pi / 180.0;
  auto x = static_cast<int32_t>(std::trunc(cx - std::sin(turned) * radius));
  auto y = static_cast<int32_t>(std::trunc(cy + std::cos(turned) * radius));
  std::string angle = std::to_string(std::abs(listedAngle));
  angle.insert(0, angle.size() < 3 ? 3 - angle.size() : 0, '0');
  return {address + " : GID 0 : MTyp 5 : rFlg false : gRD false  : AG " + (listedAngle < 0 ? "-" : "") +
              angle + " : AVE 3 : RAD " + std::to_string(radius) + " : X " + std::to_string(x) + " : Y " +
              std::to_string(y),
          x, y};
}

TEST(MotionListing, EachEntryHasItsObjectGroupKindWallsAndState) {
  ListingReader reader(kObjects);
  std::string listing = header({{0, "Runner"}, {4, "Two words ( odd )"}}) +
                        "0x2000 : GID 0 : MTyp 1 : rFlg true : TD 3 : STOP : TLRB={0,10,630,0} : xSPD 6\n"
                        "00001000 : GID 4 : MTyp 4 : rFlg false : gRD false  : TLRB={-5,0,0,480} : ySPD 3 : "
                        "AG 010 : Ampl 40 : AVE 6\n"
                        "0x3000 : GID 4 : MTyp 0 : rFlg false : Null Motion  : X 5 : Y 6\n";
  std::vector<ListedEntry> entries = reader.read(listing);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0],
            (ListedEntry{1, "Runner", kHorizontalMotion, false, 3, {{0, 10, 630, 0}}, std::nullopt}));
  EXPECT_EQ(entries[1],
            (ListedEntry{
                0, "Two words ( odd )", kVerticalWave, true, std::nullopt, {{-5, 0, 0, 480}}, std::nullopt}));
  EXPECT_EQ(entries[2], (ListedEntry{2, "Two words ( odd )", kNullMotion, true, std::nullopt, std::nullopt,
                                     std::nullopt}));
}

TEST(MotionListing, OrbitCentresComeBackThroughTheTruncation) {
  ListingReader reader(kObjects);
  // Cosine of 240 degrees is a hair below -0.5: the step wrote Y 249 for a centre at Y 300.
  std::vector<ListedEntry> entries = reader.read(
      header({{0, "Moon"}}) +
      "0x1000 : GID 0 : MTyp 5 : rFlg false : gRD false  : AG 060 : AVE 2 : RAD 100 : X 506 : Y 249\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].orbit, (ListedOrbit{{{420, 300}}, 100, 100}));

  for (int cx : {-300, -1, 0, 1, 37, 420}) {
    for (int cy : {-200, 0, 3, 300}) {
      for (int angle = -180; angle < 180; angle += 5) {
        for (int radius : {1, 40, 100}) {
          auto [line, x, y] = orbitLine("0x3000", angle, cx, cy, radius);
          std::vector<ListedEntry> read = reader.read(header({{0, "Moon"}}) + line);
          ASSERT_EQ(read.size(), 1u);
          ASSERT_TRUE(read[0].orbit->centre);
          auto [foundX, foundY] = *read[0].orbit->centre;
          std::string where = line;
          // At 0 the truncation hides from which side the object came: one pixel either way.
          ASSERT_LE(std::abs(foundX - cx), x == 0 ? 1 : 0) << where;
          ASSERT_LE(std::abs(foundY - cy), y == 0 ? 1 : 0) << where;
        }
      }
    }
  }
}

TEST(MotionListing, RadiiAcrossAndDownAndAnOrbitWithoutPosition) {
  ListingReader reader(kObjects);
  std::vector<ListedEntry> entries =
      reader.read(header({{2, "Comets"}}) +
                  "0x1000 : GID 2 : MTyp 5 : rFlg false : gRD={90,40,2,-1} : STOP : AG -090 : AVE -4 : RADx "
                  "50 : RADy 20 : X 60 : Y 300\n"
                  "0x2000 : GID 2 : MTyp 5 : rFlg false : gRD false  : AG 000 : AVE 1 : RAD 7\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_FALSE(entries[0].moving);
  EXPECT_EQ(entries[0].orbit, (ListedOrbit{{{110, 300}}, 50, 20}));
  EXPECT_EQ(entries[1].orbit, (ListedOrbit{std::nullopt, 7, 7}));
}

TEST(MotionListing, LinesThatAreNotTheListingsArePassedOver) {
  ListingReader reader(kObjects);
  EXPECT_TRUE(reader.read("").empty());
  std::string listing =
      header({{0, "A\nB"}}) +
      "0x9000 : GID 0 : MTyp 1 : rFlg false : TLRB={0,0,640,0} : xSPD 1\n"  // none of the frame's
      "0x1000 : MTyp 1 : rFlg false\n"                                      // no group
      "0x1000 : GID 0\n"                                                    // no kind
      "zz : GID 0 : MTyp 1\n"
      "0x1000\n"
      "\n"
      "0x2000 : GID 7 : MTyp 1 : rFlg false : TLRB={0,0,640} : TLRB=x : xSPD\n"
      "0x3000 : GID 0 : MTyp 5 : AG x : RAD 99999999999 : X 1 : Y 1";
  std::vector<ListedEntry> entries = reader.read(listing);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0],
            (ListedEntry{1, "", kHorizontalMotion, true, std::nullopt, std::nullopt, std::nullopt}));
  EXPECT_EQ(entries[1].object, 2);
  EXPECT_EQ(entries[1].group, "A\nB") << "a name with a line break";
  EXPECT_EQ(entries[1].orbit, (ListedOrbit{std::nullopt, 0, 0}));
}

}  // namespace
}  // namespace vohost
