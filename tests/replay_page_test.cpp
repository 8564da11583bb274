// The replay page's writer: what the page embeds is what the trace says, the number tracks keep every
// value exactly, and the page refers to nothing outside itself.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/replay_sample.h"
#include "vohost/error.h"
#include "vohost/replay/replay_page.h"
#include "vohost/simhost/runtime.h"

namespace vohost {
namespace {

using nlohmann::json;

constexpr const char* kDataOpen = R"(<script id="replay-data" type="application/json">)";
constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string pageText(const ReplayPage& page) {
  std::ostringstream out;
  page.write(out);
  return out.str();
}

json embeddedData(const std::string& page) {
  size_t start = page.find(kDataOpen);
  EXPECT_NE(start, std::string::npos);
  start += std::string_view(kDataOpen).size();
  return json::parse(page.substr(start, page.find("</script>", start) - start));
}

// The page's own decoder is in JavaScript; this one reads the same format independently.
std::vector<std::vector<int64_t>> decodeTracks(const std::string& text, int steps) {
  size_t at = 0;
  auto number = [&] {
    uint64_t value = 0;
    for (int shift = 0;; shift += 5) {
      size_t digit = kDigits.find(text.at(at++));
      EXPECT_NE(digit, std::string_view::npos);
      value |= static_cast<uint64_t>(digit & 31) << shift;
      if (!(digit & 32)) return value;
    }
  };
  auto unzigzag = [](uint64_t z) {
    return z & 1 ? -static_cast<int64_t>(z >> 1) - 1 : static_cast<int64_t>(z >> 1);
  };
  std::vector<std::vector<int64_t>> tracks(7);
  for (auto& track : tracks) {
    if (steps == 0) break;
    track.push_back(unzigzag(number()));
    while (static_cast<int>(track.size()) < steps) {
      uint64_t token = number();
      uint64_t run = token & 1 ? number() + 2 : 1;
      for (uint64_t r = 0; r < run; ++r) track.push_back(track.back() + unzigzag(token >> 1));
    }
    EXPECT_EQ(static_cast<int>(track.size()), steps);
  }
  EXPECT_EQ(at, text.size()) << "characters left after the seven tracks";
  return tracks;
}

// The change at or before `step` of a list of [step, ...] entries.
json changeAt(const json& changes, int step) {
  json found;
  for (const json& change : changes) {
    if (change[0].get<int>() <= step) found = change;
  }
  return found;
}

constexpr const char* kTinyScene = R"({
  "frame": {"width": 320, "height": 200, "frames": 4},
  "objects": [
    {"name": "Ball", "instances": [
      {"x": 10, "y": 20, "width": 24, "height": 16, "hotSpotX": 12, "hotSpotY": 8, "direction": 8,
       "inkEffect": 13, "alpha": 100, "animationFrames": 3},
      {"x": -5, "y": 300}]},
    {"name": "Label", "kind": "text", "instances": [{"x": 1, "y": 2}]}],
  "nimbo": [{"popup": 1, "text": "first"}],
  "events": [
    {"conditions": [{"host": "frame", "frame": 1}],
     "actions": [{"nimbo": 0, "action": 0, "params": ["second </script><script src=x.js>"]},
                 {"host": "log", "name": "TEXT", "value": {"expression": 0}},
                 {"host": "log", "name": "count", "value": 7},
                 {"host": "destroy object", "object": {"object": "Ball", "instances": [1]}}]},
    {"conditions": [{"host": "frame", "frame": 2}],
     "actions": [{"nimbo": 0, "action": 5, "params": ["A caption"]},
                 {"nimbo": 0, "action": 4, "params": ["/nonexistent/replay/"]}]}]
})";

