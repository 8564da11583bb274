// The scene checked against the extension's catalog before the frame starts, so a wrong code, a
// missing parameter or a text where a number belongs is reported with its event line, not mid-run.
#pragma once

#include "vohost/loader/catalog_reader.h"
#include "vohost/scenes/scene.h"

namespace vohost {

// Throws Error naming the event line, condition or action and parameter that does not fit.
void validateEvents(const Scene& scene, const Declarations& declarations);

}  // namespace vohost
