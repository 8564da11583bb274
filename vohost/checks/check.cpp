// The conformance checks. Each one is a small function returning its verdict; they run in order and a
// failed one never stops the next, except that nothing runs without every export.
#include "vohost/checks/check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "vohost/checks/catalog_print.h"
#include "vohost/simhost/editor.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

using Verdict = std::string;  // empty = passed, else what differed

constexpr uint32_t kTooOldBuild = 0x02000000u | 279u;
constexpr uint32_t kTooOldVersion = 0x01000000u | 284u;
constexpr int kLifecycleInstances = 3;
constexpr int kLifecycleSteps = 3;

std::string hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

Verdict expectEqual(const std::string& what, long long got, long long expected) {
  return got == expected ? Verdict()
                         : what + " is " + std::to_string(got) + ", expected " + std::to_string(expected);
}

// Joins the verdicts that are not empty.
Verdict all(std::initializer_list<Verdict> verdicts) {
  Verdict joined;
  for (const Verdict& verdict : verdicts) {
    if (!verdict.empty()) joined += (joined.empty() ? "" : "; ") + verdict;
  }
  return joined;
}

Verdict checkInfos(const Exports& x) {
  Verdict verdict;
  for (int32_t query = 0; query < 16; ++query) {
    int32_t expected = query == 0   ? 768
                       : query == 2 ? 256
                       : query == 6 ? 2
                       : query == 7 ? 280
                       : query == 8 ? 1
                                    : 0;
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) on a literal + temporary string here.
    std::string call = "GetInfos(";
    call += std::to_string(query);
    call += ")";
    verdict = all({verdict, expectEqual(call, x.GetInfos(query), expected)});
  }
  return verdict;
}

Verdict checkRunInfos(const Exports& x) {
  Editor editor;
  voRunInfo info{};
  x.GetRunObjectInfos(editor.record(), &info);
  return all(
      {expectEqual("conditions", info.conditionCount, 8), expectEqual("actions", info.actionCount, 54),
       expectEqual("expressions", info.expressionCount, 19),
       expectEqual("EDITDATA size", info.editDataSize, 48),
       info.flags == 0x180 ? "" : "flags " + hex(info.flags) + ", expected 0x180",
       expectEqual("priority", info.windowProcPriority, 100),
       info.identifier == 0x4E4D424Fu ? "" : "identifier " + hex(info.identifier) + ", expected 'NMBO'",
       expectEqual("version", info.version, 1),
       info.conditions && info.actions && info.expressions ? "" : "a jump table is null"});
}

Verdict checkTableOrder(const Exports& x, CatalogKind kind, const std::vector<int>& expected) {
  Editor editor;
  std::vector<int> codes;
  for (const CatalogEntryInfo& entry :
       walkTable(x, editor.record(), kind, 0, static_cast<int>(expected.size()))) {
    codes.push_back(entry.code);
  }
  if (codes == expected) return {};
  std::string got;
  for (int code : codes) {
    if (!got.empty()) got += ',';
    got += std::to_string(code);
  }
  return std::string(kindName(kind)) + " table order is " + got;
}

std::vector<int> range(int first, int last) {
  std::vector<int> codes;
  for (int code = first; code <= last; ++code) codes.push_back(code);
  return codes;
}

std::vector<int> concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> codes;
  for (const auto& part : parts) codes.insert(codes.end(), part.begin(), part.end());
  return codes;
}

// A menu item whose id names no entry must be a disabled label; every other item and every entry agree.
Verdict checkMenuAgreement(const Exports& x, CatalogKind kind, int count) {
  Editor editor;
  bool isNull = false;
  std::vector<MenuNode> menu = readMenu(x, editor.record(), kind, isNull);
  if (isNull) return std::string(kindName(kind)) + " menu is null";
  std::vector<CatalogEntryInfo> entries = walkTable(x, editor.record(), kind, 0, count);
  std::map<int, const MenuNode*> items = menuItems(menu);
  Verdict verdict;
  for (const auto& [id, node] : items) {
    int code = codeFromMenu(x, editor.record(), kind, id);
    if (code < 0) {
      if (!node->disabled) verdict = all({verdict, "item " + std::to_string(id) + " maps to no entry"});
      continue;
    }
    auto entry = entryInfo(x, editor.record(), kind, code);
    if (!entry)
      verdict = all({verdict, "item " + std::to_string(id) + " maps to code " + std::to_string(code) +
                                  " without infos"});
  }
  for (const CatalogEntryInfo& entry : entries) {
    if (!items.contains(entry.menuId)) {
      verdict = all({verdict, "entry " + std::to_string(entry.code) + "'s menu id " +
                                  std::to_string(entry.menuId) + " is not in the menu"});
    } else if (codeFromMenu(x, editor.record(), kind, entry.menuId) != entry.code) {
      verdict = all({verdict, "menu id " + std::to_string(entry.menuId) + " does not map back to " +
                                  std::to_string(entry.code)});
    }
  }
  return verdict;
}

