// Opening the extension where there is no loader (the browser): the extension is linked into the same
// module, and its exports are found by plain name in a table written from the interface's list, so the
// rest of vohost runs it exactly as it runs a loaded library.
#include <cstring>
#include <iterator>

#include "host/exports.h"
#include "vohost/loader/module.h"

extern "C" {
#define VOHOST_DECLARE_LINKED(name, ret, params) ret VO_CALL name params;
VO_ALL_EXPORTS(VOHOST_DECLARE_LINKED)
#undef VOHOST_DECLARE_LINKED
}

namespace vohost {

namespace {

struct LinkedExport {
  const char* name;
  void* address;
};

const LinkedExport kLinkedExports[] = {
#define VOHOST_LINKED_EXPORT(name, ret, params) {#name, reinterpret_cast<void*>(&name)},
    VO_ALL_EXPORTS(VOHOST_LINKED_EXPORT)
#undef VOHOST_LINKED_EXPORT
};

}  // namespace

// Every path names the one extension there is; its handle is the table.
Module::Module(const std::filesystem::path&) : handle_(const_cast<LinkedExport*>(kLinkedExports)) {}

Module::~Module() = default;

void* Module::symbol(const char* name) const {
  const auto* table = static_cast<const LinkedExport*>(handle_);
  for (const LinkedExport* linked = table; linked != table + std::size(kLinkedExports); ++linked) {
    if (std::strcmp(linked->name, name) == 0) return linked->address;
  }
  return nullptr;
}

std::filesystem::path executablePath() {
  return {};
}

const char* extensionFileName() {
  return "nimbo.wasm";
}

}  // namespace vohost
