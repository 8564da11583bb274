// Modal dialogs on Windows: the module's dialog resource with a procedure that keeps the parameter block
// and ends on OK or cancel (the Escape key sends cancel).
#include <windows.h>

#include "platform/dialog.h"

namespace nimbo::platform {

HINSTANCE currentModule();

namespace {

INT_PTR CALLBACK modalDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? kDialogOk : kDialogCancel);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

intptr_t showModalDialog(unsigned id, void* owner, void* parameters) {
  return DialogBoxParamW(currentModule(), MAKEINTRESOURCEW(id), static_cast<HWND>(owner),
                         modalDialogProcedure, reinterpret_cast<LPARAM>(parameters));
}

}  // namespace nimbo::platform
