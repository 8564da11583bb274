// Modal dialogs on the simulated desktop: recorded and ended at once with the answer the driver set.
#include "platform/desk/desk_dialog.h"
#include "platform/dialog.h"

namespace nimbo::platform {

intptr_t showModalDialog(unsigned id, void* owner, void* parameters) {
  return desk::showDialog(id, owner, parameters);
}

}  // namespace nimbo::platform
