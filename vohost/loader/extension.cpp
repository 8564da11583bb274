// Resolving the exports through the X-macro list of the interface, so a new export is never forgotten.
#include "vohost/loader/extension.h"

#include "vohost/error.h"

namespace vohost {

Extension::Extension(const std::filesystem::path& path) : path_(path), module_(path) {
#define VOHOST_RESOLVE(name, ret, params)                                   \
  exports_.name = reinterpret_cast<voExport_##name>(module_.symbol(#name)); \
  if (!exports_.name) missing_.emplace_back(#name);
  VO_ALL_EXPORTS(VOHOST_RESOLVE)
#undef VOHOST_RESOLVE
}

void Extension::requireAll() const {
  if (missing_.empty()) return;
  std::string names;
  for (const std::string& name : missing_) names += (names.empty() ? "" : ", ") + name;
  throw Error(path_.string() + " lacks exports: " + names);
}

std::filesystem::path defaultExtensionPath() {
  return executablePath().parent_path() / ".." / "frame" / extensionFileName();
}

}  // namespace vohost
