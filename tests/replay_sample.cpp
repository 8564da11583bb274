// Writes the replay page (and the trace) of the made-up run of replay_sample.h, for the browser test
// and for measuring the page's size and playback with thousands of moving objects.
//   replay_sample OBJECTS STEPS PAGE.html [TRACE.jsonl] [--extremes]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/replay_sample.h"
#include "vohost/replay/replay_page.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: replay_sample OBJECTS STEPS PAGE.html [TRACE.jsonl] [--extremes]\n";
    return 2;
  }
  int objects = std::stoi(argv[1]), steps = std::stoi(argv[2]);
  std::string pagePath = argv[3];
  std::string tracePath = argc > 4 && std::string(argv[4]) != "--extremes" ? argv[4] : "";
  bool extremes = std::string(argv[argc - 1]) == "--extremes";

  vohost::Scene scene = vohost::sample::sampleScene(objects, extremes);
  vohost::ReplayPage page(scene, "sample run of " + std::to_string(objects) + " objects",
                          vohost::sample::sampleCreated(scene));
  std::ofstream trace;
  if (!tracePath.empty()) trace.open(tracePath, std::ios::binary);
  for (int step = 0; step < steps; ++step) {
    vohost::StepRecord record = vohost::sample::sampleStep(scene, step, steps);
    page.add(record);
    if (trace.is_open()) trace << vohost::traceLine(record) << '\n';
  }
  std::ofstream out(pagePath, std::ios::binary);
  page.write(out);
  out.close();
  if (!out || (trace.is_open() && !trace)) {
    std::cerr << "replay_sample: writing failed\n";
    return 1;
  }
  std::cout << pagePath << ": " << std::filesystem::file_size(pagePath) << " bytes\n";
  return 0;
}