Verdict checkMenuItems(const Exports& x) {
  Editor editor;
  voEditor* e = editor.record();
  return all({expectEqual("condition of 26006", codeFromMenu(x, e, CatalogKind::condition, 26006), 6),
              expectEqual("action of 25008", codeFromMenu(x, e, CatalogKind::action, 25008), 51),
              expectEqual("action of 25161", codeFromMenu(x, e, CatalogKind::action, 25161), 49),
              expectEqual("expression of 27009", codeFromMenu(x, e, CatalogKind::expression, 27009), 9)});
}

// A title id of 0 shows the entry's menu text; expression 17's second title has no string.
Verdict checkStrings(const Exports& x, CatalogKind kind, int count) {
  Editor editor;
  bool isNull = false;
  std::map<int, const MenuNode*> items;
  std::vector<MenuNode> menu = readMenu(x, editor.record(), kind, isNull);
  items = menuItems(menu);
  Verdict verdict;
  for (const CatalogEntryInfo& entry : walkTable(x, editor.record(), kind, 0, count)) {
    std::string name = std::string(kindName(kind)) + " " + std::to_string(entry.code);
    if (displayString(x, editor.record(), kind, entry.code).empty())
      verdict = all({verdict, name + " has no display string"});
    for (size_t i = 0; i < entry.titleIds.size(); ++i) {
      if (kind == CatalogKind::expression && entry.code == 17 && i == 1) continue;
      std::string title = parameterTitle(x, editor.record(), kind, entry.code, static_cast<int>(i));
      if (title.empty()) verdict = all({verdict, name + " parameter " + std::to_string(i) + " has no title"});
      auto item = items.find(entry.menuId);
      if (entry.titleIds[i] == 0 && item != items.end() && title != item->second->text) {
        verdict =
            all({verdict, name + " parameter " + std::to_string(i) + " does not fall back to its menu text"});
      }
    }
  }
  return verdict;
}

Verdict checkTooOld(const Exports& x, uint32_t version) {
  Editor editor(version);
  Verdict verdict;
  for (CatalogKind kind : {CatalogKind::condition, CatalogKind::action, CatalogKind::expression}) {
    void* menu = kindMenu(x, editor.record(), kind);
    if (menu) {
      nimbo::platform::destroyMenu(menu);
      verdict = all({verdict, std::string(kindName(kind)) + " menu given to editor " + hex(version)});
    }
  }
  EditData block(48);
  return all(
      {verdict, expectEqual("CreateObject", x.CreateObject(editor.record(), nullptr, block.data()), -1)});
}

// Read through the property sheet, as the editor shows a new object.
Verdict checkCreateDefaults(const Exports& x) {
  Editor editor;
  std::unique_ptr<EditData> block = createEditData(x, editor, {});
  std::string text = toUtf8(textProperty(x, editor, *block));
  return all({expectEqual("pop-up box", x.GetPropCheck(editor.record(), block->data(), kPopupProperty), 1),
              expectEqual("case box", x.GetPropCheck(editor.record(), block->data(), kCaseProperty), 0),
              expectEqual("size", block->size(), 60),
              text == "日本語表現" ? "" : "TEXT is \"" + text + "\""});
}

