// The help pages' reader: each construct of the markup read as its writer means it, texts quoted from the
// extension (asterisks, brackets, backslashes, "<") kept as they stand, and everything else refused with
// the file and line.
#include <gtest/gtest.h>

#include <functional>

#include "help/generator/markup.h"

namespace {

using guide::Block;
using guide::Inline;
using guide::Page;

// The SourceError's message, or "" when the call went through.
std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const guide::SourceError& error) {
    return error.what();
  }
  return "";
}

std::string readError(const std::string& text) {
  return errorOf([&] { guide::readPage(text, "p.md"); });
}

// Holds `message` to "p.md:LINE: ..." with `words` in it.
void expectError(const std::string& message, int line, const std::string& words) {
  std::string place = "p.md:" + std::to_string(line) + ": ";
  EXPECT_EQ(message.substr(0, place.size()), place) << message;
  EXPECT_NE(message.find(words), std::string::npos) << message;
}

std::string shown(const guide::Inlines& inlines) {
  std::string text;
  for (const Inline& part : inlines) {
    switch (part.kind) {
      case Inline::Kind::text:
        text += part.text;
        break;
      case Inline::Kind::code:
        text += "{code:" + part.text + "}";
        break;
      case Inline::Kind::bold:
        text += "{bold:" + part.text + "}";
        break;
      case Inline::Kind::link:
        text += "{link:" + part.text + "->" + part.target + "}";
        break;
    }
  }
  return text;
}

std::string inlineText(const std::string& text) {
  return shown(guide::readInlines(text, "p.md", 1));
}

const std::string kFront = "subsystem: regex\nsummary: Sets the TEXT.\n\n";

std::string routinePage(const std::string& parameters) {
  return kFront + "## What it does\n\nStores it.\n\n" + parameters +
         "## When it goes wrong\n\nNothing can.\n\n## Example\n\n```\nStart of frame\n```\n";
}

std::string routineError(const std::string& text, const std::vector<std::string>& titles) {
  return errorOf([&] { guide::checkRoutinePage(guide::readPage(text, "p.md"), titles); });
}

TEST(GuideMarkup, FrontMatterHeadingsParagraphsBulletsAndFencesReadAsWritten) {
  Page page = guide::readPage(
      "title: Files\nsummary: Lists folders.\n\n## Heading\n\nOne line\nand the next.\n\n- first\n  goes on\n"
      "- second\n\n```\n  → NIMBO: Set PATH ( \"C:\\Games\" )\n\n**not bold**\n```\n",
      "p.md");
  EXPECT_EQ(page.value("title"), "Files");
  EXPECT_EQ(page.frontMatter.at("summary").line, 2);
  ASSERT_EQ(page.blocks.size(), 4u);
  EXPECT_EQ(page.blocks[0].kind, Block::Kind::heading);
  EXPECT_EQ(shown(page.blocks[0].text), "Heading");
  EXPECT_EQ(page.blocks[1].line, 6);
  EXPECT_EQ(shown(page.blocks[1].text), "One line and the next.");
  ASSERT_EQ(page.blocks[2].items.size(), 2u);
  EXPECT_EQ(shown(page.blocks[2].items[0]), "first goes on");
  EXPECT_EQ(page.blocks[2].itemLines, (std::vector<int>{9, 11}));
  EXPECT_EQ(page.blocks[3].verbatim,
            (std::vector<std::string>{"  → NIMBO: Set PATH ( \"C:\\Games\" )", "", "**not bold**"}));
  EXPECT_EQ(page.lineCount, 17);
}

TEST(GuideMarkup, InlineCodeBoldAndLinksAreRead) {
  EXPECT_EQ(
      inlineText("Use `Get TEXT$(` and **bold** words, see [Set PATH](action-4) and [ideas](regex)."),
      "Use {code:Get TEXT$(} and {bold:bold} words, see {link:Set PATH->action-4} and {link:ideas->regex}.");
  EXPECT_EQ(inlineText("[the front page](welcome)"), "{link:the front page->welcome}");
  EXPECT_EQ(inlineText("\"** No Data **\" then **bold**"), "\"** No Data **\" then {bold:bold}");
}

