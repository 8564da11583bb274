// The fixed texts of the motion controller's message boxes. Each is used exactly as the system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::motion {

// Followed by the group name the second registration gave.
inline constexpr Char kRedundantInputText[] = NIMBO_TEXT("Warning :: Redundant Input >> ");
inline constexpr Char kNameDuplicateCaption[] = NIMBO_TEXT("Name Regist Error :: Name Duplicate");

// The by-name commands. M1 (nothing registered) and M2 (no such group) follow the pop-up setting; each
// text is followed by the name given, and M2's caption by the command's word.
inline constexpr Char kStopNothingRegisteredText[] = NIMBO_TEXT("Not Registered Anything :: ");
inline constexpr Char kToggleNothingRegisteredText[] = NIMBO_TEXT("Not Registered Anything >> ");
inline constexpr Char kNothingRegisteredCaption[] = NIMBO_TEXT("ObjectControlByName::ToggleMotionALL");
inline constexpr Char kUnknownNameText[] = NIMBO_TEXT("No Such OName | Motion Group NAME >> ");
inline constexpr Char kUnknownNameCaption[] = NIMBO_TEXT("Unknown Name | Not Registered :: ");
inline constexpr Char kStopError[] = NIMBO_TEXT("Stop Error");
inline constexpr Char kToggleError[] = NIMBO_TEXT("Toggle Error");
inline constexpr Char kRejectError[] = NIMBO_TEXT("Reject Error");
inline constexpr Char kDeleteError[] = NIMBO_TEXT("Delete Error");
// M3: a grow radius that reached no wave or orbit, shown whatever the pop-up setting.
inline constexpr Char kGrowRadiusMissedText[] = NIMBO_TEXT("Did not find the target..");
inline constexpr Char kGrowRadiusMissedCaption[] = NIMBO_TEXT("OC_MGN_CMN_GrowRadius");

// Expression 16 refuses a name that its 34-byte buffer cannot hold; the box shows whatever the pop-up
// setting.
inline constexpr Char kNameOverLimitText[] = NIMBO_TEXT("Can't Get Group Name (Max 16 letters)");
inline constexpr Char kNameOverLimitCaption[] = NIMBO_TEXT("Motion Name is Over Limit");

}  // namespace nimbo::motion
