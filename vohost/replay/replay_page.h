// The replay page: one self-contained HTML file that plays a run back on a canvas, with the TEXT, the
// logged values, the message boxes and the desktop beside it. docs/replay.md describes the page and its
// embedded data.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"

namespace vohost {

class ReplayPage {
 public:
  // The objects' sizes and hot spots come from the scene once; `title` names the run on the page.
  ReplayPage(const Scene& scene, std::string title);

  // Takes the steps in order, each with every scene object in scene order, as the runtime gives them.
  void add(const StepRecord& record);

  // The page with the run's data embedded; nothing on it refers to another file or to the network.
  void write(std::ostream& out) const;

 private:
  // One number per step, written as the first value and then runs of equal differences.
  class Track {
   public:
    void push(int32_t value);
    std::string encoded() const;

   private:
    void flushRun();

    std::string text_;
    bool started_ = false;
    int64_t last_ = 0, difference_ = 0;
    int64_t run_ = 0;  // steps of the pending run of `difference_`
  };

  struct PageType {
    std::string name;
    bool active = false;
  };

  struct PageObject {
    int type = 0, instance = 0;
    int32_t width = 0, height = 0, hotSpotX = 0, hotSpotY = 0;
    // x, y, direction, animation frame, alpha, ink effect, destroyed
    std::array<Track, 7> tracks;
  };

  // A value that changes now and then: kept only at the steps where it differs from before.
  template <class Value>
  struct Changes {
    std::vector<std::pair<int, Value>> entries;
    void note(int frame, const Value& value) {
      if (entries.empty() || entries.back().second != value) entries.emplace_back(frame, value);
    }
  };

  std::string dataJson() const;

  std::string title_;
  FrameSettings frame_;
  std::vector<PageType> types_;
  std::vector<PageObject> objects_;
  int steps_ = 0;
  std::vector<Changes<std::string>> texts_;  // per NIMBO instance
  Changes<DeskState> desk_;
  std::vector<std::pair<int, LogEntry>> log_;
  std::vector<std::pair<int, ShownMessageBox>> messageBoxes_;
};

}  // namespace vohost
