// Reading the help sources against the catalog: every hand-written file must belong to a routine or a
// subsystem, hold its shape, link to pages that exist, and name pictures whose scenes run cleanly.
#include "help/generator/guide.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "vohost/error.h"

namespace guide {

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path.string(), 1, "cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The .md files of a folder, by name; anything else in it is a mistake worth stopping for.
std::map<std::string, fs::path> markdownFiles(const fs::path& folder) {
  std::map<std::string, fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const fs::path& path = entry.path();
    if (path.extension() != ".md" || !entry.is_regular_file()) {
      throw SourceError(path.string(), 1, "the help folders hold .md pages only");
    }
    files.emplace(path.stem().string(), path);
  }
  return files;
}

bool isPictureName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
}

void readRoutinePages(const Catalog& catalog, const fs::path& sources, Guide& guide) {
  for (const auto& [name, path] : markdownFiles(sources / "routines")) {
    auto routine = std::find_if(catalog.routines.begin(), catalog.routines.end(),
                                [&](const Routine& r) { return r.name() == name; });
    if (routine == catalog.routines.end()) {
      throw SourceError(
          path.string(), 1,
          "the catalog has no routine " + name + ": pages are action-N, condition-N, expression-N");
    }
    Page page = readPage(readFile(path), path.string());
    std::vector<std::string> titles;
    for (const Parameter& parameter : routine->parameters) titles.push_back(parameter.title);
    checkRoutinePage(page, titles);
    guide.pages.emplace(name, std::move(page));
  }
}

void readSubsystemPages(const fs::path& sources, Guide& guide) {
  const std::vector<std::string>& names = subsystemNames();
  for (const auto& [name, path] : markdownFiles(sources / "subsystems")) {
    if (name != "welcome" && std::find(names.begin(), names.end(), name) == names.end()) {
      throw SourceError(path.string(), 1,
                        "no subsystem is named " + name +
                            ": pages are regex, files, window, layouts, motion, diagnostics and welcome");
    }
    Page page = readPage(readFile(path), path.string());
    checkSubsystemPage(page);
    guide.pages.emplace(name, std::move(page));
  }
}

void runPictures(const vohost::Extension& extension, const fs::path& sources, Guide& guide) {
  for (const auto& [pageName, page] : guide.pages) {
    auto picture = page.frontMatter.find("picture");
    if (picture == page.frontMatter.end()) continue;
    const std::string& name = picture->second.value;
    int line = picture->second.line;
    if (!isPictureName(name))
      throw SourceError(page.file, line, "a picture's name is lower-case letters, digits, - and _");
    if (guide.pictures.count(name)) continue;
    fs::path scene = sources / "pictures" / (name + ".json");
    if (!fs::is_regular_file(scene))
      throw SourceError(page.file, line, "there is no picture " + scene.string());
    try {
      guide.pictures.emplace(name, drawPicture(extension, scene));
    } catch (const std::exception& error) {
      throw SourceError(page.file, line, "the picture " + scene.string() + " fails: " + error.what());
    }
  }
}

}  // namespace

std::vector<std::string> Guide::undescribed() const {
  std::vector<std::string> names;
  for (const std::string& name : pageNames(catalog)) {
    if (!pages.count(name)) names.push_back(name);
  }
  return names;
}

Guide readGuide(const vohost::Extension& extension, const fs::path& sources) {
  Guide guide;
  guide.catalog = readCatalog(extension);
  readRoutinePages(guide.catalog, sources, guide);
  readSubsystemPages(sources, guide);
  std::vector<std::string> names = pageNames(guide.catalog);
  std::set<std::string> known(names.begin(), names.end());
  for (const auto& [name, page] : guide.pages) checkLinks(page, known);
  runPictures(extension, sources, guide);
  return guide;
}

std::vector<std::string> pageNames(const Catalog& catalog) {
  std::vector<std::string> names = {"welcome"};
  for (const std::string& subsystem : subsystemNames()) names.push_back(subsystem);
  for (const Routine& routine : catalog.routines) names.push_back(routine.name());
  return names;
}

std::string pageFile(const std::string& name) {
  return name == "welcome" ? "index.html" : name + ".html";
}

}  // namespace guide
