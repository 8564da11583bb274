// The replay page's writer: what the page embeds is what the trace says (the frame as created first), the
// number tracks keep every value exactly, the event lines run and the controllers' walls, orbits and
// groups are those of the run, reading them changes nothing in the trace, and the page refers to nothing
// outside itself.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "tests/replay_sample.h"
#include "vohost/error.h"
#include "vohost/replay/replay_page.h"
#include "vohost/simhost/runtime.h"
#include "vohost/simhost/scene_run.h"

namespace vohost {
namespace {

using nlohmann::json;

constexpr const char* kDataOpen = R"(<script id="replay-data" type="application/json">)";
constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int kTracks = 12;
const char* kFields[] = {"x", "y", "direction", "animationFrame", "alpha", "inkEffect", "destroyed"};

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

// The page's own decoder is in JavaScript; this one reads the same format independently. Each track has
// the value as created, then one per step.
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
  const int values = steps + 1;
  uint64_t varying = number();
  std::vector<std::vector<int64_t>> tracks(kTracks);
  for (int t = 0; t < kTracks; ++t) {
    std::vector<int64_t>& track = tracks[t];
    track.push_back(unzigzag(number()));
    if (!(varying & (uint64_t{1} << t))) track.resize(values, track.front());
    while (static_cast<int>(track.size()) < values) {
      uint64_t token = number();
      uint64_t repeat = token & 1 ? number() : 0;
      uint64_t run = !(token & 1) ? 1 : repeat == 0 ? values - track.size() : repeat + 1;
      for (uint64_t r = 0; r < run; ++r) track.push_back(track.back() + unzigzag(token >> 1));
    }
    EXPECT_EQ(static_cast<int>(track.size()), values);
  }
  EXPECT_EQ(at, text.size()) << "characters left after the tracks";
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

// What the trace shows of an object, as the tracks hold it; nullopt where the trace shows nothing (the
// state of an object that is not active).
std::vector<std::optional<int64_t>> trackValues(const json& traced) {
  std::vector<std::optional<int64_t>> values;
  for (const char* field : kFields) {
    if (!traced.contains(field))
      values.emplace_back();
    else if (traced[field].is_boolean())
      values.emplace_back(traced[field].get<bool>() ? 1 : 0);
    else
      values.emplace_back(traced[field].get<int64_t>());
  }
  for (int v = 0; v < 5; ++v) {
    if (traced.contains("values"))
      values.emplace_back(traced["values"][v].get<int64_t>());
    else
      values.emplace_back();
  }
  return values;
}

constexpr const char* kTinyScene = R"({
  "frame": {"width": 320, "height": 200, "frames": 4},
  "objects": [
    {"name": "Ball", "instances": [
      {"x": 10, "y": 20, "width": 24, "height": 16, "hotSpotX": 12, "hotSpotY": 8, "direction": 8,
       "inkEffect": 13, "alpha": 100, "animationFrames": 3, "values": [7, -3, 0, 0, 2147483647]},
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
                 {"nimbo": 0, "action": 4, "params": ["/nonexistent/replay/"]}]},
    {"conditions": [{"nimbo": 0, "condition": 3}], "actions": []},
    {"conditions": [{"host": "frame", "frame": 2}, {"host": "start of frame"}],
     "actions": [{"host": "log", "name": "never", "value": 0}]}]
})";

