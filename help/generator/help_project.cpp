// The help project chmcmd compiles: the project file, the contents (the editor's three menus, then the
// subsystem pages) and the index (every menu text, display string and parameter title to its pages).
// The viewer reads the sitemap files in the help file's code page and decodes their entities; chmcmd's
// binary index would keep the entities as text, so the index stays a sitemap.
#include <algorithm>
#include <cctype>
#include <set>

#include "help/generator/guide.h"
#include "help/generator/text_escape.h"

namespace guide {

namespace {

using vohost::CatalogKind;
using vohost::MenuNode;

constexpr const char* kSitemapHead =
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n</HEAD>\n<BODY>\n";

std::string entry(const std::string& name, const std::string& file) {
  std::string html = "<LI> <OBJECT type=\"text/sitemap\">\n  <param name=\"Name\" value=\"" +
                     escapeWindows1252(name) + "\">\n";
  if (!file.empty()) html += "  <param name=\"Local\" value=\"" + file + "\">\n";
  return html + "  </OBJECT>\n";
}

std::string menuContents(const Guide& guide, CatalogKind kind, const std::vector<MenuNode>& nodes) {
  std::string html;
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::submenu) {
      html += entry(node.text, "") + "<UL>\n" + menuContents(guide, kind, node.children) + "</UL>\n";
    } else if (const Routine* routine = guide.catalog.fromMenu(kind, node.id);
               routine && node.kind == MenuNode::Kind::item) {
      html += entry(node.text, pageFile(routine->name()));
    }
  }
  return html;
}

std::string contents(const Guide& guide) {
  std::string html = kSitemapHead;
  html +=
      "<OBJECT type=\"text/site properties\">\n  <param name=\"ImageType\" "
      "value=\"Folder\">\n</OBJECT>\n<UL>\n";
  html += entry(pageTitle(guide, "welcome"), "index.html");
  for (const Menu& menu : guide.catalog.menus) {
    html += entry(pluralTitle(menu.kind), "") + "<UL>\n" + menuContents(guide, menu.kind, menu.nodes);
    for (const Routine& routine : guide.catalog.routines) {
      if (routine.kind == menu.kind && routine.menuText.empty())
        html += entry(routine.title(), pageFile(routine.name()));
    }
    html += "</UL>\n";
  }
  for (const std::string& name : subsystemNames()) html += entry(pageTitle(guide, name), pageFile(name));
  return html + "</UL>\n</BODY>\n</HTML>\n";
}

// Keywords sorted as a reader looks them up: letters without case, then byte order among equals.
struct KeywordOrder {
  bool operator()(const std::string& a, const std::string& b) const {
    auto lower = [](const std::string& text) {
      std::string folded = text;
      std::transform(folded.begin(), folded.end(), folded.begin(),
                     [](unsigned char c) { return std::tolower(c); });
      return folded;
    };
    std::string la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
  }
};

using Topics = std::set<std::pair<std::string, std::string>>;  // (title, file)

std::string keywordIndex(const Guide& guide) {
  std::map<std::string, Topics, KeywordOrder> keywords;
  auto add = [&](const std::string& keyword, const std::string& title, const std::string& file) {
    if (keyword.find_first_not_of(' ') != std::string::npos) keywords[keyword].insert({title, file});
  };
  for (const Routine& routine : guide.catalog.routines) {
    std::string file = pageFile(routine.name());
    add(routine.title(), routine.title(), file);
    add(routine.displayString, routine.title(), file);
    for (const Parameter& parameter : routine.parameters) add(parameter.title, routine.title(), file);
  }
  for (const std::string& name : subsystemNames())
    add(pageTitle(guide, name), pageTitle(guide, name), pageFile(name));
  std::string html = std::string(kSitemapHead) + "<UL>\n";
  for (const auto& [keyword, topics] : keywords) {
    html += "<LI> <OBJECT type=\"text/sitemap\">\n  <param name=\"Name\" value=\"" +
            escapeWindows1252(keyword) + "\">\n";
    for (const auto& [title, file] : topics) {
      html += "  <param name=\"Name\" value=\"" + escapeWindows1252(title) +
              "\">\n  <param name=\"Local\" value=\"" + file + "\">\n";
    }
    html += "  </OBJECT>\n";
  }
  return html + "</UL>\n</BODY>\n</HTML>\n";
}

std::string project(const std::vector<OutputFile>& web) {
  std::string text =
      "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=Quillet.chm\r\nContents file=Quillet.hhc\r\n"
      "Index file=Quillet.hhk\r\nBinary Index=No\r\nDefault topic=index.html\r\nDefault "
      "Window=main\r\nDisplay compile "
      "progress=No\r\n"
      "Full-text search=Yes\r\nLanguage=0x409 English (United States)\r\nTitle=NIMBO\r\n\r\n[WINDOWS]\r\n"
      "main=\"NIMBO\",\"Quillet.hhc\",\"Quillet.hhk\",\"index.html\",\"index.html\",,,,,0x63520,,0x10384e,,,,"
      ",,,,0\r\n"
      "\r\n[FILES]\r\n";
  for (const OutputFile& file : web) text += file.name + "\r\n";
  return text;
}

}  // namespace

std::vector<OutputFile> projectFiles(const Guide& guide, const std::vector<OutputFile>& web) {
  return {
      {"Quillet.hhp", project(web)}, {"Quillet.hhc", contents(guide)}, {"Quillet.hhk", keywordIndex(guide)}};
}

}  // namespace guide
