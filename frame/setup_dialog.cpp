// The setup dialog the editor opens on the object: shown modally over the editor's window. It only
// informs; EDITDATA is left as it was whatever the answer.
#include "frame/barrier.h"
#include "frame/editdata.h"
#include "frame/exports.h"
#include "platform/dialog.h"

using namespace nimbo;

namespace {

constexpr unsigned kSetupDialog = 20003;

// Handed to the dialog at its initialisation, where it stays while the dialog is open.
struct SetupParameters {
  void* editData;
  voEditor* editor;
};

}  // namespace

int32_t VO_CALL EditObject(voEditor* editor, void*, void*, void* editData) {
  return frame::shielded([&]() -> int32_t {
    if (!editorCompatible(editor)) return 0;
    SetupParameters parameters{editData, editor};
    return platform::showModalDialog(kSetupDialog, editor->parentWindow, &parameters) == platform::kDialogOk
               ? 1
               : 0;
  });
}
