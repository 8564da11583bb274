// How the file-system actions report what went wrong: the over-long path box, and the boxes of the
// exceptions caught at the routine boundary. Both are shown whatever the pop-up setting.
#pragma once

#include <filesystem>
#include <stdexcept>

#include "files/messages.h"
#include "record/host_access.h"

namespace nimbo::files {

// "MAX_PATH_LENGTH < " followed by the units the path needs with its terminator.
inline void showPathTooLong(size_t neededUnits, const Char* caption) {
  Text text = kPathTooLongText + decimal(neededUnits);
  platform::messageBox(text.c_str(), caption);
}

// Runs `work`. An exception it throws is shown by its own description under the caption of its kind,
// tested most specific first, and the result is false.
template <class Work>
bool showingErrors(Work work) {
  try {
    work();
    return true;
  } catch (const std::filesystem::filesystem_error& error) {
    platform::messageBoxNarrow(error.what(), kFilesystemErrorCaption);
  } catch (const std::runtime_error& error) {
    platform::messageBoxNarrow(error.what(), kRuntimeErrorCaption);
  } catch (const std::exception& error) {
    platform::messageBoxNarrow(error.what(), kExceptionErrorCaption);
  }
  return false;
}

}  // namespace nimbo::files
