// Seeds for the stateful fuzzer: each scene given is written as its calls into OUT/NAME.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "fuzz/call_sequence.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: calls_from_scene OUT SCENE...\n";
    return 3;
  }
  std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  for (int i = 2; i < argc; ++i) {
    std::vector<uint8_t> calls = nimbo::fuzz::encodeScene(vohost::readScene(argv[i]));
    std::ofstream(out / std::filesystem::path(argv[i]).stem(), std::ios::binary)
        .write(reinterpret_cast<const char*>(calls.data()), static_cast<std::streamsize>(calls.size()));
  }
  return 0;
}
