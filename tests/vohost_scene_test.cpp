// Scenes end to end: every tests/scenes/NAME.json runs and its trace must equal NAME.jsonl line for
// line; and the scene errors a designer can make are reported with their place.
#include <gtest/gtest.h>

#include <regex>

#include <filesystem>
#include <fstream>

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"
#include "vohost/simhost/scene_run.h"
#include "vohost/utf.h"

namespace vohost {
namespace {

std::vector<std::string> readLines(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// On Windows the task bar and the clipboard are the real ones of the machine running the tests (an
// earlier test may have left text there), not the scene's.
std::string withoutHostDesk(const std::string& line) {
#ifdef _WIN32
  static const std::regex hostParts(R"re(,"(taskBar|clipboard)":\{[^}]*\})re");
  return std::regex_replace(line, hostParts, "");
#else
  return line;
#endif
}

// Traces and listings are read through this conversion: an ASCII run then any other unit, pairs and
// lone halves of surrogates, in every order.
TEST(Utf, Utf16BecomesUtf8WithLoneSurrogatesReplaced) {
  const nimbo::Text text = {u'a', u'b', 0x00E9, u'c', 0xD83D, 0xDE00, 0xD800, u'd', 0xDC00, 0x20AC};
  EXPECT_EQ(toUtf8(text), "ab\u00e9c\U0001F600\uFFFDd\uFFFD\u20AC");
  EXPECT_EQ(toUtf8(text.c_str()), toUtf8(text));
  EXPECT_EQ(toUtf8(nimbo::Text(300, u'x')), std::string(300, 'x'));
  EXPECT_EQ(toUtf8(static_cast<const voChar*>(nullptr)), "");
  const nimbo::Text valid = {u'A', 0x00E9, 0xD83D, 0xDE00, 0x20AC};
  EXPECT_EQ(fromUtf8(toUtf8(valid)), valid);
}

TEST(Scenes, EachSceneGivesItsExpectedTrace) {
  Extension extension(NIMBO_EXTENSION_PATH);
  int scenes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VOHOST_SCENES_DIR)) {
    if (entry.path().extension() != ".json") continue;
    ++scenes;
    std::filesystem::path expected = entry.path();
    expected.replace_extension(".jsonl");
    std::vector<std::string> want = readLines(expected);
    ASSERT_FALSE(want.empty()) << expected;
    std::vector<std::string> got = traceScene(extension, readScene(entry.path()));
    ASSERT_EQ(got.size(), want.size()) << entry.path();
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(withoutHostDesk(got[i]), withoutHostDesk(want[i])) << entry.path() << " frame " << i;
    }
  }
  EXPECT_GT(scenes, 0);
}

// The message of the error a scene raises, checked before or while the frame is built.
std::string sceneError(const std::string& json) {
  Extension extension(NIMBO_EXTENSION_PATH);
  try {
    Runtime runtime(extension, parseScene(json));
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

TEST(SceneErrors, NameTheLineAndWhatIsWrong) {
  EXPECT_EQ(sceneError(R"({"nimbo":[{}],"events":[{},{"actions":[{"action":99}]}]})"),
            "event line 2, action 1: the extension has no action with code 99");
  EXPECT_EQ(sceneError(R"({"nimbo":[{}],"events":[{"conditions":[{"condition":4,"params":["a"]}]}]})"),
            "event line 1, condition 1: condition 4 takes 2 parameters, the scene gives 1");
  EXPECT_EQ(sceneError(R"({"nimbo":[{}],"events":[{"actions":[{"action":0,"params":[{"expression":2}]}]}]})"),
            "event line 1, action 1, parameter 0: expects a text, the scene gives a number");
  EXPECT_EQ(sceneError(
                R"({"nimbo":[{}],"events":[{"actions":[{"action":11,"params":[{"object":"Bal"},1,2,3]}]}]})"),
            "event line 1, action 1, parameter 0: no object type named \"Bal\"");
  EXPECT_EQ(sceneError(R"({"events":[{"actions":[{"action":1}]}]})"),
            "event line 1, action 1: the scene has no NIMBO instance 0");
  EXPECT_EQ(
      sceneError(R"({"nimbo":[{}],"events":[{"conditions":[{"host":"every frame"},{"condition":2}]}]})"),
      "event line 1, condition 2: condition 2 is raised by the extension and must head its line");
}

TEST(SceneErrors, BrokenFilesAndUnknownKeysAreRefused) {
  EXPECT_THROW(parseScene("{\"events\": ["), Error);
  EXPECT_THROW(parseScene(std::string(1, '2') + std::string(400, '7')),
               Error);  // past a double: found by fuzzing
  EXPECT_THROW(parseScene(R"({"frame":{"fps":60}})"), Error);
  EXPECT_THROW(parseScene(R"({"events":[{"conditions":[{"host":"every second"}]}]})"), Error);
  EXPECT_THROW(parseScene(R"({"events":[{"actions":[{"host":"log","name":"x"}]}]})"), Error);
  EXPECT_THROW(parseScene(R"({"objects":[{"name":"A","kind":"sprite"}]})"), Error);
  EXPECT_THROW(parseScene(R"({"nimbo":[{"text":"\u00ff", "popup": 2}]})"), Error);
  EXPECT_THROW(
      parseScene(
          R"({"events":[{"actions":[{"host":"log","name":"v","value":{"alterableValue":"AB","object":"X"}}]}]})"),
      Error);
  EXPECT_THROW(readScene("/nonexistent/scene.json"), Error);
}

// The reader recurses into nested expressions; 10 000 of them crashed it.
TEST(SceneErrors, AScenePastAHundredLevelsOfNestingIsRefusedWithAMessage) {
  auto nested = [](int expressions) {
    std::string value;
    for (int i = 0; i < expressions; ++i) value += R"({"expression":4,"params":[)";
    value += "1";
    for (int i = 0; i < expressions; ++i) value += "]}";
    return R"({"nimbo":[{}],"events":[{"actions":[{"host":"log","name":"x","value":)" + value + "}]}]}";
  };
  for (int expressions : {48, 100000}) {
    try {
      parseScene(nested(expressions));
      ADD_FAILURE() << expressions << " nested expressions were read";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), "scene is nested deeper than 100 levels") << expressions;
    }
  }
  EXPECT_NO_THROW(parseScene(nested(47)));
}

