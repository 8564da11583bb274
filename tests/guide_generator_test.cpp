// The guide generator over the built extension: sources that do not fit the catalog stop it at their
// file and line, a picture is the real run drawn the same way every time, and a routine without its
// hand-written page still gets its catalog part and says it has no description yet.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "help/generator/guide.h"

namespace {

namespace fs = std::filesystem;

class GuideSources : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::temp_directory_path() /
        ("nimbo_guide_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    for (const char* folder : {"routines", "subsystems", "pictures"}) fs::create_directories(root_ / folder);
  }
  void TearDown() override { fs::remove_all(root_); }

  void write(const std::string& name, const std::string& text) { std::ofstream(root_ / name) << text; }

  // The SourceError's message, or "" when the guide was read.
  std::string readError() {
    try {
      guide::readGuide(extension_, root_);
    } catch (const guide::SourceError& error) {
      return error.what();
    }
    return "";
  }

  static std::string routinePage(const std::string& front) {
    return front +
           "\n## What it does\n\nStores it.\n\n## Parameters\n\n- **Set the TEXT to the Extension**: any.\n\n"
           "## When it goes wrong\n\nNothing can.\n\n## Example\n\n```\nStart of frame\n```\n";
  }

  static std::string scene(const std::string& actions, int frames, const std::string& kind = "active") {
    return R"({"frame": {"width": 200, "height": 100, "frames": )" + std::to_string(frames) +
           R"(}, "objects": [{"name": "Ball", "kind": ")" + kind +
           R"(", "instances": [{"x": 10, "y": 10}, {"x": 30, "y": 60}]}],
              "nimbo": [{"popup": 1}], "events": [{"conditions": [{"host": "start of frame"}], "actions": [)" +
           actions + "]}]}";
  }

  fs::path root_;
  vohost::Extension extension_{NIMBO_EXTENSION_PATH};
};

TEST_F(GuideSources, AFileForNoRoutineOrSubsystemStopsTheGuide) {
  write("routines/action-54.md", routinePage("subsystem: regex\nsummary: S.\n"));
  EXPECT_EQ(readError(),
            (root_ / "routines/action-54.md").string() +
                ":1: the catalog has no routine action-54: pages are action-N, condition-N, expression-N");
  fs::remove(root_ / "routines/action-54.md");
  write("subsystems/text.md", "title: T\nsummary: S.\n");
  EXPECT_NE(readError().find("subsystems/text.md:1: no subsystem is named text"), std::string::npos);
  fs::remove(root_ / "subsystems/text.md");
  write("routines/action-0.txt", "");
  EXPECT_NE(readError().find("action-0.txt:1: the help folders hold .md pages only"), std::string::npos);
}

TEST_F(GuideSources, AParameterTitleOffTheCatalogAndALinkToNoPageStopTheGuide) {
  std::string page = routinePage("subsystem: regex\nsummary: S.\n");
  write("routines/action-0.md", page.replace(page.find("the TEXT"), 8, "the text"));
  EXPECT_NE(readError().find("action-0.md:10: parameter 1's title is \"Set the TEXT to the Extension\""),
            std::string::npos);
  write("routines/action-0.md", routinePage("subsystem: regex\nsummary: See [that](expression-19).\n"));
  EXPECT_NE(readError().find("action-0.md:2: a link to expression-19, a page the guide does not have"),
            std::string::npos);
}

TEST_F(GuideSources, APictureThatCannotRunStopsTheGuideAtThePageThatNamesIt) {
  write("routines/action-0.md", routinePage("subsystem: regex\nsummary: S.\npicture: row\n"));
  EXPECT_NE(readError().find("action-0.md:3: there is no picture"), std::string::npos);
  write("pictures/row.json", scene(R"({"action": 60, "params": []})", 1));
  std::string error = readError();
  EXPECT_NE(error.find("action-0.md:3: the picture " + (root_ / "pictures/row.json").string() + " fails: "),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("60"), std::string::npos) << error;
  // The zigzag layout on a counter: not an active object, so the pop-up setting shows its box.
  write("pictures/row.json",
        scene(R"({"action": 11, "params": [{"object": "Ball"}, 10, 50, 4]})", 1, "counter"));
  error = readError();
  EXPECT_NE(error.find("the run showed the message box \"Selected Objects Not the Sprite\" with caption "
                       "\"ObjectControl :: Notification\" at frame step 0"),
            std::string::npos)
      << error;
}

