// The vohost command line: run a scene, soak it, check a built extension, print its catalog.
#include <CLI/CLI.hpp>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <vector>

#include "vohost/checks/allocation_sweep.h"
#include "vohost/checks/catalog_print.h"
#include "vohost/checks/check.h"
#include "vohost/checks/sweep.h"
#include "vohost/command_line.h"
#include "vohost/error.h"
#include "vohost/loader/module.h"
#include "vohost/replay/replay_page.h"
#include "vohost/simhost/runtime.h"
#include "vohost/simhost/scene_run.h"
#include "vohost/simhost/soak.h"

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

std::string traceInDir(const RunOptions& options, const std::string& scenePath) {
  return traceFileIn(options.traceDir, scenePath).string();
}

std::vector<std::string> outputsOf(const RunOptions& options) {
  std::vector<std::string> outputs;
  if (!options.trace.empty()) outputs.push_back(options.trace);
  if (!options.html.empty()) outputs.push_back(options.html);
  if (!options.traceDir.empty()) {
    for (const std::string& scene : options.scenes) outputs.push_back(traceInDir(options, scene));
  }
  return outputs;
}

// The files a scene's own "write file" may not write over.
std::vector<std::filesystem::path> runFiles(const std::string& library, const RunOptions& options) {
  std::vector<std::filesystem::path> files(options.scenes.begin(), options.scenes.end());
  files.emplace_back(library);
  for (const std::string& output : outputsOf(options)) files.emplace_back(output);
  return files;
}

// One scene to its trace (stdout when `trace` is empty) and, when `html` is set, its replay page.
void runOne(const Extension& extension, const std::string& scenePath, const std::string& trace,
            const std::string& html, const RunOptions& options) {
  Scene scene = readScene(scenePath);
  scene.kept = runFiles(extension.path().string(), options);
  std::ofstream file;
  if (!trace.empty()) file = openOutput(trace, "trace");
  std::ostream& out = trace.empty() ? std::cout : file;
  // The page's file is opened first, so a path that cannot be written fails before a long run.
  std::ofstream htmlFile;
  if (!html.empty()) htmlFile = openOutput(html, "replay page");
  std::optional<ReplayPage> page;
  std::function<void(Runtime&)> startPage;
  if (!html.empty()) {
    startPage = [&](Runtime& runtime) {
      runtime.listControllers();
      page.emplace(scene, std::filesystem::path(scenePath).filename().string(), runtime.created(),
                   runtime.objectAddresses());
    };
  }
  RunSummary summary;
  auto sink = [&](const StepRecord& record) {
    out << traceLine(record) << '\n';
    if (page) page->add(record);
    summary.add(record);
    if (!trace.empty()) printLog(record);
    if (!options.verbose) return;
    for (const ShownMessageBox& box : record.messageBoxes) {
      std::cerr << "message box [" << box.caption << "]: " << box.text << '\n';
    }
  };
  runScene(extension, scene, options.frames, sink, startPage);
  out.flush();
  if (!out) throw Error("writing the trace failed");
  if (!trace.empty()) std::cout << summary.text() << "; trace in " << trace << '\n';
  // Beside a trace on stdout, the note goes to stderr so the trace stays JSON lines.
  if (page) writeReplayPage(*page, htmlFile, html, trace.empty() ? std::cerr : std::cout);
}

// Thrown when the command line would overwrite one of its own inputs: nothing runs then.
struct CommandLineError : Error {
  using Error::Error;
};

void refuseClashingOutputs(const std::string& library, const RunOptions& options) {
  std::vector<std::string> outputs = outputsOf(options);
  try {
    refuseOutputClashes(options.scenes, outputs, library);
  } catch (const Error& error) {
    throw CommandLineError(error.what());
  }
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
      status = kExitInput;
    }
  }
  return status;
}

int runCommand(const std::string& library, const RunOptions& options) {
  if (options.scenes.size() > 1 && options.traceDir.empty()) {
    throw CommandLineError("several scenes need --trace-dir, a folder for their traces");
  }
  refuseClashingOutputs(library, options);
  Extension extension(library);
  if (!options.traceDir.empty()) return runList(extension, options);
  runOne(extension, options.scenes.front(), options.trace, options.html, options);
  return 0;
}

std::string kibibytes(uint64_t bytes) {
  return std::to_string((bytes + 512) / 1024) + " KiB";
}

void printSoakPoint(const std::string& scene, const SoakPoint& point) {
  std::cout << scene << ": step " << point.step << ": resident " << kibibytes(point.memory.resident);
  if (point.memory.allocated) std::cout << ", heap " << kibibytes(*point.memory.allocated);
  std::cout << std::endl;
}

