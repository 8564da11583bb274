// The routines of the application window, the task bar and the clipboard watch, as the jump tables
// call them.
#pragma once

#include "host/exports.h"
#include "record/rundata.h"

namespace nimbo::window {

// Action 1 "Set Auto Position": moves the window by the cursor's travel since the drag origin.
int32_t VO_CALL SetAutoPosition(voHeader* header, voValue, voValue);
// Action 2 "End Auto Position Mode".
int32_t VO_CALL EndAutoPositionMode(voHeader* header, voValue, voValue);
// Action 3 "Start Auto Position Mode": the drag origin becomes the cursor position.
int32_t VO_CALL StartAutoPositionMode(voHeader* header, voValue, voValue);
// Action 5 "Set Window Title Bar Caption( %0 )": param1 is the caption.
int32_t VO_CALL SetWindowTitleBarCaption(voHeader* header, voValue caption, voValue);
// Action 51 "Window Control : Alternative": param1 is 0 (minimise), 1 (maximise or restore) or 2
// (hide or show the task bar).
int32_t VO_CALL WindowControl(voHeader* header, voValue command, voValue);

// Condition 1 "%o: Auto Position Mode".
int32_t VO_CALL AutoPositionMode(voHeader* header, voValue, voValue);
// Condition 7 "%o: Detect Clipboard Change ( CF_TEXT )": checked one evaluation in frame rate / 10 + 1.
int32_t VO_CALL DetectClipboardChange(voHeader* header, voValue, voValue);

}  // namespace nimbo::window
