// The built extension as the host sees it: a module and every export of the interface resolved by its
// plain name, with the ones the module lacks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/exports.h"
#include "vohost/loader/module.h"

namespace vohost {

// One slot per export, null when the module does not export it.
struct Exports {
#define VOHOST_EXPORT_SLOT(name, ret, params) voExport_##name name = nullptr;
  VO_ALL_EXPORTS(VOHOST_EXPORT_SLOT)
#undef VOHOST_EXPORT_SLOT
};

class Extension {
 public:
  // Throws Error when the module cannot be opened; missing exports are only listed.
  explicit Extension(const std::filesystem::path& path);

  const Exports& exports() const { return exports_; }
  const std::vector<std::string>& missing() const { return missing_; }
  const std::filesystem::path& path() const { return path_; }

  // A symbol beyond the interface (a test build's hooks), or null when the module has none.
  void* extraSymbol(const char* name) const { return module_.symbol(name); }

  // Throws Error naming every missing export; running a frame needs them all.
  void requireAll() const;

 private:
  std::filesystem::path path_;
  Module module_;
  Exports exports_;
  std::vector<std::string> missing_;
};

// ../frame/<extension file> beside the running program, where the build puts it.
std::filesystem::path defaultExtensionPath();

}  // namespace vohost
