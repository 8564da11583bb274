// The hand-written help pages: a small subset of Markdown read into blocks, and the checks that hold a
// routine page and a subsystem page to their shape. Anything outside the subset stops the build with the
// file and line, so a page never renders differently from what its writer meant.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace guide {

// "FILE:LINE: what is wrong".
struct SourceError : std::runtime_error {
  SourceError(const std::string& file, int line, const std::string& message);
};

struct Inline {
  enum class Kind { text, code, bold, link } kind = Kind::text;
  std::string text;    // the words shown, verbatim
  std::string target;  // a link's page name: action-4, regex, ...
  int line = 0;
};
using Inlines = std::vector<Inline>;

struct Block {
  enum class Kind { heading, paragraph, bullets, fenced } kind = Kind::paragraph;
  int line = 0;
  Inlines text;                       // heading, paragraph
  std::vector<Inlines> items;         // bullets; under `## Parameters`, the text after the title
  std::vector<int> itemLines;         // bullets: the line each item starts on
  std::vector<std::string> titles;    // bullets under `## Parameters`: each `**Title**`, verbatim
  std::vector<std::string> verbatim;  // fenced: the lines between the fences
};

struct FrontMatterEntry {
  std::string value;
  int line = 0;
};

struct Page {
  std::string file;  // as named in messages
  std::map<std::string, FrontMatterEntry> frontMatter;
  std::vector<Block> blocks;
  int lineCount = 0;

  std::string value(const std::string& key) const;  // "" when absent
};

// Reads a page; throws SourceError at the first construct outside the subset.
Page readPage(const std::string& text, const std::string& file);

// Inline markup of one run of text that starts on `line`; lines of a wrapped paragraph are joined by
// '\n' and counted, so an error names the line it is on.
Inlines readInlines(const std::string& text, const std::string& file, int line);

// The six subsystems, in the order the guide lists them.
const std::vector<std::string>& subsystemNames();

// Throws SourceError unless the page has a routine page's front matter and its headings in order, with
// one `- **Title**: ...` bullet per parameter holding the catalog's title verbatim.
void checkRoutinePage(const Page& page, const std::vector<std::string>& parameterTitles);

// Throws SourceError unless the page has a subsystem page's front matter (title, summary, picture).
void checkSubsystemPage(const Page& page);

// Throws SourceError at the first link whose target is not one of `pages`.
void checkLinks(const Page& page, const std::set<std::string>& pages);

}  // namespace guide
