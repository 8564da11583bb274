// The sweep's checks: for every routine and state, cases that put each hostile value of a parameter's
// kind in each parameter position at least once; a seed adds random cases. A check is a small scene.
#include <algorithm>
#include <climits>
#include <random>

#include "vohost/checks/sweep.h"
#include "vohost/simhost/editor.h"
#include "vohost/simhost/scene_run.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int kRandomCases = 8;
constexpr int kSetupFrame = 0, kCallFrame = 1, kFrames = 4;
constexpr int16_t kBackdropKind = 1;
constexpr int kAddPath = 4;

nimbo::Text ascii(const char* text) {
  nimbo::Text out;
  while (*text) out += static_cast<nimbo::Char>(*text++);
  return out;
}

nimbo::Text surrogates() {
  return {nimbo::Char(0xD800), nimbo::Char('x'), nimbo::Char(0xDC00), nimbo::Char(0xDBFF)};
}

// Built once: a check refers to its values, so a million-unit text is not copied for every case.
const std::vector<HostileValue>& hostileTexts() {
  static const std::vector<HostileValue> values = {
      {"empty text", nimbo::Text()},
      {"1-unit text", ascii("a")},
      {"1000000-unit text", nimbo::Text(1000000, nimbo::Char('a'))},
      {"unpaired surrogates", surrogates()},
      {"regex metacharacters", ascii("^$.*+?()[]{}|\\/-")},
      {"unclosed groups", ascii("(((((a")},
      {"nested repetition", ascii("(a*)*(a|a)*b")},
      {"number list", ascii("1,2,3,4,5,6,7,8,9,10")},
      {"numbers out of range", ascii("99999999999,-99999999999,+-1, ,.,-.")},
      {"parent folder", ascii("..")}};
  return values;
}

const std::vector<HostileValue>& hostileNumbers() {
  static const std::vector<HostileValue> values = {{"INT_MIN", int32_t{INT_MIN}},
                                                   {"INT_MAX", int32_t{INT_MAX}},
                                                   {"-1", int32_t{-1}},
                                                   {"0", int32_t{0}},
                                                   {"1", int32_t{1}},
                                                   {"7", int32_t{7}}};
  return values;
}

const std::vector<HostileValue>& hostileObjects() {
  static const std::vector<HostileValue> values = {
      {"active objects", ObjectSelection{"Ball", {}}},
      {"non-active object", ObjectSelection{"Wall", {}}},
      {"objects destroyed in the destroyed state", ObjectSelection{"Gone", {}}},
      {"null object", ObjectSelection{}}};
  return values;
}

// The hostile values a declared parameter kind takes.
const std::vector<HostileValue>& valuesFor(CatalogKind kind, int declared) {
  if (kind == CatalogKind::expression)
    return declared == VO_EXPPARAM_TEXT ? hostileTexts() : hostileNumbers();
  if (declared == VO_PARAM_TEXT) return hostileTexts();
  if (declared == VO_PARAM_OBJECT) return hostileObjects();
  return hostileNumbers();
}

struct Routine {
  CatalogKind kind;
  int code;
  std::vector<const std::vector<HostileValue>*> choices;  // per parameter
};

std::vector<Routine> routines(const Extension& extension) {
  const Exports& exports = extension.exports();
  Editor editor;
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  std::vector<Routine> found;
  for (auto [kind, count] : {std::pair{CatalogKind::action, info.actionCount},
                             std::pair{CatalogKind::condition, info.conditionCount},
                             std::pair{CatalogKind::expression, info.expressionCount}}) {
    for (int code = 0; code < count; ++code) {
      std::optional<CatalogEntryInfo> entry = entryInfo(exports, editor.record(), kind, code);
      if (!entry) continue;
      Routine routine{kind, code, {}};
      for (int declared : entry->parameterKinds) routine.choices.push_back(&valuesFor(kind, declared));
      found.push_back(std::move(routine));
    }
  }
  return found;
}