TEST_F(GuideSources, APictureIsTheRunDrawnTheSameEveryTime) {
  write("routines/action-11.md",
        "subsystem: layouts\nsummary: S.\npicture: row\n\n## What it does\n\nX.\n\n## Parameters\n\n"
        "- **Select Object to Get Fixed ( Only Active Object )**: a.\n- **Set X-Pos ( Starting X Point )**: "
        "b.\n"
        "- **Set Y-Pos ( Starting Y Point )**: c.\n- **Set Margin Number ( pixel )**: d.\n\n"
        "## When it goes wrong\n\nY.\n\n## Example\n\n```\nZ\n```\n");
  write("pictures/row.json", scene(R"({"action": 11, "params": [{"object": "Ball"}, 40, 50, 8]})", 3));
  guide::Guide first = guide::readGuide(extension_, root_);
  guide::Guide second = guide::readGuide(extension_, root_);
  const guide::Picture& picture = first.pictures.at("row");
  EXPECT_EQ(picture.svg, second.pictures.at("row").svg);
  EXPECT_EQ(picture.frames, 3);
  const std::string& svg = picture.svg;
  EXPECT_NE(svg.find(R"(<rect x="0" y="0" width="200" height="100")"), std::string::npos) << svg;
  // Ball 0 from (10, 10) to (40, 50); Ball 1, raised by its height, from (30, 60) to (80, 18).
  EXPECT_NE(svg.find(R"(points="10,10 40,50 40,50 40,50")"), std::string::npos) << svg;
  EXPECT_NE(svg.find(R"(points="30,60 80,18 80,18 80,18")"), std::string::npos) << svg;
  EXPECT_NE(svg.find(R"(<rect x="40" y="50" width="32" height="32")"), std::string::npos) << svg;
  EXPECT_NE(svg.find(">Ball 1</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("path from its start (dot) over 3 frame steps"), std::string::npos) << svg;

  std::vector<guide::OutputFile> files = guide::webFiles(first);
  auto page = std::find_if(files.begin(), files.end(),
                           [](const auto& file) { return file.name == "action-11.html"; });
  ASSERT_NE(page, files.end());
  EXPECT_NE(page->content.find(R"(<img src="row.svg" width=")"), std::string::npos);
  EXPECT_TRUE(
      std::any_of(files.begin(), files.end(), [&](const auto& file) { return file.name == "row.svg"; }));
}

TEST_F(GuideSources, ARoutineWithoutItsPageGetsItsCatalogPartAndSaysSo) {
  guide::Guide guide = guide::readGuide(extension_, root_);
  EXPECT_EQ(guide.undescribed().size(), 7u + 54u + 8u + 19u);
  std::vector<guide::OutputFile> files = guide::webFiles(guide);
  auto page =
      std::find_if(files.begin(), files.end(), [](const auto& file) { return file.name == "action-6.html"; });
  ASSERT_NE(page, files.end());
  for (const char* shown :
       {"Rename ( File | Directory )", "Actions &gt; FILESYSTEMS", "Change the Name to ( %1 )",
        "Enter the OLD Name", "Enter New Name", "This page has no description yet."}) {
    EXPECT_NE(page->content.find(shown), std::string::npos) << shown;
  }
}

TEST_F(GuideSources, TheContentsFollowTheMenusAndTheIndexListsEveryDisplayString) {
  guide::Guide guide = guide::readGuide(extension_, root_);
  std::vector<guide::OutputFile> web = guide::webFiles(guide);
  std::vector<guide::OutputFile> project = guide::projectFiles(guide, web);
  ASSERT_EQ(project.size(), 3u);
  const std::string& hhp = project[0].content;
  for (const guide::OutputFile& file : web)
    EXPECT_NE(hhp.find("\r\n" + file.name + "\r\n"), std::string::npos);

  const std::string& contents = project[1].content;
  auto topic = [](const std::string& name, const std::string& file) {
    return "<param name=\"Name\" value=\"" + name + "\">\n  <param name=\"Local\" value=\"" + file + "\">";
  };
  size_t files = contents.find("value=\"FILESYSTEMS\"");
  size_t setPath = contents.find(topic("Set PATH ( and Get the List of )", "action-4.html"));
  size_t partial = contents.find(topic("Search :: Partial ( if TRUE Match Partial.)", "condition-4.html"));
  size_t getPath = contents.find(topic("Get PATH", "expression-6.html"));
  size_t regex = contents.find(topic("Regular expressions", "regex.html"));
  EXPECT_LT(files, setPath);
  EXPECT_LT(setPath, partial);
  EXPECT_LT(partial, getPath);
  EXPECT_LT(getPath, regex);
  EXPECT_NE(regex, std::string::npos);

  // Display strings and shared parameter titles lead to every page that has them; the viewer reads the
  // index in Windows-1252 and decodes its entities.
  const std::string& index = project[2].content;
  EXPECT_NE(index.find("value=\"Set PATH ( and Get the List of ) ( %0 )\">\n  " +
                       topic("Set PATH ( and Get the List of )", "action-4.html")),
            std::string::npos);
  size_t shared = index.find("value=\"Select Object to Get Fixed ( Only Active Object )\">");
  ASSERT_NE(shared, std::string::npos);
  std::string sharedEntry = index.substr(shared, index.find("</OBJECT>", shared) - shared);
  EXPECT_NE(sharedEntry.find(topic("Align LEFT :: ZigZag", "action-11.html")), std::string::npos);
  EXPECT_NE(sharedEntry.find(topic("Wrap at Window Width", "action-17.html")), std::string::npos);
  EXPECT_NE(index.find("Orbital PARAMS E.g. \x93 50,50,-2,0,0,0 \x94 &gt;&gt;\x93Rad1"), std::string::npos);
  EXPECT_NE(index.find("Top &amp; Bottom Row"), std::string::npos);
}

}  // namespace
