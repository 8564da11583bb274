// The vohost command line: run a scene, check a built extension, print its catalog.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <vector>

#include "vohost/checks/allocation_sweep.h"
#include "vohost/checks/catalog_print.h"
#include "vohost/checks/check.h"
#include "vohost/checks/sweep.h"
#include "vohost/error.h"
#include "vohost/loader/module.h"
#include "vohost/replay/replay_page.h"
#include "vohost/simhost/scene_run.h"

namespace {

using namespace vohost;

// What the sweep's parent tells a child of its own.
struct SweepChild {
  bool active = false;
  size_t from = 0, to = 0;
  std::string folder;
};

struct RunOptions {
  std::vector<std::string> scenes;
  int frames = -1;
  std::string trace;
  std::string traceDir;
  std::string html;
  bool verbose = false;
};

// Counts of what a run did, printed when the trace goes to a file.
struct RunSummary {
  int steps = 0, raised = 0, logged = 0, calls = 0, boxes = 0;

  void add(const StepRecord& record) {
    ++steps;
    raised += static_cast<int>(record.raised.size());
    logged += static_cast<int>(record.log.size());
    calls += static_cast<int>(record.calls.size());
    boxes += static_cast<int>(record.messageBoxes.size());
  }
  std::string text() const {
    return std::to_string(steps) + " frame steps, " + std::to_string(raised) + " conditions raised, " +
           std::to_string(logged) + " values logged, " + std::to_string(calls) + " object updates, " +
           std::to_string(boxes) + " message boxes";
  }
};

// With the trace in a file, the logged values go to the terminal as the steps make them.
void printLog(const StepRecord& record) {
  for (const LogEntry& entry : record.log) {
    std::cout << "step " << record.frame << ": " << entry.name << " = ";
    std::visit([](const auto& value) { std::cout << value; }, entry.value);
    std::cout << '\n';
  }
}

std::ofstream openOutput(const std::string& path, const char* what) {
  std::ofstream file(path, std::ios::binary);
  if (!file) throw Error(std::string("cannot write ") + what + " " + path);
  return file;
}

void writeReplayPage(const ReplayPage& page, std::ofstream& file, const std::string& path,
                     std::ostream& note) {
  page.write(file);
  file.close();
  if (!file) throw Error("writing the replay page " + path + " failed");
  note << "replay page in " << path << " (" << std::filesystem::file_size(path) << " bytes)\n";
}

// One scene to its trace (stdout when `trace` is empty) and, when `html` is set, its replay page.
void runOne(const Extension& extension, const std::string& scenePath, const std::string& trace,
            const std::string& html, const RunOptions& options) {
  Scene scene = readScene(scenePath);
  std::ofstream file;
  if (!trace.empty()) file = openOutput(trace, "trace");
  std::ostream& out = trace.empty() ? std::cout : file;
  // The page's file is opened first, so a path that cannot be written fails before a long run.
  std::ofstream htmlFile;
  std::optional<ReplayPage> page;
  if (!html.empty()) {
    htmlFile = openOutput(html, "replay page");
    page.emplace(scene, std::filesystem::path(scenePath).filename().string());
  }
  RunSummary summary;
  runScene(extension, scene, options.frames, [&](const StepRecord& record) {
    out << traceLine(record) << '\n';
    if (page) page->add(record);
    summary.add(record);
    if (!trace.empty()) printLog(record);
    if (!options.verbose) return;
    for (const ShownMessageBox& box : record.messageBoxes) {
      std::cerr << "message box [" << box.caption << "]: " << box.text << '\n';
    }
  });
  out.flush();
  if (!out) throw Error("writing the trace failed");
  if (!trace.empty()) std::cout << summary.text() << "; trace in " << trace << '\n';
  // Beside a trace on stdout, the note goes to stderr so the trace stays JSON lines.
  if (page) writeReplayPage(*page, htmlFile, html, trace.empty() ? std::cerr : std::cout);
}

std::string traceInDir(const RunOptions& options, const std::string& scenePath) {
  return traceFileIn(options.traceDir, scenePath).string();
}

void refuseClashingOutputs(const RunOptions& options) {
  std::vector<std::string> outputs;
  if (!options.trace.empty()) outputs.push_back(options.trace);
  if (!options.html.empty()) outputs.push_back(options.html);
  if (!options.traceDir.empty()) {
    for (const std::string& scene : options.scenes) outputs.push_back(traceInDir(options, scene));
  }
  refuseOutputClashes(options.scenes, outputs);
}

// With --trace-dir every scene runs, each to DIR/NAME.jsonl; a scene that fails is reported and the
// others still run.
int runList(const Extension& extension, const RunOptions& options) {
  std::filesystem::create_directories(options.traceDir);
  int status = 0;
  for (const std::string& scene : options.scenes) {
    try {
      runOne(extension, scene, traceInDir(options, scene), "", options);
    } catch (const std::exception& error) {
      std::cerr << "vohost: " << scene << ": " << error.what() << '\n';
      status = 2;
    }
  }
  return status;
}

int runCommand(const std::string& library, const RunOptions& options) {
  if (options.scenes.size() > 1 && options.traceDir.empty()) {
    throw Error("several scenes need --trace-dir, a folder for their traces");
  }
  refuseClashingOutputs(options);
  Extension extension(library);
  if (!options.traceDir.empty()) return runList(extension, options);
  runOne(extension, options.scenes.front(), options.trace, options.html, options);
  return 0;
}

CLI::App* addRunCommand(CLI::App& app, RunOptions& run, std::string& library) {
  CLI::App* runApp = app.add_subcommand("run", "run a scene and write its trace, a JSON line per frame step");
  runApp->add_option("scenes", run.scenes, "the scene files (JSON); several need --trace-dir")->required();
  runApp->add_option("--frames", run.frames, "frame steps to run (default: the scene's)")
      ->check(CLI::NonNegativeNumber);
  CLI::Option* trace =
      runApp->add_option("--trace", run.trace, "write the trace to this file instead of stdout");
  CLI::Option* html = runApp->add_option("--html", run.html,
                                         "also write a replay page: one HTML file that plays the run back");
  runApp->add_option("--trace-dir", run.traceDir, "write each scene's trace to DIR/NAME.jsonl")
      ->excludes(trace)
      ->excludes(html);
  runApp->add_flag("--verbose", run.verbose, "also show message boxes on stderr");
  runApp->add_option("--lib", library, "the built extension");
  return runApp;
}

CLI::App* addCheckCommand(CLI::App& app, SweepOptions& sweep, bool& sweeping, SweepChild& child,
                          std::string& library) {
  CLI::App* checkApp = app.add_subcommand("check", "conformance checks of a built extension");
  checkApp->add_option("lib", library, "the built extension");
  checkApp->add_flag(
      "--sweep", sweeping,
      "call every routine in every state with hostile parameters, each check in a child process");
  checkApp->add_option("--seed", sweep.seed, "add random cases, reproducible from this seed");
  checkApp->add_flag("--json", sweep.json, "report the sweep as JSON");
  checkApp->add_flag(
      "--fail-allocations", sweep.failAllocations,
      "with --sweep: fail each allocation of every check in turn (test builds of the extension)");
  checkApp->add_option("--only", sweep.only, "run only the checks whose name matches ('*' matches anything)");
  checkApp->add_option("--skip", sweep.skip, "leave out the checks whose name matches");
  checkApp->add_option("--timeout", sweep.timeoutSeconds, "seconds a check may take (default 60)")
      ->check(CLI::PositiveNumber);
  checkApp->add_flag("--sweep-child", child.active)->group("");
  checkApp->add_option("--from", child.from)->group("");
  checkApp->add_option("--to", child.to)->group("");
  checkApp->add_option("--folder", child.folder)->group("");
  return checkApp;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"vohost: runs the NIMBO extension the way its host does"};
  app.require_subcommand(1);
  app.allow_windows_style_options(false);  // a path such as /tmp/scene.json is no option
  std::string library = defaultExtensionPath().string();
  app.add_option("--lib", library, "the built extension (default: ../frame/ beside vohost)");
  RunOptions run;
  CLI::App* runApp = addRunCommand(app, run, library);
  SweepOptions sweep;
  bool sweeping = false;
  SweepChild child;
  CLI::App* checkApp = addCheckCommand(app, sweep, sweeping, child, library);
  CLI::App* catalogApp = app.add_subcommand("catalog", "the menus and entries as a designer sees them");
  catalogApp->add_option("lib", library, "the built extension");

  CLI11_PARSE(app, argc, argv);
  try {
    if (runApp->parsed()) return runCommand(library, run);
    if (child.active) return runSweepChild(library, sweep, child.folder, child.from, child.to);
    if (sweeping && sweep.failAllocations) return runAllocationSweep(library, sweep, std::cout);
    if (sweeping) return runSweep(executablePath(), library, sweep, std::cout);
    if (checkApp->parsed()) return printChecks(runChecks(Extension(library)), std::cout) ? 0 : 1;
    printCatalog(Extension(library), std::cout);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "vohost: " << error.what() << '\n';
    return 2;
  }
}
