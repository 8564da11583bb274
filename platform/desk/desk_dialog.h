// The simulated modal dialogs of the desk backend: the extension shows them, the host substitute sets
// how the next ones end and reads which were shown.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/desk/desk.h"

namespace nimbo::desk {

struct DialogRecord {
  unsigned resourceId;
  void* owner;
  void* parameters;
};

// Records the dialog as shown and returns the code it ends with.
NIMBO_DESK_API intptr_t showDialog(unsigned resourceId, void* owner, void* parameters);

// The code every dialog shown from now on ends with: 1 (OK, the default) or 2 (cancel, Escape).
NIMBO_DESK_API void setDialogAnswer(intptr_t endCode);

// The dialogs shown since the last call, oldest first; the log is emptied.
NIMBO_DESK_API std::vector<DialogRecord> takeDialogs();

}  // namespace nimbo::desk
