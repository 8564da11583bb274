// The vohost command line as a person types it: values in plain words, an unknown subcommand named,
// no output written over an input, and the exit statuses docs/scenes.md gives.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "vohost/checks/child_process.h"

namespace vohost {
namespace {

struct Outcome {
  std::string ended;  // "" for exit status 0, else how it ended
  std::string output;
};

Outcome vohost(const std::vector<std::string>& arguments) {
  ChildProcess child(VOHOST_PATH, arguments);
  Outcome outcome;
  for (ChildLine line = child.readLine(std::chrono::seconds(60)); line.kind == ChildLine::Kind::line;
       line = child.readLine(std::chrono::seconds(60))) {
    outcome.output += line.text + "\n";
  }
  outcome.ended = child.wait();
  return outcome;
}

std::string contents(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

const std::string kHello = VOHOST_SCENES_DIR "/../../examples/hello.json";

TEST(CommandLine, ABadValueIsNamedInPlainWordsAndNothingRuns) {
  for (const char* frames : {"-3", "abc", "99999999999999999999999", "1.5"}) {
    Outcome outcome = vohost({"run", kHello, "--frames", frames});
    EXPECT_EQ(outcome.ended, "exit status 3");
    EXPECT_NE(
        outcome.output.find(std::string("--frames: '") + frames +
                            "' is not a number of frame steps: give a whole number from 0 to 2147483647"),
        std::string::npos)
        << outcome.output;
    EXPECT_EQ(outcome.output.find("\"frame\""), std::string::npos) << "no step may run";
  }
  EXPECT_EQ(vohost({"soak", kHello, "--steps", "0"}).ended, "exit status 3");
  EXPECT_EQ(vohost({"check", "--timeout", "-1"}).ended, "exit status 3");
  EXPECT_EQ(vohost({"run", kHello, "--frames", "0"}).ended, "");
}

TEST(CommandLine, AnUnknownSubcommandIsNamedAsSuch) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"runn", kHello}, std::vector<std::string>{"--lib", "x.so", "ckeck"}}) {
    Outcome outcome = vohost(arguments);
    EXPECT_EQ(outcome.ended, "exit status 3");
    EXPECT_NE(outcome.output.find("unknown subcommand '" + arguments[arguments.size() == 2 ? 0 : 2] +
                                  "': the subcommands are run, soak, check and catalog"),
              std::string::npos)
        << outcome.output;
  }
}

// Every way of naming an input as an output is refused before anything is written: the scene by
// another path or a hard link, the extension, a trace folder whose trace would be the scene.
TEST(CommandLine, NoOutputIsWrittenOverAnInput) {
  std::filesystem::path root = std::filesystem::temp_directory_path() / "nimbo-command-line";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "sub");
  std::filesystem::path scene = root / "hello.json";
  std::filesystem::copy_file(kHello, scene);
  std::filesystem::create_hard_link(scene, root / "linked.json");
  std::filesystem::copy_file(kHello, root / "hello.jsonl");
  std::string original = contents(scene);
  std::string sceneText = scene.string(), library = NIMBO_EXTENSION_PATH;
  std::vector<std::vector<std::string>> refused = {
      {"run", sceneText, "--trace", sceneText},
      {"run", sceneText, "--html", (root / "sub" / ".." / "hello.json").string()},
      {"run", sceneText, "--trace", (root / "linked.json").string()},
      {"run", sceneText, "--trace", library, "--lib", library},
      {"run", (root / "hello.jsonl").string(), sceneText, "--trace-dir", root.string()},
      {"run", sceneText, "--trace", (root / "out").string(), "--html", (root / "out").string()}};
  for (const std::vector<std::string>& arguments : refused) {
    Outcome outcome = vohost(arguments);
    EXPECT_EQ(outcome.ended, "exit status 3") << arguments[3] << ": " << outcome.output;
    EXPECT_EQ(contents(scene), original);
    EXPECT_EQ(contents(root / "hello.jsonl"), original);
  }
  EXPECT_FALSE(std::filesystem::exists(root / "out"));
  EXPECT_EQ(vohost({"run", sceneText, "--trace", (root / "out.jsonl").string()}).ended, "");
  EXPECT_EQ(contents(scene), original);
  std::filesystem::remove_all(root);
}

// A scene's own "write file" may write anywhere but over the run's own files.
TEST(CommandLine, ASceneCannotWriteOverItselfNorTheRunsOtherFiles) {
  std::filesystem::path root = std::filesystem::temp_directory_path() / "nimbo-scene-writes";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  std::filesystem::path scene = root / "writer.json", trace = root / "writer.jsonl";
  auto writeScene = [&](const std::filesystem::path& target) {
    std::ofstream(scene)
        << R"({"frame": {"frames": 2}, "events": [{"conditions": [{"host": "start of frame"}],
      "actions": [{"host": "write file", "path": ")"
        << target.generic_string() << R"(", "text": "overwritten"}]}]})";
    return contents(scene);
  };
  for (const std::filesystem::path& target : {scene, root / "." / "writer.json", trace}) {
    std::string original = writeScene(target);
    Outcome outcome = vohost({"run", scene.string(), "--trace", trace.string()});
    EXPECT_EQ(outcome.ended, "exit status 2") << outcome.output;
    EXPECT_NE(outcome.output.find("is the run's own file"), std::string::npos) << outcome.output;
    EXPECT_EQ(contents(scene), original);
  }
  writeScene(root / "elsewhere.txt");
  EXPECT_EQ(vohost({"run", scene.string(), "--trace", trace.string()}).ended, "");
  EXPECT_EQ(contents(root / "elsewhere.txt"), "overwritten");
  std::filesystem::remove_all(root);
}

TEST(CommandLine, ABrokenSceneOrAMissingExtensionExitsWith2) {
  std::filesystem::path broken = std::filesystem::temp_directory_path() / "nimbo-broken-scene.json";
  std::ofstream(broken) << R"({"frame":{"frames":"three"}})";
  EXPECT_EQ(vohost({"run", broken.string()}).ended, "exit status 2");
  EXPECT_EQ(vohost({"run", kHello, "--lib", broken.string()}).ended, "exit status 2");
  std::filesystem::remove(broken);
}

}  // namespace
}  // namespace vohost