TEST(ReplayPage, EmbedsWhatTheTraceSaysOfATinyRun) {
  Extension extension(NIMBO_EXTENSION_PATH);
  Scene scene = parseScene(kTinyScene);
  ReplayPage page(scene, "tiny.json");
  std::vector<json> trace;
  std::vector<std::string> texts;
  {
    Runtime runtime(extension, scene);
    for (int step = 0; step < scene.frame.frames; ++step) {
      StepRecord record = runtime.step();
      page.add(record);
      trace.push_back(json::parse(traceLine(record)));
      texts.push_back(record.texts.at(0));
    }
  }
  json data = embeddedData(pageText(page));
  EXPECT_EQ(data["title"], "tiny.json");
  EXPECT_EQ(data["frame"], json::parse(R"({"width": 320, "height": 200, "frameRate": 60})"));
  ASSERT_EQ(data["steps"], 4);
  ASSERT_EQ(data["objects"].size(), 3u);

  const char* fields[] = {"x", "y", "direction", "animationFrame", "alpha", "inkEffect", "destroyed"};
  for (size_t i = 0; i < 3; ++i) {
    const json& object = data["objects"][i];
    const json& first = trace[0]["objects"][i];
    EXPECT_EQ(data["types"][object[0].get<int>()][0], first["type"]);
    EXPECT_EQ(object[1], first["instance"]);
    auto tracks = decodeTracks(object[6], 4);
    for (int step = 0; step < 4; ++step) {
      const json& traced = trace[step]["objects"][i];
      for (int f = 0; f < 7; ++f) {
        if (!traced.contains(fields[f])) continue;  // not an active object
        json want =
            traced[fields[f]].is_boolean() ? json(traced[fields[f]].get<bool>() ? 1 : 0) : traced[fields[f]];
        EXPECT_EQ(json(tracks[f][step]), want) << "object " << i << " step " << step << " " << fields[f];
      }
    }
  }
  EXPECT_EQ(json::array(
                {data["objects"][0][2], data["objects"][0][3], data["objects"][0][4], data["objects"][0][5]}),
            json::array({24, 16, 12, 8}));
  EXPECT_EQ(data["types"], json::parse(R"([["Ball", 1], ["Label", 0]])"));

  json loggedOnPage = json::array(), boxesOnPage = json::array();
  for (int step = 0; step < 4; ++step) {
    EXPECT_EQ(changeAt(data["texts"][0], step)[1], texts[step]);
    const json& desk = trace[step]["desk"];
    const json& window = desk["window"];
    EXPECT_EQ(changeAt(data["desk"], step),
              json::array({changeAt(data["desk"], step)[0], window["x"], window["y"], window["width"],
                           window["height"], window["caption"], window["show"],
                           desk["taskBar"]["visible"].get<bool>() ? 1 : 0,
                           desk["clipboard"]["text"].get<bool>() ? 1 : 0}));
    for (const json& entry : trace[step]["log"])
      loggedOnPage.push_back({step, entry["name"], entry["value"]});
    for (const json& box : desk["messageBoxes"]) boxesOnPage.push_back({step, box["caption"], box["text"]});
  }
  EXPECT_EQ(texts[1], "second </script><script src=x.js>");
  EXPECT_EQ(changeAt(data["desk"], 3)[5], "A caption");
  EXPECT_EQ(data["log"], loggedOnPage);
  EXPECT_FALSE(boxesOnPage.empty()) << "the scene's bad path should show a message box";
  EXPECT_EQ(data["messageBoxes"], boxesOnPage);
}

TEST(ReplayPage, TracksKeepMovingAndExtremeNumbersExactly) {
  constexpr int kSteps = 120;
  Scene scene = sample::sampleScene(12, true);
  ReplayPage page(scene, "sample");
  std::vector<StepRecord> records;
  for (int step = 0; step < kSteps; ++step) {
    records.push_back(sample::sampleStep(scene, step, kSteps));
    page.add(records.back());
  }
  json data = embeddedData(pageText(page));
  ASSERT_EQ(data["objects"].size(), records[0].objects.size());
  for (size_t i = 0; i < records[0].objects.size(); ++i) {
    auto tracks = decodeTracks(data["objects"][i][6], kSteps);
    for (int step = 0; step < kSteps; ++step) {
      const ObjectState& o = records[step].objects[i];
      std::vector<int64_t> want = {o.x,     o.y,         o.direction, o.animationFrame,
                                   o.alpha, o.inkEffect, o.destroyed};
      for (int f = 0; f < 7; ++f) ASSERT_EQ(tracks[f][step], want[f]) << "object " << i << " step " << step;
    }
  }
  // Changes only: the TEXT every 50 steps; the clipboard, caption, task bar and window state once each.
  EXPECT_EQ(data["texts"][0].size(), 3u);
  EXPECT_EQ(data["desk"].size(), 5u);
}

// Texts of the run are data: markup in them stays inside the data element as text.
TEST(ReplayPage, RefersToNothingOutsideItself) {
  Scene scene = sample::sampleScene(5, false);
  const std::string markup = "</script><script src=\"http://example.invalid/x.js\"></script><!--";
  ReplayPage page(scene, markup);
  StepRecord record = sample::sampleStep(scene, 60, 100);
  record.log.push_back({"markup", markup});
  page.add(record);
  std::string html = pageText(page);

  size_t dataStart = html.find(kDataOpen) + std::string_view(kDataOpen).size();
  size_t dataEnd = html.find("</script>", dataStart);
  std::string outsideData = html.substr(0, dataStart) + html.substr(dataEnd);
  for (const char* reference : {"http:", "https:", "src=", "url(", "@import", "<link rel=\"stylesheet"}) {
    EXPECT_EQ(outsideData.find(reference), std::string::npos) << reference;
  }
  EXPECT_EQ(outsideData.find("href="), outsideData.rfind("href=\"data:,\""));
  EXPECT_EQ(html.substr(dataStart, dataEnd - dataStart).find('<'), std::string::npos);
  json data = embeddedData(html);
  EXPECT_EQ(data["title"], markup);
  EXPECT_EQ(data["log"][2], json::array({60, "markup", markup}));
}

TEST(ReplayPage, ARunWithoutStepsOrWithOtherObjects) {
  Scene scene = sample::sampleScene(3, false);
  ReplayPage empty(scene, "empty");
  json data = embeddedData(pageText(empty));
  EXPECT_EQ(data["steps"], 0);
  EXPECT_EQ(data["objects"][0][6], "");

  ReplayPage page(scene, "other");
  StepRecord record = sample::sampleStep(scene, 0, 1);
  record.objects.pop_back();
  EXPECT_THROW(page.add(record), Error);
}

}  // namespace
}  // namespace vohost
