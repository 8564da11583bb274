// The hostile-input sweep: every action, condition and expression of the extension called in every
// instance state with hostile parameters. Checks run in child processes, so a crash, a hang or a
// sanitizer report is reported with the check that caused it instead of ending the sweep.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "vohost/checks/child_process.h"
#include "vohost/loader/catalog_reader.h"
#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"

namespace vohost {

enum class SweepState { fresh, listed, moving, destroyed };

struct HostileValue {
  std::string label;  // how a report shows it
  Parameter value;
};

struct SweepCheck {
  std::string name;  // routine/state/case, e.g. "action12/listed/3"
  CatalogKind kind = CatalogKind::action;
  int code = 0;
  SweepState state = SweepState::fresh;
  std::vector<const HostileValue*> params;  // into tables that live as long as the program
};

struct SweepOptions {
  std::optional<uint64_t> seed;   // adds random cases, reproducible from the seed
  std::vector<std::string> only;  // name patterns ('*' matches any run) a check must match, if any
  std::vector<std::string> skip;  // name patterns a check must not match
  int timeoutSeconds = 60;        // per check
  bool json = false;
  bool failAllocations = false;  // fail each allocation of every check in turn, in this process
};

// The checks, in a fixed order for a given extension and options.
std::vector<SweepCheck> sweepChecks(const Extension& extension, const SweepOptions& options);

// A folder of a few files and a subfolder, made anew for each check: renames may change it.
void prepareSweepFolder(const std::filesystem::path& folder);

// The check's scene: a setup line on the first frame, then the line that calls the routine (event line 2).
Scene sweepScene(const SweepCheck& check, const std::filesystem::path& folder);

// One check, in this process: a frame set up in the check's state, the routine called with its
// parameters, then further frame steps. Throws Error when the extension misuses the host.
void runSweepCheck(const Extension& extension, const SweepCheck& check, const std::filesystem::path& folder);

struct SweepProblem {
  std::string kind;  // "crash", "hang", "host error", or "exit" for a child failing after its checks
  std::string check;
  std::string detail;
  std::vector<std::string> output;    // the last lines the child printed during the check
  const SweepCheck* cause = nullptr;  // null for "exit"
};

struct SweepResult {
  std::vector<SweepProblem> problems;
  int children = 0;
};

// Starts a child that runs checks [from, to) and speaks the sweep's protocol on its output.
using ChildStarter = std::function<std::unique_ptr<ChildProcess>(size_t from, size_t to)>;

// Runs the checks a child per routine (the name's first part; on Windows one child for all); a child that
// crashes or stops answering for `limit` is blamed on the check it had begun, and a new one goes on after it.
SweepResult sweepInChildren(const std::vector<SweepCheck>& checks, const ChildStarter& start,
                            std::chrono::milliseconds limit);

// The parent: runs every check in children, each the vohost program at `program`, and reports; 0 when
// nothing was found.
int runSweep(const std::filesystem::path& program, const std::filesystem::path& library,
             const SweepOptions& options, std::ostream& out);

// A child: runs checks [from, to), announcing each on the standard output before and after it.
int runSweepChild(const std::filesystem::path& library, const SweepOptions& options,
                  const std::filesystem::path& folder, size_t from, size_t to);

const char* stateName(SweepState state);
bool matchesPattern(const std::string& name, const std::string& pattern);

}  // namespace vohost
