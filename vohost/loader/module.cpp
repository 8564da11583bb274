// Opening the extension: the POSIX loader on Linux, the Windows loader under _WIN32. Nothing else in
// vohost may depend on the system this way.
#include "vohost/loader/module.h"

#include "vohost/error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vohost {

#ifdef _WIN32

Module::Module(const std::filesystem::path& path)
    : handle_(reinterpret_cast<void*>(LoadLibraryW(path.wstring().c_str()))) {
  if (!handle_) {
    throw Error("cannot open " + path.string() + ": Windows error " + std::to_string(GetLastError()));
  }
}

Module::~Module() {
  FreeLibrary(static_cast<HMODULE>(handle_));
}

void* Module::symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::filesystem::path executablePath() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::filesystem::path(buffer) : std::filesystem::path();
}

const char* extensionFileName() {
  return "nimbo.dll";
}

#else

Module::Module(const std::filesystem::path& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) {
    const char* reason = dlerror();
    throw Error("cannot open " + path.string() + ": " + (reason ? reason : "unknown loader error"));
  }
}

Module::~Module() {
  dlclose(handle_);
}

void* Module::symbol(const char* name) const {
  return dlsym(handle_, name);
}

std::filesystem::path executablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

const char* extensionFileName() {
  return "nimbo.so";
}

#endif

}  // namespace vohost