TEST(ReplayPage, EmbedsWhatTheTraceSaysOfATinyRunAfterTheFrameAsCreated) {
  Extension extension(NIMBO_EXTENSION_PATH);
  Scene scene = parseScene(kTinyScene);
  std::vector<json> trace;
  std::vector<StepRecord> records;
  std::optional<ReplayPage> page;
  {
    Runtime runtime(extension, scene);
    records.push_back(runtime.created());
    page.emplace(scene, "tiny.json", records.front(), runtime.objectAddresses());
    for (int step = 0; step < scene.frame.frames; ++step) {
      records.push_back(runtime.step());
      page->add(records.back());
      trace.push_back(json::parse(traceLine(records.back())));
    }
  }
  json data = embeddedData(pageText(*page));
  EXPECT_EQ(data["title"], "tiny.json");
  EXPECT_EQ(data["frame"], json::parse(R"({"width": 320, "height": 200, "frameRate": 60})"));
  ASSERT_EQ(data["steps"], 4);
  ASSERT_EQ(data["objects"].size(), 3u);

  json created = json::parse(traceLine(records.front()));
  EXPECT_EQ(trackValues(created["objects"][0]),
            (std::vector<std::optional<int64_t>>{10, 20, 8, 0, 100, 13, 0, 7, -3, 0, 0, 2147483647}));
  for (size_t i = 0; i < 3; ++i) {
    const json& object = data["objects"][i];
    EXPECT_EQ(data["types"][object[0].get<int>()][0], trace[0]["objects"][i]["type"]);
    EXPECT_EQ(object[1], trace[0]["objects"][i]["instance"]);
    auto tracks = decodeTracks(object[6], 4);
    for (int step = -1; step < 4; ++step) {
      const json& traced = step < 0 ? created["objects"][i] : trace[step]["objects"][i];
      std::vector<std::optional<int64_t>> want = trackValues(traced);
      for (int t = 0; t < kTracks; ++t) {
        if (!want[t]) continue;
        EXPECT_EQ(tracks[t][step + 1], *want[t]) << "object " << i << " step " << step << " track " << t;
      }
    }
  }
  EXPECT_EQ(json::array(
                {data["objects"][0][2], data["objects"][0][3], data["objects"][0][4], data["objects"][0][5]}),
            json::array({24, 16, 12, 8}));
  EXPECT_EQ(data["types"], json::parse(R"([["Ball", 1], ["Label", 0]])"));

  json loggedOnPage = json::array(), boxesOnPage = json::array();
  EXPECT_EQ(changeAt(data["texts"][0], -1), json::array({-1, "first"}));
  for (int step = 0; step < 4; ++step) {
    EXPECT_EQ(changeAt(data["texts"][0], step)[1], records[step + 1].texts.at(0));
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
  EXPECT_EQ(records[2].texts.at(0), "second </script><script src=x.js>");
  EXPECT_EQ(changeAt(data["desk"], 3)[5], "A caption");
  EXPECT_EQ(data["log"], loggedOnPage);
  EXPECT_FALSE(boxesOnPage.empty()) << "the scene's bad path should show a message box";
  EXPECT_EQ(data["messageBoxes"], boxesOnPage);

  // Line 3 runs when the bad path raises its condition, inside the step that runs line 2; line 4's
  // second condition never holds.
  EXPECT_EQ(data["events"], json::parse(R"([
    "frame 1: action 0, log \"TEXT\", log \"count\", destroy object",
    "frame 2: action 5, action 4", "condition 3:", "frame 2, start of frame: log \"never\""])"));
  std::vector<json> runPerStep;
  for (int step = -1; step < 4; ++step) runPerStep.push_back(changeAt(data["linesRun"], step)[1]);
  EXPECT_EQ(runPerStep, (std::vector<json>{json::array(), json::array(), {0}, {1, 2}, json::array()}));
}

// A scene whose NIMBO instance controls objects of every drawn kind; its designer also reads the listings.
constexpr const char* kMotionScene = R"({
  "frame": {"width": 640, "height": 480, "frames": 16},
  "objects": [
    {"name": "Spinner", "instances": [{"x": 200, "y": 360}]},
    {"name": "Planet", "instances": [{"x": 420, "y": 300}]},
    {"name": "Moon", "instances": [{}, {}, {}, {}]},
    {"name": "Comet", "instances": [{"x": 100, "y": 300}]},
    {"name": "Runner", "instances": [{"x": 600, "y": 40}]},
    {"name": "Bouncer", "instances": [{"x": 620, "y": 80}]},
    {"name": "Eel", "instances": [{"x": 120, "y": 200}]},
    {"name": "Rock", "instances": [{"x": 300, "y": 100}]}],
  "nimbo": [{"popup": 1}],
  "events": [
    {"conditions": [{"host": "start of frame"}],
     "actions": [
       {"action": 21, "params": [{"object": "Spinner"}, 40, 5]},
       {"action": 22, "params": [{"object": "Moon"}, {"object": "Planet"}, 60, 3]},
       {"action": 28, "params": ["Comets", {"object": "Comet"}, "50, 20, -4, 90, 10, 0"]},
       {"action": 17, "params": [{"object": "Runner"}, 6]},
       {"action": 18, "params": [{"object": "Bouncer"}, 7]},
       {"action": 34, "params": [{"object": "Bouncer"}, 600, 200]},
       {"action": 24, "params": ["Eels", {"object": "Eel"}, 4, 30, 9]},
       {"action": 31, "params": ["Eels", 100]},
       {"action": 32, "params": ["Eels", 540]},
       {"action": 23, "params": [{"object": "Rock"}, "Scenery"]}]},
    {"conditions": [{"host": "frame", "frame": 2}],
     "actions": [{"host": "log", "name": "registry", "value": {"expression": 14}}]},
    {"conditions": [{"host": "frame", "frame": 3}],
     "actions": [{"host": "log", "name": "moons", "value": {"expression": 15, "params": ["Moon"]}}]},
    {"conditions": [{"host": "frame", "frame": 5}], "actions": [{"action": 35, "params": ["Runner"]}]},
    {"conditions": [{"host": "frame", "frame": 8}], "actions": [{"action": 49, "params": ["Spinner", 2]}]},
    {"conditions": [{"host": "frame", "frame": 12}],
     "actions": [{"action": 38, "params": ["Scenery"]},
                 {"host": "log", "name": "registry after", "value": {"expression": 14}}]}]
})";

