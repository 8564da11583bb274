// The catalog and the module's resource data: the lookups behind the edit-time exports, the agreement
// of the information tables with the menus and the string table, the menu copies the event editor gets,
// and the resource script kept in the tree for the Windows build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/catalog.h"
#include "frame/menu_copy.h"
#include "host/vohost.h"
#include "platform/platform.h"
#include "resources/resource_script.h"
#include "resources/resources.h"

namespace {

using nimbo::frame::CatalogEntry;
using nimbo::frame::CatalogKind;
using nimbo::frame::catalogTable;
using nimbo::frame::codeFromMenu;
using nimbo::frame::findEntry;
using nimbo::resources::MenuLine;
using nimbo::resources::MenuLineKind;

constexpr CatalogKind kKinds[] = {CatalogKind::condition, CatalogKind::action, CatalogKind::expression};
constexpr uint16_t kTitleItem = 40001;

std::vector<CatalogEntry> entries(CatalogKind kind) {
  std::vector<CatalogEntry> result;
  CatalogEntry entry{catalogTable(kind).words.data()};
  for (int i = 0; i < catalogTable(kind).count; ++i, entry = entry.next()) result.push_back(entry);
  return result;
}

std::vector<int> codesInTableOrder(CatalogKind kind) {
  std::vector<int> codes;
  for (CatalogEntry entry : entries(kind)) codes.push_back(entry.code());
  return codes;
}

std::vector<int> wordsOf(CatalogEntry entry) {
  return std::vector<int>(entry.words, entry.next().words);
}

std::span<const MenuLine> menuLines(CatalogKind kind) {
  return nimbo::resources::findMenu(catalogTable(kind).menuResource)->lines;
}

std::u16string stringText(uint16_t id) {
  const char16_t* text = nimbo::resources::findString(id);
  return text ? text : u"<absent>";
}

TEST(CatalogLookup, MenuItemsMapToTheCodeOfTheirEntryNotToTheirPlace) {
  EXPECT_EQ(codeFromMenu(CatalogKind::condition, 26006), 6);
  EXPECT_EQ(codeFromMenu(CatalogKind::condition, 26004), 4);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 25008), 51);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 25161), 49);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 25303), 50);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 25481), 53);
  EXPECT_EQ(codeFromMenu(CatalogKind::expression, 27009), 9);
  EXPECT_EQ(codeFromMenu(CatalogKind::expression, 27004), 4);
  EXPECT_EQ(codeFromMenu(CatalogKind::expression, 27106), 18);
}

TEST(CatalogLookup, MenuIdsThatNoEntryOfTheKindCarriesGiveMinusOne) {
  EXPECT_EQ(codeFromMenu(CatalogKind::action, kTitleItem), -1);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 0), -1);
  EXPECT_EQ(codeFromMenu(CatalogKind::action, 26000), -1);
  EXPECT_EQ(codeFromMenu(CatalogKind::condition, 25000), -1);
  EXPECT_EQ(codeFromMenu(CatalogKind::expression, 25008), -1);
  EXPECT_EQ(codeFromMenu(CatalogKind::expression, 0xFFFF), -1);
}

TEST(CatalogLookup, FindEntryReachesEveryCodeAndNothingPastTheTable) {
  for (CatalogKind kind : kKinds) {
    for (int code = 0; code < catalogTable(kind).count; ++code) {
      CatalogEntry entry = findEntry(kind, code);
      ASSERT_NE(entry.words, nullptr) << "code " << code;
      EXPECT_EQ(entry.code(), code);
      EXPECT_EQ(entry.infos()[0], code);
    }
    EXPECT_EQ(findEntry(kind, catalogTable(kind).count).words, nullptr);
    EXPECT_EQ(findEntry(kind, -1).words, nullptr);
  }
}

