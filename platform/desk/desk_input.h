// Keys and the pending double click of the simulated desktop: the host substitute presses and releases
// them, the extension's input services read them.
#pragma once

#include "platform/desk/desk.h"

namespace nimbo::desk {

NIMBO_DESK_API void setKeyDown(int virtualKey, bool down);
NIMBO_DESK_API bool isKeyDown(int virtualKey);
NIMBO_DESK_API void setDoubleClickPending(bool pending);
NIMBO_DESK_API bool isDoubleClickPending();

}  // namespace nimbo::desk