std::string routineName(const Routine& routine) {
  return kindName(routine.kind) + std::to_string(routine.code);
}

// Case i gives parameter p the value (i + p) of its kind, so every value meets every position.
std::vector<const HostileValue*> diagonalCase(const Routine& routine, size_t i) {
  std::vector<const HostileValue*> params;
  for (size_t p = 0; p < routine.choices.size(); ++p) {
    const std::vector<HostileValue>& values = *routine.choices[p];
    params.push_back(&values[(i + p) % values.size()]);
  }
  return params;
}

size_t diagonalCount(const Routine& routine) {
  size_t count = 1;
  for (const auto* values : routine.choices) count = std::max(count, values->size());
  return count;
}

bool selected(const std::string& name, const SweepOptions& options) {
  auto matches = [&](const std::string& pattern) { return matchesPattern(name, pattern); };
  if (!options.only.empty() && std::none_of(options.only.begin(), options.only.end(), matches)) return false;
  return std::none_of(options.skip.begin(), options.skip.end(), matches);
}

// Scene pieces.

Condition onFrame(int frame) {
  return HostCondition{HostConditionKind::frame, frame, Comparison::equal, {}};
}

ObjectSelection instance(const char* type, int index) {
  return ObjectSelection{type, {index}};
}

Action extensionAction(int code, std::vector<Parameter> params) {
  return ExtensionAction{0, code, std::move(params)};
}

nimbo::Text pathText(const std::filesystem::path& path) {
  std::u8string utf8 = path.u8string();
  return fromUtf8(std::string(utf8.begin(), utf8.end()));
}

// Every motion kind, on live objects and on those the destroyed state takes away.
void addMotions(std::vector<Action>& actions) {
  actions.push_back(extensionAction(17, {instance("Ball", 0), int32_t{3}}));
  actions.push_back(extensionAction(18, {instance("Ball", 1), int32_t{-5}}));
  actions.push_back(extensionAction(20, {instance("Gone", 1), int32_t{4}}));
  actions.push_back(extensionAction(22, {instance("Ball", 2), instance("Gone", 0), int32_t{50}, int32_t{7}}));
  actions.push_back(extensionAction(23, {instance("Ball", 0), ascii("still")}));
  actions.push_back(
      extensionAction(24, {ascii("waves"), instance("Gone", 0), int32_t{2}, int32_t{20}, int32_t{5}}));
  actions.push_back(extensionAction(
      29, {ascii("orbit"), instance("Ball", 1), instance("Gone", 1), ascii("50,50,-2,0,0,0")}));
}

std::vector<Action> setupActions(SweepState state, const std::filesystem::path& folder) {
  std::vector<Action> actions;
  if (state == SweepState::listed) {
    actions.push_back(extensionAction(kAddPath, {pathText(folder)}));
    actions.push_back(extensionAction(kAddPath, {pathText(folder / "sub")}));
  }
  if (state == SweepState::moving || state == SweepState::destroyed) addMotions(actions);
  if (state == SweepState::destroyed) {
    actions.push_back(HostAction{HostActionKind::destroyObject, {}, {ObjectSelection{"Gone", {}}}});
  }
  return actions;
}

std::vector<Parameter> values(const std::vector<const HostileValue*>& params) {
  std::vector<Parameter> out;
  for (const HostileValue* param : params) out.push_back(param->value);
  return out;
}

