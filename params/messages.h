// The fixed texts of the numeric parameter strings: the box an action shows when its text does not fit,
// used exactly as the system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::params {

// A numeric parameter string that did not match: four dots for the orbit setups and the angular
// rotation, three for the others.
inline constexpr Char kMatchParamsEmptyFourDots[] = NIMBO_TEXT("MatchParams is empty....");
inline constexpr Char kMatchParamsEmpty[] = NIMBO_TEXT("MatchParams is empty...");

inline constexpr Char kOrbitSetupCaption[] =
    NIMBO_TEXT("REGEX Exact Match :: ERROR >> ocSetup_REGEX_input_Params_Orb");
inline constexpr Char kExactMatchCaption[] = NIMBO_TEXT("REGEX Exact Match :: ERROR");
inline constexpr Char kGrowRadiusCaption[] =
    NIMBO_TEXT("REGEX Exact Match :: ERROR ( ocNC_ChangeGrowRadius )");
inline constexpr Char kRhombusCaption[] = NIMBO_TEXT("REGEX Exact Match :: ERROR ( Grid_Rhombus_TBLR )");
inline constexpr Char kTrapezoidCaption[] =
    NIMBO_TEXT("REGEX Exact Match :: ERROR ( LMS_Grid_Trapezoid_LRTB )");
inline constexpr Char kRowMatrixOffsetCaption[] =
    NIMBO_TEXT("REGEX Exact Match :: ERROR ( LMS_Grid_ROWS_OFST_LRTB )");

}  // namespace nimbo::params
