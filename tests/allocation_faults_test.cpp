// What a designer sees when memory runs out inside a routine: the allocation-failure boxes, each by
// failing the allocation behind it; the module's load boxes, shown once the first instance exists; and
// for every routine, nothing that escapes to the host. Needs a test build of the extension, which can
// fail a chosen allocation; a build without the hook skips them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "vohost/checks/allocation_sweep.h"
#include "vohost/simhost/desktop.h"
#include "vohost/utf.h"

namespace vohost {
namespace {

using nimbo::Text;

constexpr int kSetText = 0, kExactMatch = 5, kGetText = 0, kReplace = 1, kSubMatch = 8;

Text ascii(const std::string& text) {
  return Text(text.begin(), text.end());
}

Condition onFrame(int frame) {
  return HostCondition{HostConditionKind::frame, frame, Comparison::equal, {}};
}

Parameter expression(int code, std::vector<Parameter> params = {}) {
  return std::make_shared<const ExpressionCall>(ExpressionCall{0, code, std::move(params)});
}

HostAction logOf(const std::string& name, Parameter value) {
  return HostAction{HostActionKind::log, name, {std::move(value)}};
}

// A frame of three steps with one NIMBO instance holding `text`: event line 1 sets up on step 0, event
// line 2 is the call whose allocations fail on step 1, and the TEXT is read back on step 2.
Scene scene(const Text& text, std::vector<Action> setup, EventLine call) {
  Scene scene;
  scene.frame.frames = 3;
  scene.nimbo.push_back(EditOverrides{uint8_t{1}, {}, text});
  scene.events.push_back({{onFrame(0)}, std::move(setup)});
  scene.events.push_back(std::move(call));
  scene.events.push_back({{onFrame(2)}, {logOf("text", expression(kGetText))}});
  return scene;
}

EventLine callOnFrame1(Action action) {
  return {{onFrame(1)}, {std::move(action)}};
}

const ShownMessageBox* findBox(const StepRecord& step, const std::string& text) {
  for (const ShownMessageBox& box : step.messageBoxes) {
    if (box.text == text) return &box;
  }
  return nullptr;
}

std::string logged(const FaultedRun& run, const std::string& name) {
  for (const StepRecord& step : run.steps) {
    for (const LogEntry& entry : step.log) {
      if (entry.name == name) {
        if (const auto* text = std::get_if<std::string>(&entry.value)) return *text;
        return std::to_string(std::get<int32_t>(entry.value));
      }
    }
  }
  return "(not logged)";
}

class AllocationFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = allocationFaults(extension());
    if (!control_) GTEST_SKIP() << "the extension is not a test build";
  }

  static const Extension& extension() {
    static const Extension loaded{NIMBO_EXTENSION_PATH};
    return loaded;
  }

  // Fails each allocation of the call in turn; the first run whose call step shows the box `text`.
  FaultedRun runShowing(const Scene& scene, const std::string& text) {
    FaultedRun clean = runWithAllocationFault(extension(), *control_, scene, 0);
    EXPECT_GT(clean.counted, 0u);
    for (uint64_t failAt = 1; failAt <= clean.counted; ++failAt) {
      FaultedRun run = runWithAllocationFault(extension(), *control_, scene, failAt);
      EXPECT_EQ(run.escaped, "");
      if (run.steps.size() > 1 && findBox(run.steps[1], text)) return run;
    }
    ADD_FAILURE() << "no failed allocation showed " << text;
    return clean;
  }

  AllocationFaults* control_ = nullptr;
};

TEST_F(AllocationFailure, SetTextThatCannotGrowTheTextShowsST407AndKeepsTheText) {
  Scene setText = scene(ascii("x"), {}, callOnFrame1(ExtensionAction{0, kSetText, {Text(1000, 'n')}}));
  FaultedRun run = runShowing(setText, "ERROR CODE #ST407");
  EXPECT_EQ(findBox(run.steps[1], "ERROR CODE #ST407")->caption, "SetTEXT::FAILED_MALLOC");
  EXPECT_EQ(logged(run, "text"), "x");
}

TEST_F(AllocationFailure, AnExactMatchThatCannotRebuildTheTextShowsTSFT957AndKeepsTheText) {
  ExtensionCondition match{0, kExactMatch, {Text(3000, 'a'), ascii("(a+)(b*)")}};
  Scene rebuild = scene(ascii(","), {}, {{onFrame(1), match}, {logOf("matched", int32_t{1})}});
  FaultedRun run = runShowing(rebuild, "ERROR CODE #TSFT957");
  EXPECT_EQ(findBox(run.steps[1], "ERROR CODE #TSFT957")->caption, "RGXMatchFullSETMXVal::FAILED_MALLOC");
  EXPECT_EQ(logged(run, "matched"), "(not logged)");
  EXPECT_EQ(logged(run, "text"), ",");
}