// The line that calls the routine on the call frame.
EventLine callLine(const SweepCheck& check) {
  EventLine line;
  std::vector<Parameter> params = values(check.params);
  switch (check.kind) {
    case CatalogKind::action:
      line.conditions.push_back(onFrame(kCallFrame));
      line.actions.push_back(extensionAction(check.code, std::move(params)));
      break;
    case CatalogKind::condition:
      // A raised condition heads its line and runs when the extension raises it.
      line.conditions.push_back(ExtensionCondition{0, check.code, std::move(params)});
      line.actions.push_back(HostAction{HostActionKind::log, "condition", {int32_t{1}}});
      break;
    case CatalogKind::expression: {
      auto call = std::make_shared<const ExpressionCall>(ExpressionCall{0, check.code, std::move(params)});
      line.conditions.push_back(onFrame(kCallFrame));
      line.actions.push_back(HostAction{HostActionKind::log, "expression", {call}});
      break;
    }
  }
  return line;
}

Scene checkScene(const SweepCheck& check, size_t caseIndex, const std::filesystem::path& folder) {
  Scene scene;
  scene.frame.frames = kFrames;
  InstanceSettings ball = stockBall();
  scene.objects.push_back({"Ball", VO_KIND_ACTIVE, {ball, ball, ball}});
  scene.objects[0].instances[1].x = 300;
  scene.objects[0].instances[2].y = 400;
  scene.objects.push_back({"Wall", kBackdropKind, {InstanceSettings{}}});
  scene.objects.push_back({"Gone", VO_KIND_ACTIVE, {ball, ball}});
  EditOverrides nimbo;
  nimbo.popup = static_cast<uint8_t>(caseIndex % 2);
  scene.nimbo.push_back(nimbo);
  scene.events.push_back({{onFrame(kSetupFrame)}, setupActions(check.state, folder)});
  scene.events.push_back(callLine(check));
  return scene;
}

size_t caseIndexOf(const std::string& name) {
  size_t slash = name.rfind('/');
  std::string tail = name.substr(slash + 1);
  return std::stoul(tail[0] == 'r' ? tail.substr(1) : tail);
}

}  // namespace

const char* stateName(SweepState state) {
  switch (state) {
    case SweepState::fresh:
      return "fresh";
    case SweepState::listed:
      return "listed";
    case SweepState::moving:
      return "moving";
    case SweepState::destroyed:
      return "destroyed";
  }
  return "";
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
  size_t star = pattern.find('*');
  if (star == std::string::npos) return name == pattern;
  std::string head = pattern.substr(0, star);
  if (name.compare(0, head.size(), head) != 0) return false;
  std::string rest = pattern.substr(star + 1);
  for (size_t from = head.size(); from <= name.size(); ++from) {
    if (matchesPattern(name.substr(from), rest)) return true;
  }
  return false;
}

std::vector<SweepCheck> sweepChecks(const Extension& extension, const SweepOptions& options) {
  std::vector<SweepCheck> checks;
  std::mt19937_64 random(options.seed.value_or(0));
  for (const Routine& routine : routines(extension)) {
    for (SweepState state :
         {SweepState::fresh, SweepState::listed, SweepState::moving, SweepState::destroyed}) {
      std::string prefix = routineName(routine) + "/" + stateName(state) + "/";
      for (size_t i = 0; i < diagonalCount(routine); ++i) {
        checks.push_back(
            {prefix + std::to_string(i), routine.kind, routine.code, state, diagonalCase(routine, i)});
      }
      for (int i = 0; options.seed && i < kRandomCases; ++i) {
        std::vector<const HostileValue*> params;
        for (const auto* values : routine.choices) params.push_back(&(*values)[random() % values->size()]);
        checks.push_back({prefix + "r" + std::to_string(i), routine.kind, routine.code, state, params});
      }
    }
  }
  std::erase_if(checks, [&](const SweepCheck& check) { return !selected(check.name, options); });
  return checks;
}

Scene sweepScene(const SweepCheck& check, const std::filesystem::path& folder) {
  return checkScene(check, caseIndexOf(check.name), folder);
}

void runSweepCheck(const Extension& extension, const SweepCheck& check, const std::filesystem::path& folder) {
  runScene(extension, sweepScene(check, folder), -1, [](const StepRecord&) {});
}

}  // namespace vohost
