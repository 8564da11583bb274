// Life-cycle churn: instances that use every subsystem created, stepped and destroyed over and over,
// and the library loaded and unloaded over and over. The memory held after the first tenth of the
// cycles must not grow by the end. make test runs fewer cycles; NIMBO_CHURN_FULL=1 (make soak) runs
// 10 000 instances and 1 000 loads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "vohost/simhost/process_memory.h"
#include "vohost/simhost/runtime.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vohost {
namespace {

// The heap's own count where the build has one; else pages, which a run may take and keep a while.
uint64_t memoryHeld() {
  MemoryUse use = memoryUse();
  return use.allocated.value_or(use.resident);
}

// glibc counts the blocks its per-thread cache keeps for reuse as in use, and that cache fills over the
// first few hundred cycles, so its count can only be held to a few bytes with the cache off (ctest turns
// it off for these tests).
bool heapCountIncludesThreadCache() {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  return !tunables || std::string(tunables).find("glibc.malloc.tcache_count=0") == std::string::npos;
#else
  return false;
#endif
}

uint64_t allowedGrowth() {
  return memoryUse().allocated ? 4 * 1024 : 2 * 1024 * 1024;
}

// glibc keeps a 32-byte exit-function slot for each static destructor a load registers and does not
// reuse the slots an unload frees (a library of one static object grows it by 70 bytes a cycle). The
// extension registers about a dozen; what it leaks itself the leak checker finds once it is unloaded.
constexpr uint64_t kLoaderBytesPerCycle = 512;

int cycles(int full, int quick) {
  const char* set = std::getenv("NIMBO_CHURN_FULL");
  return set && std::string(set) == "1" ? full : quick;
}

// Every subsystem at work: the TEXT and its regexes, a listing, the window, an arrangement with a
// number string, motions with their groups and listings, the date-time and the object listing.
Scene everySubsystem(const std::filesystem::path& folder) {
  std::string path = folder.generic_string();
  return parseScene(R"json({"frame":{"frames":2},
    "objects":[{"name":"Ball","instances":[{"x":10},{"x":50},{"x":90}]},{"name":"Moon","instances":[{}]}],
    "nimbo":[{"popup":1,"text":"abc 123"},{"popup":0}],
    "events":[{"conditions":[{"host":"start of frame"}],"actions":[
      {"action":0,"params":["The quick brown fox 2024-05-17"]},
      {"action":4,"params":[")json" +
                    path + R"json("]},
      {"action":5,"params":["caption"]},
      {"action":51,"params":[1]},
      {"action":11,"params":[{"object":"Ball"},10,10,4]},
      {"action":46,"params":[{"object":"Ball"},"100,100,40,40,0,90"]},
      {"action":24,"params":["Wave",{"object":"Ball"},3,20,7]},
      {"action":28,"params":["Orbit",{"object":"Moon"},"40,40,7,0,0,0"]},
      {"action":45,"params":["Orbit","90,40,2,10,-1, 90,40,1,10,-1"]},
      {"action":9,"params":[]},
      {"nimbo":1,"action":4,"params":[")json" +
                    path + R"json("]},
      {"host":"log","name":"names","value":{"expression":4,"params":[0]}},
      {"host":"log","name":"replaced","value":{"expression":1,"params":["(\\d+)-(\\d+)","$2-$1"]}},
      {"host":"log","name":"date","value":{"expression":11}},
      {"host":"log","name":"registry","value":{"expression":14}}]},
     {"conditions":[{"nimbo":0,"condition":5,"params":[{"expression":0},"The (\\w+) (.*)"]}],
      "actions":[{"host":"log","name":"match","value":{"expression":8,"params":[1]}}]}]})json");
}

std::filesystem::path listedFolder() {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "nimbo-churn";
  std::filesystem::create_directories(folder / "sub");
  std::ofstream(folder / "a.txt") << "a";
  return folder;
}

TEST(Churn, InstancesOfEverySubsystemCreatedSteppedAndDestroyedLeaveNothingBehind) {
  if (heapCountIncludesThreadCache()) GTEST_SKIP() << "run with GLIBC_TUNABLES=glibc.malloc.tcache_count=0";
  Extension extension(NIMBO_EXTENSION_PATH);
  const Scene scene = everySubsystem(listedFolder());
  const int total = cycles(10000, 500), warm = total / 10;
  uint64_t atWarm = 0;
  for (int cycle = 1; cycle <= total; ++cycle) {
    {
      Runtime runtime(extension, scene);
      runtime.step();
      runtime.step();
    }
    if (cycle == warm) atWarm = memoryHeld();
  }
  uint64_t atEnd = memoryHeld();
  EXPECT_LE(atEnd, atWarm + allowedGrowth())
      << "grew from " << atWarm << " at cycle " << warm << " to " << atEnd << " at cycle " << total;
}

bool stillLoaded(const std::filesystem::path& library) {
#ifdef _WIN32
  return GetModuleHandleW(std::filesystem::absolute(library).c_str()) != nullptr;
#else
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
#endif
}

// Each load builds the name cache anew and each unload releases it; a listing fills it in between.
TEST(Churn, TheLibraryLoadedAndUnloadedLeavesNothingBehind) {
  const Scene scene = everySubsystem(listedFolder());
  const int total = cycles(1000, 200), warm = total / 10;
  uint64_t atWarm = 0;
  for (int cycle = 1; cycle <= total; ++cycle) {
    {
      Extension extension(NIMBO_EXTENSION_PATH);
      Runtime(extension, scene).step();
    }
    ASSERT_FALSE(stillLoaded(NIMBO_EXTENSION_PATH)) << "the library stayed loaded at cycle " << cycle;
    if (cycle == warm) atWarm = memoryHeld();
  }
  EXPECT_NE(unreachableBlocks(), std::optional<bool>(true));
  // Under a user-mode emulator the resident size holds the emulator's cache of translated code, which
  // grows with every load of the library's code: there the unload alone is checked.
  if (std::getenv("NIMBO_EMULATED_CPU")) return;
  uint64_t atEnd = memoryHeld();
  EXPECT_LE(atEnd, atWarm + allowedGrowth() + kLoaderBytesPerCycle * (total - warm))
      << "grew from " << atWarm << " at cycle " << warm << " to " << atEnd << " at cycle " << total;
}

}  // namespace
}  // namespace vohost
