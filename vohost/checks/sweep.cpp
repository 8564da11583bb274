// The sweep's parent and children. The parent starts a child per routine; the child announces each
// check before and after running it, so when the child dies or stops answering, the parent knows the
// check to blame, reports it with what the child printed, and starts a new child after it.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "vohost/checks/child_process.h"
#include "vohost/checks/sweep.h"
#include "vohost/error.h"

namespace vohost {

namespace {

constexpr char kMark = '\x01';  // starts the lines of the child's protocol
constexpr size_t kOutputLines = 40;

std::vector<std::string> childArguments(const std::filesystem::path& library, const SweepOptions& options,
                                        const std::filesystem::path& folder, size_t from, size_t to) {
  std::vector<std::string> args = {
      "check", library.string(),   "--sweep-child", "--from",       std::to_string(from),
      "--to",  std::to_string(to), "--folder",      folder.string()};
  if (options.seed) args.insert(args.end(), {"--seed", std::to_string(*options.seed)});
  for (const std::string& pattern : options.only) args.insert(args.end(), {"--only", pattern});
  for (const std::string& pattern : options.skip) args.insert(args.end(), {"--skip", pattern});
  return args;
}

// Starting a process takes milliseconds on Linux but seconds under Wine: there one child runs every
// check, and a new one resumes after a check that crashed or hung.
#ifdef _WIN32
constexpr bool kChildPerRoutine = false;
#else
constexpr bool kChildPerRoutine = true;
#endif

// The checks one child runs: those of a routine, a run of the list sharing the name's first part.
size_t routineEnd(const std::vector<SweepCheck>& checks, size_t from) {
  if (!kChildPerRoutine) return checks.size();
  std::string routine = checks[from].name.substr(0, checks[from].name.find('/'));
  size_t to = from;
  while (to < checks.size() && checks[to].name.compare(0, routine.size() + 1, routine + "/") == 0) ++to;
  return to;
}

class Sweeper {
  static constexpr size_t kBetweenChecks = SIZE_MAX;  // the child runs no check

 public:
  Sweeper(const std::vector<SweepCheck>& checks, const ChildStarter& start, std::chrono::milliseconds limit)
      : checks_(checks), start_(start), limit_(limit) {}

  SweepResult run() {
    for (size_t from = 0; from < checks_.size();) {
      size_t to = routineEnd(checks_, from);
      for (size_t next = from; next < to;) next = runChild(next, to);
      from = to;
    }
    return std::move(result_);
  }

 private:
  // Runs checks [from, to) in one child; returns where the next child starts.
  size_t runChild(size_t from, size_t to) {
    ++result_.children;
    std::unique_ptr<ChildProcess> child = start_(from, to);
    size_t current = kBetweenChecks;
    std::vector<std::string> output;
    for (;;) {
      ChildLine line = child->readLine(limit_);
      if (line.kind == ChildLine::Kind::timeout) {
        child->kill();
        child->wait();
        report("hang", checkAt(current), "no answer within " + std::to_string(limit_.count() / 1000) + " s",
               output, from, to);
        return current != kBetweenChecks ? current + 1 : to;
      }
      if (line.kind == ChildLine::Kind::end) {
        std::string ended = child->wait();
        if (current != kBetweenChecks) {
          report("crash", current, ended.empty() ? "the child ended during the check" : ended, output, from,
                 to);
          return current + 1;
        }
        if (!ended.empty()) report("exit", std::nullopt, ended, output, from, to);
        return to;
      }
      if (line.text.empty() || line.text[0] != kMark) {
        if (output.size() == kOutputLines) output.erase(output.begin());
        output.push_back(line.text);
        continue;
      }
      readMark(line.text, current, output, from, to);
    }
  }

  // A line the child marks: a check begins or ends, or the host reports an error in it.
  void readMark(const std::string& text, size_t& current, std::vector<std::string>& output, size_t from,
                size_t to) {
    std::istringstream words(text.substr(1));
    std::string verb;
    size_t index = 0;
    words >> verb >> index;
    if (verb == "begin") {
      current = index;
      output.clear();
    } else if (verb == "end") {
      current = kBetweenChecks;
    } else if (verb == "error") {
      std::string message;
      std::getline(words >> std::ws, message);
      report("host error", index, message, {}, from, to);
    }
  }

  static std::optional<size_t> checkAt(size_t current) {
    return current == kBetweenChecks ? std::nullopt : std::optional<size_t>(current);
  }

