// The guide as one whole: the catalog read from the built extension, the hand-written pages, the
// pictures run through it; and the files it becomes (the pages, their stylesheet and pictures, and the
// help project that chmcmd compiles).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "help/generator/guide_catalog.h"
#include "help/generator/markup.h"
#include "help/generator/picture.h"

namespace guide {

struct Guide {
  Catalog catalog;
  std::map<std::string, Page> pages;        // hand-written, by page name: action-4, regex, welcome
  std::map<std::string, Picture> pictures;  // by picture name

  // Routines and subsystem pages (welcome too) that have no hand-written page yet.
  std::vector<std::string> undescribed() const;
};

// Reads help/routines, help/subsystems and the pictures they name, checking every page against the
// catalog and running every picture through `extension`. Throws SourceError naming file and line.
Guide readGuide(const vohost::Extension& extension, const std::filesystem::path& sources);

struct OutputFile {
  std::string name;
  std::string content;
};

// The pages (index.html first), guide.css and the pictures' SVGs.
std::vector<OutputFile> webFiles(const Guide& guide);

// Quillet.hhp, Quillet.hhc (the menus, then the subsystem pages) and Quillet.hhk (every menu text,
// display string and parameter title to its pages), over the files of webFiles.
std::vector<OutputFile> projectFiles(const Guide& guide, const std::vector<OutputFile>& web);

// The page names a link may reach: every routine, the six subsystems, welcome.
std::vector<std::string> pageNames(const Catalog& catalog);

// A subsystem's or the front page's title: its page's title: line, or a plain default without one.
std::string pageTitle(const Guide& guide, const std::string& name);

// A page name's file: index.html for welcome, NAME.html otherwise.
std::string pageFile(const std::string& name);

}  // namespace guide
