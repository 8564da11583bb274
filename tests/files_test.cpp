// The file system as a designer meets it: Set PATH with its history, the listing conditions and
// expressions, the history index and the rename, on real temporary directories, called through the
// jump tables and the event list of the host runtime.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "record/rundata.h"
#include "tests/logged_values.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

namespace vohost {
namespace {

namespace fs = std::filesystem;
using nimbo::Text;

constexpr int kSetText = 0, kSetPath = 4, kRename = 6, kSetIndex = 7;
constexpr int kConfirmed = 2, kInvalid = 3;
constexpr int kFileCount = 2, kDirCount = 3, kFileName = 4, kDirName = 5, kPathFromHistory = 6;
constexpr int kHistorySize = 9, kHistoryIndex = 10;
constexpr const char* kOutOfRange = "Error ::: out of range";
constexpr const char* kFilesystemError = "Catch Filesystem ERROR";
constexpr const char* kLongPathCaption = "Error >> #GLA260L::PathName Too Much Long";
constexpr const char* kLongRenameCaption = "Error >> #CHN522L::Rename PathName Too Much Long";
constexpr nimbo::Char kSeparator = static_cast<nimbo::Char>(fs::path::preferred_separator);

Text textOf(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return path.u16string();
#endif
}

std::string utf8Of(const fs::path& path) {
  return toUtf8(textOf(path));
}

Text asText(const std::string& ascii) {
  return Text(ascii.begin(), ascii.end());
}

Parameter expression(int nimbo, int code, std::vector<Parameter> params = {}) {
  return std::make_shared<const ExpressionCall>(ExpressionCall{nimbo, code, std::move(params)});
}

// Built by appending: the cross compiler's -Wrestrict misreads "literal" + std::string.
std::string numbered(const char* prefix, int i, const char* suffix = "") {
  std::string name = prefix;
  name += std::to_string(i);
  name += suffix;
  return name;
}

// Built in place: the cross compiler warns on moving a log action into the list.
void addLog(std::vector<Action>& logs, const std::string& name, Parameter value) {
  logs.emplace_back(std::in_place_type<HostAction>,
                    HostAction{HostActionKind::log, name, {std::move(value)}});
}

void touch(const fs::path& path) {
  std::ofstream(path) << "x";
}

class FileSystem : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;
  fs::path root;

  void SetUp() override {
    std::random_device random;
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    root = fs::temp_directory_path() / numbered("nimbo_files_", static_cast<int>(random() & 0xFFFFFF), "_");
    root += std::to_string(now);
    fs::create_directories(root);
    takeMessageBoxes();
  }

  void TearDown() override {
    runtime.reset();
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root, ignored);
  }

  // Every step logs, for each instance, the counts, the names at `elements`, the history entries at
  // the offsets -11..11 and the history's size and index; names are "<instance> <what> <argument>".
  void start(int instances = 1, const std::vector<int32_t>& elements = defaultElements(),
             std::vector<EventLine> more = {}) {
    Scene scene;
    scene.nimbo.assign(static_cast<size_t>(instances), EditOverrides{0, 0, Text()});
    for (int n = 0; n < instances; ++n) {
      std::string at = std::to_string(n) + " ";
      std::vector<Action> logs;
      addLog(logs, at + "files", expression(n, kFileCount));
      addLog(logs, at + "dirs", expression(n, kDirCount));
      addLog(logs, at + "entries", expression(n, kHistorySize));
      addLog(logs, at + "index", expression(n, kHistoryIndex));
      for (int32_t i : elements) {
        addLog(logs, at + "file " + std::to_string(i), expression(n, kFileName, {i}));
        addLog(logs, at + "dir " + std::to_string(i), expression(n, kDirName, {i}));
      }
      for (int32_t offset = -11; offset <= 11; ++offset) {
        addLog(logs, at + "path " + std::to_string(offset), expression(n, kPathFromHistory, {offset}));
      }
      scene.events.push_back({{}, std::move(logs)});
    }
    for (EventLine& line : more) scene.events.push_back(std::move(line));
    runtime = std::make_unique<Runtime>(extension, std::move(scene));
  }

  static std::vector<int32_t> defaultElements() {
    std::vector<int32_t> elements;
    for (int32_t i = -1; i <= 12; ++i) elements.push_back(i);
    return elements;
  }

