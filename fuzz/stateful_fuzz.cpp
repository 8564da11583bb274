// Stateful fuzzing: the input is a sequence of calls on two instances with frame steps between (see
// call_sequence.h), run by vohost on the built extension under the sanitizers. An extension that
// misuses the host, or lets anything out, stops the run.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz/call_sequence.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

namespace {

const vohost::Extension* extension = nullptr;
const nimbo::fuzz::Catalog* catalog = nullptr;
const nimbo::Text* sandbox = nullptr;

// Listings and renames work in a folder of the fuzzer's own: its path, ending in a separator.
nimbo::Text makeSandbox() {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("nimbo-stateful-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "sub");
  std::ofstream(folder / "a") << "a";
  std::ofstream(folder / "sub" / "b") << "b";
  return vohost::fromUtf8((folder / "").string());
}

// A replace can multiply the TEXT every step (15 units, then 1 478, 42 890, 1.2 M, 36 M): each step's
// work is linear in the TEXT, so a long one only slows the run and reaches nothing new. A run ends at
// the first step that leaves a TEXT longer than this, in UTF-8 bytes as the record holds it.
constexpr size_t kLongestText = 64 * 1024;

bool textTooLong(const vohost::StepRecord& record) {
  for (const std::string& text : record.texts) {
    if (text.size() > kLongestText) return true;
  }
  return false;
}

void run(const vohost::Scene& scene) {
  vohost::Runtime runtime(*extension, scene);
  for (int i = 0; i < scene.frame.frames; ++i) {
    if (textTooLong(runtime.step())) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  extension = new vohost::Extension(vohost::defaultExtensionPath());
  catalog = new nimbo::fuzz::Catalog(nimbo::fuzz::readCatalog(*extension));
  sandbox = new nimbo::Text(makeSandbox());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    run(nimbo::fuzz::decodeCalls(data, size, *catalog, *sandbox));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the run stopped: %s\n", error.what());
    std::abort();
  }
  return 0;
}
