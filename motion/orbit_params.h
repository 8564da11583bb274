// The orbit parameter string of actions 28 and 29: "Rad1, Rad2, AngularVelocity, AngleStartup,
// CentreOffset-X, CentreOffset-Y", six integers separated by commas, spaces anywhere.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace nimbo::motion {

using OrbitParams = std::array<int32_t, 6>;

// The six numbers, or nothing after the "MatchParams is empty...." box when the text is not such a
// list, or a number does not fit 32 bits.
std::optional<OrbitParams> ocSetup_REGEX_input_Params_Orb(const Char* text);

}  // namespace nimbo::motion