  nimbo::RUNDATA* rd(int n = 0) { return nimbo::runData(runtime->nimboRecord(n)); }

  void act(int code, voValue first, voValue second = 0, int n = 0) {
    static_cast<const voActionRoutine*>(runtime->runInfo().actions)[code](runtime->nimboRecord(n), first,
                                                                          second);
  }
  void setPath(const Text& path, int n = 0) { act(kSetPath, reinterpret_cast<voValue>(path.c_str()), 0, n); }
  void setPath(const fs::path& path, int n = 0) { setPath(textOf(path), n); }
  void setIndex(int32_t index, int n = 0) { act(kSetIndex, index, 0, n); }
  void rename(const Text& oldName, const Text& newName) {
    act(kRename, reinterpret_cast<voValue>(oldName.c_str()), reinterpret_cast<voValue>(newName.c_str()));
  }
  void rename(const std::string& oldName, const std::string& newName) {
    rename(asText(oldName), asText(newName));
  }

  int32_t condition(int code, int n = 0) {
    return static_cast<const voConditionRoutine*>(runtime->runInfo().conditions)[code](
        runtime->nimboRecord(n), 0, 0);
  }

  fs::path makeDirectory(const std::string& name, int files = 0, int dirs = 0) {
    fs::path directory = root / name;
    fs::create_directories(directory);
    for (int i = 0; i < files; ++i) touch(directory / numbered("f", i, ".txt"));
    for (int i = 0; i < dirs; ++i) fs::create_directory(directory / numbered("d", i));
    return directory;
  }

  std::string separated(const fs::path& directory) {
    return utf8Of(directory) + static_cast<char>(kSeparator);
  }
};

// The names of a list as the expressions give them, element 0 to count - 1.
std::set<std::string> names(const StepRecord& record, const std::string& list, int32_t count, int n = 0) {
  std::set<std::string> found;
  for (int32_t i = 0; i < count; ++i)
    found.insert(loggedText(record, std::to_string(n) + " " + list + " " + std::to_string(i)));
  return found;
}

bool raised(const StepRecord& record, int code) {
  return std::count(record.raised.begin(), record.raised.end(), RaisedCondition{0, code}) == 1;
}

std::vector<ShownMessageBox> boxesWithCaption(const std::string& caption) {
  std::vector<ShownMessageBox> boxes = takeMessageBoxes();
  for (const ShownMessageBox& box : boxes) EXPECT_EQ(box.caption, caption) << box.text;
  return boxes;
}

// Listing.

TEST_F(FileSystem, SetPathListsFilesAndDirectoriesAndConfirmsInTheNextFrameStepOnly) {
  fs::path a = makeDirectory("a", 3, 2);
  start();
  EXPECT_EQ(condition(kConfirmed), 0);
  setPath(a);
  EXPECT_EQ(condition(kConfirmed), 1);
  EXPECT_EQ(condition(kInvalid), 0);
  StepRecord first = runtime->step();
  EXPECT_TRUE(raised(first, kConfirmed));
  EXPECT_FALSE(raised(first, kInvalid));
  EXPECT_EQ(loggedNumber(first, "0 files"), 3);
  EXPECT_EQ(loggedNumber(first, "0 dirs"), 2);
  EXPECT_EQ(names(first, "file", 3), (std::set<std::string>{"f0.txt", "f1.txt", "f2.txt"}));
  EXPECT_EQ(names(first, "dir", 2), (std::set<std::string>{"d0", "d1"}));
  EXPECT_EQ(loggedText(first, "0 path 0"), separated(a));
  EXPECT_FALSE(raised(runtime->step(), kConfirmed));
  EXPECT_EQ(condition(kConfirmed), -1);
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(FileSystem, NamesOutsideTheCountsReadOutOfRange) {
  fs::path a = makeDirectory("a", 2, 1);
  start();
  StepRecord before = runtime->step();
  EXPECT_EQ(loggedText(before, "0 file 0"), kOutOfRange);
  EXPECT_EQ(loggedNumber(before, "0 files"), -1);
  EXPECT_EQ(loggedNumber(before, "0 dirs"), -1);
  setPath(a);
  StepRecord after = runtime->step();
  EXPECT_EQ(loggedText(after, "0 file -1"), kOutOfRange);
  EXPECT_EQ(loggedText(after, "0 file 2"), kOutOfRange);
  EXPECT_EQ(loggedText(after, "0 dir -1"), kOutOfRange);
  EXPECT_EQ(loggedText(after, "0 dir 1"), kOutOfRange);
  EXPECT_EQ(loggedText(after, "0 dir 0"), "d0");
}

TEST_F(FileSystem, APathWithOrWithoutItsTrailingSeparatorIsTheSameHistoryEntry) {
  fs::path a = makeDirectory("a", 1);
  start();
  setPath(a);
  setPath(textOf(a) + kSeparator);
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "0 entries"), 1);
  EXPECT_EQ(loggedNumber(record, "0 index"), 0);
  EXPECT_EQ(loggedNumber(record, "0 files"), 1);
}