// The trace lines with the objects' addresses in the logged listings blanked: they differ from run to run.
std::vector<std::string> traceOf(const Scene& scene, const std::function<void(Runtime&)>& start) {
  Extension extension(NIMBO_EXTENSION_PATH);
  std::vector<std::string> lines;
  const std::regex address("0x[0-9a-f]+ : ");
  runScene(
      extension, scene, -1,
      [&](const StepRecord& record) {
        lines.push_back(std::regex_replace(traceLine(record), address, "ADDRESS : "));
      },
      start);
  return lines;
}

TEST(ReplayPage, ReadingTheFrameAsCreatedAndTheListingsLeavesTheTraceAsItWas) {
  Scene scene = parseScene(kMotionScene);
  std::vector<std::string> plain = traceOf(scene, {});
  std::vector<std::string> read = traceOf(scene, [](Runtime& runtime) {
    runtime.listControllers();
    EXPECT_FALSE(runtime.created().listings.empty());
  });
  EXPECT_EQ(read, plain);
  EXPECT_NE(plain[2].find("MotionGroupIdentifier"), std::string::npos)
      << "the designer's own listing is logged";
  EXPECT_NE(plain[2].find("ADDRESS : GID 6 : MTyp 0"), std::string::npos);
}

TEST(ReplayPage, EmbedsTheControllersWallsOrbitsAndGroupsStepByStep) {
  Extension extension(NIMBO_EXTENSION_PATH);
  Scene scene = parseScene(kMotionScene);
  std::optional<ReplayPage> page;
  runScene(
      extension, scene, -1, [&](const StepRecord& record) { page->add(record); },
      [&](Runtime& runtime) {
        runtime.listControllers();
        page.emplace(scene, "motion", runtime.created(), runtime.objectAddresses());
      });
  json data = embeddedData(pageText(*page));

  // Scene order: Spinner 0, Planet 1, Moon 2-5, Comet 6, Runner 7, Bouncer 8, Eel 9, Rock 10.
  std::map<int, json> motion;
  for (const json& controlled : data["motion"]) {
    EXPECT_EQ(controlled[0], 0) << "one NIMBO instance";
    motion[controlled[1].get<int>()] = controlled[2];
  }
  ASSERT_EQ(motion.size(), 10u) << data["motion"].dump();
  EXPECT_EQ(motion.count(1), 0u) << "the planet is no controlled object";
  auto at = [&](int object, int step) { return changeAt(motion[object], step)[1]; };

  // Every orbit keeps its centre at every step, wherever its object stands.
  for (int step = 0; step < 16; ++step) {
    if (step < 8) {
      EXPECT_EQ(at(0, step), json::parse(R"(["Spinner", 5, 1, null, null, [200, 360, 40, 40]])")) << step;
    }
    for (int moon = 2; moon < 6; ++moon)
      EXPECT_EQ(at(moon, step), json::parse(R"(["Moon", 5, 1, null, null, [420, 300, 60, 60]])")) << step;
    EXPECT_EQ(at(6, step), json::parse(R"(["Comets", 5, 1, null, null, [110, 300, 50, 20]])")) << step;
    EXPECT_EQ(at(8, step), json::parse(R"(["Bouncer", 1, 1, null, [0, 200, 600, 0], null])")) << step;
    EXPECT_EQ(at(9, step), json::parse(R"(["Eels", 3, 1, null, [0, 100, 540, 0], null])")) << step;
  }
  EXPECT_TRUE(changeAt(motion[0], -1).is_null()) << "nothing is controlled before the first step";
  EXPECT_EQ(at(7, 4), json::parse(R"(["Runner", 1, 1, null, [0, 0, 640, 0], null])"));
  EXPECT_EQ(at(7, 5), json::parse(R"(["Runner", 1, 0, null, [0, 0, 640, 0], null])"));
  EXPECT_EQ(at(10, 11), json::parse(R"(["Scenery", 0, 1, null, null, null])"));
  EXPECT_EQ(at(10, 12), 0) << "a rejected group leaves the listing";
  // A delayed reject counts down in the listing from the step that armed it (which already counted once),
  // and the entry goes after it.
  EXPECT_EQ(at(0, 8)[3], 1);
  EXPECT_EQ(at(0, 9)[3], 0);
  EXPECT_EQ(at(0, 10)[3], -1);
  EXPECT_EQ(at(0, 11), 0);
}

