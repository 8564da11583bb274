// Set PATH through the jump table against a plain directory_iterator loop that collects the same
// names into two vectors, on one directory of 10 000 files and 1 000 sub-directories made once for
// the run. The target ratio is at most 1.5.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_frame.h"
#include "frame/routines.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10000, kDirectories = 1000;

// The directory lives as long as the program, and is removed at exit.
struct ListedDirectory {
  fs::path path = fs::temp_directory_path() / "nimbo_bench_set_path";
  ListedDirectory() {
    fs::remove_all(path);
    fs::create_directories(path);
    for (int i = 0; i < kFiles; ++i) std::ofstream(path / ("file_" + std::to_string(i) + ".txt"));
    for (int i = 0; i < kDirectories; ++i) fs::create_directory(path / ("dir_" + std::to_string(i)));
  }
  ~ListedDirectory() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const fs::path& listedDirectory() {
  static ListedDirectory directory;
  return directory.path;
}

nimbo::Text textOf(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return path.u16string();
#endif
}

void BM_SetPathThroughJumpTable(benchmark::State& state) {
  nimbo::Text path = textOf(listedDirectory());
  bench::BenchFrame frame;
  for (auto _ : state) {
    nimbo::frame::actionRoutines[4](frame.rd, reinterpret_cast<voValue>(path.c_str()), 0);
    benchmark::DoNotOptimize(frame.record()->fileCount);
  }
  if (frame.record()->fileCount != kFiles || frame.record()->dirCount != kDirectories) {
    state.SkipWithError("the listing lost names");
  }
}
BENCHMARK(BM_SetPathThroughJumpTable)->Unit(benchmark::kMillisecond);

void BM_SetPathDirectoryIterator(benchmark::State& state) {
  const fs::path& path = listedDirectory();
  for (auto _ : state) {
    std::vector<std::u16string> files, directories;
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
      if (entry.is_directory()) {
        directories.push_back(entry.path().filename().u16string());
      } else if (entry.is_regular_file()) {
        files.push_back(entry.path().filename().u16string());
      }
    }
    benchmark::DoNotOptimize(files.data());
    benchmark::DoNotOptimize(directories.data());
  }
}
BENCHMARK(BM_SetPathDirectoryIterator)->Unit(benchmark::kMillisecond);

}  // namespace
