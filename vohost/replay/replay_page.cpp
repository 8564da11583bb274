// The replay page's data: the run as compact JSON, which the page template (replay_page_file.cpp) and the
// studio's module carry. Per-step object numbers are
// tracks of runs of equal differences, so a still or steadily moving object costs a few characters for
// the whole run.
#include "vohost/replay/replay_page.h"

#include <nlohmann/json.hpp>

#include "vohost/error.h"

namespace vohost {

namespace {

using nlohmann::ordered_json;

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr uint64_t kDigitBits = 5;  // the sixth bit of a digit says another digit follows
constexpr uint64_t kDigitMask = (1u << kDigitBits) - 1;

void putNumber(std::string& text, uint64_t number) {
  do {
    uint64_t digit = number & kDigitMask;
    number >>= kDigitBits;
    text += kDigits[digit | (number ? 1u << kDigitBits : 0)];
  } while (number);
}

uint64_t zigzag(int64_t value) {
  return value >= 0 ? static_cast<uint64_t>(value) * 2 : static_cast<uint64_t>(-(value + 1)) * 2 + 1;
}

ordered_json valueJson(const TraceValue& value) {
  return std::visit([](const auto& v) { return ordered_json(v); }, value);
}

ordered_json deskJson(int frame, const DeskState& desk) {
  return ordered_json::array({frame, desk.x, desk.y, desk.width, desk.height, desk.caption, desk.show,
                              desk.taskBarVisible ? 1 : 0, desk.clipboardText ? 1 : 0});
}

// [group, kind, moving, rejectDelay, walls, orbit], or 0 while the object is not listed.
ordered_json controlledJson(const std::optional<ListedEntry>& entry) {
  if (!entry) return 0;
  ordered_json orbit = nullptr;
  if (entry->orbit) {
    const ListedOrbit& o = *entry->orbit;
    orbit = o.centre ? ordered_json::array({(*o.centre)[0], (*o.centre)[1], o.radiusX, o.radiusY})
                     : ordered_json::array({nullptr, nullptr, o.radiusX, o.radiusY});
  }
  return ordered_json::array({entry->group, entry->kind, entry->moving ? 1 : 0,
                              entry->rejectDelay ? ordered_json(*entry->rejectDelay) : ordered_json(nullptr),
                              entry->walls ? ordered_json(*entry->walls) : ordered_json(nullptr), orbit});
}

std::string conditionText(const Condition& condition, bool severalNimbos) {
  if (const auto* host = std::get_if<HostCondition>(&condition)) {
    if (host->kind == HostConditionKind::frame) return "frame " + std::to_string(host->frame);
    return hostConditionName(host->kind);
  }
  const auto& extension = std::get<ExtensionCondition>(condition);
  std::string nimbo = severalNimbos ? "NIMBO " + std::to_string(extension.nimbo) + " " : "";
  return nimbo + "condition " + std::to_string(extension.code);
}

std::string actionText(const Action& action, bool severalNimbos) {
  if (const auto* host = std::get_if<HostAction>(&action)) {
    if (host->kind == HostActionKind::log) return "log " + ordered_json(host->name).dump();
    return hostActionName(host->kind);
  }
  const auto& extension = std::get<ExtensionAction>(action);
  std::string nimbo = severalNimbos ? "NIMBO " + std::to_string(extension.nimbo) + " " : "";
  return nimbo + "action " + std::to_string(extension.code);
}

// "frame 1, condition 5: action 0, log "TEXT"": what a designer recognises the line by.
std::string lineText(const EventLine& line, bool severalNimbos) {
  std::string text;
  for (const Condition& condition : line.conditions)
    text += (text.empty() ? "" : ", ") + conditionText(condition, severalNimbos);
  text = (text.empty() ? "always" : text) + ":";
  for (size_t i = 0; i < line.actions.size(); ++i)
    text += (i ? ", " : " ") + actionText(line.actions[i], severalNimbos);
  return text;
}

}  // namespace

void ReplayPage::Track::pushChange(int32_t value) {
  if (!started_) {
    putNumber(text_, zigzag(value));
    firstLength_ = text_.size();
    started_ = true;
    first_ = value;
  } else {
    flushRun(false);
    difference_ = value - last_;
    run_ = 1;
  }
  varies_ = varies_ || value != first_;
  last_ = value;
}

// A run is its difference with a flag for "repeated", then, when flagged, the repeat count less one; a
// count of 0 takes the run to the end of the track, where most tracks settle into a long one.
void ReplayPage::Track::flushRun(bool last) {
  if (run_ == 0) return;
  putNumber(text_, zigzag(difference_) * 2 + (run_ > 1 ? 1 : 0));
  if (run_ > 1) putNumber(text_, last ? 0 : static_cast<uint64_t>(run_ - 1));
  run_ = 0;
}

std::string ReplayPage::Track::encoded() const {
  if (!varies_) return text_.substr(0, firstLength_);
  Track finished = *this;
  finished.flushRun(true);
  return finished.text_;
}

ReplayPage::ReplayPage(const Scene& scene, std::string title, const StepRecord& created,
                       const std::vector<uintptr_t>& objectAddresses)
    : title_(std::move(title)),
      frame_(scene.frame),
      texts_(scene.nimbo.size()),
      listingReader_(objectAddresses) {
  for (size_t t = 0; t < scene.objects.size(); ++t) {
    const ObjectType& type = scene.objects[t];
    types_.push_back({type.name, type.kind == VO_KIND_ACTIVE});
    for (size_t i = 0; i < type.instances.size(); ++i) {
      const InstanceSettings& settings = type.instances[i];
      PageObject object;
      object.type = static_cast<int>(t);
      object.instance = static_cast<int>(i);
      object.width = settings.width;
      object.height = settings.height;
      object.hotSpotX = settings.hotSpotX;
      object.hotSpotY = settings.hotSpotY;
      objects_.push_back(std::move(object));
    }
  }
  for (const EventLine& line : scene.events) events_.push_back(lineText(line, scene.nimbo.size() > 1));
  note(created);
}

void ReplayPage::add(const StepRecord& record) {
  note(record);
  for (const LogEntry& entry : record.log) log_.emplace_back(record.frame, entry);
  for (const ShownMessageBox& box : record.messageBoxes) messageBoxes_.emplace_back(record.frame, box);
  ++steps_;
}

void ReplayPage::note(const StepRecord& record) {
  if (record.objects.size() != objects_.size() || record.texts.size() != texts_.size()) {
    throw Error("replay page: step " + std::to_string(record.frame) + " does not have the scene's objects");
  }
  for (size_t i = 0; i < objects_.size(); ++i) {
    const ObjectState& state = record.objects[i];
    std::array<Track, kTracks>& tracks = objects_[i].tracks;
    tracks[0].push(state.x);
    tracks[1].push(state.y);
    tracks[2].push(state.direction);
    tracks[3].push(state.animationFrame);
    tracks[4].push(state.alpha);
    tracks[5].push(static_cast<int32_t>(state.inkEffect));
    tracks[6].push(state.destroyed ? 1 : 0);
    for (size_t v = 0; v < state.values.size(); ++v) tracks[7 + v].push(state.values[v]);
  }
  for (size_t i = 0; i < texts_.size(); ++i) texts_[i].note(record.frame, record.texts[i]);
  desk_.note(record.frame, record.desk);
  linesRun_.note(record.frame, record.linesRun);
  noteListings(record);
}

// Each controlled object keeps its own changes; one that leaves the listing is noted as gone. A step
// whose listings were not read (a record without them though the frame has NIMBO instances) changes none.
void ReplayPage::noteListings(const StepRecord& record) {
  if (record.listings.empty()) return;
  std::vector<bool> listed(controlled_.size());
  for (size_t n = 0; n < record.listings.size(); ++n) {
    for (ListedEntry& entry : listingReader_.read(record.listings[n])) {
      auto [at, added] =
          controlledIndex_.try_emplace({static_cast<int>(n), entry.object}, controlled_.size());
      if (added) {
        controlled_.push_back({static_cast<int>(n), entry.object, {}});
        listed.push_back(false);
      }
      listed[at->second] = true;
      controlled_[at->second].states.note(record.frame, std::move(entry));
    }
  }
  for (size_t i = 0; i < controlled_.size(); ++i) {
    if (!listed[i]) controlled_[i].states.note(record.frame, std::nullopt);
  }
}

// An object's tracks hold only the digits above, so the objects, most of the data, are written as they
// stand rather than through the JSON writer, which checks every character of every text.
std::string ReplayPage::objectsJson() const {
  std::string json = "[";
  for (const PageObject& object : objects_) {
    uint64_t varying = 0;
    for (size_t t = 0; t < kTracks; ++t) varying |= object.tracks[t].varies() ? uint64_t{1} << t : 0;
    if (json.size() > 1) json += ',';
    json += '[';
    for (int32_t number :
         {object.type, object.instance, object.width, object.height, object.hotSpotX, object.hotSpotY})
      json += std::to_string(number) + ',';
    json += '"';
    putNumber(json, varying);
    for (const Track& track : object.tracks) json += track.encoded();
    json += "\"]";
  }
  return json + "]";
}

std::string ReplayPage::dataJson() const {
  ordered_json head;
  head["title"] = title_;
  head["frame"] = {{"width", frame_.width}, {"height", frame_.height}, {"frameRate", frame_.frameRate}};
  head["steps"] = steps_;
  head["types"] = ordered_json::array();
  for (const PageType& type : types_)
    head["types"].push_back(ordered_json::array({type.name, type.active ? 1 : 0}));
  ordered_json j;
  j["texts"] = ordered_json::array();
  for (const Changes<std::string>& text : texts_) {
    ordered_json changes = ordered_json::array();
    for (const auto& [frame, value] : text.entries) changes.push_back(ordered_json::array({frame, value}));
    j["texts"].push_back(changes);
  }
  j["desk"] = ordered_json::array();
  for (const auto& [frame, desk] : desk_.entries) j["desk"].push_back(deskJson(frame, desk));
  j["log"] = ordered_json::array();
  for (const auto& [frame, entry] : log_)
    j["log"].push_back(ordered_json::array({frame, entry.name, valueJson(entry.value)}));
  j["messageBoxes"] = ordered_json::array();
  for (const auto& [frame, box] : messageBoxes_)
    j["messageBoxes"].push_back(ordered_json::array({frame, box.caption, box.text}));
  j["events"] = events_;
  j["linesRun"] = ordered_json::array();
  for (const auto& [frame, lines] : linesRun_.entries)
    j["linesRun"].push_back(ordered_json::array({frame, lines}));
  j["motion"] = ordered_json::array();
  for (const Controlled& controlled : controlled_) {
    ordered_json changes = ordered_json::array();
    for (const auto& [frame, entry] : controlled.states.entries)
      changes.push_back(ordered_json::array({frame, controlledJson(entry)}));
    j["motion"].push_back(ordered_json::array({controlled.nimbo, controlled.object, changes}));
  }
  // {head} and {rest} joined as {head,"objects":[...],rest}
  std::string first = head.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string rest = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  first.pop_back();
  return first + R"(,"objects":)" + objectsJson() + "," + rest.substr(1);
}

}  // namespace vohost
