// Action 6, the rename: joins the old and the new name to the current history entry and renames,
// unless the new name is the old one or already exists. The lists and the history stay as they are.
#include <cassert>
#include <filesystem>

#include "files/file_errors.h"
#include "files/routines.h"

namespace nimbo::files {

namespace fs = std::filesystem;

namespace {

Text textOf(voValue value) {
  const auto* text = reinterpret_cast<const Char*>(value);
  return text ? Text(text) : Text();
}

// The buffer must keep a terminator after the path: a path of 522 units does not fit.
bool fitsRenameBuffer(const Text& fullPath) {
  return fullPath.size() < static_cast<size_t>(kRenamePathUnits);
}

void writeRenameBuffer(Char (&buffer)[kRenamePathUnits], const Text& fullPath) {
  std::char_traits<Char>::assign(buffer, kRenamePathUnits, Char{0});
  fullPath.copy(buffer, fullPath.size());
}

}  // namespace

// Only a new name equal to the old one is refused: a longer name that begins with it (an extension
// added) is a real rename.
int32_t VO_CALL ChangeTheName(voHeader* header, voValue oldName, voValue newName) {
  assert(header);
  RUNDATA* rd = runData(header);
  if (rd->historyIndex == -1) return 0;
  const Text& directory = rd->pathHistory[static_cast<size_t>(rd->historyIndex)];
  Text oldText = textOf(oldName), newText = textOf(newName);
  if (newText == oldText) return 0;
  Text oldPath = directory + oldText, newPath = directory + newText;
  for (const Text* path : {&oldPath, &newPath}) {
    if (!fitsRenameBuffer(*path)) {
      showPathTooLong(path->size() + 1, kRenamePathTooLongCaption);
      return 0;
    }
  }
  writeRenameBuffer(rd->oldFullPath, oldPath);
  writeRenameBuffer(rd->newFullPath, newPath);
  showingErrors([&] {
    fs::path target = platform::nativePath(rd->newFullPath);
    if (fs::exists(target)) return;
    fs::rename(platform::nativePath(rd->oldFullPath), target);
  });
  return 0;
}

}  // namespace nimbo::files