TEST_F(AllocationFailure, AReplaceResultThatCannotGrowTheCacheShowsM_GRR_1085AndReturnsItsText) {
  // One match, and a result of 25 000 units: two bytes past the cache's 50 000.
  Parameter replace = expression(kReplace, {ascii("^c"), ascii("d")});
  Scene grow = scene(Text(25000, 'c'), {}, callOnFrame1(logOf("replaced", replace)));
  FaultedRun run = runShowing(grow, "ERROR CODE #M_GRR_1085");
  EXPECT_EQ(findBox(run.steps[1], "ERROR CODE #M_GRR_1085")->caption, "FAILED_MALLOC::REPLACED_STR_CACHE::");
  EXPECT_EQ(logged(run, "replaced"), "ERROR CODE #M_GRR_1085::FAILED_MALLOC");
}

TEST_F(AllocationFailure, ASubMatchThatCannotGrowItsBufferShowsM_GRME_1357AndReturnsItsText) {
  ExtensionCondition match{0, kExactMatch, {Text(2000, 'a'), ascii("((a+)(a*))")}};
  Scene longMatch =
      scene(ascii(""), {}, callOnFrame1(logOf("element", expression(kSubMatch, {int32_t{-2}}))));
  longMatch.events[0].conditions.push_back(match);
  FaultedRun run = runShowing(longMatch, "ERROR CODE #M_GRME_1357");
  EXPECT_EQ(findBox(run.steps[1], "ERROR CODE #M_GRME_1357")->caption, "FAILED_MALLOC::SubMatchBuff::");
  EXPECT_EQ(logged(run, "element"), "ERROR CODE #M_GRME_1357 >> FAILED_MALLOC");
}

// The module's own buffers are allocated while the system loads it, inside its loader lock: a box there
// could hang the host. A fresh copy of the module, loaded while every allocation over 400 bytes fails,
// shows no box until its first instance is created, then the four load boxes, once for the load.
TEST_F(AllocationFailure, LoadBoxesWaitForTheFirstInstanceAndAnAbsentErrorBufferShowsM_CCT_1474) {
  std::filesystem::path copy = std::filesystem::temp_directory_path() /
                               ("nimbo-load-" + std::to_string(std::random_device()()) + ".so");
  std::filesystem::copy_file(NIMBO_EXTENSION_PATH, copy);
  takeMessageBoxes();
  setenv("NIMBO_FAIL_ALLOCATIONS_OVER", "400", 1);
  Extension fresh{copy};
  unsetenv("NIMBO_FAIL_ALLOCATIONS_OVER");
  EXPECT_TRUE(takeMessageBoxes().empty());
  AllocationFaults& control = *allocationFaults(fresh);
  control.failOver = 0;

  Parameter badPattern = expression(kReplace, {ascii("("), ascii("")});
  Scene errorText = scene(ascii(""), {}, callOnFrame1(logOf("replaced", badPattern)));
  FaultedRun run = runWithAllocationFault(fresh, control, errorText, 0, 20);
  std::filesystem::remove(copy);
  ASSERT_EQ(run.escaped, "");
  // In the order the module's constructors ran, which the language leaves open.
  std::set<std::pair<std::string, std::string>> loadBoxes;
  for (const ShownMessageBox& box : run.steps[0].messageBoxes) loadBoxes.emplace(box.text, box.caption);
  EXPECT_EQ(run.steps[0].messageBoxes.size(), 4u);
  EXPECT_EQ(loadBoxes, (std::set<std::pair<std::string, std::string>>{
                           {"error :: malloc failed >> PATHNAME_CACHE_SIZE",
                            "NAME_CACHE = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));"},
                           {"error :: malloc failed >> MAX_NAME_STACK_BYTESIZE",
                            "NAME_CACHE_DIR = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));"},
                           {"error :: malloc failed >> MAX_NAME_STACK_BYTESIZE",
                            "NAME_CACHE_FILE = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));"},
                           {"error :: malloc failed >> MAX_ELEMENT_VAL_ERROR_MESS",
                            "REPLACED_ERR = (LPTSTR)malloc(MAX_ELEMENT_VAL_ERROR_MESS));"}}));
  const ShownMessageBox* box = findBox(run.steps[1], "ERROR CODE #M_CCT_1474");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption, "FAILED_MALLOC::FSNC.REPLACED_ERR::");
  EXPECT_EQ(logged(run, "replaced"), "ERROR CODE #M_CCT_1474 >> FAILED_MALLOC::FSNC.REPLACED_ERR::");

  // The next instance of the same load shows them no more.
  FaultedRun again = runWithAllocationFault(fresh, control, errorText, 0, 20);
  ASSERT_EQ(again.escaped, "");
  for (const ShownMessageBox& shown : again.steps[0].messageBoxes)
    EXPECT_FALSE(loadBoxes.contains({shown.text, shown.caption})) << shown.caption;
  EXPECT_NE(findBox(again.steps[1], "ERROR CODE #M_CCT_1474"), nullptr);
}

}  // namespace
}  // namespace vohost
