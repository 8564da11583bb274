// Action 4, Set PATH: normalises the path, moves through the history, lists the directory's
// sub-directories and regular files into the module-wide name lists and sets the counts and flags the
// frame step reports.
#include <cassert>
#include <clocale>
#include <filesystem>
#include <system_error>

#include "files/file_errors.h"
#include "files/name_lists.h"
#include "files/path_history.h"
#include "files/routines.h"

namespace nimbo::files {

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestPathUnits = 260;

Text normalised(const Char* path) {
  Text text = path ? Text(path) : Text();
  const auto separator = static_cast<Char>(fs::path::preferred_separator);
  if (text.empty() || text.back() != separator) text.push_back(separator);
  return text;
}

void failed(RUNDATA* rd) {
  rd->pathConfirmed = 0;
  rd->pathInvalid = 1;
}

// The entry's type with links followed. The enumeration already knows the type of an entry that is not
// a link, so only links cost a status query. An entry that reads as not found (a dangling link) or of
// no type the facility knows is skipped; any other failure of the query throws.
fs::file_type followedType(const fs::directory_entry& entry) {
  std::error_code error;
  if (entry.is_directory(error)) return fs::file_type::directory;
  if (!error && entry.is_regular_file(error)) return fs::file_type::regular;
  if (!error) return fs::file_type::unknown;
  fs::file_type type = entry.status(error).type();
  if (type == fs::file_type::not_found || type == fs::file_type::unknown) return type;
  throw fs::filesystem_error("directory_entry::status", entry.path(), error);
}

void listEntries(fs::directory_iterator& iterator) {
  const NameList directories = directoryList();
  const NameList files = fileList();
  for (const fs::directory_entry& entry : iterator) {
    Text name = platform::nameText(entry.path());
    cacheName(name.c_str());
    fs::file_type type = followedType(entry);
    if (type == fs::file_type::directory) {
      appendName(directories, name);
    } else if (type == fs::file_type::regular) {
      appendName(files, name);
    }
  }
}

}  // namespace

// A failed listing leaves the counts at -1 and keeps the names stored so far, which the counts then
// put out of reach of the name expressions.
int32_t VO_CALL SetPATH(voHeader* header, voValue path, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  std::setlocale(LC_ALL, "");
  FSNC.dirEndList.clear();
  FSNC.fileEndList.clear();
  Text directory = normalised(reinterpret_cast<const Char*>(path));
  if (directory.size() > kLongestPathUnits) {
    failed(rd);
    rd->fileCount = rd->dirCount = -1;
    showPathTooLong(directory.size() + 1, kPathTooLongCaption);
    return 0;
  }
  bool recorded = findInHistory(rd, directory);
  bool listed = showingErrors([&] {
    fs::directory_iterator iterator(platform::nativePath(directory));
    if (!recorded) recordInHistory(rd, directory);
    listEntries(iterator);
  });
  if (!listed) {
    failed(rd);
    return 0;
  }
  rd->fileCount = static_cast<int32_t>(FSNC.fileEndList.size());
  rd->dirCount = static_cast<int32_t>(FSNC.dirEndList.size());
  rd->pathConfirmed = 1;
  rd->pathInvalid = 0;
  return 0;
}

}  // namespace nimbo::files
