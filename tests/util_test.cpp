// The utilities as a designer meets them, through the jump tables and the event list of the host
// runtime: the date-time expression, the object-type listing written into the TEXT, and the mouse-key
// test action.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "record/rundata.h"
#include "tests/logged_values.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

#ifndef _WIN32
#include "platform/desk/desk_input.h"
#endif

namespace vohost {
namespace {

using nimbo::Text;

constexpr int kCircleMenu = 8, kListObjectTypes = 9;
constexpr int kGetText = 0, kDateTime = 11;
constexpr int32_t kActiveKind = VO_KIND_ACTIVE, kCounterKind = 7;

Parameter expression(int nimbo, int code) {
  return std::make_shared<const ExpressionCall>(ExpressionCall{nimbo, code, {}});
}

// Built in place: the cross compiler warns on moving a log action into the list.
void addLog(std::vector<Action>& actions, const std::string& name, Parameter value) {
  actions.emplace_back(std::in_place_type<HostAction>,
                       HostAction{HostActionKind::log, name, {std::move(value)}});
}

EditOverrides withText(Text text) {
  return {0, 0, std::move(text)};
}

ObjectType activeType(const std::string& name, std::vector<InstanceSettings> instances) {
  return {name, static_cast<int16_t>(kActiveKind), std::move(instances)};
}

class Utilities : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;

  void start(std::vector<ObjectType> objects, std::vector<EditOverrides> nimbos,
             std::vector<EventLine> events = {}) {
    Scene scene;
    scene.objects = std::move(objects);
    scene.nimbo = std::move(nimbos);
    scene.events = std::move(events);
    runtime = std::make_unique<Runtime>(extension, std::move(scene));
  }

  nimbo::RUNDATA* rd(int nimbo = 0) const { return nimbo::runData(runtime->nimboRecord(nimbo)); }
  Text text() const { return rd()->sText ? Text(rd()->sText) : Text(); }

  const nimbo::Char* dateTime(int nimbo = 0) {
    voHeader* record = runtime->nimboRecord(nimbo);
    record->hoFlags &= static_cast<uint16_t>(~VO_HOF_STRING_RESULT);
    auto routine = static_cast<const voExpressionRoutine*>(runtime->runInfo().expressions)[kDateTime];
    auto result = reinterpret_cast<const nimbo::Char*>(routine(record, 0));
    EXPECT_TRUE(record->hoFlags & VO_HOF_STRING_RESULT) << "the date-time is not marked as a string";
    return result;
  }
};

// Expression 11, the date and time.

// date, T, HH:MM:SS.mmm, the offset, a space, the zone's name
const std::regex kDateTimeShape(
    R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})\.(\d{3})([+-])(\d{2}):(\d{2}) (.+))");

struct DateTimeParts {
  int year, month, day, hour, minute, second, offsetMinutes;
  std::string zone;
};

