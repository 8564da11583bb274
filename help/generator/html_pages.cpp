// The guide's pages as plain HTML that the help viewer's old engine and any browser read alike: UTF-8
// with its meta charset, relative links only, pictures as <img> of the SVG files beside the pages.
#include <cstdio>

#include "help/generator/guide.h"
#include "help/generator/text_escape.h"

namespace guide {

namespace {

using vohost::CatalogKind;
using vohost::MenuNode;

const std::map<std::string, std::string>& defaultTitles() {
  static const std::map<std::string, std::string> titles = {
      {"welcome", "NIMBO"},          {"regex", "Regular expressions"}, {"files", "Files and folders"},
      {"window", "The game window"}, {"layouts", "Layouts"},           {"motion", "Motions"},
      {"diagnostics", "Diagnostics"}};
  return titles;
}

constexpr const char* kNoDescription = "This page has no description yet.";

std::string renderInlines(const Inlines& inlines) {
  std::string html;
  for (const Inline& part : inlines) {
    switch (part.kind) {
      case Inline::Kind::text:
        html += escapeXml(part.text);
        break;
      case Inline::Kind::code:
        html += "<code>" + escapeXml(part.text) + "</code>";
        break;
      case Inline::Kind::bold:
        html += "<b>" + escapeXml(part.text) + "</b>";
        break;
      case Inline::Kind::link:
        html += "<a href=\"" + pageFile(part.target) + "\">" + escapeXml(part.text) + "</a>";
        break;
    }
  }
  return html;
}

std::string renderSummary(const Page& page) {
  const FrontMatterEntry& summary = page.frontMatter.at("summary");
  return renderInlines(readInlines(summary.value, page.file, summary.line));
}

std::string renderBlock(const Block& block) {
  switch (block.kind) {
    case Block::Kind::heading:
      return "<h2>" + renderInlines(block.text) + "</h2>\n";
    case Block::Kind::paragraph:
      return "<p>" + renderInlines(block.text) + "</p>\n";
    case Block::Kind::bullets: {
      std::string html = "<ul>\n";
      for (const Inlines& item : block.items) html += "<li>" + renderInlines(item) + "</li>\n";
      return html + "</ul>\n";
    }
    case Block::Kind::fenced: {
      std::string html = "<pre>";
      for (const std::string& line : block.verbatim) html += escapeXml(line) + "\n";
      return html + "</pre>\n";
    }
  }
  return "";
}

std::string shell(const std::string& title, const std::string& bodyClass, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
         "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
         "<title>" +
         escapeXml(title) +
         "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"guide.css\">\n</head>\n<body class=\"" +
         bodyClass + "\">\n" + body + "</body>\n</html>\n";
}

std::string menuPathText(const Routine& routine) {
  std::string path = pluralTitle(routine.kind);
  for (const std::string& submenu : routine.menuPath) path += " > " + submenu;
  return path;
}

std::string pictureHtml(const Guide& guide, const Page& page) {
  std::string name = page.value("picture");
  if (name.empty()) return "";
  const Picture& picture = guide.pictures.at(name);
  return "<div class=\"picture\"><img src=\"" + name + ".svg\" width=\"" + std::to_string(picture.width) +
         "\" height=\"" + std::to_string(picture.height) + "\" alt=\"" + escapeXml(name) +
         ": the objects' paths and where they end\">\n<p>What this build does: the scene <code>" +
         escapeXml(name) + ".json</code> run for " + std::to_string(picture.frames) +
         (picture.frames == 1 ? " frame step" : " frame steps") +
         ", each object's path from where it starts and the box where it ends.</p></div>\n";
}

std::string flagsText(const Routine& routine) {
  switch (routine.kind) {
    case CatalogKind::condition:
      return (routine.flags & VO_CONDITION_EVERY_PASS)
                 ? "tested on every pass of the event list, anywhere in its line"
                 : "true when NIMBO raises it: it heads its event line";
    case CatalogKind::expression:
      return (routine.flags & VO_EXPRESSION_RESULT_STRING) ? "gives a text" : "gives a number";
    case CatalogKind::action:
      break;
  }
  return "";
}

std::string catalogTable(const Guide& guide, const Routine& routine, const Page* page) {
  std::string html = "<table class=\"catalog\">\n";
  auto row = [&](const std::string& head, const std::string& cell) {
    html += "<tr><th>" + head + "</th><td>" + cell + "</td></tr>\n";
  };
  if (routine.menuText.empty()) {
    row("Menu", std::string("not in the ") + vohost::kindName(routine.kind) + " menu");
  } else {
    row("Menu", escapeXml(menuPathText(routine)) + " &gt; <b class=\"menu\">" + escapeXml(routine.menuText) +
                    "</b>" + (routine.disabled ? " (greyed out: it cannot be picked)" : ""));
  }
  row("In the event editor", "<code class=\"display\">" + escapeXml(routine.displayString) + "</code>");
  if (page) {
    std::string subsystem = page->value("subsystem");
    row("Subsystem",
        "<a href=\"" + pageFile(subsystem) + "\">" + escapeXml(pageTitle(guide, subsystem)) + "</a>");
  }
  std::string flags = flagsText(routine);
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(routine.flags));
  row("Catalog", vohost::kindName(routine.kind) + std::string(" ") + std::to_string(routine.code) +
                     ", flags " + hex + (flags.empty() ? "" : ": " + flags));
  return html + "</table>\n";
}

// The catalog's kinds and titles beside the hand-written meaning of each parameter.
std::string parametersTable(const Routine& routine, const std::vector<const Inlines*>& meanings) {
  std::string html = "<table class=\"parameters\">\n<tr><th>#</th><th>Title</th><th>Kind</th>";
  html += meanings.empty() ? "</tr>\n" : "<th>Meaning</th></tr>\n";
  for (size_t i = 0; i < routine.parameters.size(); ++i) {
    const Parameter& parameter = routine.parameters[i];
    html += "<tr><td>" + std::to_string(i + 1) + "</td><td><b>" + escapeXml(parameter.title) +
            "</b></td><td>" + parameter.kind + "</td>";
    if (!meanings.empty()) html += "<td>" + renderInlines(*meanings[i]) + "</td>";
    html += "</tr>\n";
  }
  return html + "</table>\n";
}

std::string handWritten(const Routine& routine, const Page& page) {
  std::string html;
  std::vector<const Inlines*> meanings;
  bool inParameters = false;
  for (const Block& block : page.blocks) {
    if (block.kind == Block::Kind::heading) {
      if (inParameters) html += parametersTable(routine, meanings);
      inParameters = block.text.size() == 1 && block.text[0].text == "Parameters";
    }
    if (inParameters && block.kind == Block::Kind::bullets) {
      for (const Inlines& item : block.items) meanings.push_back(&item);
      continue;
    }
    html += renderBlock(block);
  }
  return inParameters ? html + parametersTable(routine, meanings) : html;
}

std::string navigation(const std::string& trail) {
  return "<p class=\"nav\"><a href=\"index.html\">Contents</a>" + trail + "</p>\n";
}

std::string routinePage(const Guide& guide, const Routine& routine) {
  auto found = guide.pages.find(routine.name());
  const Page* page = found == guide.pages.end() ? nullptr : &found->second;
  std::string body = navigation(" &gt; " + escapeXml(menuPathText(routine)));
  body += "<h1>" + escapeXml(routine.title()) + "</h1>\n";
  if (page) body += "<p class=\"summary\">" + renderSummary(*page) + "</p>\n";
  body += catalogTable(guide, routine, page);
  if (!page) {
    if (!routine.parameters.empty()) body += "<h2>Parameters</h2>\n" + parametersTable(routine, {});
    body += "<p class=\"missing\">" + std::string(kNoDescription) + "</p>\n";
    return shell(routine.title() + " - NIMBO", "routine", body);
  }
  body += pictureHtml(guide, *page) + handWritten(routine, *page);
  return shell(routine.title() + " - NIMBO", "routine subsystem-" + page->value("subsystem"), body);
}

std::string routineLink(const Guide& guide, const Routine& routine, const std::string& text) {
  std::string html = "<a href=\"" + pageFile(routine.name()) + "\">" + escapeXml(text) + "</a>";
  auto page = guide.pages.find(routine.name());
  if (page != guide.pages.end())
    html += " <span class=\"summary\">" + renderSummary(page->second) + "</span>";
  return html;
}

std::string subsystemPage(const Guide& guide, const std::string& name) {
  auto found = guide.pages.find(name);
  std::string body = navigation("") + "<h1>" + escapeXml(pageTitle(guide, name)) + "</h1>\n";
  if (found == guide.pages.end()) {
    body += "<p class=\"missing\">" + std::string(kNoDescription) + "</p>\n";
  } else {
    body +=
        "<p class=\"summary\">" + renderSummary(found->second) + "</p>\n" + pictureHtml(guide, found->second);
    for (const Block& block : found->second.blocks) body += renderBlock(block);
  }
  std::string list;
  for (const Routine& routine : guide.catalog.routines) {
    auto page = guide.pages.find(routine.name());
    if (page != guide.pages.end() && page->second.value("subsystem") == name) {
      list += "<li>" + routineLink(guide, routine, routine.title()) + "</li>\n";
    }
  }
  if (!list.empty()) body += "<h2>Its routines</h2>\n<ul class=\"routines\">\n" + list + "</ul>\n";
  return shell(pageTitle(guide, name) + " - NIMBO", "subsystem", body);
}

std::string menuList(const Guide& guide, CatalogKind kind, const std::vector<MenuNode>& nodes) {
  std::string html;
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuNode::Kind::separator) continue;
    if (node.kind == MenuNode::Kind::submenu) {
      html += "<li><span class=\"submenu\">" + escapeXml(node.text) + "</span>\n<ul>\n" +
              menuList(guide, kind, node.children) + "</ul></li>\n";
      continue;
    }
    const Routine* routine = guide.catalog.fromMenu(kind, node.id);
    if (!routine) {
      html += "<li class=\"label\">" + escapeXml(node.text) + "</li>\n";
      continue;
    }
    std::string greyed = node.disabled ? " <span class=\"greyed\">(greyed out in the menu)</span>" : "";
    html += "<li>" + routineLink(guide, *routine, node.text) + greyed + "</li>\n";
  }
  return html;
}

