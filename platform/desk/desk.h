// The simulated desktop of the desk backend: what the extension's platform calls change, and what the
// host substitute drives and reads. One instance per process, in its own shared library.
#pragma once

#include <vector>

#include "platform/platform.h"

#define NIMBO_DESK_API __attribute__((visibility("default")))

namespace nimbo::desk {

struct MessageBoxRecord {
  Text caption;
  Text text;
};

// Records a message box as shown and dismissed with OK.
NIMBO_DESK_API void showMessageBox(const Char* text, const Char* caption);

// The message boxes shown since the last call, oldest first; the log is emptied.
NIMBO_DESK_API std::vector<MessageBoxRecord> takeMessageBoxes();

}  // namespace nimbo::desk