// The studio reads the listings after some steps only: between two readings every controlled object keeps
// the state the last one gave it.
TEST(ReplayPage, StepsWhoseListingsWereNotReadKeepTheLastStatesRead) {
  Extension extension(NIMBO_EXTENSION_PATH);
  Scene scene = parseScene(kMotionScene);
  const std::set<int> read = {0, 5, 12};
  std::optional<ReplayPage> page;
  Runtime* running = nullptr;
  runScene(
      extension, scene, -1,
      [&](const StepRecord& record) {
        EXPECT_EQ(record.listings.empty(), !read.contains(record.frame)) << record.frame;
        page->add(record);
        running->listControllers(read.contains(record.frame + 1));
      },
      [&](Runtime& runtime) {
        running = &runtime;
        page.emplace(scene, "motion", runtime.created(), runtime.objectAddresses());
        runtime.listControllers(true);
      });
  json data = embeddedData(pageText(*page));
  std::map<int, json> motion;
  for (const json& controlled : data["motion"]) motion[controlled[1].get<int>()] = controlled[2];
  ASSERT_EQ(motion.size(), 10u) << data["motion"].dump();
  auto at = [&](int object, int step) { return changeAt(motion[object], step)[1]; };
  EXPECT_EQ(at(7, 4), json::parse(R"(["Runner", 1, 1, null, [0, 0, 640, 0], null])")) << "as step 0 read it";
  EXPECT_EQ(at(7, 11), json::parse(R"(["Runner", 1, 0, null, [0, 0, 640, 0], null])")) << "as step 5 read it";
  EXPECT_EQ(at(10, 11), json::parse(R"(["Scenery", 0, 1, null, null, null])"));
  EXPECT_EQ(at(10, 12), 0) << "the group rejected at step 12 leaves the listing read then";
  for (int moon = 2; moon < 6; ++moon) EXPECT_EQ(motion[moon].size(), 1u) << "read thrice, noted once";
}

