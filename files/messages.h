// The fixed texts of the file-system routines: message-box texts and captions, and the texts the
// expressions return in place of a name. Each is used exactly as the system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::files {

// An over-long path: the text is followed by the units needed, terminator included, in decimal.
inline constexpr Char kPathTooLongText[] = NIMBO_TEXT("MAX_PATH_LENGTH < ");
inline constexpr Char kPathTooLongCaption[] = NIMBO_TEXT("Error >> #GLA260L::PathName Too Much Long");
inline constexpr Char kRenamePathTooLongCaption[] =
    NIMBO_TEXT("Error >> #CHN522L::Rename PathName Too Much Long");

// Captions of the boxes whose text is the caught exception's narrow description, in catch order.
inline constexpr char kFilesystemErrorCaption[] = "Catch Filesystem ERROR";
inline constexpr char kRuntimeErrorCaption[] = "Catch Runtime ERROR";
inline constexpr char kExceptionErrorCaption[] = "Catch exception ERROR";

inline constexpr Char kOutOfRangeResult[] = NIMBO_TEXT("Error ::: out of range");
inline constexpr Char kNoHistoryResult[] = NIMBO_TEXT("** No Data in Path History **");

}  // namespace nimbo::files
