// The hostile-input sweep: its checks reach every routine in every state with every hostile value in
// every parameter position, and a crash or a hang in a child is blamed on the check it had begun.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "vohost/checks/sweep.h"

namespace vohost {
namespace {

using namespace std::chrono_literals;

const Extension& extension() {
  static Extension loaded{NIMBO_EXTENSION_PATH};
  return loaded;
}

TEST(Sweep, ChecksReachEveryRoutineInEveryStateWithEveryValueInEveryPosition) {
  std::vector<SweepCheck> checks = sweepChecks(extension(), {});
  std::set<std::string> routinesAndStates;
  std::map<std::pair<std::string, size_t>, std::set<std::string>> labelsAt;  // routine, position
  for (const SweepCheck& check : checks) {
    std::string routine = std::string(kindName(check.kind)) + std::to_string(check.code);
    routinesAndStates.insert(routine + "/" + stateName(check.state));
    for (size_t p = 0; p < check.params.size(); ++p) labelsAt[{routine, p}].insert(check.params[p]->label);
  }
  EXPECT_EQ(routinesAndStates.size(), (54u + 8u + 19u) * 4u);
  EXPECT_EQ(labelsAt.at({"action6", 1}).size(), 10u);      // rename: every hostile text as the new name
  EXPECT_EQ(labelsAt.at({"action22", 1}).size(), 4u);      // orbit target: live, non-active, destroyed, null
  EXPECT_EQ(labelsAt.at({"expression17", 1}).size(), 6u);  // directions: every hostile number
}

TEST(Sweep, ASeedAddsTheSameRandomCasesEachTimeAndFiltersKeepTheirOrder) {
  SweepOptions seeded;
  seeded.seed = 7;
  seeded.only = {"action4/*", "expression17/*"};
  seeded.skip = {"*/destroyed/*"};
  std::vector<SweepCheck> first = sweepChecks(extension(), seeded), again = sweepChecks(extension(), seeded);
  ASSERT_EQ(first.size(), again.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].name, again[i].name);
    EXPECT_EQ(first[i].params, again[i].params);
    EXPECT_EQ(first[i].name.find("/destroyed/"), std::string::npos);
  }
  // Three states, ten diagonal and eight random cases for Set PATH; six and eight for expression 17.
  EXPECT_EQ(first.size(), 3u * (10 + 8) + 3u * (6 + 8));
  EXPECT_EQ(first.front().name, "action4/fresh/0");
  EXPECT_EQ(first[10].name, "action4/fresh/r0");
}

TEST(Sweep, PatternsMatchWholeNamesWithStarsForAnyRun) {
  EXPECT_TRUE(matchesPattern("action12/listed/3", "action12/*"));
  EXPECT_TRUE(matchesPattern("action12/listed/3", "*/listed/*"));
  EXPECT_TRUE(matchesPattern("action12/listed/3", "action12/listed/3"));
  EXPECT_FALSE(matchesPattern("action12/listed/3", "action1/*"));
  EXPECT_FALSE(matchesPattern("action12/listed/3", "action12"));
}

TEST(Sweep, RunsTheChecksOfARoutineInAChildAndFindsNothingInSetText) {
  SweepOptions options;
  options.only = {"action0/*"};
  std::ostringstream report;
  EXPECT_EQ(runSweep(VOHOST_PATH, NIMBO_EXTENSION_PATH, options, report), 0) << report.str();
  EXPECT_EQ(report.str(), "40 checks in 1 child processes: 0 problems\n");
}

#ifndef _WIN32
// A stand-in child speaking the protocol: check 1 prints a report and crashes, check 3 never answers.
std::unique_ptr<ChildProcess> scriptedChild(size_t from, size_t to) {
  const char* script =
      "i=$1; while [ $i -lt $2 ]; do printf '\\001begin %d\\n' $i;"
      " if [ $i = 1 ]; then echo 'ERROR: something bad'; kill -SEGV $$; fi;"
      " if [ $i = 3 ]; then exec sleep 30; fi;"
      " printf '\\001end %d\\n' $i; i=$((i+1)); done";
  return std::make_unique<ChildProcess>(
      "/bin/sh", std::vector<std::string>{"-c", script, "sh", std::to_string(from), std::to_string(to)});
}

TEST(Sweep, ACrashOrAHangIsBlamedOnTheCheckBegunAndTheNextChildGoesOnAfterIt) {
  std::vector<SweepCheck> checks;
  for (const char* name :
       {"action1/fresh/0", "action1/fresh/1", "action1/fresh/2", "action2/fresh/0", "action2/fresh/1"}) {
    checks.push_back({name, CatalogKind::action, name[6] - '0', SweepState::fresh, {}});
  }
  SweepResult result = sweepInChildren(checks, scriptedChild, 500ms);
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(result.problems[0].kind, "crash");
  EXPECT_EQ(result.problems[0].check, "action1/fresh/1");
  EXPECT_EQ(result.problems[0].detail, "signal 11 (Segmentation fault)");
  EXPECT_EQ(result.problems[0].output, std::vector<std::string>{"ERROR: something bad"});
  EXPECT_EQ(result.problems[0].cause, &checks[1]);
  EXPECT_EQ(result.problems[1].kind, "hang");
  EXPECT_EQ(result.problems[1].check, "action2/fresh/0");
  // action1 [0, 3) crashes at 1 and resumes at 2; action2 [3, 5) hangs at 3 and resumes at 4.
  EXPECT_EQ(result.children, 4);
}

TEST(ChildProcessLines, ComeInOrderThenTheEndWithHowTheChildEnded) {
  ChildProcess child("/bin/sh", {"-c", "echo one; echo two >&2; printf three; exit 3"});
  EXPECT_EQ(child.readLine(5s).text, "one");
  EXPECT_EQ(child.readLine(5s).text, "two");
  EXPECT_EQ(child.readLine(5s).text, "three");
  EXPECT_EQ(child.readLine(5s).kind, ChildLine::Kind::end);
  EXPECT_EQ(child.wait(), "exit status 3");
}

TEST(ChildProcessLines, EndWithTheChildEvenWhenAProcessItStartedHoldsTheOutputOpen) {
  ChildProcess child("/bin/sh", {"-c", "sleep 30 & echo one"});
  EXPECT_EQ(child.readLine(5s).text, "one");
  EXPECT_EQ(child.readLine(10s).kind, ChildLine::Kind::end);
  EXPECT_EQ(child.wait(), "");
}
#endif

}  // namespace
}  // namespace vohost