// The scene's own files: the folders on the way are made; what cannot be written stops the run at its line.
TEST(SceneFiles, WriteFileMakesItsFoldersAndAFailureNamesTheLine) {
  Extension extension(NIMBO_EXTENSION_PATH);
  std::filesystem::path root = std::filesystem::temp_directory_path() / "nimbo-scene-files";
  std::filesystem::remove_all(root);
  auto writing = [&](const std::filesystem::path& path) {
    return R"({"nimbo":[{}],"frame":{"frames":1},"events":[{"actions":[{"host":"write file","path":")" +
           path.generic_string() + R"(","text":"日本"}]}]})";
  };
  traceScene(extension, parseScene(writing(root / "made" / "deep" / "a.txt")));
  {
    std::ifstream made(root / "made" / "deep" / "a.txt", std::ios::binary);  // closed before the removal
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(made), {}), "\xE6\x97\xA5\xE6\x9C\xAC");
  }
  try {
    traceScene(extension, parseScene(writing(root / "made" / "deep" / "a.txt" / "b.txt")));
    ADD_FAILURE() << "a file cannot hold a folder";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("event line 1, action 1: cannot make the folder of", 0), 0u)
        << error.what();
  }
  EXPECT_THROW(parseScene(R"({"events":[{"actions":[{"host":"write file","path":"a.txt"}]}]})"), Error);
  std::filesystem::remove_all(root);
}

// A run of several scenes writes DIR/NAME.jsonl each; no output may land on a scene or on another output.
TEST(SceneList, TracesGoToTheFolderAndNoOutputOverwritesASceneOrAnother) {
  EXPECT_EQ(traceFileIn("out", "examples/hello.json"), std::filesystem::path("out") / "hello.jsonl");
  EXPECT_NO_THROW(refuseOutputClashes({"a/x.json", "b/y.json"}, {"t/x.jsonl", "t/y.jsonl", "x.html"}));
  auto clash = [](const std::vector<std::string>& scenes, const std::vector<std::string>& outputs) {
    try {
      refuseOutputClashes(scenes, outputs);
    } catch (const Error& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(clash({"a/x.json"}, {"a/../a/x.json"}), "the output a/../a/x.json is the scene a/x.json");
  EXPECT_EQ(clash({"a/x.jsonl"}, {traceFileIn("a", "a/x.jsonl").string()}),
            "the output " + traceFileIn("a", "a/x.jsonl").string() + " is the scene a/x.jsonl");
  EXPECT_EQ(clash({"a/x.json", "b/x.json"}, {"t/x.jsonl", "t/x.jsonl"}),
            "two outputs would be the same file t/x.jsonl");
  EXPECT_THROW(refuseOutputClashes({"a/x.json"}, {"lib/./nimbo.so"}, "lib/nimbo.so"), Error);
}

}  // namespace
}  // namespace vohost