TEST_F(FileSystem, TheSamePathTwiceKeepsOneEntryAndListsAgain) {
  fs::path a = makeDirectory("a", 1);
  fs::path b = makeDirectory("b", 1);
  start();
  setPath(a);
  setPath(b);
  setPath(b);
  EXPECT_EQ(loggedNumber(runtime->step(), "0 files"), 1);
  touch(b / "new.txt");
  setPath(b);
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "0 entries"), 2);
  EXPECT_EQ(loggedNumber(record, "0 index"), 1);
  EXPECT_EQ(names(record, "file", 2), (std::set<std::string>{"f0.txt", "new.txt"}));
}

TEST_F(FileSystem, ListingsOfMoreThan52200UnitsOfNamesKeepEveryName) {
  constexpr int kFiles = 1500, kDirs = 700;
  fs::path big = root / "big";
  fs::create_directories(big);
  std::set<std::string> fileNames, dirNames;
  for (int i = 0; i < kFiles; ++i) {
    std::string name = "file_" + std::string(40, 'f') + "_" + std::to_string(i);
    touch(big / name);
    fileNames.insert(name);
  }
  for (int i = 0; i < kDirs; ++i) {
    std::string name = "dir_" + std::string(80, 'd') + "_" + std::to_string(i);
    fs::create_directory(big / name);
    dirNames.insert(name);
  }
  std::vector<int32_t> elements;
  for (int32_t i = 0; i < kFiles; ++i) elements.push_back(i);
  start(1, elements);
  setPath(big);
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "0 files"), kFiles);
  EXPECT_EQ(loggedNumber(record, "0 dirs"), kDirs);
  EXPECT_EQ(names(record, "file", kFiles), fileNames);
  EXPECT_EQ(names(record, "dir", kDirs), dirNames);
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(FileSystem, TheNameListsAreSharedWhileEachInstanceKeepsItsCountsAndHistory) {
  fs::path a = makeDirectory("a", 3);
  fs::path b = makeDirectory("b", 1);
  start(2);
  setPath(a, 0);
  setPath(b, 1);
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "0 files"), 3);
  EXPECT_EQ(loggedNumber(record, "1 files"), 1);
  EXPECT_EQ(loggedText(record, "0 file 0"), "f0.txt");  // b's only file, listed last
  EXPECT_EQ(loggedText(record, "0 file 2"), kOutOfRange);
  EXPECT_EQ(loggedText(record, "0 path 0"), separated(a));
  EXPECT_EQ(loggedText(record, "1 path 0"), separated(b));
  EXPECT_EQ(loggedNumber(record, "0 entries"), 1);
  EXPECT_EQ(loggedNumber(record, "1 entries"), 1);
}

// History.

TEST_F(FileSystem, SetPathOnTheNextHistoryEntryAdvancesAndAnotherPathDropsTheNewerEntries) {
  fs::path a = makeDirectory("a"), b = makeDirectory("b"), c = makeDirectory("c"), d = makeDirectory("d");
  start();
  setPath(a);
  setPath(b);
  setPath(c);
  setIndex(0);
  setPath(b);
  StepRecord advanced = runtime->step();
  EXPECT_EQ(loggedNumber(advanced, "0 entries"), 3);
  EXPECT_EQ(loggedNumber(advanced, "0 index"), 1);
  EXPECT_EQ(loggedText(advanced, "0 path 1"), separated(c));

  setIndex(0);
  setPath(d);
  StepRecord branched = runtime->step();
  EXPECT_EQ(loggedNumber(branched, "0 entries"), 2);
  EXPECT_EQ(loggedNumber(branched, "0 index"), 1);
  EXPECT_EQ(loggedText(branched, "0 path -1"), separated(a));
  EXPECT_EQ(loggedText(branched, "0 path 0"), separated(d));
}