std::string indexPage(const Guide& guide) {
  auto welcome = guide.pages.find("welcome");
  std::string body = "<h1>" + escapeXml(pageTitle(guide, "welcome")) + "</h1>\n";
  if (welcome == guide.pages.end()) {
    body += "<p class=\"missing\">" + std::string(kNoDescription) + "</p>\n";
  } else {
    body += "<p class=\"summary\">" + renderSummary(welcome->second) + "</p>\n" +
            pictureHtml(guide, welcome->second);
    for (const Block& block : welcome->second.blocks) body += renderBlock(block);
  }
  body += "<h2>Subsystems</h2>\n<ul class=\"subsystems\">\n";
  for (const std::string& name : subsystemNames()) {
    auto page = guide.pages.find(name);
    body +=
        "<li><a href=\"" + pageFile(name) + "\">" + escapeXml(pageTitle(guide, name)) + "</a>" +
        (page == guide.pages.end() ? ""
                                   : " <span class=\"summary\">" + renderSummary(page->second) + "</span>") +
        "</li>\n";
  }
  body += "</ul>\n";
  for (const Menu& menu : guide.catalog.menus) {
    body += "<h2>" + pluralTitle(menu.kind) + "</h2>\n<ul class=\"menu\">\n" +
            menuList(guide, menu.kind, menu.nodes) + "</ul>\n";
  }
  std::string unlisted;
  for (const Routine& routine : guide.catalog.routines) {
    if (routine.menuText.empty())
      unlisted += "<li>" + routineLink(guide, routine, routine.title()) + "</li>\n";
  }
  if (!unlisted.empty()) body += "<h2>Not in the menus</h2>\n<ul class=\"menu\">\n" + unlisted + "</ul>\n";
  return shell("NIMBO designer's guide", "index", body);
}