TEST(CatalogTables, HoldEightConditionsFiftyFourActionsNineteenExpressionsInTheHostsOrder) {
  EXPECT_EQ(catalogTable(CatalogKind::condition).count, 8);
  EXPECT_EQ(catalogTable(CatalogKind::action).count, 54);
  EXPECT_EQ(catalogTable(CatalogKind::expression).count, 19);
  EXPECT_EQ(codesInTableOrder(CatalogKind::condition), (std::vector<int>{0, 1, 2, 3, 6, 4, 5, 7}));
  std::vector<int> actions;
  for (int code = 0; code <= 48; ++code) actions.push_back(code);
  actions.insert(actions.end(), {50, 51, 49, 52, 53});
  EXPECT_EQ(codesInTableOrder(CatalogKind::action), actions);
  EXPECT_EQ(codesInTableOrder(CatalogKind::expression),
            (std::vector<int>{0, 1, 2, 3, 9, 10, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18}));
  EXPECT_EQ(catalogTable(CatalogKind::action).menuResource, 20000);
  EXPECT_EQ(catalogTable(CatalogKind::condition).menuResource, 20001);
  EXPECT_EQ(catalogTable(CatalogKind::expression).menuResource, 20002);
}

TEST(CatalogTables, EntriesArePackedBackToBackUpToTheLastWord) {
  for (CatalogKind kind : kKinds) {
    const auto& table = catalogTable(kind);
    EXPECT_EQ(entries(kind).back().next().words, table.words.data() + table.words.size());
  }
  // Kinds come before titles, as the host reads them.
  EXPECT_EQ(wordsOf(findEntry(CatalogKind::action, 53)),
            (std::vector<int>{25481, 5318, 53, 0, 5, VO_PARAM_TEXT, VO_PARAM_OBJECT, VO_PARAM_TEXT,
                              VO_PARAM_NUMBER, VO_PARAM_TEXT, 5518, 5505, 5547, 5545, 5546}));
  EXPECT_EQ(wordsOf(findEntry(CatalogKind::action, 10)),
            (std::vector<int>{25200, 5204, 10, 0, 6, VO_PARAM_OBJECT, VO_PARAM_POSITION, VO_PARAM_POSITION,
                              VO_PARAM_NUMBER, VO_PARAM_NUMBER, VO_PARAM_NUMBER, 5505, 5513, 5513, 5514, 5515,
                              5516}));
  EXPECT_EQ(wordsOf(findEntry(CatalogKind::condition, 5)),
            (std::vector<int>{26005, 6005, 5, VO_CONDITION_EVERY_PASS, 2, VO_PARAM_TEXT, VO_PARAM_TEXT, 6502,
                              6503}));
  EXPECT_EQ(wordsOf(findEntry(CatalogKind::expression, 17)),
            (std::vector<int>{27105, 7017, 17, VO_EXPRESSION_RESULT_INTEGER, 2, VO_EXPPARAM_INTEGER,
                              VO_EXPPARAM_INTEGER, 7509, 7510}));
  EXPECT_EQ(wordsOf(findEntry(CatalogKind::expression, 0)),
            (std::vector<int>{27000, 7000, 0, VO_EXPRESSION_RESULT_STRING, 0}));
}

TEST(CatalogTables, FlagsMarkEveryPassConditionsStringExpressionsAndTwoActions) {
  std::set<int> everyPass, flaggedActions, strings;
  for (CatalogEntry entry : entries(CatalogKind::condition)) {
    if (entry.flags() == VO_CONDITION_EVERY_PASS) {
      everyPass.insert(entry.code());
    } else {
      EXPECT_EQ(entry.flags(), VO_CONDITION_RAISED) << "condition " << entry.code();
    }
  }
  for (CatalogEntry entry : entries(CatalogKind::action)) {
    if (entry.flags() == 0) continue;
    flaggedActions.insert(entry.code());
    EXPECT_EQ(entry.flags(), 0x2) << "action " << entry.code();
  }
  for (CatalogEntry entry : entries(CatalogKind::expression)) {
    if (entry.flags() == VO_EXPRESSION_RESULT_STRING) {
      strings.insert(entry.code());
    } else {
      EXPECT_EQ(entry.flags(), VO_EXPRESSION_RESULT_INTEGER) << "expression " << entry.code();
    }
  }
  EXPECT_EQ(everyPass, (std::set<int>{4, 5, 7}));
  EXPECT_EQ(flaggedActions, (std::set<int>{7, 51}));
  EXPECT_EQ(strings, (std::set<int>{0, 1, 4, 5, 6, 8, 11, 14, 15, 16}));
}

