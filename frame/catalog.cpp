// The catalog's information tables, written once as entries and packed at compile time into the runs
// of 16-bit words that the host reads, with the lookups by code and by menu id.
#include "frame/catalog.h"

#include <array>
#include <cstddef>

#include "host/vohost.h"
#include "resources/resources.h"

namespace nimbo::frame {

namespace {

constexpr int kMaxParameters = 6;

// Parameter kinds of actions and conditions.
enum ParameterKind : int16_t {
  object = VO_PARAM_OBJECT,
  position = VO_PARAM_POSITION,
  number = VO_PARAM_NUMBER,
  text = VO_PARAM_TEXT,
};

// Parameter kinds of expressions.
enum ExpressionParameterKind : int16_t {
  integerParam = VO_EXPPARAM_INTEGER,
  textParam = VO_EXPPARAM_TEXT,
};

enum EntryFlags : int16_t {
  none = 0,
  raised = VO_CONDITION_RAISED,
  everyPass = VO_CONDITION_EVERY_PASS,
  stringResult = VO_EXPRESSION_RESULT_STRING,
  integerResult = VO_EXPRESSION_RESULT_INTEGER,
  // Carried by actions 7 and 51 only; the host gives the bit its meaning.
  actionFlag2 = 0x2,
};

struct Parameter {
  int16_t kind;
  int16_t title;  // string id of the parameter's title; 0 = none
};

// An entry as written in the tables below; its parameters end at the first one without a kind.
struct EntrySource {
  int16_t menuId;
  int16_t stringId;
  int16_t code;
  int16_t flags;
  Parameter parameters[kMaxParameters];
};

// Each entry: menu id, display string id, code, flags, parameters (kind, title id). The entries stand
// in the order the host has always seen, which is not code order.
constexpr EntrySource kConditionEntries[] = {
    // Expression Error ( if an Error throwed. )
    {26000, 6000, 0, raised, {}},
    // Move Window Auto ( if TRUE )
    {26001, 6001, 1, raised, {}},
    // Is Directory ( if TRUE )
    {26002, 6002, 2, raised, {}},
    // Invalid Dir ( Error )
    {26003, 6003, 3, raised, {}},
    // Mismatch ( if Not Matched )
    {26006, 6006, 6, raised, {}},
    // Search :: Partial ( if TRUE Match Partial.)
    {26004, 6004, 4, everyPass, {{text, 6500}, {text, 6501}}},
    // Search :: Exact ( if TRUE Match Exact. )
    {26005, 6005, 5, everyPass, {{text, 6502}, {text, 6503}}},
    // Detect Clipboard Change ( if TRUE )
    {26007, 6007, 7, everyPass, {}},
};

constexpr EntrySource kActionEntries[] = {
    // Set TEXT
    {25000, 5000, 0, none, {{text, 5500}}},
    // Set Pos on Screen (Auto)
    {25001, 5001, 1, none, {}},
    // End Auto Position Mode
    {25002, 5002, 2, none, {}},
    // Start Auto Position Mode
    {25003, 5003, 3, none, {}},
    // Set PATH ( and Get the List of )
    {25004, 5004, 4, none, {{text, 5501}}},
    // Set Window Title Bar Caption
    {25005, 5005, 5, none, {{text, 5502}}},
    // Rename ( File | Directory )
    {25006, 5006, 6, none, {{text, 5503}, {text, 5504}}},
    // Set Index Number Of Path History
    {25007, 5007, 7, actionFlag2, {{number, 5506}}},
    // TEST_2 :: TESTTEST (::TEST)
    {25100, 5100, 8, none, {{object, 5517}, {object, 5505}}},
    // TEST_1 :: Get ALL Objects Name at the Frame (::TEST)
    {25101, 5101, 9, none, {}},
    // (xxx) : Draw a Line to connect 2 Points
    {25200,
     5204,
     10,
     none,
     {{object, 5505}, {position, 5513}, {position, 5513}, {number, 5514}, {number, 5515}, {number, 5516}}},
    // Align LEFT :: ZigZag
    {25201, 5200, 11, none, {{object, 5505}, {number, 5507}, {number, 5508}, {number, 5509}}},
    // Column : Top to Bottom Order : Object Height
    {25240, 5201, 12, none, {{object, 5505}, {number, 5507}, {number, 5508}, {number, 5509}}},
    // Clockwise : Split by the Objects Total Number.
    {25280, 5202, 13, none, {{object, 5505}, {number, 5507}, {number, 5508}, {number, 5511}}},
    // Rectangle Matrix : Enter X-Grid Size : Left to Right Order
    {25300,
     5203,
     14,
     none,
     {{object, 5505}, {number, 5507}, {number, 5508}, {number, 5512}, {number, 5509}, {number, 5510}}},
    // Align LEFT :: LMS
    {25320, 5205, 15, none, {{object, 5505}, {number, 5515}}},
    // Align RIGHT :: LMS + Counter
    {25321, 5206, 16, none, {{object, 5505}, {number, 5515}}},
    // Wrap at Window Width
    {25400, 5250, 17, none, {{object, 5505}, {number, 5519}}},
    // Flip at Window Width
    {25401, 5251, 18, none, {{object, 5505}, {number, 5519}}},
    // Wrap at Window Height
    {25420, 5252, 19, none, {{object, 5505}, {number, 5521}}},
    // Flip at Window Height
    {25421, 5253, 20, none, {{object, 5505}, {number, 5521}}},
    // Orbital around own XY as Center XY
    {25440, 5254, 21, none, {{object, 5505}, {number, 5511}, {number, 5523}}},
    // Orbital TARGET.XY as Center XY (with Align)
    {25441, 5255, 22, none, {{object, 5505}, {object, 5526}, {number, 5511}, {number, 5523}}},
    // NULL MOTiON
    {25460, 5256, 23, none, {{object, 5505}, {text, 5518}}},
    // Wrap at Window Width + Sine Wave
    {25402, 5270, 24, none, {{text, 5518}, {object, 5505}, {number, 5519}, {number, 5520}, {number, 5523}}},
    // Flip at Window Width + Sine Wave
    {25403, 5271, 25, none, {{text, 5518}, {object, 5505}, {number, 5519}, {number, 5520}, {number, 5523}}},
    // Wrap at Window Height + Sine Wave
    {25422, 5272, 26, none, {{text, 5518}, {object, 5505}, {number, 5521}, {number, 5520}, {number, 5523}}},
    // Flip at Window Height + Sine Wave
    {25423, 5273, 27, none, {{text, 5518}, {object, 5505}, {number, 5521}, {number, 5520}, {number, 5523}}},
    // Orbit around ownXY Pos
    {25442, 5274, 28, none, {{text, 5518}, {object, 5505}, {text, 5528}}},
    // Orbit around Target XY (with Align)
    {25443, 5275, 29, none, {{text, 5518}, {object, 5505}, {object, 5526}, {text, 5528}}},
    // Virtual WALL : TOP
    {25145, 5295, 30, none, {{text, 5518}, {number, 5532}}},
    // Virtual WALL : LEFT
    {25146, 5296, 31, none, {{text, 5518}, {number, 5533}}},
    // Virtual WALL : RIGHT
    {25147, 5297, 32, none, {{text, 5518}, {number, 5534}}},
    // Virtual WALL : BOTTOM
    {25148, 5298, 33, none, {{text, 5518}, {number, 5535}}},
    // Virtual WALL : AUTO SETUP ( for Flip | Wrap )
    {25149, 5299, 34, none, {{object, 5505}, {number, 5525}, {number, 5531}}},
    // Stop Movement
    {25150, 5300, 35, none, {{text, 5518}}},
    // Toggle Stop | Move Flag
    {25151, 5301, 36, none, {{text, 5518}}},
    // Reject from the Controller ( Urgent )
    {25152, 5302, 37, none, {{text, 5518}}},
    // Delete
    {25153, 5303, 38, none, {{text, 5518}}},
    // Alpha-Blending Coefficient ( Require DX9 Shader )
    {25154, 5304, 39, none, {{text, 5518}, {number, 5522}}},
    // Reversal Movement
    {25155, 5305, 40, none, {{text, 5518}}},
    // Change Target at ( Orbital )
    {25156, 5306, 41, none, {{text, 5518}, {object, 5505}}},
    // Insert Sleep
    {25157, 5307, 42, none, {{text, 5518}, {number, 5529}, {number, 5538}, {number, 5530}}},
    // Set AngularRotate ( Orbital )
    {25158, 5308, 43, none, {{text, 5518}, {text, 5536}}},
    // Update Controll List
    {25159, 5309, 44, none, {{text, 5518}}},
    // Grow Radius ( SineWave + Orbital )
    {25160, 5310, 45, none, {{text, 5518}, {text, 5537}}},
    // Clockwise : Semi Circle with Direction Setup.
    {25281, 5311, 46, none, {{object, 5505}, {text, 5539}}},
    // (* obsolete) Rhombus ( Square Matrix ) : Left to Right and Top to Bottom Order
    {25301, 5312, 47, none, {{object, 5505}, {text, 5540}}},
    // Trapezoid ( Hexagonal ) : Left to Right and Top to Bottom Order
    {25302, 5313, 48, none, {{object, 5505}, {text, 5541}}},
    // Grid Rows with Header Offset : Left | Right + Top | Bottom Order
    {25303, 5315, 50, none, {{object, 5505}, {text, 5543}}},
    // Window Control : Alternative
    {25008, 5316, 51, actionFlag2, {{number, 5544}}},
    // Reject from the Controller ( Time Delay )
    {25161, 5314, 49, none, {{text, 5518}, {number, 5542}}},
    // Move toward the Named Target (1 sec time base)
    {25480, 5317, 52, none, {{object, 5505}, {text, 5547}, {number, 5545}}},
    // Move toward the Named Target (Custom Param)
    {25481, 5318, 53, none, {{text, 5518}, {object, 5505}, {text, 5547}, {number, 5545}, {text, 5546}}},
};

constexpr EntrySource kExpressionEntries[] = {
    // Get String
    {27000, 7000, 0, stringResult, {}},
    // Get String Regex Replaced (Regex.Replace)
    {27001, 7001, 1, stringResult, {{textParam, 7500}, {textParam, 7501}}},
    // (Files) Total Number
    {27002, 7002, 2, integerResult, {}},
    // (Dirs) Total Number
    {27003, 7003, 3, integerResult, {}},
    // Max Element Number of History (Path)
    {27009, 7009, 9, integerResult, {}},
    // Current Index Number of History (Path)
    {27010, 7010, 10, integerResult, {}},
    // FileName
    {27004, 7004, 4, stringResult, {{integerParam, 7502}}},
    // DirName
    {27005, 7005, 5, stringResult, {{integerParam, 7503}}},
    // Get PATH
    {27006, 7006, 6, stringResult, {{integerParam, 7504}}},
    // Get Number of Matched (Regex.Match)
    {27007, 7007, 7, integerResult, {}},
    // Get String Regex Matched (Regex.Match)
    {27008, 7008, 8, stringResult, {{integerParam, 7505}}},
    // ISO-8601 Format : Time and Date
    {27011, 7011, 11, stringResult, {}},
    // Num of Motion Groups ( Total Number )
    {27100, 7012, 12, integerResult, {}},
    // Num of controlled Objects ( Total Number )
    {27101, 7013, 13, integerResult, {}},
    // DEBUG : Get INFO About controlled Objects ( ALL )
    {27102, 7014, 14, stringResult, {}},
    // DEBUG : Get INFO About Motion Group
    {27103, 7015, 15, stringResult, {{textParam, 7507}}},
    // DEBUG : Get NAME from Motion Groups
    {27104, 7016, 16, stringResult, {{integerParam, 7508}}},
    // Convert : Angle to CT 32 AnimDirs
    {27105, 7017, 17, integerResult, {{integerParam, 7509}, {integerParam, 7510}}},
    // * Not Yet Implemented * (05C rev.4)
    {27106, 7018, 18, integerResult, {}},
};

constexpr int parameterCount(const EntrySource& entry) {
  int count = 0;
  while (count < kMaxParameters && entry.parameters[count].kind != 0) ++count;
  return count;
}

template <size_t N>
constexpr size_t wordCount(const EntrySource (&entries)[N]) {
  size_t words = 0;
  for (const EntrySource& entry : entries) words += 5 + 2 * parameterCount(entry);
  return words;
}

template <size_t W, size_t N>
constexpr std::array<int16_t, W> pack(const EntrySource (&entries)[N]) {
  std::array<int16_t, W> words{};
  size_t at = 0;
  for (const EntrySource& entry : entries) {
    int count = parameterCount(entry);
    words[at++] = entry.menuId;
    words[at++] = entry.stringId;
    words[at++] = entry.code;
    words[at++] = entry.flags;
    words[at++] = static_cast<int16_t>(count);
    for (int i = 0; i < count; ++i) words[at++] = entry.parameters[i].kind;
    for (int i = 0; i < count; ++i) words[at++] = entry.parameters[i].title;
  }
  return words;
}

// A parameter without a kind ends the list, so none may follow it.
template <size_t N>
constexpr bool parametersContiguous(const EntrySource (&entries)[N]) {
  for (const EntrySource& entry : entries) {
    for (int i = parameterCount(entry); i < kMaxParameters; ++i) {
      if (entry.parameters[i].kind != 0 || entry.parameters[i].title != 0) return false;
    }
  }
  return true;
}

template <size_t N>
constexpr bool inOrder(const EntrySource (&entries)[N], const std::array<int16_t, N>& codes) {
  for (size_t i = 0; i < N; ++i) {
    if (entries[i].code != codes[i]) return false;
  }
  return true;
}

// The menu lookup returns the first match, so a second entry with the same menu id could never be picked.
template <size_t N>
constexpr bool menuIdsUnique(const EntrySource (&entries)[N]) {
  for (size_t i = 0; i < N; ++i) {
    for (size_t j = i + 1; j < N; ++j) {
      if (entries[i].menuId == entries[j].menuId) return false;
    }
  }
  return true;
}

static_assert(std::size(kConditionEntries) == kConditionCount);
static_assert(std::size(kActionEntries) == kActionCount);
static_assert(std::size(kExpressionEntries) == kExpressionCount);
static_assert(inOrder(kConditionEntries, {0, 1, 2, 3, 6, 4, 5, 7}));
static_assert(inOrder(kActionEntries,
                      {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                       18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
                       36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 50, 51, 49, 52, 53}));
static_assert(inOrder(kExpressionEntries,
                      {0, 1, 2, 3, 9, 10, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18}));
static_assert(parametersContiguous(kConditionEntries) && parametersContiguous(kActionEntries) &&
              parametersContiguous(kExpressionEntries));
static_assert(menuIdsUnique(kConditionEntries) && menuIdsUnique(kActionEntries) &&
              menuIdsUnique(kExpressionEntries));

constexpr auto kConditionWords = pack<wordCount(kConditionEntries)>(kConditionEntries);
constexpr auto kActionWords = pack<wordCount(kActionEntries)>(kActionEntries);
constexpr auto kExpressionWords = pack<wordCount(kExpressionEntries)>(kExpressionEntries);

// Indexed by CatalogKind.
const CatalogTable kTables[] = {
    {kConditionWords, kConditionCount, resources::kConditionMenu},
    {kActionWords, kActionCount, resources::kActionMenu},
    {kExpressionWords, kExpressionCount, resources::kExpressionMenu},
};

}  // namespace

const CatalogTable& catalogTable(CatalogKind kind) {
  return kTables[static_cast<int>(kind)];
}

CatalogEntry findEntry(CatalogKind kind, int code) {
  const CatalogTable& table = catalogTable(kind);
  CatalogEntry entry{table.words.data()};
  for (int i = 0; i < table.count; ++i, entry = entry.next()) {
    if (entry.code() == code) return entry;
  }
  return {nullptr};
}

int codeFromMenu(CatalogKind kind, int menuId) {
  const CatalogTable& table = catalogTable(kind);
  CatalogEntry entry{table.words.data()};
  for (int i = 0; i < table.count; ++i, entry = entry.next()) {
    if (entry.menuId() == menuId) return entry.code();
  }
  return -1;
}

}  // namespace nimbo::frame