TEST_F(FileSystem, TheEleventhPathDropsTheOldestAndTheIndexStaysOnTheLast) {
  start();
  for (int i = 0; i < 11; ++i) setPath(makeDirectory(numbered("p", i)));
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "0 entries"), 10);
  EXPECT_EQ(loggedNumber(record, "0 index"), 9);
  EXPECT_EQ(loggedText(record, "0 path -11"), separated(root / "p1"));
  EXPECT_EQ(loggedText(record, "0 path 0"), separated(root / "p10"));
}

TEST_F(FileSystem, HistoryPathsAreClampedToTheHistoryAndMissingBeforeAnyListing) {
  fs::path a = makeDirectory("a"), b = makeDirectory("b"), c = makeDirectory("c");
  start();
  StepRecord empty = runtime->step();
  EXPECT_EQ(loggedText(empty, "0 path 0"), "** No Data in Path History **");
  EXPECT_EQ(loggedText(empty, "0 path -3"), "** No Data in Path History **");
  EXPECT_EQ(loggedNumber(empty, "0 index"), -1);
  setPath(a);
  setPath(b);
  setPath(c);
  setIndex(1);
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedText(record, "0 path -11"), separated(a));
  EXPECT_EQ(loggedText(record, "0 path -1"), separated(a));
  EXPECT_EQ(loggedText(record, "0 path 0"), separated(b));
  EXPECT_EQ(loggedText(record, "0 path 1"), separated(c));
  EXPECT_EQ(loggedText(record, "0 path 11"), separated(c));
}

TEST_F(FileSystem, SetIndexClampsToTheHistoryAndStaysUnsetOnAnEmptyOne) {
  start();
  for (int32_t argument : {0, 5, -5, INT32_MIN, INT32_MAX}) {
    setIndex(argument);
    EXPECT_EQ(rd()->historyIndex, -1) << argument;
  }
  for (const char* name : {"a", "b", "c", "d"}) setPath(makeDirectory(name));
  setIndex(99);
  EXPECT_EQ(rd()->historyIndex, 3);
  setIndex(-5);
  EXPECT_EQ(rd()->historyIndex, 0);
  setIndex(2);
  EXPECT_EQ(loggedNumber(runtime->step(), "0 index"), 2);
}

// Bad paths.

TEST_F(FileSystem, AMissingDirectoryShowsTheFilesystemBoxKeepsTheHistoryAndRaisesInvalidOnce) {
  fs::path a = makeDirectory("a", 2);
  start();
  setPath(a);
  runtime->step();
  setPath(root / "missing");
  std::vector<ShownMessageBox> boxes = boxesWithCaption(kFilesystemError);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("missing"), std::string::npos)
      << boxes[0].text;  // the description names the path
  StepRecord record = runtime->step();
  EXPECT_TRUE(raised(record, kInvalid));
  EXPECT_FALSE(raised(record, kConfirmed));
  EXPECT_EQ(loggedNumber(record, "0 files"), -1);
  EXPECT_EQ(loggedNumber(record, "0 dirs"), -1);
  EXPECT_EQ(loggedNumber(record, "0 entries"), 1);
  EXPECT_EQ(loggedText(record, "0 path 0"), separated(a));
  EXPECT_EQ(condition(kConfirmed), 0);
  EXPECT_FALSE(raised(runtime->step(), kInvalid));
  EXPECT_EQ(condition(kInvalid), -1);
}

TEST_F(FileSystem, AFileGivenAsThePathShowsTheFilesystemBox) {
  touch(root / "plain.txt");
  start();
  setPath(root / "plain.txt");
  EXPECT_EQ(boxesWithCaption(kFilesystemError).size(), 1u);
  EXPECT_EQ(condition(kInvalid), 1);
  EXPECT_EQ(loggedNumber(runtime->step(), "0 entries"), 0);
}