TEST(GuideMarkup, QuotedTextsKeepTheirAsterisksBracketsAndSigns) {
  EXPECT_EQ(inlineText("box \"** No Data in Path History **\" and \"*** 0 = Current | Back = 1 ***\""),
            "box \"** No Data in Path History **\" and \"*** 0 = Current | Back = 1 ***\"");
  EXPECT_EQ(
      inlineText("menu item [25000], MAX_PATH_LENGTH < 260, a -> b, C:\\Games\\Levels, R&D, (* obsolete)"),
      "menu item [25000], MAX_PATH_LENGTH < 260, a -> b, C:\\Games\\Levels, R&D, (* obsolete)");
}

TEST(GuideMarkup, ParameterBulletsTakeTheirTitleVerbatim) {
  Page page = guide::readPage(kFront +
                                  "## Parameters\n\n- **Set X-Speed**: pixels per step, **signed**.\n"
                                  "- ***** 0 = Current | Back = 1 *****: 0 or 1.\n- ****: unused.\n"
                                  "- **Orbital PARAMS “ 50 ” **: six numbers\n  in a text.\n",
                              "p.md");
  const Block& bullets = page.blocks[1];
  EXPECT_EQ(bullets.titles, (std::vector<std::string>{"Set X-Speed", "*** 0 = Current | Back = 1 ***", "",
                                                      "Orbital PARAMS “ 50 ” "}));
  EXPECT_EQ(shown(bullets.items[0]), "pixels per step, {bold:signed}.");
  EXPECT_EQ(shown(bullets.items[3]), "six numbers in a text.");
}

TEST(GuideMarkup, ConstructsOutsideTheMarkupStopAtTheirLine) {
  const std::string front = "title: T\nsummary: S.\n\n";
  expectError(readError(front + "### Deeper\n"), 4, "level 2");
  expectError(readError(front + "# Top\n"), 4, "level 2");
  expectError(readError(front + "Text\n> quoted\n"), 5, "block quotes");
  expectError(readError(front + "* star\n"), 4, "\"- \"");
  expectError(readError(front + "1. first\n"), 4, "numbered lists");
  expectError(readError(front + "| a | b |\n"), 4, "tables");
  expectError(readError(front + "Text\n\n---\n"), 6, "rules");
  expectError(readError(front + "Title\n=====\n"), 5, "underlined headings");
  expectError(readError(front + "\tTabbed\n"), 4, "tabs");
  expectError(readError(front + "    indented code\n"), 4, "indented");
  expectError(readError(front + "- item\n  - nested\n"), 5, "one level");
  expectError(readError(front + "- item\n   three spaces\n"), 5, "two spaces");
  expectError(readError(front + "- item\nlazy line\n"), 5, "two spaces");
  expectError(readError(front + "```text\nx\n```\n"), 4, "alone");
  expectError(readError(front + "Intro\n\n```\nnever closed\n"), 6, "never closed");
  expectError(readError(front + "Line\nA <b>tag</b>\n"), 5, "HTML");
  expectError(readError(front + "An &amp; entity\n"), 4, "entity");
  expectError(readError(front + "![x](zigzag)\n"), 4, "picture");
  expectError(readError(front + "Some *emphasis* here\n"), 4, "*emphasis*");
  expectError(readError(front + "Some\n***strong emphasis***\n"), 5, "*emphasis*");
  expectError(readError(front + "Some\n`open code\n"), 5, "never closed");
  expectError(readError(front + "Two\nlines **open\nbold\n"), 5, "never closed");
  expectError(readError(front + "Ends **bold **\n"), 4, "last word");
  expectError(readError(front + "Double ``code``\n"), 4, "single backticks");
  expectError(readError(front + "[site](https://example.org)\n"), 4, "inside the guide");
  expectError(readError(front + "[page](action-x)\n"), 4, "is neither");
  expectError(readError(front + "[page](files.md)\n"), 4, "inside the guide");
  expectError(readError(front + "Bad \xC3 byte\n"), 4, "UTF-8");
}

TEST(GuideMarkup, FrontMatterMistakesStopAtTheirLine) {
  expectError(readError("\n## Heading\n"), 1, "front matter");
  expectError(readError("# Title\n"), 1, "key: value");
  expectError(readError("title: T\ntitle: U\n"), 2, "twice");
  expectError(readError("title: T\nsummary:\n"), 2, "key: value");
  expectError(readError("title: T\nsummary:   \n"), 2, "no value");
  expectError(
      errorOf([] { guide::checkSubsystemPage(guide::readPage("title: T\nsummary: S `open\n", "p.md")); }), 2,
      "never closed");
  expectError(errorOf([] { guide::checkSubsystemPage(guide::readPage("summary: S.\n", "p.md")); }), 1,
              "title");
  expectError(errorOf([] {
                guide::checkSubsystemPage(guide::readPage("title: T\nsummary: S.\nsubsystem: x\n", "p.md"));
              }),
              3, "no key subsystem");
}

