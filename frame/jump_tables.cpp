// The three jump tables, indexed by code: the one index of every routine of the catalog.
#include <utility>

#include "align/routines.h"
#include "files/routines.h"
#include "frame/barrier.h"
#include "frame/routines.h"
#include "motion/routines.h"
#include "text/routines.h"
#include "util/routines.h"
#include "window/routines.h"

namespace nimbo::frame {

namespace {

// Expression 18 "* Not Yet implemented (05C rev.4) *$(" answers 0 for good.
voValue VO_CALL notYetImplemented(voHeader*, voValue) {
  return 0;
}

// Rows of codes, kept as written so a routine is found from its code at a glance.
// clang-format off
constexpr voConditionRoutine conditionBodies[kConditionCount] = {
    text::RegexExpressionError, window::AutoPositionMode,        // 0-1
    files::DirectoryPathConfirmed, files::InvalidDirectoryPath,  // 2-3
    text::RegexSearchPartial, text::RGXMatchFullSETMXVal,        // 4-5
    text::RegexToMismatch, window::DetectClipboardChange,        // 6-7
};

constexpr voActionRoutine actionBodies[kActionCount] = {
    text::SetTEXT, window::SetAutoPosition,                                   // 0-1
    window::EndAutoPositionMode, window::StartAutoPositionMode,               // 2-3
    files::SetPATH, window::SetWindowTitleBarCaption, files::ChangeTheName,   // 4-6
    files::SetIndexNumberOfPathHistory,                                       // 7
    util::CircleMenuAutoFollow, util::GetAllObjectsNameAtTheFrame,            // 8-9
    align::AlignConnect2Points, align::AlignZigZag, align::AlignVertical,     // 10-12
    align::AlignCircle, align::AlignGrid,                                     // 13-14
    align::AlignLeftLMS, align::AlignRightLMSCounter,                         // 15-16
    motion::WrapAtWindowWidth, motion::FlipAtWindowWidth,                     // 17-18
    motion::WrapAtWindowHeight, motion::FlipAtWindowHeight,                   // 19-20
    motion::OrbitalAroundOwnXY, motion::OrbitalAroundTargetXY,                // 21-22
    motion::NullMotion,                                                       // 23
    motion::WrapAtWindowWidthSineWave, motion::FlipAtWindowWidthSineWave,     // 24-25
    motion::WrapAtWindowHeightSineWave, motion::FlipAtWindowHeightSineWave,   // 26-27
    motion::OrbitAroundOwnXYPos, motion::OrbitAroundTargetXYPos,              // 28-29
    motion::VirtualWallTop, motion::VirtualWallLeft,                          // 30-31
    motion::VirtualWallRight, motion::VirtualWallBottom,                      // 32-33
    motion::VirtualWallAutoSetup,                                             // 34
    motion::StopAll, motion::ToggleStopMoveFlag,                              // 35-36
    motion::RejectFromTheControllList, motion::DeleteAll,                     // 37-38
    motion::SetAlphaCoefficientParam, motion::ReverseMovement,                // 39-40
    motion::SetTargetAt, motion::InsertSleep, motion::SetAngularRotate,       // 41-43
    motion::UpdateControllList, motion::GrowRadius,                           // 44-45
    align::AlignSemiCircle, align::Grid_Rhombus_TBLR,                         // 46-47
    align::LMS_Grid_Trapezoid_LRTB, motion::RejectWithTimeDelay,              // 48-49
    align::LMS_Grid_ROWS_OFST_LRTB, window::WindowControl,                    // 50-51
    motion::MoveTowardNamedTarget, motion::MoveTowardNamedTargetCustomParam,  // 52-53
};

constexpr voExpressionRoutine expressionBodies[kExpressionCount] = {
    text::GetTEXT, text::GetRegexReplace,                                         // 0-1
    files::NumberOfFiles, files::NumberOfDirs,                                    // 2-3
    files::FileName, files::DirName, files::GetPathFromHistory,                   // 4-6
    text::RGX_TotalNumber_Match, text::RGX_SubMatch, files::MaxElementNumOfPath,  // 7-9
    files::CurrentIndexNumberOfPath, util::GetDateTimeIso8601,                    // 10-11
    motion::Total_MotionGrp, motion::Total_Controlled,                            // 12-13
    motion::INFO_CtrlledList, motion::INFO_MotionGroup,                           // 14-15
    motion::NAME_MotionGroup, motion::AngleToConvertCTAnimDirs,                   // 16-17
    notYetImplemented,                                                            // 18
};
// clang-format on

template <const voActionRoutine* bodies, size_t... code>
constexpr std::array<voActionRoutine, sizeof...(code)> guardedRoutines(std::index_sequence<code...>) {
  return {guardedRoutine<bodies[code]>...};
}

template <size_t... code>
constexpr std::array<voExpressionRoutine, sizeof...(code)> guardedExpressions(std::index_sequence<code...>) {
  return {guardedExpression<expressionBodies[code], static_cast<int>(code)>...};
}

}  // namespace

// What the host calls: every routine behind the barrier.
const std::array<voConditionRoutine, kConditionCount> conditionRoutines =
    guardedRoutines<conditionBodies>(std::make_index_sequence<kConditionCount>());
const std::array<voActionRoutine, kActionCount> actionRoutines =
    guardedRoutines<actionBodies>(std::make_index_sequence<kActionCount>());
const std::array<voExpressionRoutine, kExpressionCount> expressionRoutines =
    guardedExpressions(std::make_index_sequence<kExpressionCount>());

}  // namespace nimbo::frame