// Each scene in turn, its memory reported as the run goes; a scene whose memory grew fails the command.
int soakCommand(const std::string& library, const std::vector<std::string>& scenes,
                const SoakOptions& options) {
  Extension extension(library);
  int status = 0;
  for (const std::string& path : scenes) {
    Scene scene = readScene(path);
    scene.kept.assign(scenes.begin(), scenes.end());
    scene.kept.emplace_back(library);
    SoakResult result = soakScene(extension, std::move(scene), options,
                                  [&](const SoakPoint& point) { printSoakPoint(path, point); });
    std::cout << path << ": " << (result.held ? "held: " : "GREW: ") << result.verdict << '\n';
    if (!result.held) status = kExitFound;
  }
  return status;
}

CLI::App* addRunCommand(CLI::App& app, RunOptions& run, std::string& library) {
  CLI::App* runApp = app.add_subcommand("run", "run a scene and write its trace, a JSON line per frame step");
  runApp->add_option("scenes", run.scenes, "the scene files (JSON); several need --trace-dir")->required();
  runApp->add_option("--frames", run.frames, "frame steps to run (default: the scene's)")
      ->check(wholeNumber("frame steps", 0, INT_MAX));
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
  checkApp->add_option("--seed", sweep.seed, "add random cases, reproducible from this seed")
      ->check(wholeNumber("a seed", 0, UINT64_MAX));
  checkApp->add_flag("--json", sweep.json, "report the sweep as JSON");
  checkApp->add_flag(
      "--fail-allocations", sweep.failAllocations,
      "with --sweep: fail each allocation of every check in turn (test builds of the extension)");
  checkApp->add_option("--only", sweep.only, "run only the checks whose name matches ('*' matches anything)");
  checkApp->add_option("--skip", sweep.skip, "leave out the checks whose name matches");
  checkApp->add_option("--timeout", sweep.timeoutSeconds, "seconds a check may take (default 60)")
      ->check(wholeNumber("seconds", 1, INT_MAX));
  checkApp->add_flag("--sweep-child", child.active)->group("");
  checkApp->add_option("--from", child.from)->group("");
  checkApp->add_option("--to", child.to)->group("");
  checkApp->add_option("--folder", child.folder)->group("");
  return checkApp;
}

CLI::App* addSoakCommand(CLI::App& app, std::vector<std::string>& scenes, SoakOptions& soak,
                         std::string& library) {
  CLI::App* soakApp = app.add_subcommand(
      "soak", "run scenes for many frame steps without a trace; their memory must not grow after warm-up");
  soakApp->add_option("scenes", scenes, "the scene files (JSON)")->required();
  soakApp->add_option("--steps", soak.steps, "frame steps to run (default 1000000)")
      ->check(wholeNumber("frame steps", 1, INT_MAX));
  soakApp->add_option("--warm-up", soak.warmUp, "the step the end is compared with (default 10000)")
      ->check(wholeNumber("frame steps", 1, INT_MAX));
  soakApp->add_option("--lib", library, "the built extension");
  return soakApp;
}

const std::vector<std::string> kSubcommands = {"run", "soak", "check", "catalog"};

// A bad command line: its problem in words and where to read the usage.
int refuseCommandLine(const std::string& problem) {
  std::cerr << "vohost: " << problem << "\nvohost --help shows the usage\n";
  return kExitCommandLine;
}

int parse(CLI::App& app, int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (std::optional<std::string> word = unknownSubcommand(arguments, kSubcommands)) {
    return refuseCommandLine("unknown subcommand '" + *word +
                             "': the subcommands are run, soak, check and catalog");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help
    return refuseCommandLine(error.what());
  }
  return -1;
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
  bool catalogAsJson = false;
  catalogApp->add_flag("--json", catalogAsJson, "print the catalog as one line of JSON");
  std::vector<std::string> soakScenes;
  SoakOptions soak;
  CLI::App* soakApp = addSoakCommand(app, soakScenes, soak, library);

  if (int status = parse(app, argc, argv); status >= 0) return status;
  try {
    if (runApp->parsed()) return runCommand(library, run);
    if (soakApp->parsed()) return soakCommand(library, soakScenes, soak);
    if (child.active) return runSweepChild(library, sweep, child.folder, child.from, child.to);
    if (sweeping && sweep.failAllocations) return runAllocationSweep(library, sweep, std::cout);
    if (sweeping) return runSweep(executablePath(), library, sweep, std::cout);
    if (checkApp->parsed()) return printChecks(runChecks(Extension(library)), std::cout) ? 0 : kExitFound;
    if (catalogAsJson) {
      std::cout << catalogJson(Extension(library)) << '\n';
    } else {
      printCatalog(Extension(library), std::cout);
    }
    return 0;
  } catch (const CommandLineError& error) {
    return refuseCommandLine(error.what());
  } catch (const std::exception& error) {
    std::cerr << "vohost: " << error.what() << '\n';
    return kExitInput;
  }
}
