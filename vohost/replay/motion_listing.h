// Reading a NIMBO instance's listing of its controlled objects (expression "INFO_CtrlledList$(") into
// what the replay page draws: each entry's motion group, kind, walls and orbit. The listing names an
// object by its record's address; the host knows its own objects by the same addresses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vohost {

// Motion kinds as the listing numbers them.
enum MotionKind : int32_t {
  kNullMotion = 0,
  kHorizontalMotion = 1,
  kVerticalMotion = 2,
  kHorizontalWave = 3,
  kVerticalWave = 4,
  kOrbitMotion = 5,
  kMoveToward = 7,
};

struct ListedOrbit {
  // The centre the object turns around, worked out from the listed angle, radii and position; absent
  // when the listing gives no position (the object is gone).
  std::optional<std::array<int32_t, 2>> centre;
  int32_t radiusX = 0, radiusY = 0;
  bool operator==(const ListedOrbit&) const = default;
};

struct ListedEntry {
  int object = -1;  // the scene object, in trace order
  std::string group;
  int32_t kind = kNullMotion;
  bool moving = true;
  std::optional<int32_t> rejectDelay;           // frames left when a delayed reject is armed
  std::optional<std::array<int32_t, 4>> walls;  // top, left, right, bottom, in frame pixels
  std::optional<ListedOrbit> orbit;
  bool operator==(const ListedEntry&) const = default;
};

class ListingReader {
 public:
  // `objectAddresses`: each scene object's record address, in trace order.
  explicit ListingReader(const std::vector<uintptr_t>& objectAddresses);

  // Every entry line that names one of the scene objects, in listing order. Lines that do not read as
  // the listing writes them are passed over; an entry whose group identifier no header line names has
  // the empty group name.
  std::vector<ListedEntry> read(std::string_view listing) const;

 private:
  std::unordered_map<uintptr_t, int> objects_;
};

}  // namespace vohost
