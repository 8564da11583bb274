// The replay page: one self-contained HTML file that plays a run back on a canvas, with the TEXT, the
// logged values, the message boxes, the event lines run and the desktop beside it. docs/replay.md
// describes the page and its embedded data.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "vohost/replay/motion_listing.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"

namespace vohost {

class ReplayPage {
 public:
  // The objects' sizes and hot spots come from the scene once; `title` names the run on the page;
  // `created` is the frame before the first step (frame -1, every scene object in scene order). The
  // controller listings of the records name objects by `objectAddresses` (scene order).
  ReplayPage(const Scene& scene, std::string title, const StepRecord& created,
             const std::vector<uintptr_t>& objectAddresses = {});

  // Takes the steps in order, each with every scene object in scene order, as the runtime gives them. A
  // step without listings leaves the controlled objects' states as the last listings left them.
  void add(const StepRecord& record);

  // The page with the run's data embedded; nothing on it refers to another file or to the network.
  void write(std::ostream& out) const;

  // The run's data alone (docs/replay.md, "The embedded data"), as the studio page takes it.
  std::string dataJson() const;

 private:
  // One number per step, written as the first value and then runs of equal differences; a number that
  // never changes is its first value alone.
  class Track {
   public:
    // A run going on is the common case (twelve numbers per object per step): it stays inline. A run
    // of a difference other than 0 means the track already varies; a run only follows a first value.
    [[gnu::always_inline]] void push(int32_t value) {
      if (run_ > 0 && value - last_ == difference_) {
        ++run_;
        last_ = value;
      } else {
        pushChange(value);
      }
    }
    bool varies() const { return varies_; }
    std::string encoded() const;

   private:
    void pushChange(int32_t value);
    void flushRun(bool last);

    std::string text_;
    size_t firstLength_ = 0;
    bool started_ = false, varies_ = false;
    int64_t first_ = 0, last_ = 0, difference_ = 0;
    int64_t run_ = 0;  // steps of the pending run of `difference_`
  };

  // x, y, direction, animation frame, alpha, ink effect, destroyed, alterable values A to E
  static constexpr size_t kTracks = 12;

  std::string objectsJson() const;

  struct PageType {
    std::string name;
    bool active = false;
  };

  struct PageObject {
    int type = 0, instance = 0;
    int32_t width = 0, height = 0, hotSpotX = 0, hotSpotY = 0;
    std::array<Track, kTracks> tracks;
  };

  // A value that changes now and then: kept only at the steps where it differs from before.
  template <class Value>
  struct Changes {
    std::vector<std::pair<int, Value>> entries;
    void note(int frame, const Value& value) {
      if (entries.empty() || entries.back().second != value) entries.emplace_back(frame, value);
    }
  };

  // One controlled object of one NIMBO instance, from its first listing on.
  struct Controlled {
    int nimbo = 0, object = 0;
    Changes<std::optional<ListedEntry>> states;
  };

  void note(const StepRecord& record);
  void noteListings(const StepRecord& record);

  std::string title_;
  FrameSettings frame_;
  std::vector<PageType> types_;
  std::vector<PageObject> objects_;
  std::vector<std::string> events_;  // each event line in words
  int steps_ = 0;
  std::vector<Changes<std::string>> texts_;  // per NIMBO instance
  Changes<DeskState> desk_;
  Changes<std::vector<int>> linesRun_;
  std::vector<std::pair<int, LogEntry>> log_;
  std::vector<std::pair<int, ShownMessageBox>> messageBoxes_;
  ListingReader listingReader_;
  std::vector<Controlled> controlled_;
  std::map<std::pair<int, int>, size_t> controlledIndex_;  // (NIMBO instance, object) -> controlled_
};

}  // namespace vohost
