// Reading the help pages' Markdown subset line by line, and the shape checks of routine and subsystem
// pages. The reader is strict on purpose: five people write these pages at once, and a construct the
// guide does not know must stop the build at its line rather than show up as stray characters.
#include "help/generator/markup.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace guide {

namespace {

const std::string kParameters = "Parameters";
const std::string kWhenItGoesWrong = "When it goes wrong";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' '; });
}

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool isSpace(char c) {
  return c == ' ' || c == '\n' || c == '\t';
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The length of the UTF-8 sequence starting at `i`, or 0 when it is malformed.
size_t utf8Length(std::string_view text, size_t i) {
  auto byte = static_cast<unsigned char>(text[i]);
  size_t length = byte < 0x80           ? 1
                  : (byte >> 5) == 0x6  ? 2
                  : (byte >> 4) == 0xE  ? 3
                  : (byte >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

bool isUtf8(std::string_view line) {
  for (size_t i = 0; i < line.size();) {
    size_t length = utf8Length(line, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

bool isNumber(std::string_view text) {
  if (text.empty() || text.size() > 3 || (text.size() > 1 && text[0] == '0')) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool isPageName(std::string_view target) {
  for (std::string_view kind : {"action-", "condition-", "expression-"}) {
    if (startsWith(target, kind)) return isNumber(target.substr(kind.size()));
  }
  const auto& names = subsystemNames();
  return target == "welcome" || std::find(names.begin(), names.end(), target) != names.end();
}

// A URL, a path or a file name: what a page name never holds.
bool leavesTheGuide(std::string_view target) {
  return target.find_first_of(":/.") != std::string_view::npos;
}

// `&name;` or `&#123;`: an entity the browser would decode, which the guide writes as the character.
bool isEntity(std::string_view text, size_t i) {
  size_t end = text.find(';', i);
  if (end == std::string_view::npos || end == i + 1 || end - i > 10) return false;
  std::string_view name = text.substr(i + 1, end - i - 1);
  if (name[0] == '#') name.remove_prefix(1);
  return !name.empty() && std::all_of(name.begin(), name.end(),
                                      [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// A line that would start a Markdown construct the guide does not have: the message, or "" when none.
std::string refusedStart(std::string_view line) {
  if (line.empty()) return "";
  if (line[0] == '\t') return "indent with spaces, not tabs";
  if (line[0] == ' ') return "an indented line only continues a bullet (two spaces)";
  if (line[0] == '>') return "block quotes are not part of the guide's markup";
  if (line[0] == '|') return "tables are not part of the guide's markup";
  if (startsWith(line, "* ") || startsWith(line, "+ ")) return "bullets start with \"- \"";
  size_t digits = 0;
  while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
  if (digits > 0 && (startsWith(line.substr(digits), ". ") || startsWith(line.substr(digits), ") "))) {
    return "numbered lists are not part of the guide's markup; use \"- \" bullets";
  }
  std::string_view trimmed = trimRight(line);
  if (trimmed.size() >= 3 &&
      std::all_of(trimmed.begin(), trimmed.end(), [&](char c) { return c == trimmed[0] || c == ' '; }) &&
      std::string_view("-*_=").find(trimmed[0]) != std::string_view::npos) {
    return "rules and underlined headings are not part of the guide's markup";
  }
  return "";
}

class InlineReader {
 public:
  InlineReader(const std::string& text, const std::string& file, int line)
      : text_(text), file_(file), firstLine_(line) {}

  Inlines read() {
    while (i_ < text_.size()) step();
    flush();
    return std::move(inlines_);
  }

 private:
  void step() {
    char c = text_[i_];
    if (c == '`') return code();
    if (c == '*') return asterisks();
    if (c == '!' && i_ + 1 < text_.size() && text_[i_ + 1] == '[') {
      fail(i_, "pictures come from the front matter's picture: key, not ![...](...)");
    }
    if (c == '[') return link();
    if (c == '<' && i_ + 1 < text_.size() &&
        (std::isalpha(static_cast<unsigned char>(text_[i_ + 1])) ||
         std::string_view("/!?").find(text_[i_ + 1]) != std::string_view::npos)) {
      fail(i_, "HTML is not part of the guide's markup");
    }
    if (c == '&' && isEntity(text_, i_)) fail(i_, "write the character itself, not an HTML entity");
    plain_ += c == '\n' ? ' ' : c;
    ++i_;
  }

  void code() {
    if (i_ + 1 < text_.size() && text_[i_ + 1] == '`') fail(i_, "code takes single backticks: `code`");
    size_t close = text_.find('`', i_ + 1);
    if (close == std::string::npos) fail(i_, "this ` is never closed");
    if (close == i_ + 1) fail(i_, "empty code: ``");
    push(Inline::Kind::code, text_.substr(i_ + 1, close - i_ - 1), i_);
    i_ = close + 1;
  }

  // ** before a word opens bold. Asterisks before a space, a closing quote or punctuation are text, as in
  // quoted messages ("** No Data in Path History **"); one or three before a word would be emphasis.
  void asterisks() {
    size_t run = 0;
    while (i_ + run < text_.size() && text_[i_ + run] == '*') ++run;
    char next = i_ + run < text_.size() ? text_[i_ + run] : ' ';
    bool opens = !isSpace(next) && std::string_view("\"')]}.,;:!?").find(next) == std::string_view::npos &&
                 !startsWith(std::string_view(text_).substr(i_ + run), "\u201D");
    if (run == 2 && opens) return bold();
    if (std::isalnum(static_cast<unsigned char>(next))) {
      fail(i_, "only **bold** is part of the guide's markup, not *emphasis*");
    }
    plain_.append(run, '*');
    i_ += run;
  }

  void bold() {
    size_t close = text_.find("**", i_ + 2);
    if (close == std::string::npos) fail(i_, "this ** is never closed");
    if (isSpace(text_[close - 1])) fail(close, "bold ends right after its last word: **bold**");
    push(Inline::Kind::bold, text_.substr(i_ + 2, close - i_ - 2), i_);
    i_ = close + 2;
  }

  // [text](target); a bracket not followed by a target is text.
  void link() {
    size_t close = text_.find(']', i_ + 1);
    if (close == std::string::npos || close + 1 >= text_.size() || text_[close + 1] != '(') {
      plain_ += '[';
      ++i_;
      return;
    }
    size_t end = text_.find(')', close + 2);
    if (end == std::string::npos) fail(close, "this link's ( is never closed");
    std::string label = text_.substr(i_ + 1, close - i_ - 1);
    std::string target = text_.substr(close + 2, end - close - 2);
    if (label.empty() || isBlank(label)) fail(i_, "a link needs its text: [text](target)");
    if (leavesTheGuide(target)) fail(i_, "links stay inside the guide: " + target + " is not a page name");
    if (!isPageName(target)) {
      fail(i_, "a link goes to a routine (action-4, condition-5, expression-11) or a subsystem (" +
                   joinedSubsystems() + "): \"" + target + "\" is neither");
    }
    flush();
    Inline link{Inline::Kind::link, label, target, lineAt(i_)};
    std::replace(link.text.begin(), link.text.end(), '\n', ' ');
    inlines_.push_back(std::move(link));
    i_ = end + 1;
  }

  static std::string joinedSubsystems() {
    std::string joined;
    for (const std::string& name : subsystemNames()) {
      if (!joined.empty()) joined += ", ";
      joined += name;
    }
    return joined;
  }

  void push(Inline::Kind kind, std::string text, size_t at) {
    flush();
    std::replace(text.begin(), text.end(), '\n', ' ');
    inlines_.push_back({kind, std::move(text), "", lineAt(at)});
  }

  void flush() {
    if (!plain_.empty()) inlines_.push_back({Inline::Kind::text, std::move(plain_), "", lineAt(i_)});
    plain_.clear();
  }

  int lineAt(size_t at) const {
    return firstLine_ +
           static_cast<int>(std::count(text_.begin(), text_.begin() + static_cast<long>(at), '\n'));
  }

  [[noreturn]] void fail(size_t at, const std::string& message) const {
    throw SourceError(file_, lineAt(at), message);
  }

  const std::string& text_;
  const std::string& file_;
  int firstLine_;
  size_t i_ = 0;
  std::string plain_;
  Inlines inlines_;
};

Block startBlock(Block::Kind kind, int line) {
  Block block;
  block.kind = kind;
  block.line = line;
  return block;
}

class PageReader {
 public:
  PageReader(const std::string& text, const std::string& file) : lines_(splitLines(text)) {
    page_.file = file;
    page_.lineCount = static_cast<int>(lines_.size());
    if (!lines_.empty() && startsWith(lines_[0], "\xEF\xBB\xBF")) lines_[0].erase(0, 3);
  }

  Page read() {
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (!isUtf8(lines_[i])) fail(i, "not UTF-8 text");
    }
    readFrontMatter();
    while (next_ < lines_.size()) {
      if (isBlank(lines_[next_])) {
        ++next_;
      } else {
        readBlock();
      }
    }
    return std::move(page_);
  }

 private:
  void readFrontMatter() {
    if (lines_.empty() || isBlank(lines_[0]))
      fail(0, "a page starts with its front matter: key: value lines");
    for (; next_ < lines_.size() && !isBlank(lines_[next_]); ++next_) {
      const std::string& line = lines_[next_];
      size_t colon = line.find(": ");
      std::string key = line.substr(0, colon);
      if (colon == std::string::npos || key.empty() ||
          !std::all_of(key.begin(), key.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
        fail(next_, "front matter lines are key: value, up to the first blank line");
      }
      std::string value(trimRight(std::string_view(line).substr(colon + 2)));
      if (isBlank(value)) fail(next_, "the front matter's " + key + " has no value");
      if (page_.frontMatter.count(key)) fail(next_, "the front matter gives " + key + " twice");
      page_.frontMatter[key] = {value, lineNumber(next_)};
    }
  }

  void readBlock() {
    const std::string& line = lines_[next_];
    if (startsWith(line, "```")) return readFence();
    if (startsWith(line, "#")) return readHeading();
    if (startsWith(line, "- ")) return readBullets();
    readParagraph();
  }

  void readFence() {
    size_t open = next_;
    if (trimRight(lines_[open]) != "```") fail(open, "a fence is three backticks alone on their line");
    Block block = startBlock(Block::Kind::fenced, lineNumber(open));
    for (++next_; next_ < lines_.size(); ++next_) {
      if (trimRight(lines_[next_]) == "```") {
        ++next_;
        page_.blocks.push_back(std::move(block));
        return;
      }
      block.verbatim.push_back(lines_[next_]);
    }
    fail(open, "this fence is never closed");
  }

  void readHeading() {
    const std::string& line = lines_[next_];
    if (!startsWith(line, "## ") || startsWith(line, "###"))
      fail(next_, "headings are level 2 only: ## Heading");
    std::string title(trimRight(std::string_view(line).substr(3)));
    if (isBlank(title)) fail(next_, "a heading needs its title");
    Block block = startBlock(Block::Kind::heading, lineNumber(next_));
    block.text = readInlines(title, page_.file, block.line);
    inParameters_ = title == kParameters;
    page_.blocks.push_back(std::move(block));
    ++next_;
  }

  void readBullets() {
    Block block = startBlock(Block::Kind::bullets, lineNumber(next_));
    while (next_ < lines_.size() && startsWith(lines_[next_], "- ")) {
      size_t first = next_;
      std::string item = lines_[next_++].substr(2);
      for (; next_ < lines_.size() && !isBlank(lines_[next_]); ++next_) {
        std::string_view line = lines_[next_];
        if (startsWith(line, "- ") || startsWith(line, "## ") || startsWith(line, "```")) break;
        if (!startsWith(line, "  ") || line[2] == ' ')
          fail(next_, "a bullet's next lines are indented two spaces");
        if (startsWith(line.substr(2), "- ")) fail(next_, "bullets have one level");
        item += '\n';
        item += line.substr(2);
      }
      addItem(block, item, first);
    }
    page_.blocks.push_back(std::move(block));
  }

  // Under ## Parameters each bullet is `**Title**: meaning`; the title is taken verbatim, as the catalog
  // has it (asterisks and all), up to the first **: of the bullet's first line.
  void addItem(Block& block, const std::string& item, size_t first) {
    int line = lineNumber(first);
    block.itemLines.push_back(line);
    if (!inParameters_) {
      block.items.push_back(readInlines(item, page_.file, line));
      return;
    }
    size_t lead = item.find("**:");
    if (!startsWith(item, "**") || lead == std::string::npos || lead < 2 || item.find('\n') < lead) {
      fail(first,
           "a parameter bullet starts with **Title**: on its first line, the catalog's title verbatim");
    }
    block.titles.push_back(item.substr(2, lead - 2));
    std::string description = item.substr(lead + 3);
    size_t start = description.find_first_not_of(' ');
    description.erase(0, start == std::string::npos ? description.size() : start);
    block.items.push_back(readInlines(description, page_.file, line));
  }

  void readParagraph() {
    size_t first = next_;
    Block block = startBlock(Block::Kind::paragraph, lineNumber(first));
    std::string text;
    for (; next_ < lines_.size() && !isBlank(lines_[next_]); ++next_) {
      const std::string& line = lines_[next_];
      // A bullet, a heading or a fence ends the paragraph, as it would in Markdown.
      if (next_ > first && (startsWith(line, "- ") || startsWith(line, "#") || startsWith(line, "```"))) {
        break;
      }
      std::string refused = refusedStart(line);
      if (!refused.empty()) fail(next_, refused);
      if (!text.empty()) text += '\n';
      text += line;
    }
    block.text = readInlines(text, page_.file, block.line);
    page_.blocks.push_back(std::move(block));
  }

  static int lineNumber(size_t index) { return static_cast<int>(index) + 1; }

  [[noreturn]] void fail(size_t index, const std::string& message) const {
    throw SourceError(page_.file, lineNumber(index), message);
  }

  std::vector<std::string> lines_;
  Page page_;
  size_t next_ = 0;
  bool inParameters_ = false;
};

void checkFrontMatter(const Page& page, const std::vector<std::string>& required,
                      const std::vector<std::string>& optional) {
  for (const auto& [key, entry] : page.frontMatter) {
    bool known = std::find(required.begin(), required.end(), key) != required.end() ||
                 std::find(optional.begin(), optional.end(), key) != optional.end();
    if (!known) throw SourceError(page.file, entry.line, "this page's front matter has no key " + key);
  }
  for (const std::string& key : required) {
    if (!page.frontMatter.count(key)) {
      throw SourceError(page.file, 1, "the front matter lacks its " + key + ": line");
    }
  }
  auto summary = page.frontMatter.find("summary");
  if (summary != page.frontMatter.end()) readInlines(summary->second.value, page.file, summary->second.line);
}

std::string headingText(const Block& block) {
  std::string text;
  for (const Inline& part : block.text) text += part.text;
  return text;
}

// A heading and the blocks under it.
struct Section {
  const Block* heading;
  std::vector<const Block*> blocks;
};

std::vector<Section> sections(const Page& page) {
  std::vector<Section> found;
  for (const Block& block : page.blocks) {
    if (block.kind == Block::Kind::heading) {
      found.push_back({&block, {}});
    } else if (found.empty()) {
      throw SourceError(page.file, block.line, "a routine page's text starts under ## What it does");
    } else {
      found.back().blocks.push_back(&block);
    }
  }
  return found;
}

void checkHeadings(const Page& page, const std::vector<Section>& found,
                   const std::vector<std::string>& expected) {
  for (size_t i = 0; i < expected.size(); ++i) {
    if (i == found.size()) {
      throw SourceError(page.file, std::max(page.lineCount, 1),
                        "the page lacks ## " + expected[i] + " at its end");
    }
    std::string title = headingText(*found[i].heading);
    if (title == expected[i]) continue;
    bool later = std::find(expected.begin() + static_cast<long>(i), expected.end(), title) != expected.end();
    throw SourceError(page.file, found[i].heading->line,
                      later ? "## " + expected[i] + " is missing before this heading"
                            : "a routine page has ## " + expected[i] + " here, not ## " + title);
  }
  if (found.size() > expected.size()) {
    throw SourceError(page.file, found[expected.size()].heading->line,
                      "a routine page ends with ## Example: no heading after it");
  }
  for (const Section& section : found) {
    if (section.blocks.empty()) throw SourceError(page.file, section.heading->line, "this section is empty");
  }
}

void checkParameters(const Page& page, const Section& section, const std::vector<std::string>& titles) {
  std::vector<std::pair<std::string, int>> bullets;
  for (const Block* block : section.blocks) {
    for (size_t i = 0; i < block->titles.size(); ++i)
      bullets.emplace_back(block->titles[i], block->itemLines[i]);
  }
  if (bullets.size() != titles.size()) {
    throw SourceError(page.file, section.heading->line,
                      "## Parameters has " + std::to_string(bullets.size()) + " bullets; the catalog gives " +
                          std::to_string(titles.size()) + " parameters");
  }
  for (size_t i = 0; i < titles.size(); ++i) {
    if (bullets[i].first != titles[i]) {
      throw SourceError(page.file, bullets[i].second,
                        "parameter " + std::to_string(i + 1) + "'s title is \"" + titles[i] +
                            "\" in the catalog, not \"" + bullets[i].first + "\"");
    }
  }
}

}  // namespace

SourceError::SourceError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}

std::string Page::value(const std::string& key) const {
  auto entry = frontMatter.find(key);
  return entry == frontMatter.end() ? "" : entry->second.value;
}

Page readPage(const std::string& text, const std::string& file) {
  return PageReader(text, file).read();
}

Inlines readInlines(const std::string& text, const std::string& file, int line) {
  return InlineReader(text, file, line).read();
}

const std::vector<std::string>& subsystemNames() {
  static const std::vector<std::string> names = {"regex",   "files",  "window",
                                                 "layouts", "motion", "diagnostics"};
  return names;
}

void checkRoutinePage(const Page& page, const std::vector<std::string>& parameterTitles) {
  checkFrontMatter(page, {"subsystem", "summary"}, {"picture"});
  const FrontMatterEntry& subsystem = page.frontMatter.at("subsystem");
  const auto& names = subsystemNames();
  if (std::find(names.begin(), names.end(), subsystem.value) == names.end()) {
    throw SourceError(page.file, subsystem.line,
                      "subsystem: is one of regex, files, window, layouts, motion, "
                      "diagnostics, not " +
                          subsystem.value);
  }
  std::vector<std::string> expected = {"What it does", kParameters, kWhenItGoesWrong, "Example"};
  if (parameterTitles.empty()) expected.erase(expected.begin() + 1);
  std::vector<Section> found = sections(page);
  checkHeadings(page, found, expected);
  if (!parameterTitles.empty()) checkParameters(page, found[1], parameterTitles);
  const Section& example = found.back();
  bool fenced = std::any_of(example.blocks.begin(), example.blocks.end(),
                            [](const Block* block) { return block->kind == Block::Kind::fenced; });
  if (!fenced) {
    throw SourceError(page.file, example.heading->line,
                      "## Example gives its event line in a ``` fenced block");
  }
}

void checkSubsystemPage(const Page& page) {
  checkFrontMatter(page, {"title", "summary"}, {"picture"});
}

void checkLinks(const Page& page, const std::set<std::string>& pages) {
  auto check = [&](const Inlines& inlines) {
    for (const Inline& part : inlines) {
      if (part.kind == Inline::Kind::link && !pages.count(part.target)) {
        throw SourceError(page.file, part.line,
                          "a link to " + part.target + ", a page the guide does not have");
      }
    }
  };
  auto summary = page.frontMatter.find("summary");
  if (summary != page.frontMatter.end())
    check(readInlines(summary->second.value, page.file, summary->second.line));
  for (const Block& block : page.blocks) {
    check(block.text);
    for (const Inlines& item : block.items) check(item);
  }
}

}  // namespace guide
