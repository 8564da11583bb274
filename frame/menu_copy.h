// Copies of the module's menus for the event editor, and item texts read from them.
#pragma once

#include "platform/platform.h"

namespace nimbo::frame {

// A new popup menu holding a copy of the first popup of menu resource `id`; null when the resource
// fails to load or has no first popup. The caller owns the copy.
platform::Menu copyMenuResource(unsigned id);

// Loads into `buffer` the text of the item whose command id is `itemId` in menu resource `menuId`.
void loadMenuItemText(unsigned menuId, unsigned itemId, Char* buffer, int maximum);

}  // namespace nimbo::frame