TEST(ReplayPage, TracksKeepMovingAndExtremeNumbersExactly) {
  constexpr int kSteps = 120;
  Scene scene = sample::sampleScene(12, true);
  StepRecord created = sample::sampleCreated(scene);
  ReplayPage page(scene, "sample", created);
  std::vector<StepRecord> records = {created};
  for (int step = 0; step < kSteps; ++step) {
    records.push_back(sample::sampleStep(scene, step, kSteps));
    page.add(records.back());
  }
  json data = embeddedData(pageText(page));
  ASSERT_EQ(data["objects"].size(), records[0].objects.size());
  for (size_t i = 0; i < records[0].objects.size(); ++i) {
    auto tracks = decodeTracks(data["objects"][i][6], kSteps);
    for (int step = -1; step < kSteps; ++step) {
      const ObjectState& o = records[step + 1].objects[i];
      std::vector<int64_t> want = {o.x,     o.y,         o.direction, o.animationFrame,
                                   o.alpha, o.inkEffect, o.destroyed};
      want.insert(want.end(), o.values.begin(), o.values.end());
      for (int t = 0; t < kTracks; ++t)
        ASSERT_EQ(tracks[t][step + 1], want[t]) << "object " << i << " step " << step;
    }
  }
  // Changes only: the TEXT as created and every 50 steps; the clipboard, caption, task bar and window
  // state once each.
  EXPECT_EQ(data["texts"][0].size(), 4u);
  EXPECT_EQ(data["desk"].size(), 5u);
}

// Texts of the run are data: markup in them stays inside the data element as text. The renderer is in the
// page itself.
TEST(ReplayPage, RefersToNothingOutsideItself) {
  Scene scene = sample::sampleScene(5, false);
  const std::string markup = "</script><script src=\"http://example.invalid/x.js\"></script><!--";
  ReplayPage page(scene, markup, sample::sampleCreated(scene));
  StepRecord record = sample::sampleStep(scene, 60, 100);
  record.log.push_back({"markup", markup});
  page.add(record);
  std::string html = pageText(page);

  size_t dataStart = html.find(kDataOpen) + std::string_view(kDataOpen).size();
  size_t dataEnd = html.find("</script>", dataStart);
  std::string outsideData = html.substr(0, dataStart) + html.substr(dataEnd);
  for (const char* reference :
       {"http:", "https:", "src=", "url(", "@import", "<link rel=\"stylesheet", "__"}) {
    EXPECT_EQ(outsideData.find(reference), std::string::npos) << reference;
  }
  EXPECT_NE(outsideData.find("const NimboRenderer"), std::string::npos);
  EXPECT_NE(outsideData.find(".nr-legend"), std::string::npos);
  EXPECT_EQ(outsideData.find("href="), outsideData.rfind("href=\"data:,\""));
  EXPECT_EQ(html.substr(dataStart, dataEnd - dataStart).find('<'), std::string::npos);
  json data = embeddedData(html);
  EXPECT_EQ(data["title"], markup);
  EXPECT_EQ(data["log"][2], json::array({60, "markup", markup}));
}

TEST(ReplayPage, ARunWithoutStepsShowsTheFrameAsCreatedAndOtherObjectsAreRefused) {
  Scene scene = sample::sampleScene(3, false);
  StepRecord created = sample::sampleCreated(scene);
  ReplayPage empty(scene, "empty", created);
  json data = embeddedData(pageText(empty));
  EXPECT_EQ(data["steps"], 0);
  auto tracks = decodeTracks(data["objects"][0][6], 0);
  EXPECT_EQ(tracks[0], std::vector<int64_t>{created.objects[0].x});
  EXPECT_EQ(data["texts"][0], json::parse(R"([[-1, "TEXT as created"]])"));

  ReplayPage page(scene, "other", created);
  StepRecord record = sample::sampleStep(scene, 0, 1);
  record.objects.pop_back();
  EXPECT_THROW(page.add(record), Error);
  created.objects.pop_back();
  EXPECT_THROW(ReplayPage(scene, "other", created), Error);
}

}  // namespace
}  // namespace vohost