DateTimeParts partsOf(const std::string& text) {
  std::smatch m;
  if (!std::regex_match(text, m, kDateTimeShape)) {
    ADD_FAILURE() << "not a date-time text: " << text;
    return {};
  }
  auto number = [&](size_t i) { return std::stoi(m[i].str()); };
  int offset = number(9) * 60 + number(10);
  return {number(1),  number(2), number(3), number(4), number(5), number(6), m[8] == "-" ? -offset : offset,
          m[11].str()};
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t secondsAsIfUtc(int y, int mo, int d, int h, int mi, int s) {
  return daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
}

// The C library's own offset from UTC, in minutes, at the moment `t`.
int64_t libraryOffsetMinutes(std::time_t t) {
  std::tm local = *std::localtime(&t);
  return (secondsAsIfUtc(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                         local.tm_sec) -
          static_cast<int64_t>(t)) /
         60;
}

// The UTC moment a date-time text names, in whole seconds.
int64_t momentOf(const DateTimeParts& p) {
  return secondsAsIfUtc(p.year, p.month, p.day, p.hour, p.minute, p.second) - int64_t{p.offsetMinutes} * 60;
}

TEST_F(Utilities, DateTimeIsTheLocalDateTimeWithMillisecondsItsOffsetAndTheZoneName) {
  start({}, {withText({})});
  std::time_t before = std::time(nullptr);
  std::string result = toUtf8(dateTime());
  std::time_t after = std::time(nullptr);
  ASSERT_TRUE(std::regex_match(result, kDateTimeShape)) << result;
  DateTimeParts parts = partsOf(result);
  // Date, time and offset together name the moment the expression ran.
  EXPECT_GE(momentOf(parts), static_cast<int64_t>(before)) << result;
  EXPECT_LE(momentOf(parts), static_cast<int64_t>(after)) << result;
  EXPECT_EQ(parts.offsetMinutes, libraryOffsetMinutes(static_cast<std::time_t>(momentOf(parts)))) << result;
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(Utilities, DateTimeResultIsOneStringSharedByEveryInstance) {
  start({}, {withText({}), withText({})});
  const nimbo::Char* first = dateTime(0);
  const nimbo::Char* second = dateTime(1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(dateTime(0), first);
  EXPECT_TRUE(std::regex_match(toUtf8(first), kDateTimeShape)) << toUtf8(first);
}

TEST_F(Utilities, DateTimeFromTheEventListIsLoggedAsAText) {
  std::vector<Action> actions;
  addLog(actions, "now", expression(0, kDateTime));
  start({}, {withText({})}, {{{}, std::move(actions)}});
  std::string logged = loggedText(runtime->step(), "now");
  EXPECT_TRUE(std::regex_match(logged, kDateTimeShape)) << logged;
}

// The desk's zone is the C library's, chosen by TZ; Windows reads the system's zone settings instead.
#ifndef _WIN32
class ZoneFromTz {
 public:
  explicit ZoneFromTz(const char* zone) {
    if (const char* old = std::getenv("TZ")) kept_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneFromTz() {
    if (kept_) {
      setenv("TZ", kept_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ZoneFromTz(const ZoneFromTz&) = delete;
  ZoneFromTz& operator=(const ZoneFromTz&) = delete;

 private:
  std::optional<std::string> kept_;
};

TEST_F(Utilities, DateTimeGivesEachZonesOffsetAndStandardName) {
  start({}, {withText({})});
  struct Case {
    const char* tz;
    const char* offsetAndName;
  };
  for (const Case& c : {Case{"JST-9", "+09:00 JST"}, Case{"IST-5:30", "+05:30 IST"},
                        Case{"UTC0", "+00:00 UTC"}, Case{"<-0330>3:30", "-03:30 -0330"}}) {
    ZoneFromTz zone(c.tz);
    std::string result = toUtf8(dateTime());
    EXPECT_TRUE(std::regex_match(result, kDateTimeShape)) << result;
    EXPECT_EQ(result.substr(23), c.offsetAndName) << c.tz;
  }
}

TEST_F(Utilities, DateTimeInASummerTimeZoneKeepsTheStandardNameAndTheOffsetOfTheMoment) {
  start({}, {withText({})});
  ZoneFromTz zone("EST5EDT,M3.2.0,M11.1.0");
  DateTimeParts parts = partsOf(toUtf8(dateTime()));
  EXPECT_EQ(parts.zone, "EST");
  EXPECT_EQ(parts.offsetMinutes, libraryOffsetMinutes(static_cast<std::time_t>(momentOf(parts))));
}
#endif

// Action 9, the object-type listing.

std::string entryListing(const std::string& name, int objects, int firstObject, int kind) {
  std::string entry = "info.oilName : " + name + "\n";
  entry += "info.oilNObjects : " + std::to_string(objects) + "\n";
  entry += "info.oilNumOfSelected : 0\n";
  entry += "info.oilCurrentOi : -1\n";
  entry += "info.oilEventCount : 0\n";
  entry += "info.oilEventCountOR : 0\n";
  entry += "info.oilObject : " + std::to_string(firstObject) + "\n";
  entry += "info.oilNext : -1\n";
  entry += "info.oilQualifiers[0] : -1\n";
  entry += "info.oilType : " + std::to_string(kind) + "\n";
  entry += " ++++++++++++++++++++++++++++++++++++++ \n";
  return entry;
}

void listAndLog(std::vector<EventLine>& events) {
  std::vector<Action> actions;
  actions.emplace_back(std::in_place_type<ExtensionAction>, ExtensionAction{0, kListObjectTypes, {}});
  addLog(actions, "TEXT", expression(0, kGetText));
  events.push_back({{}, std::move(actions)});
}

TEST_F(Utilities, ListingAFrameWithOnlyItsOwnEntryLeavesAnEmptyText) {
  std::vector<EventLine> events;
  listAndLog(events);
  start({}, {withText(NIMBO_TEXT("kept before"))}, std::move(events));
  ASSERT_EQ(runtime->runHeader()->rhNumberOi, 1);
  EXPECT_EQ(loggedText(runtime->step(), "TEXT"), "");
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(Utilities, ListingWritesEveryObjectTypeButTheLastWithTheExactLabels) {
  std::vector<EventLine> events;
  listAndLog(events);
  start({activeType("Ball", {{}, {}}), {"Score", static_cast<int16_t>(kCounterKind), {{}}}},
        {withText(NIMBO_TEXT("old"))}, std::move(events));
  std::string expected = entryListing("Ball", 2, 0, kActiveKind) + entryListing("Score", 1, 2, kCounterKind);
  EXPECT_EQ(loggedText(runtime->step(), "TEXT"), expected);
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(Utilities, ListingKeepsALongerTextsBufferAndReadsANameWithoutTerminatorToItsEnd) {
  start({activeType("Ball", {{}})}, {withText(Text(2000, NIMBO_TEXT('x')))});
  voObjInfo& ball = runtime->runHeader()->rhOiList[0];
  std::fill(std::begin(ball.oilName), std::end(ball.oilName), NIMBO_TEXT('n'));
  nimbo::Char* buffer = rd()->sText;
  auto routine = static_cast<const voActionRoutine*>(runtime->runInfo().actions)[kListObjectTypes];
  EXPECT_EQ(routine(runtime->nimboRecord(0), 0, 0), 0);
  EXPECT_EQ(rd()->sText, buffer);
  EXPECT_EQ(toUtf8(text()), entryListing(std::string(24, 'n'), 1, 0, kActiveKind));
}

TEST_F(Utilities, ListingGrowsAShorterTextIntoABufferOfItsOwnSize) {
  start({activeType("Ball", {{}})}, {withText(NIMBO_TEXT(""))});
  auto routine = static_cast<const voActionRoutine*>(runtime->runInfo().actions)[kListObjectTypes];
  routine(runtime->nimboRecord(0), 0, 0);
  EXPECT_EQ(toUtf8(text()), entryListing("Ball", 1, 0, kActiveKind));
}

// Action 8, the mouse-key test action, on a target and a fixed object.

class CircleMenu : public Utilities {
 protected:
  void startWithTargets() {
    std::vector<Action> actions;
    actions.emplace_back(
        std::in_place_type<ExtensionAction>,
        ExtensionAction{0, kCircleMenu, {ObjectSelection{"Target", {}}, ObjectSelection{"Fixed", {}}}});
    InstanceSettings target;
    target.x = 100;
    target.y = 50;
    target.values = {7};
    InstanceSettings fixed;
    fixed.values = {7};
    start({activeType("Target", {target}), activeType("Fixed", {fixed})}, {withText({})},
          {{{}, std::move(actions)}});
  }

  StepRecord stepWithMouseKeys(uint8_t keys) {
    runtime->runHeader()->rh2MouseKeys = keys;
    return runtime->step();
  }

  static const ObjectState& object(const StepRecord& record, const std::string& type) {
    for (const ObjectState& state : record.objects) {
      if (state.type == type) return state;
    }
    ADD_FAILURE() << "no object of type " << type;
    static const ObjectState none;
    return none;
  }
};

TEST_F(CircleMenu, MouseKeysAreCopiedZeroExtendedIntoTheTargetsFirstValueOnly) {
  startWithTargets();
  StepRecord record = stepWithMouseKeys(0x01);
  EXPECT_EQ(object(record, "Target").values[0], 1);
  EXPECT_EQ(object(record, "Fixed").values[0], 7);
  EXPECT_TRUE(record.messageBoxes.empty());
  EXPECT_EQ(object(stepWithMouseKeys(0x81), "Target").values[0], 0x81);
}

TEST_F(CircleMenu, TheHighMouseKeyBitShowsTheTrueBox) {
  startWithTargets();
  StepRecord record = stepWithMouseKeys(0x80);
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].text, "true");
  EXPECT_EQ(record.messageBoxes[0].caption, "rdPtr->rHo.hoAdRunHeader->rh2.rh2MouseKeys");
}

TEST_F(CircleMenu, WithNoArrowKeyDownTheTargetStaysAndNothingWaitsForInput) {
  startWithTargets();
  StepRecord record = stepWithMouseKeys(0x02);
  EXPECT_EQ(object(record, "Target").x, 100);
  EXPECT_TRUE(record.calls.empty());
}

// The desk's keys and queue are set by the test; on Windows they are the real keyboard's and mouse's.
#ifndef _WIN32
class HeldKeys {
 public:
  explicit HeldKeys(std::vector<int> keys) : keys_(std::move(keys)) {
    for (int key : keys_) nimbo::desk::setKeyDown(key, true);
  }
  ~HeldKeys() {
    for (int key : keys_) nimbo::desk::setKeyDown(key, false);
  }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  std::vector<int> keys_;
};

constexpr int kLeftArrow = 0x25, kDownArrow = 0x28;

TEST_F(CircleMenu, OnlyTheLeftArrowDownCopiesTheMouseKeysButDoesNotMove) {
  startWithTargets();
  HeldKeys keys({kLeftArrow});
  StepRecord record = stepWithMouseKeys(0x04);
  EXPECT_EQ(object(record, "Target").x, 100);
  EXPECT_EQ(object(record, "Target").values[0], 4);
  EXPECT_TRUE(record.calls.empty());
}

TEST_F(CircleMenu, LeftAndDownArrowsMoveTheTargetFivePixelsLeftAndRedrawIt) {
  startWithTargets();
  HeldKeys keys({kLeftArrow, kDownArrow});
  StepRecord record = stepWithMouseKeys(0);
  EXPECT_EQ(object(record, "Target").x, 95);
  EXPECT_EQ(object(record, "Target").y, 50);
  EXPECT_EQ(object(record, "Fixed").x, 0);
  ASSERT_EQ(record.calls.size(), 1u);
  EXPECT_EQ(record.calls[0].service, "redrawObject");
  EXPECT_EQ(record.calls[0].type, "Target");
  EXPECT_EQ(object(stepWithMouseKeys(0), "Target").x, 90);
}

TEST_F(CircleMenu, APendingDoubleClickShowsItsBoxAndStaysForTheHost) {
  startWithTargets();
  nimbo::desk::setDoubleClickPending(true);
  StepRecord record = stepWithMouseKeys(0);
  bool stillPending = nimbo::desk::isDoubleClickPending();
  nimbo::desk::setDoubleClickPending(false);
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].text, "true");
  EXPECT_EQ(record.messageBoxes[0].caption, "WM_LBUTTONDBLCLK");
  EXPECT_TRUE(stillPending);
}
#endif

}  // namespace
}  // namespace vohost
