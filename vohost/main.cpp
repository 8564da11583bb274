// The vohost command line: run a scene, check a built extension, print its catalog.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

#include "vohost/catalog_print.h"
#include "vohost/check.h"
#include "vohost/error.h"
#include "vohost/scene_run.h"

namespace {

using namespace vohost;

struct RunOptions {
  std::string scene;
  int frames = -1;
  std::string trace;
  bool verbose = false;
};

int runCommand(const std::string& library, const RunOptions& options) {
  Extension extension(library);
  Scene scene = readScene(options.scene);
  std::ofstream file;
  if (!options.trace.empty()) {
    file.open(options.trace, std::ios::binary);
    if (!file) throw Error("cannot write trace " + options.trace);
  }
  std::ostream& out = options.trace.empty() ? std::cout : file;
  runScene(extension, scene, options.frames, [&](const StepRecord& record) {
    out << traceLine(record) << '\n';
    if (!options.verbose) return;
    for (const ShownMessageBox& box : record.messageBoxes) {
      std::cerr << "message box [" << box.caption << "]: " << box.text << '\n';
    }
  });
  out.flush();
  if (!out) throw Error("writing the trace failed");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"vohost: runs the NIMBO extension the way its host does"};
  app.require_subcommand(1);
  std::string library = defaultExtensionPath().string();
  app.add_option("--lib", library, "the built extension (default: ../frame/ beside vohost)");

  RunOptions run;
  CLI::App* runApp = app.add_subcommand("run", "run a scene and write its trace, a JSON line per frame step");
  runApp->add_option("scene", run.scene, "the scene file (JSON)")->required();
  runApp->add_option("--frames", run.frames, "frame steps to run (default: the scene's)")
      ->check(CLI::NonNegativeNumber);
  runApp->add_option("--trace", run.trace, "write the trace to this file instead of stdout");
  runApp->add_flag("--verbose", run.verbose, "also show message boxes on stderr");
  runApp->add_option("--lib", library, "the built extension");

  CLI::App* checkApp = app.add_subcommand("check", "conformance checks of a built extension");
  checkApp->add_option("lib", library, "the built extension");
  CLI::App* catalogApp = app.add_subcommand("catalog", "the menus and entries as a designer sees them");
  catalogApp->add_option("lib", library, "the built extension");

  CLI11_PARSE(app, argc, argv);
  try {
    if (runApp->parsed()) return runCommand(library, run);
    if (checkApp->parsed()) return printChecks(runChecks(Extension(library)), std::cout) ? 0 : 1;
    printCatalog(Extension(library), std::cout);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "vohost: " << error.what() << '\n';
    return 2;
  }
}
