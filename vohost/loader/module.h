// A shared library opened by path and its symbols found by plain name, plus where vohost itself lives.
// The only operating-system specific part of vohost: dlopen/dlsym here, LoadLibraryW/GetProcAddress on
// Windows.
#pragma once

#include <filesystem>

namespace vohost {

class Module {
 public:
  // Throws Error with the loader's reason when the library cannot be opened.
  explicit Module(const std::filesystem::path& path);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The address of the exported symbol `name`, or null when the library does not export it.
  void* symbol(const char* name) const;

 private:
  void* handle_;
};

// The running program's own file; empty when the system cannot tell.
std::filesystem::path executablePath();

// The file name the build gives the extension on this system.
const char* extensionFileName();

}  // namespace vohost
