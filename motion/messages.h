// The fixed texts of the motion controller's message boxes. Each is used exactly as the system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::motion {

// Followed by the group name the second registration gave.
inline constexpr Char kRedundantInputText[] = NIMBO_TEXT("Warning :: Redundant Input >> ");
inline constexpr Char kNameDuplicateCaption[] = NIMBO_TEXT("Name Regist Error :: Name Duplicate");

inline constexpr Char kOrbitParamsText[] = NIMBO_TEXT("MatchParams is empty....");
inline constexpr Char kOrbitParamsCaption[] =
    NIMBO_TEXT("REGEX Exact Match :: ERROR >> ocSetup_REGEX_input_Params_Orb");

}  // namespace nimbo::motion
