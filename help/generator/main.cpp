// nimbo_guide: the designer's guide from the built extension's catalog and the hand-written pages of
// help/. Writes the pages, their stylesheet and pictures, and the help project chmcmd compiles.
//   nimbo_guide --sources help [--lib nimbo.so] [--out DIR] [--require-descriptions]
// Exit status: 0 done; 1 with --require-descriptions, some page has no description yet; 2 a source or
// the extension cannot be used (the message names file and line); 3 a wrong command line.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

#include "help/generator/guide.h"
#include "vohost/error.h"

namespace {

namespace fs = std::filesystem;

// Pages and pictures of an earlier run that this one does not write would linger in the help file.
void clearEarlierOutput(const fs::path& out) {
  for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
    std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && (extension == ".html" || extension == ".svg")) fs::remove(entry.path());
  }
}

void writeFiles(const fs::path& out, const std::vector<guide::OutputFile>& files) {
  for (const guide::OutputFile& file : files) {
    std::ofstream stream(out / file.name, std::ios::binary);
    stream << file.content;
    if (!stream.flush()) throw vohost::Error("cannot write " + (out / file.name).string());
  }
}

int reportUndescribed(const guide::Guide& guide, bool required) {
  std::vector<std::string> names = guide.undescribed();
  if (names.empty()) return 0;
  std::cout << names.size() << " pages have no description yet";
  if (!required) {
    std::cout << " (--require-descriptions lists them)\n";
    return 0;
  }
  std::cout << ":\n";
  for (const std::string& name : names) std::cout << "  " << name << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("The NIMBO designer's guide: web pages and the help project, from the built extension");
  std::string sources, library, out;
  bool requireDescriptions = false;
  app.add_option("--sources", sources, "the help/ folder: routines/, subsystems/, pictures/")->required();
  app.add_option("--lib", library, "the built extension (default: ../frame/ beside this program)");
  app.add_option("--out", out, "where the pages and the help project go (nothing is written without it)");
  app.add_flag("--require-descriptions", requireDescriptions, "fail when a page has no description yet");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return error.get_exit_code() == 0 ? app.exit(error) : (app.exit(error), 3);
  }
  try {
    vohost::Extension extension(library.empty() ? vohost::defaultExtensionPath() : fs::path(library));
    guide::Guide guide = guide::readGuide(extension, sources);
    if (!out.empty()) {
      fs::create_directories(out);
      clearEarlierOutput(out);
      std::vector<guide::OutputFile> web = guide::webFiles(guide);
      writeFiles(out, web);
      writeFiles(out, guide::projectFiles(guide, web));
      std::cout << "nimbo_guide: " << web.size() << " files in " << out << '\n';
    }
    return reportUndescribed(guide, requireDescriptions);
  } catch (const std::exception& error) {
    std::cerr << "nimbo_guide: " << error.what() << '\n';
    return 2;
  }
}