constexpr const char* kStylesheet =
    R"css(body { font-family: sans-serif; font-size: 10pt; color: #1d1f24; background: #ffffff; margin: 12px 20px; max-width: 60em; }
h1 { font-size: 16pt; margin: 6px 0 4px 0; }
h2 { font-size: 12pt; margin: 18px 0 6px 0; border-bottom: 1px solid #c9ccd3; }
p.nav { font-size: 8pt; color: #5a5f6b; margin: 0 0 8px 0; }
p.summary, span.summary { color: #3d4250; }
span.summary { font-size: 9pt; }
p.missing { border: 1px dashed #c0392b; color: #c0392b; padding: 6px 8px; }
table { border-collapse: collapse; margin: 6px 0; }
th, td { border: 1px solid #c9ccd3; padding: 3px 6px; text-align: left; vertical-align: top; }
th { background: #eef0f4; font-weight: bold; }
table.catalog th { width: 11em; }
code, pre { font-family: monospace; font-size: 9pt; }
code { background: #f1f2f5; padding: 0 2px; white-space: pre-wrap; }
pre { background: #f6f7f9; border: 1px solid #d8dbe1; padding: 6px 8px; }
div.picture { margin: 10px 0; }
div.picture img { border: 1px solid #c9ccd3; }
div.picture p { font-size: 8pt; color: #5a5f6b; margin: 2px 0; }
ul.menu ul { margin-top: 2px; }
span.submenu { font-weight: bold; }
li.label, span.greyed { color: #8a8f9b; }
li.label { list-style: none; }
)css";

}  // namespace

std::vector<OutputFile> webFiles(const Guide& guide) {
  std::vector<OutputFile> files = {{"index.html", indexPage(guide)}};
  for (const std::string& name : subsystemNames())
    files.push_back({pageFile(name), subsystemPage(guide, name)});
  for (const Routine& routine : guide.catalog.routines) {
    files.push_back({pageFile(routine.name()), routinePage(guide, routine)});
  }
  files.push_back({"guide.css", kStylesheet});
  for (const auto& [name, picture] : guide.pictures) files.push_back({name + ".svg", picture.svg});
  return files;
}

std::string pageTitle(const Guide& guide, const std::string& name) {
  auto page = guide.pages.find(name);
  if (page != guide.pages.end() && !page->second.value("title").empty()) return page->second.value("title");
  return defaultTitles().at(name);
}

}  // namespace guide
