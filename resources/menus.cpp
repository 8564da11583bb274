// The three menus of the event editor as flattened trees: actions, conditions and expressions. Each is
// one top-level popup whose items the edit-time exports copy for the host.
#include <algorithm>
#include <cstddef>

#include "resources/resources.h"

namespace nimbo::resources {

namespace {

constexpr MenuLine separator(uint8_t depth) {
  return {depth, MenuLineKind::separator, 0, false, nullptr};
}
constexpr MenuLine popup(uint8_t depth, const char16_t* text) {
  return {depth, MenuLineKind::popup, 0, false, text};
}
constexpr MenuLine item(uint8_t depth, uint16_t id, const char16_t* text) {
  return {depth, MenuLineKind::item, id, false, text};
}
// Shown greyed: section titles, and entries the designer may not pick.
constexpr MenuLine disabledItem(uint8_t depth, uint16_t id, const char16_t* text) {
  return {depth, MenuLineKind::item, id, true, text};
}

// The section titles share one command id that no catalog entry carries.
constexpr uint16_t kTitle = 40001;

constexpr MenuLine kActionLines[] = {
    separator(0),
    item(0, 25000, u"Set TEXT"),
    popup(0, u"FILESYSTEMS"),
    item(1, 25004, u"Set PATH ( and Get the List of )"),
    item(1, 25006, u"Rename ( File | Directory )"),
    separator(1),
    item(1, 25007, u"Set Index Number Of Path History"),
    popup(0, u"HWND"),
    disabledItem(1, kTitle, u"- Set Application Window Position -"),
    item(1, 25003, u"Start Auto Position  Mode"),
    item(1, 25001, u"Set   Pos on Screen (Auto)"),
    item(1, 25002, u"End   Auto Position  Mode"),
    separator(1),
    item(1, 25005, u"Set Window Title Bar Caption"),
    item(1, 25008, u"Window Control : Alternative"),
    separator(0),
    popup(0, u"OBJECT ALIGN"),
    popup(1, u"Horizontal"),
    item(2, 25201, u"Align LEFT :: ZigZag"),
    item(2, 25320, u"Align LEFT :: LMS"),
    item(2, 25321, u"Align RIGHT :: LMS + Counter"),
    separator(2),
    disabledItem(2, 25200, u"(xxx) : Draw a Line to connect 2 Points"),
    popup(1, u"Vertical"),
    item(2, 25240, u"Column : Top to Bottom Order : Object Height"),
    popup(1, u"Circle"),
    item(2, 25280, u"Clockwise : Split by the Objects Total Number."),
    item(2, 25281, u"Clockwise : Semi Circle with Direction Setup."),
    popup(1, u"Grid"),
    item(2, 25300, u"Rectangle Matrix : Enter X-Grid Size : Left to Right Order"),
    item(2, 25302, u"Trapezoid ( Hexagonal ) : Left to Right and Top to Bottom Order"),
    item(2, 25303, u"Grid Rows with Header Offset : Left | Right + Top | Bottom Order"),
    item(2, 25301, u"(* obsolete) Rhombus ( Square Matrix ) : Left to Right and Top to Bottom Order"),
    popup(0, u" + A - MOTiONS"),
    popup(1, u"Horizontal"),
    item(2, 25400, u"Wrap at Window Width"),
    item(2, 25401, u"Flip at Window Width"),
    popup(1, u"Virtical"),
    item(2, 25420, u"Wrap at Window Height"),
    item(2, 25421, u"Flip at Window Height"),
    popup(1, u"Orbital"),
    item(2, 25440, u"Orbital around own XY as Center XY"),
    item(2, 25441, u"Orbital TARGET.XY as Center XY (with Align)"),
    popup(1, u"Move toward"),
    disabledItem(2, 25480, u"Move toward the Named Target (1 sec time base)"),
    separator(1),
    item(1, 25460, u"NULL MOTiON"),
    popup(0, u" + B - MOTiONS"),
    popup(1, u"Horizontal"),
    item(2, 25402, u"Wrap at Window Width + Sine Wave"),
    item(2, 25403, u"Flip at Window Width + Sine Wave"),
    popup(1, u"Vertical"),
    item(2, 25422, u"Wrap at Window Height + Sine Wave"),
    item(2, 25423, u"Flip at Window Height + Sine Wave"),
    popup(1, u"Orbital"),
    item(2, 25442, u"Orbit around ownXY Pos"),
    item(2, 25443, u"Orbit around Target XY (with Align)"),
    popup(1, u"Move toward"),
    disabledItem(2, 25481, u"Move toward the Named Target (Custom Param)"),
    separator(1),
    separator(0),
    disabledItem(0, kTitle, u"- BY NAME -"),
    popup(0, u"MOTION CONTROLLER"),
    item(1, 25155, u"Reversal Movement"),
    item(1, 25150, u"Stop Movement"),
    item(1, 25151, u"Toggle Stop | Move Flag"),
    item(1, 25157, u"Insert Sleep"),
    separator(1),
    item(1, 25156, u"Change Target at ( Orbital )"),
    item(1, 25158, u"Set AngularRotate ( Orbital )"),
    item(1, 25160, u"Grow Radius ( SineWave + Orbital )"),
    separator(1),
    item(1, 25153, u"Delete"),
    item(1, 25161, u"Reject from the Controller ( Time Delay )"),
    item(1, 25152, u"Reject from the Controller ( Urgent )"),
    item(1, 25159, u"Update Controll List"),
    separator(1),
    disabledItem(1, kTitle, u"- Require DX9 Shaders -"),
    item(1, 25154, u"Alpha-Blending Coefficient ( Require DX9 Shader )"),
    separator(1),
    item(1, 25149, u"Virtual WALL : AUTO SETUP ( for Flip | Wrap )"),
    popup(1, u"Virtual WALL : By Name Function"),
    item(2, 25145, u"Virtual WALL : TOP"),
    item(2, 25146, u"Virtual WALL : LEFT"),
    item(2, 25147, u"Virtual WALL : RIGHT"),
    item(2, 25148, u"Virtual WALL : BOTTOM"),
    separator(1),
    disabledItem(1, 25101, u"TEST_1 :: Get ALL Objects Name at the Frame (::TEST)"),
    disabledItem(1, 25100, u"TEST_2 :: TESTTEST (::TEST)"),
    separator(0),
};

constexpr MenuLine kConditionLines[] = {
    separator(0),
    popup(0, u"REGEX"),
    item(1, 26004, u"Search :: Partial ( if TRUE Match Partial.)"),
    item(1, 26005, u"Search :: Exact   ( if TRUE Match Exact. )"),
    separator(1),
    item(1, 26000, u"Expression Error  ( if an Error throwed. )"),
    item(1, 26006, u"Mismatch          ( if Not Matched )"),
    separator(0),
    popup(0, u"FILESYSTEMS"),
    item(1, 26002, u"Is Directory ( if TRUE )"),
    item(1, 26003, u"Invalid Dir  (  Error  )"),
    separator(0),
    popup(0, u"HWND"),
    item(1, 26007, u"Detect Clipboard Change ( if TRUE )"),
    item(1, 26001, u"Move Window Auto ( if TRUE )"),
    separator(0),
};

constexpr MenuLine kExpressionLines[] = {
    separator(0),
    item(0, 27000, u"Get String"),
    separator(0),
    popup(0, u"Regular Expression (C++17 STL)"),
    item(1, 27001, u"Get String Regex Replaced      (Regex.Replace)"),
    item(1, 27008, u"Get String Regex Matched       (Regex.Match)"),
    separator(1),
    item(1, 27007, u"Get Number of Matched    (Regex.Match)"),
    popup(0, u"File Systems (C++17 STL)"),
    item(1, 27006, u"Get PATH"),
    separator(1),
    popup(1, u"Get Number (Path | Dirs | Files)"),
    item(2, 27010, u"Current Index Number of History (Path)"),
    item(2, 27009, u"Max Element Number of History (Path)"),
    item(2, 27003, u"(Dirs) Total Number"),
    item(2, 27002, u"(Files) Total Number"),
    popup(1, u"Access to the Name List"),
    item(2, 27004, u"FileName"),
    item(2, 27005, u"DirName"),
    popup(0, u"Object Control"),
    item(1, 27100, u"Num of Motion Groups     ( Total Number )"),
    item(1, 27101, u"Num of controlled Objects ( Total Number )"),
    item(1, 27102, u"DEBUG : Get INFO About controlled Objects  ( ALL )"),
    item(1, 27103, u"DEBUG : Get INFO About Motion Group"),
    item(1, 27104, u"DEBUG : Get NAME from Motion Groups"),
    item(1, 27105, u"Convert : Angle to CT 32 AnimDirs"),
    disabledItem(1, 27106, u"* Not Yet Implemented * (05C rev.4)"),
    popup(0, u"MISC."),
    item(1, 27011, u"ISO-8601 Format : Time and Date"),
    separator(0),
};

// The first line of a popup's items is one level deeper than the popup, and no line skips a level.
template <size_t N>
constexpr bool wellNested(const MenuLine (&lines)[N]) {
  int depth = 0;
  bool afterPopup = false;
  for (const MenuLine& line : lines) {
    if (afterPopup ? line.depth != depth + 1 : line.depth > depth) return false;
    depth = line.depth;
    afterPopup = line.kind == MenuLineKind::popup;
  }
  return !afterPopup;
}
static_assert(wellNested(kActionLines) && wellNested(kConditionLines) && wellNested(kExpressionLines));

constexpr MenuResource kMenus[] = {
    {kActionMenu, u"NIMBO", kActionLines},
    {kConditionMenu, u"NIMBO", kConditionLines},
    {kExpressionMenu, u"NIMBO", kExpressionLines},
};

}  // namespace

std::span<const MenuResource> menus() {
  return kMenus;
}

const MenuResource* findMenu(uint16_t id) {
  const MenuResource* found = std::find_if(std::begin(kMenus), std::end(kMenus),
                                           [id](const MenuResource& menu) { return menu.id == id; });
  return found != std::end(kMenus) ? found : nullptr;
}

}  // namespace nimbo::resources