TEST(StringTable, HoldsEveryStringTheCatalogNamesButTitle7510AndNoStrayIds) {
  // Object information, property texts, and title 7506, which the table holds though no entry names it.
  std::set<int> expected = {1, 2, 128, 129, 130, 131, 132, 400, 401, 402, 403, 404, 405, 7506};
  for (CatalogKind kind : kKinds) {
    for (CatalogEntry entry : entries(kind)) {
      EXPECT_NE(nimbo::resources::findString(entry.stringId()), nullptr)
          << "display string " << entry.stringId();
      expected.insert(entry.stringId());
      for (int i = 0; i < entry.parameterCount(); ++i) {
        int title = entry.titleId(i);
        if (title == 7510) continue;
        EXPECT_NE(nimbo::resources::findString(title), nullptr) << "title " << title;
        expected.insert(title);
      }
    }
  }
  EXPECT_EQ(nimbo::resources::findString(7510), nullptr);
  std::set<int> held;
  for (const auto& string : nimbo::resources::stringTable()) held.insert(string.id);
  EXPECT_EQ(held, expected);
}

TEST(StringTable, KeepsTheTextsCharacterForCharacter) {
  EXPECT_EQ(stringText(1), u"MF2");
  EXPECT_EQ(stringText(2), u"NIMBO");
  EXPECT_EQ(stringText(128), u"NIMBO");
  EXPECT_EQ(stringText(402), u"Force Pop up MessageBox if catch an Error. ( for Debug )");
  EXPECT_EQ(stringText(5502), u"Capition");
  EXPECT_EQ(stringText(7506), u"Get Number of Contorled Object");
  EXPECT_EQ(stringText(6005), u"REGEX Exact Match    (%1)");
  EXPECT_EQ(stringText(5254), u"%0 : Orbital around own XY : Radius %1 Pixel; Angular Velocity % 2 Degree");
  EXPECT_EQ(stringText(5528),
            u"Orbital PARAMS E.g. “ 50,50,-2,0,0,0 ” >>“Rad1 , Rad2 , AngularVelocity , AngleStartup , "
            u"CentreOffset-X , CentreOffset-Y“ ");
  EXPECT_EQ(stringText(5537),
            u"Grow Rad PARAMS E.g. “ 100,20,+2,30,-1,  50,10.+2,30,-1 ” >> “Max Rad1, Minimum Rad1, Delta1, "
            u"timeinterval1, Repetition1,   MaxR2,MinR2,Dlt2,TmItv2,Rep2”");
  EXPECT_EQ(
      stringText(5540),
      u"RHOMBUS PARAMS E.g. “(3x3) Matrix  >> “ 50,50,3,10,10,0 ” “Top Xpos, Top Ypos, Grid Num, offsetX "
      u"(pixel), offsetY, AnmFram Opt (0|1)”");
  EXPECT_EQ(stringText(5275),
            u"%0 = %1 : Orbit around %2 XY-Pos :  %3 = Radius1, Radius2, AngularVelocity, AngleStartup, "
            u"CentreXoffset, CentreYoffset");
  EXPECT_EQ(
      stringText(5316),
      u"%0 for the Window >> ( 0 = SW_MINIMIZE , 1 = SC_MAXIMIZE | SW_RESTORE ) Toggle TaskBar >> ( 2 == "
      u"SW_HIDE | SW_SHOWNA (SW_SHOW) )");
  EXPECT_EQ(
      stringText(5544),
      u"Window Control:Alternative >> Set value ( 0 = Minimize Window | 1 = Maximize or Restore  | 2 = Show "
      u"or Hide Taskbar )");
  EXPECT_EQ(stringText(7001), u"GetRegexRepalce$(");
  EXPECT_EQ(stringText(7018), u"* Not Yet implemented (05C rev.4) *$(");
}