// Several instances stepped a few frames: condition 0 is raised for each on every step.
Verdict checkLifecycle(const Extension& extension) {
  Scene scene;
  scene.frame.frames = kLifecycleSteps;
  scene.objects.push_back({"Ball", VO_KIND_ACTIVE, {InstanceSettings{}, InstanceSettings{}}});
  scene.nimbo.resize(kLifecycleInstances);
  scene.nimbo[1].text = nimbo::Text();
  scene.nimbo[2].popup = 0;
  Runtime runtime(extension, scene);
  const uint16_t* tree = extension.exports().GetDebugTree(runtime.nimboRecord(0));
  Verdict verdict = tree && tree[0] == 0xFFFF ? "" : "GetDebugTree is not the empty list";
  for (int step = 0; step < kLifecycleSteps; ++step) {
    StepRecord record = runtime.step();
    for (int nimbo = 0; nimbo < kLifecycleInstances; ++nimbo) {
      if (std::find(record.raised.begin(), record.raised.end(), RaisedCondition{nimbo, 0}) ==
          record.raised.end()) {
        verdict = all({verdict, "step " + std::to_string(step) + ": condition 0 not raised for instance " +
                                    std::to_string(nimbo)});
      }
    }
  }
  return verdict;
}

CheckResult judge(const std::string& name, const std::function<Verdict()>& check) {
  try {
    Verdict verdict = check();
    return {name, verdict.empty(), verdict};
  } catch (const std::exception& error) {
    return {name, false, error.what()};
  }
}

}  // namespace

std::vector<CheckResult> runChecks(const Extension& extension) {
  std::vector<CheckResult> results;
  std::string missing;
  for (const std::string& name : extension.missing())
    missing += (missing.empty() ? "missing: " : ", ") + name;
  results.push_back({"all exports present", missing.empty(), missing});
  if (!missing.empty()) return results;

  const Exports& x = extension.exports();
  const std::vector<std::pair<std::string, std::function<Verdict()>>> checks = {
      {"GetInfos answers", [&] { return checkInfos(x); }},
      {"GetRunObjectInfos: 8/54/19, EDITDATA 48, flags, priority, NMBO, version, tables",
       [&] { return checkRunInfos(x); }},
      {"GetRunObjectDataSize is 2808",
       [&] { return expectEqual("size", x.GetRunObjectDataSize(nullptr, nullptr), 2808); }},
      {"condition table order",
       [&] {
         return checkTableOrder(x, CatalogKind::condition, {0, 1, 2, 3, 6, 4, 5, 7});
       }},
      {"action table order",
       [&] {
         return checkTableOrder(x, CatalogKind::action, concat({range(0, 48), {50, 51, 49, 52, 53}}));
       }},
      {"expression table order",
       [&] {
         return checkTableOrder(x, CatalogKind::expression,
                                concat({{0, 1, 2, 3, 9, 10, 4, 5, 6, 7, 8}, range(11, 18)}));
       }},
      {"condition menu and entries agree", [&] { return checkMenuAgreement(x, CatalogKind::condition, 8); }},
      {"action menu and entries agree", [&] { return checkMenuAgreement(x, CatalogKind::action, 54); }},
      {"expression menu and entries agree",
       [&] { return checkMenuAgreement(x, CatalogKind::expression, 19); }},
      {"menu items 26006, 25008, 25161, 27009", [&] { return checkMenuItems(x); }},
      {"condition strings and titles", [&] { return checkStrings(x, CatalogKind::condition, 8); }},
      {"action strings and titles", [&] { return checkStrings(x, CatalogKind::action, 54); }},
      {"expression strings and titles", [&] { return checkStrings(x, CatalogKind::expression, 19); }},
      {"an editor older than build 280 gets no menus and no object",
       [&] { return checkTooOld(x, kTooOldBuild); }},
      {"an editor older than version 2 gets no menus and no object",
       [&] { return checkTooOld(x, kTooOldVersion); }},
      {"CreateObject defaults: pop-up box checked, case box clear, TEXT, size 60",
       [&] { return checkCreateDefaults(x); }},
      {"instances created, stepped and destroyed; condition 0 every step",
       [&] { return checkLifecycle(extension); }},
  };
  for (const auto& [name, check] : checks) results.push_back(judge(name, check));
  return results;
}

bool printChecks(const std::vector<CheckResult>& results, std::ostream& out) {
  int passed = 0;
  for (const CheckResult& result : results) {
    out << (result.passed ? "pass  " : "FAIL  ") << result.name;
    if (!result.passed) out << ": " << result.detail;
    out << '\n';
    passed += result.passed ? 1 : 0;
  }
  int failed = static_cast<int>(results.size()) - passed;
  out << passed << " passed, " << failed << " failed\n";
  return failed == 0;
}

}  // namespace vohost