TEST_F(FileSystem, APathOf260UnitsIsListedAnd261IsRefusedWithItsBox) {
  Text base = textOf(root) + kSeparator;
  Text accepted = base + Text(259 - base.size(), NIMBO_TEXT('x'));  // 260 with the separator appended
  Text refused = accepted + NIMBO_TEXT('y');
  start();
  setPath(refused);
  std::vector<ShownMessageBox> boxes = boxesWithCaption(kLongPathCaption);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "MAX_PATH_LENGTH < 262");
  EXPECT_EQ(condition(kInvalid), 1);
  EXPECT_EQ(condition(kConfirmed), 0);
  EXPECT_EQ(rd()->historyIndex, -1);

  // The limit lets it through to the file system, which does not know it yet.
  setPath(accepted);
  EXPECT_EQ(boxesWithCaption(kFilesystemError).size(), 1u);
#ifndef _WIN32
  fs::create_directory(fs::path(accepted));
  setPath(accepted);
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_EQ(condition(kConfirmed), 1);
  EXPECT_EQ(rd()->pathHistory.at(0).size(), 260u);
#endif
}

TEST_F(FileSystem, AnEmptyPathListsTheRootDirectory) {
  start();
  setPath(Text());
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_EQ(condition(kConfirmed), 1);
  EXPECT_EQ(loggedText(runtime->step(), "0 path 0"), std::string(1, static_cast<char>(kSeparator)));
}

#ifndef _WIN32
TEST_F(FileSystem, ADanglingLinkIsSkippedAndTheRestListed) {
  fs::path a = makeDirectory("a", 2, 1);
  fs::create_symlink(a / "nowhere", a / "dangling");
  fs::create_directory_symlink(a / "d0", a / "linked_dir");
  start();
  setPath(a);
  EXPECT_TRUE(takeMessageBoxes().empty());
  StepRecord record = runtime->step();
  EXPECT_EQ(names(record, "file", loggedNumber(record, "0 files")),
            (std::set<std::string>{"f0.txt", "f1.txt"}));
  EXPECT_EQ(names(record, "dir", loggedNumber(record, "0 dirs")),
            (std::set<std::string>{"d0", "linked_dir"}));
}

