// The three jump tables, indexed by code. A routine whose subsystem has not landed yet answers with
// the neutral value: 0, or the empty string marked as a string result.
#include "align/routines.h"
#include "files/routines.h"
#include "frame/routines.h"
#include "motion/routines.h"
#include "text/routines.h"
#include "util/routines.h"
#include "window/routines.h"

namespace nimbo::frame {

namespace {

int32_t VO_CALL pendingAction(voHeader*, voValue, voValue) {
  return 0;
}
voValue VO_CALL pendingIntegerExpression(voHeader*, voValue) {
  return 0;
}
voValue VO_CALL pendingStringExpression(voHeader* header, voValue) {
  static const Char empty[1] = {0};
  return stringResult(runData(header), empty);
}

// Expression 18 "* Not Yet implemented (05C rev.4) *$(" answers 0 for good.
voValue VO_CALL notYetImplemented(voHeader*, voValue) {
  return 0;
}

constexpr voActionRoutine A = pendingAction;
constexpr voExpressionRoutine I = pendingIntegerExpression;
constexpr voExpressionRoutine S = pendingStringExpression;

}  // namespace

// Rows of codes, kept as written so a routine is found from its code at a glance.
// clang-format off
const voConditionRoutine conditionRoutines[kConditionCount] = {
    text::RegexExpressionError, window::AutoPositionMode,        // 0-1
    files::DirectoryPathConfirmed, files::InvalidDirectoryPath,  // 2-3
    text::RegexSearchPartial, text::RGXMatchFullSETMXVal,        // 4-5
    text::RegexToMismatch, window::DetectClipboardChange,        // 6-7
};

const voActionRoutine actionRoutines[kActionCount] = {
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
    A, A, A, A, A, A, A, A, A, A, A,                                          // 35-45
    align::AlignSemiCircle, align::Grid_Rhombus_TBLR,                         // 46-47
    align::LMS_Grid_Trapezoid_LRTB, A,                                        // 48-49
    align::LMS_Grid_ROWS_OFST_LRTB, window::WindowControl,                    // 50-51
    motion::MoveTowardNamedTarget, motion::MoveTowardNamedTargetCustomParam,  // 52-53
};

const voExpressionRoutine expressionRoutines[kExpressionCount] = {
    text::GetTEXT, text::GetRegexReplace,                                         // 0-1
    files::NumberOfFiles, files::NumberOfDirs,                                    // 2-3
    files::FileName, files::DirName, files::GetPathFromHistory,                   // 4-6
    text::RGX_TotalNumber_Match, text::RGX_SubMatch, files::MaxElementNumOfPath,  // 7-9
    files::CurrentIndexNumberOfPath, util::GetDateTimeIso8601, I, I, S, S, S, I,  // 10-17
    notYetImplemented,                                                            // 18
};
// clang-format on

}  // namespace nimbo::frame
