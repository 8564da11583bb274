// The listing's lines are " : "-separated items after the object's address; header lines name the motion
// groups by identifier. Orbit centres are not listed: they are worked back from the angle, the radii and
// the position the orbit step wrote, undoing its truncation toward zero.
#include "vohost/replay/motion_listing.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <map>
#include <numbers>

namespace vohost {

namespace {

constexpr std::string_view kGroupLine = "MotionGroupIdentifier ";
constexpr std::string_view kGroupName = "  :  Name  = ";
constexpr std::string_view kSeparator = " : ";
constexpr std::string_view kRule = "-+++-+++-+++-+++-+++-+++-+++-+++-+++-\n";
constexpr double kStraightAbove = 180;  // the internal angle of the designer's 0 degrees

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<int32_t> integer(std::string_view text) {
  int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A pointer as a text stream writes it: hexadecimal digits, with "0x" on most systems.
std::optional<uintptr_t> address(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  uintptr_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "TLRB={top,left,right,bottom}"
std::optional<std::array<int32_t, 4>> walls(std::string_view text) {
  if (!text.starts_with('{') || !text.ends_with('}')) return std::nullopt;
  text = text.substr(1, text.size() - 2);
  std::array<int32_t, 4> values{};
  for (size_t i = 0; i < values.size(); ++i) {
    size_t comma = i + 1 < values.size() ? text.find(',') : text.size();
    std::optional<int32_t> value = integer(text.substr(0, comma));
    if (!value || comma == std::string_view::npos) return std::nullopt;
    values[i] = *value;
    text.remove_prefix(std::min(text.size(), comma + 1));
  }
  return values;
}

// One header line: "MotionGroupIdentifier ID  :  Name  = NAME ( COUNT )".
void readGroup(std::string_view line, std::map<int32_t, std::string>& names) {
  line.remove_prefix(kGroupLine.size());
  size_t nameAt = line.find(kGroupName), countAt = line.rfind(" ( ");
  if (nameAt == std::string_view::npos || countAt == std::string_view::npos) return;
  std::optional<int32_t> identifier = integer(line.substr(0, nameAt));
  size_t nameStart = nameAt + kGroupName.size();
  if (identifier && countAt >= nameStart) names[*identifier] = line.substr(nameStart, countAt - nameStart);
}

// The group lines stand between the first two rules; a name with a line break runs on to the next line.
std::map<int32_t, std::string> groupNames(std::string_view listing) {
  std::map<int32_t, std::string> names;
  size_t start = listing.find(kRule);
  size_t end = start == std::string_view::npos ? start : listing.find(kRule, start + kRule.size());
  if (end == std::string_view::npos) return names;
  std::string_view block = listing.substr(start + kRule.size(), end - start - kRule.size());
  const std::string boundary = "\n" + std::string(kGroupLine);
  while (block.starts_with(kGroupLine)) {
    size_t next = block.find(boundary);
    readGroup(block.substr(0, next == std::string_view::npos ? block.size() - 1 : next), names);
    block.remove_prefix(next == std::string_view::npos ? block.size() : next + 1);
  }
  return names;
}

// The integer a coordinate was computed from: `shown` is that integer plus `added`, truncated toward
// zero. Where the sum lies within a rounding of a whole number the estimate can miss by one, so the
// neighbours are tried the way the orbit step computes; at 0 the truncation hides the sign and the nearer
// integer is taken.
int32_t beforeTruncation(int32_t shown, double added) {
  double estimate = std::round(shown - added);
  if (!(estimate > INT32_MIN && estimate < INT32_MAX)) return estimate > 0 ? INT32_MAX : INT32_MIN;
  for (double base : {estimate, estimate - 1, estimate + 1}) {
    if (std::trunc(base + added) == shown) return static_cast<int32_t>(base);
  }
  return static_cast<int32_t>(estimate);
}

// The items of one entry line, as they come.
struct EntryItems {
  std::optional<int32_t> groupId, kind, angle, radius, radiusX, radiusY, x, y, rejectDelay;
  std::optional<std::array<int32_t, 4>> walls;
  bool stopped = false;
};

void readItem(std::string_view item, EntryItems& items) {
  item = trimmed(item);
  if (item == "STOP") {
    items.stopped = true;
    return;
  }
  if (item.starts_with("TLRB=")) {
    items.walls = walls(item.substr(5));
    return;
  }
  size_t space = item.find(' ');
  if (space == std::string_view::npos) return;
  std::string_view key = item.substr(0, space);
  std::optional<int32_t> value = integer(item.substr(space + 1));
  const std::pair<std::string_view, std::optional<int32_t> EntryItems::*> keys[] = {
      {"GID", &EntryItems::groupId}, {"MTyp", &EntryItems::kind},    {"AG", &EntryItems::angle},
      {"RAD", &EntryItems::radius},  {"RADx", &EntryItems::radiusX}, {"RADy", &EntryItems::radiusY},
      {"X", &EntryItems::x},         {"Y", &EntryItems::y},          {"TD", &EntryItems::rejectDelay}};
  for (const auto& [name, field] : keys) {
    if (key == name) items.*field = value;
  }
}

ListedOrbit orbitOf(const EntryItems& items) {
  ListedOrbit orbit;
  orbit.radiusX = items.radiusX.value_or(items.radius.value_or(0));
  orbit.radiusY = items.radiusY.value_or(items.radius.value_or(0));
  if (items.angle && items.x && items.y) {
    double turned = (*items.angle + kStraightAbove) * std::numbers::pi / 180.0;
    orbit.centre = {{beforeTruncation(*items.x, -std::sin(turned) * orbit.radiusX),
                     beforeTruncation(*items.y, std::cos(turned) * orbit.radiusY)}};
  }
  return orbit;
}

}  // namespace

ListingReader::ListingReader(const std::vector<uintptr_t>& objectAddresses) {
  for (size_t i = 0; i < objectAddresses.size(); ++i)
    objects_.emplace(objectAddresses[i], static_cast<int>(i));
}

std::vector<ListedEntry> ListingReader::read(std::string_view listing) const {
  std::vector<ListedEntry> entries;
  const std::map<int32_t, std::string> names = groupNames(listing);
  for (size_t start = 0; start < listing.size();) {
    size_t end = std::min(listing.find('\n', start), listing.size());
    std::string_view line = listing.substr(start, end - start);
    start = end + 1;
    size_t first = line.find(kSeparator);
    std::optional<uintptr_t> object = address(line.substr(0, first));
    auto found = object ? objects_.find(*object) : objects_.end();
    if (first == std::string_view::npos || found == objects_.end()) continue;
    EntryItems items;
    for (size_t at = first; at != std::string_view::npos;) {
      size_t next = line.find(kSeparator, at + kSeparator.size());
      readItem(line.substr(at + kSeparator.size(), next - at - kSeparator.size()), items);
      at = next;
    }
    if (!items.groupId || !items.kind) continue;
    auto name = names.find(*items.groupId);
    ListedEntry entry{found->second,     name == names.end() ? "" : name->second,
                      *items.kind,       !items.stopped,
                      items.rejectDelay, items.walls,
                      std::nullopt};
    if (*items.kind == kOrbitMotion) entry.orbit = orbitOf(items);
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace vohost