TEST_F(FileSystem, AnEntryWhoseStatusCannotBeReadShowsTheFilesystemBox) {
  fs::path a = makeDirectory("a", 1);
  fs::create_symlink("loop", a / "loop");
  start();
  setPath(a);
  std::vector<ShownMessageBox> boxes = boxesWithCaption(kFilesystemError);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("directory_entry::status"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(condition(kInvalid), 1);
  EXPECT_EQ(loggedNumber(runtime->step(), "0 files"), -1);
}

TEST_F(FileSystem, ADirectoryWithoutReadPermissionShowsTheFilesystemBox) {
  if (geteuid() == 0)
    GTEST_SKIP() << "running as root, where a directory without read permission still reads";
  fs::path a = makeDirectory("a", 1);
  fs::permissions(a, fs::perms::none);
  start();
  setPath(a);
  EXPECT_EQ(boxesWithCaption(kFilesystemError).size(), 1u);
  EXPECT_EQ(condition(kInvalid), 1);
}

TEST_F(FileSystem, ANameThatIsNotUtf8IsListedWithEscapesAndRenamesBack) {
  fs::path a = makeDirectory("a");
  const std::string raw = std::string("bad") + '\xff' + '\xc3' + "name.txt";
  touch(a / "good.txt");
  touch(a / fs::path(raw));
  touch(a / "zz.txt");
  const Text escaped = asText("bad") + Text{0xDCFF, 0xDCC3} + asText("name.txt");
  start();
  setPath(a);
  EXPECT_TRUE(takeMessageBoxes().empty());
  StepRecord record = runtime->step();
  ASSERT_EQ(loggedNumber(record, "0 files"), 3);
  int32_t element = -1;
  for (int32_t i = 0; i < 3; ++i) {
    if (loggedText(record, "0 file " + std::to_string(i)) == toUtf8(escaped)) element = i;
  }
  ASSERT_NE(element, -1) << "the name with escapes is not listed";

  // The TEXT receives the name's code units exactly as the expression returns them.
  start(1, {}, {{{}, {ExtensionAction{0, kSetText, {expression(0, kFileName, {element})}}}}});
  setPath(a);
  runtime->step();
  EXPECT_EQ(Text(rd()->sText), escaped);
  rename(escaped, asText("fixed.txt"));
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_TRUE(fs::exists(a / "fixed.txt"));
  EXPECT_FALSE(fs::exists(a / fs::path(raw)));
}
#endif

// Rename.

TEST_F(FileSystem, RenameBeforeAnyListingDoesNothing) {
  touch(root / "a.txt");
  start();
  rename("a.txt", "b.txt");
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_TRUE(fs::exists(root / "a.txt"));
}

TEST_F(FileSystem, RenameRenamesInTheCurrentEntryAndTheListKeepsTheOldNameUntilTheNextSetPath) {
  fs::path a = makeDirectory("a", 1), b = makeDirectory("b", 1);
  start();
  setPath(a);
  setPath(b);
  setIndex(0);
  rename("f0.txt", "renamed.txt");
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_TRUE(fs::exists(a / "renamed.txt"));
  EXPECT_TRUE(fs::exists(b / "f0.txt"));
  StepRecord kept = runtime->step();
  EXPECT_EQ(loggedText(kept, "0 file 0"), "f0.txt");
  EXPECT_EQ(loggedNumber(kept, "0 entries"), 2);
  EXPECT_EQ(loggedNumber(kept, "0 index"), 0);
  setPath(a);
  EXPECT_EQ(loggedText(runtime->step(), "0 file 0"), "renamed.txt");
}

TEST_F(FileSystem, RenameToANameThatBeginsWithTheOldOneRenames) {
  fs::path a = makeDirectory("a");
  touch(a / "a.txt");
  start();
  setPath(a);
  rename("a.txt", "a.txt.bak");
  EXPECT_TRUE(takeMessageBoxes().empty());
  EXPECT_TRUE(fs::exists(a / "a.txt.bak"));
  EXPECT_FALSE(fs::exists(a / "a.txt"));
}

TEST_F(FileSystem, RenameToTheSameOrAnExistingNameChangesNothingAndShowsNothing) {
  fs::path a = makeDirectory("a");
  std::ofstream(a / "a.txt") << "first";
  std::ofstream(a / "b.txt") << "second";
  start();
  setPath(a);
  rename("a.txt", "a.txt");
  rename("a.txt", "b.txt");
  EXPECT_TRUE(takeMessageBoxes().empty());
  std::string first, second;
  std::ifstream(a / "a.txt") >> first;
  std::ifstream(a / "b.txt") >> second;
  EXPECT_EQ(first, "first");
  EXPECT_EQ(second, "second");
}

TEST_F(FileSystem, RenameOfAMissingNameShowsTheFilesystemBox) {
  fs::path a = makeDirectory("a");
  start();
  setPath(a);
  rename("missing.txt", "other.txt");
  EXPECT_EQ(boxesWithCaption(kFilesystemError).size(), 1u);
  EXPECT_FALSE(fs::exists(a / "other.txt"));
  EXPECT_EQ(condition(kInvalid), 0);
}

TEST_F(FileSystem, RenameWhoseFullPathDoesNotFitItsBufferIsRefusedWithItsBox) {
  fs::path a = makeDirectory("a");
  touch(a / "a.txt");
  start();
  setPath(a);
  size_t directoryUnits = rd()->pathHistory.at(0).size();
  std::string exactlyFull(522 - directoryUnits, 'n');
  rename("a.txt", exactlyFull);
  std::vector<ShownMessageBox> boxes = boxesWithCaption(kLongRenameCaption);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "MAX_PATH_LENGTH < 523");
  rename(exactlyFull + "n", "a.txt.bak");
  boxes = boxesWithCaption(kLongRenameCaption);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "MAX_PATH_LENGTH < 524");
  EXPECT_TRUE(fs::exists(a / "a.txt"));
  EXPECT_FALSE(fs::exists(a / "a.txt.bak"));

  // One unit less fits, and the file system has its say on such a long name.
  rename("a.txt", exactlyFull.substr(1));
  EXPECT_EQ(boxesWithCaption(kFilesystemError).size(), 1u);
  EXPECT_TRUE(fs::exists(a / "a.txt"));
}

}  // namespace
}  // namespace vohost
