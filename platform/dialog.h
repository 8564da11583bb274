// Modal dialogs from the module's own dialog resources: the real dialog box on Windows, a simulated one
// on the desk, which records that it was shown and ends with the answer its driver set beforehand.
#pragma once

#include <cstdint>

namespace nimbo::platform {

// The codes a dialog ends with: OK, and cancel as the Escape key sends it.
constexpr intptr_t kDialogOk = 1;
constexpr intptr_t kDialogCancel = 2;

// Shows dialog resource `id` modally, owned by `owner` (a HWND on Windows), and returns the code it
// ended with; -1 when it could not be shown. `parameters` stays with the dialog while it is open.
intptr_t showModalDialog(unsigned id, void* owner, void* parameters);

}  // namespace nimbo::platform