  void report(const std::string& kind, std::optional<size_t> index, const std::string& detail,
              const std::vector<std::string>& output, size_t from, size_t to) {
    SweepProblem problem{kind, {}, detail, output, nullptr};
    if (index && *index < checks_.size()) {
      problem.check = checks_[*index].name;
      problem.cause = &checks_[*index];
    } else {
      problem.check = checks_[from].name + " .. " + checks_[to - 1].name;
    }
    result_.problems.push_back(std::move(problem));
  }

  const std::vector<SweepCheck>& checks_;
  const ChildStarter& start_;
  std::chrono::milliseconds limit_;
  SweepResult result_;
};

std::string routineOf(const SweepCheck& check) {
  return std::string(kindName(check.kind)) + " " + std::to_string(check.code);
}

void printText(const std::vector<SweepCheck>& checks, const SweepResult& result, std::ostream& out) {
  for (const SweepProblem& problem : result.problems) {
    out << problem.kind << ": " << problem.check << ": " << problem.detail << '\n';
    if (problem.cause) {
      out << "  " << routineOf(*problem.cause) << ", state " << stateName(problem.cause->state)
          << ", parameters:";
      for (const HostileValue* param : problem.cause->params) out << " [" << param->label << "]";
      out << '\n';
    }
    for (const std::string& line : problem.output) out << "  | " << line << '\n';
  }
  out << checks.size() << " checks in " << result.children << " child processes: " << result.problems.size()
      << (result.problems.size() == 1 ? " problem" : " problems") << '\n';
}

void printJson(const std::vector<SweepCheck>& checks, const SweepResult& result, std::ostream& out) {
  nlohmann::json found = nlohmann::json::array();
  for (const SweepProblem& problem : result.problems) {
    nlohmann::json entry = {{"kind", problem.kind},
                            {"check", problem.check},
                            {"detail", problem.detail},
                            {"output", problem.output}};
    if (problem.cause) {
      entry["routine"] = routineOf(*problem.cause);
      entry["state"] = stateName(problem.cause->state);
      std::vector<std::string> labels;
      for (const HostileValue* param : problem.cause->params) labels.push_back(param->label);
      entry["parameters"] = labels;
    }
    found.push_back(std::move(entry));
  }
  out << nlohmann::json{{"checks", checks.size()}, {"children", result.children}, {"problems", found}}.dump(2)
      << '\n';
}

}  // namespace

SweepResult sweepInChildren(const std::vector<SweepCheck>& checks, const ChildStarter& start,
                            std::chrono::milliseconds limit) {
  return Sweeper(checks, start, limit).run();
}

void prepareSweepFolder(const std::filesystem::path& folder) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "sub");
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) std::ofstream(folder / name) << "sweep";
}

int runSweep(const std::filesystem::path& program, const std::filesystem::path& library,
             const SweepOptions& options, std::ostream& out) {
  std::vector<SweepCheck> checks = sweepChecks(Extension(library), options);
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("nimbo-sweep-" + std::to_string(std::random_device()()));
  ChildStarter start = [&](size_t from, size_t to) {
    return std::make_unique<ChildProcess>(program.string(),
                                          childArguments(library, options, folder, from, to));
  };
  SweepResult result = sweepInChildren(checks, start, std::chrono::seconds(options.timeoutSeconds));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (options.json) {
    printJson(checks, result, out);
  } else {
    printText(checks, result, out);
  }
  return result.problems.empty() ? 0 : 1;
}

int runSweepChild(const std::filesystem::path& library, const SweepOptions& options,
                  const std::filesystem::path& folder, size_t from, size_t to) {
  Extension extension(library);
  std::vector<SweepCheck> checks = sweepChecks(extension, options);
  for (size_t i = from; i < std::min(to, checks.size()); ++i) {
    std::filesystem::current_path(folder.parent_path());  // a folder in use cannot be removed on Windows
    prepareSweepFolder(folder);
    std::filesystem::current_path(folder);  // a rename by a relative name stays inside
    std::cout << kMark << "begin " << i << std::endl;
    try {
      runSweepCheck(extension, checks[i], folder);
    } catch (const std::exception& error) {
      std::cout << kMark << "error " << i << ' ' << error.what() << std::endl;
    }
    std::cout << kMark << "end " << i << std::endl;
  }
  std::filesystem::current_path(folder.parent_path());
  // Ends without the leak check at exit: after thousands of checks in one process the leak checker's
  // own thread has crashed, a fault of the tool that would be blamed on the routine. Leaks are the unit
  // tests' to find; the sweep looks for crashes, hangs and memory errors.
  std::cout.flush();
  std::_Exit(0);
}

}  // namespace vohost