TEST(GuideMarkup, ARoutinePageHoldsItsHeadingsInOrder) {
  EXPECT_EQ(routineError(routinePage(""), {}), "");
  expectError(routineError(kFront + "## What it does\n\nX.\n\n## Example\n\n```\nx\n```\n", {}), 8,
              "## When it goes wrong is missing");
  expectError(routineError(kFront + "## What it does\n\nX.\n", {}), 6, "lacks ## When it goes wrong");
  expectError(routineError(kFront + "## What it does\n\nX.\n\n## Notes\n\nY.\n", {}), 8, "not ## Notes");
  expectError(routineError(routinePage("") + "\n## More\n\nZ.\n", {}), 18, "ends with ## Example");
  expectError(routineError(kFront + "Intro.\n\n" + routinePage("").substr(kFront.size()), {}), 4,
              "starts under ## What it does");
  expectError(
      routineError(kFront + "## What it does\n\n## When it goes wrong\n\nX.\n\n## Example\n\n```\nx\n```\n",
                   {}),
      4, "empty");
}

TEST(GuideMarkup, AnExampleComesInAFence) {
  std::string page =
      kFront + "## What it does\n\nX.\n\n## When it goes wrong\n\nY.\n\n## Example\n\nStart of frame\n";
  expectError(routineError(page, {}), 12, "fenced");
}

TEST(GuideMarkup, ParameterBulletsMatchTheCatalog) {
  std::string two =
      "## Parameters\n\n- **Enter the OLD Name**: a name.\n- **Enter New Name**: the new one.\n\n";
  EXPECT_EQ(routineError(routinePage(two), {"Enter the OLD Name", "Enter New Name"}), "");
  expectError(routineError(routinePage(two), {"Enter the OLD Name"}), 8, "2 bullets; the catalog gives 1");
  expectError(routineError(routinePage(two), {"Enter the OLD Name", "Enter New Name", "Third"}), 8,
              "2 bullets; the catalog gives 3");
  expectError(routineError(routinePage(two), {"Enter the OLD Name", "Enter new name"}), 11,
              "\"Enter new name\" in the catalog, not \"Enter New Name\"");
  expectError(routineError(routinePage(two), {}), 8, "not ## Parameters");
  expectError(routineError(routinePage(""), {"Enter the OLD Name"}), 8, "## Parameters is missing");
  expectError(routineError(routinePage("## Parameters\n\n- the old name\n\n"), {"Enter the OLD Name"}), 10,
              "**Title**:");
  expectError(routineError(routinePage("## Parameters\n\n- **Enter the\n  OLD Name**: x\n\n"),
                           {"Enter the OLD Name"}),
              10, "first line");
}

TEST(GuideMarkup, ARoutinePageNamesOneOfTheSubsystems) {
  expectError(routineError("subsystem: text\nsummary: S.\n\n" + routinePage("").substr(kFront.size()), {}), 1,
              "not text");
  expectError(routineError("summary: S.\n\n" + routinePage("").substr(kFront.size()), {}), 1, "subsystem");
  expectError(
      routineError("subsystem: regex\nsummary: S.\ntitle: T\n\n" + routinePage("").substr(kFront.size()), {}),
      3, "no key title");
}

TEST(GuideMarkup, LinksReachOnlyPagesTheGuideHas) {
  Page page = guide::readPage(kFront + "See [Set PATH](action-4).\n\nAnd\n[that](action-99).\n", "p.md");
  EXPECT_EQ(errorOf([&] { guide::checkLinks(page, {"action-4", "action-99"}); }), "");
  expectError(errorOf([&] { guide::checkLinks(page, {"action-4"}); }), 7, "action-99");
  Page summary = guide::readPage("subsystem: regex\nsummary: Like [that](condition-9).\n", "p.md");
  expectError(errorOf([&] { guide::checkLinks(summary, {"action-4"}); }), 2, "condition-9");
}

}  // namespace