TEST(Menus, EveryItemPicksAnEntryOfItsKindAndEveryEntryHasItsItem) {
  for (CatalogKind kind : kKinds) {
    std::set<int> itemIds, entryMenuIds;
    for (const MenuLine& line : menuLines(kind)) {
      if (line.kind == MenuLineKind::item && line.id != kTitleItem) {
        EXPECT_TRUE(itemIds.insert(line.id).second) << "item " << line.id << " appears twice";
        EXPECT_NE(codeFromMenu(kind, line.id), -1) << "item " << line.id;
      }
    }
    for (CatalogEntry entry : entries(kind)) entryMenuIds.insert(entry.menuId());
    EXPECT_EQ(itemIds, entryMenuIds);
  }
}

TEST(Menus, GreyOutTheSectionTitlesAndTheCodesTheDesignerMayNotPick) {
  int titles = 0;
  std::set<std::pair<CatalogKind, int>> codes;
  for (CatalogKind kind : kKinds) {
    for (const MenuLine& line : menuLines(kind)) {
      if (!line.disabled) continue;
      EXPECT_EQ(line.kind, MenuLineKind::item);
      if (line.id == kTitleItem) {
        ++titles;
      } else {
        codes.insert({kind, codeFromMenu(kind, line.id)});
      }
    }
  }
  EXPECT_EQ(titles, 3);
  EXPECT_EQ(codes, (std::set<std::pair<CatalogKind, int>>{{CatalogKind::action, 8},
                                                          {CatalogKind::action, 9},
                                                          {CatalogKind::action, 10},
                                                          {CatalogKind::action, 52},
                                                          {CatalogKind::action, 53},
                                                          {CatalogKind::expression, 18}}));
}

TEST(Menus, KeepTheirTextsAndLayoutCharacterForCharacter) {
  // A line that is not there reads as a separator at depth 99.
  auto lineWithText = [](CatalogKind kind, std::u16string_view text) {
    for (const MenuLine& line : menuLines(kind)) {
      if (line.text && line.text == text) return line;
    }
    return MenuLine{99, MenuLineKind::separator, 0, false, nullptr};
  };
  EXPECT_EQ(lineWithText(CatalogKind::action, u" + A - MOTiONS").kind, MenuLineKind::popup);
  EXPECT_EQ(lineWithText(CatalogKind::action, u" + B - MOTiONS").depth, 0);
  EXPECT_EQ(lineWithText(CatalogKind::action, u"Virtical").kind, MenuLineKind::popup);
  EXPECT_EQ(lineWithText(CatalogKind::action, u"Set   Pos on Screen (Auto)").id, 25001);
  EXPECT_EQ(lineWithText(CatalogKind::action, u"Update Controll List").id, 25159);
  EXPECT_EQ(lineWithText(CatalogKind::action, u"- BY NAME -").depth, 0);
  EXPECT_EQ(lineWithText(CatalogKind::condition, u"Search :: Exact   ( if TRUE Match Exact. )").id, 26005);
  EXPECT_EQ(lineWithText(CatalogKind::condition, u"Mismatch          ( if Not Matched )").id, 26006);
  EXPECT_EQ(lineWithText(CatalogKind::expression, u"Get String Regex Matched       (Regex.Match)").id, 27008);
  EXPECT_EQ(lineWithText(CatalogKind::expression, u"* Not Yet Implemented * (05C rev.4)").id, 27106);

  auto first = menuLines(CatalogKind::action).front();
  auto last = menuLines(CatalogKind::action).back();
  EXPECT_EQ(first.kind, MenuLineKind::separator);
  EXPECT_EQ(last.kind, MenuLineKind::separator);
  EXPECT_EQ(last.depth, 0);
  // Wall items sit two popups deep: the controller's popup, then its by-name wall popup.
  EXPECT_EQ(lineWithText(CatalogKind::action, u"Virtual WALL : BOTTOM").depth, 2);
  EXPECT_EQ(menuLines(CatalogKind::action).size(), 90u);
  EXPECT_EQ(menuLines(CatalogKind::condition).size(), 16u);
  EXPECT_EQ(menuLines(CatalogKind::expression).size(), 30u);
}

std::u16string toU16(const nimbo::Char* text) {
  std::u16string result;
  for (; *text; ++text) result.push_back(static_cast<char16_t>(*text));
  return result;
}

// Compares the copy's items at one level with the lines of that level; returns the first line not used.
size_t expectCopyMatches(nimbo::platform::Menu copy, std::span<const MenuLine> lines, size_t line,
                         int depth) {
  int count = nimbo::platform::menuItemCount(copy);
  for (int position = 0; position < count; ++position, ++line) {
    EXPECT_LT(line, lines.size());
    if (line >= lines.size()) return line;
    const MenuLine& expected = lines[line];
    EXPECT_EQ(expected.depth, depth);
    nimbo::Char text[80];
    nimbo::platform::MenuItem item = nimbo::platform::menuItemAt(copy, position, text, 80);
    switch (expected.kind) {
      case MenuLineKind::separator:
        EXPECT_EQ(item.id, 0) << "line " << line;
        break;
      case MenuLineKind::item:
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(toU16(text), expected.text);
        EXPECT_EQ(item.state, expected.disabled ? nimbo::platform::kMenuGrayed : 0u)
            << "item " << expected.id;
        break;
      case MenuLineKind::popup:
        EXPECT_EQ(item.id, -1) << "line " << line;
        EXPECT_EQ(toU16(text), expected.text);
        line = expectCopyMatches(item.submenu, lines, line + 1, depth + 1) - 1;
        break;
    }
  }
  return line;
}

TEST(MenuCopy, GivesTheEventEditorTheItemsOfTheTopLevelPopupWithTheirStates) {
  for (CatalogKind kind : kKinds) {
    nimbo::platform::Menu copy = nimbo::frame::copyMenuResource(catalogTable(kind).menuResource);
    ASSERT_NE(copy, nullptr);
    std::span<const MenuLine> lines = menuLines(kind);
    EXPECT_EQ(expectCopyMatches(copy, lines, 0, 0), lines.size());
    nimbo::platform::destroyMenu(copy);
  }
  EXPECT_EQ(nimbo::frame::copyMenuResource(20003), nullptr);
}

TEST(ResourceScript, InTheTreeIsWhatTheGeneratorWritesFromTheData) {
  std::ostringstream generated;
  nimbo::resources::writeResourceScript(generated);
  std::ifstream file(NIMBO_SOURCE_DIR "/resources/nimbo.rc", std::ios::binary);
  ASSERT_TRUE(file) << "resources/nimbo.rc is missing";
  std::string committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(generated.str() == committed)
      << "resources/nimbo.rc is stale: regenerate it with nimbo_rcgen > resources/nimbo.rc";
}

TEST(ResourceScript, WritesTextsAsUtf8WithLineFeedsEscapedAndDataAsLittleEndianWords) {
  std::ostringstream generated;
  nimbo::resources::writeResourceScript(generated);
  const std::string script = generated.str();
  size_t firstNonAscii =
      std::find_if(script.begin(), script.end(), [](char c) { return c & 0x80; }) - script.begin();
  EXPECT_LT(script.find("#pragma code_page(65001)\n"), firstNonAscii);
  EXPECT_NE(script.find("  5528, \"Orbital PARAMS E.g. \xE2\x80\x9C 50,50,-2,0,0,0 \xE2\x80\x9D >>"),
            std::string::npos);
  EXPECT_NE(script.find(
                "Bata.05C Public Version\\nRevision.04\\n\", -1, \"Static\", 0x50020000, 21, 40, 155, 90\n"),
            std::string::npos);
  EXPECT_NE(script.find("    MENUITEM \"- BY NAME -\", 40001, GRAYED\n"), std::string::npos);
  EXPECT_NE(script.find("200 RCDATA\nBEGIN\n  0x2516, 0x5908\nEND\n"), std::string::npos);
}

}  // namespace
