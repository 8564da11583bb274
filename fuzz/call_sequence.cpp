// Bytes to calls and back. Every byte string is a valid sequence: a byte past the end reads as 0, a
// code is taken modulo the table's size, a parameter takes the kind its routine declares.
#include "fuzz/call_sequence.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "vohost/simhost/editor.h"

namespace nimbo::fuzz {

namespace {

using namespace vohost;

constexpr size_t kMaxCalls = 64;
constexpr int kMaxFrame = 24;
constexpr int kMaxDepth = 2;  // expressions inside expressions
constexpr int kBalls = 3;
constexpr int kSetPath = 4, kRename = 6;
constexpr int kPassCondition = 0x20;  // evaluated on every pass, not raised
constexpr int kStringResult = 0x1;

enum Op : uint8_t { kStep, kAction, kCondition, kExpression, kDestroy, kDesk, kOps };
// The same mode byte means the same in number and text slots, so an encoded expression or raw value
// reads back whatever the slot.
enum Mode : uint8_t { kSmall, kRaw, kExtremeOrEmpty, kNestedExpression, kModes };
enum Desk : uint8_t { kCursor, kClipboardText, kClipboardData, kDeskActions };
// Object choices: every Ball, Ball 0..2, the backdrop, the null object.
enum ObjectChoice : uint8_t { kAllBalls = 0, kWallChoice = 1 + kBalls, kNullChoice, kObjectChoices };

constexpr char kAlphabet[] = "ab(|)*+?.,-0123456789\\[]^${} xyz";

int index(CatalogKind kind) {
  return static_cast<int>(kind);
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return position_ >= size_; }
  uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
  uint16_t twoBytes() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
  int32_t raw() { return static_cast<int32_t>(uint32_t{twoBytes()} | (uint32_t{twoBytes()} << 16)); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

class Decoder {
 public:
  Decoder(Reader& in, const Catalog& catalog, const Text& sandbox)
      : in_(in), catalog_(catalog), sandbox_(sandbox) {}

  Scene scene() {
    Scene scene;
    InstanceSettings ball = stockBall();
    ball.inkEffect = 13;
    scene.objects.push_back({"Ball", VO_KIND_ACTIVE, std::vector<InstanceSettings>(kBalls, ball)});
    scene.objects[0].instances[1].x = 300;
    scene.objects[0].instances[2].y = 400;
    scene.objects.push_back({"Wall", int16_t{1}, {InstanceSettings{}}});
    scene.nimbo.resize(2);
    scene.nimbo[0].popup = uint8_t{1};
    scene.nimbo[1].options = uint32_t{2};
    for (size_t calls = 0; !in_.done() && calls < kMaxCalls; ++calls) next(scene.events);
    scene.frame.frames = frame_ + 2;
    return scene;
  }

 private:
  const CatalogEntryInfo* entry(CatalogKind kind, uint8_t code) const {
    const auto& table = catalog_[index(kind)];
    if (table.empty()) return nullptr;
    const auto& found = table[code % table.size()];
    return found ? &*found : nullptr;
  }

  Condition onFrame() const { return HostCondition{HostConditionKind::frame, frame_, Comparison::equal, {}}; }

  static Action logged(Parameter value) {
    return HostAction{HostActionKind::log, "value", {std::move(value)}};
  }

  void next(std::vector<EventLine>& events) {
    switch (in_.byte() % kOps) {
      case kStep:
        frame_ = std::min(frame_ + 1, kMaxFrame);
        return;
      case kAction:
        return action(events);
      case kCondition:
        return condition(events);
      case kExpression:
        if (auto call = expression(0, std::nullopt)) events.push_back({{onFrame()}, {logged(call)}});
        return;
      case kDestroy:
        events.push_back(
            {{onFrame()},
             {HostAction{
                 HostActionKind::destroyObject, {}, {ObjectSelection{"Ball", {in_.byte() % kBalls}}}}}});
        return;
      default:
        events.push_back({{onFrame()}, {desk()}});
    }
  }

  void action(std::vector<EventLine>& events) {
    int nimbo = in_.byte() % 2;
    const CatalogEntryInfo* info = entry(CatalogKind::action, in_.byte());
    if (!info) return;
    events.push_back(
        {{onFrame()}, {ExtensionAction{nimbo, info->code, params(CatalogKind::action, *info, 0)}}});
  }

  // A raised condition heads its line and runs when its instance raises it; the others are tested on
  // the pass, on this frame step.
  void condition(std::vector<EventLine>& events) {
    int nimbo = in_.byte() % 2;
    const CatalogEntryInfo* info = entry(CatalogKind::condition, in_.byte());
    if (!info) return;
    ExtensionCondition call{nimbo, info->code, params(CatalogKind::condition, *info, 0)};
    EventLine line;
    if (info->flags & kPassCondition) line.conditions.push_back(onFrame());
    line.conditions.push_back(std::move(call));
    line.actions.push_back(logged(int32_t{1}));
    events.push_back(std::move(line));
  }

  Action desk() {
    switch (in_.byte() % kDeskActions) {
      case kCursor:
        return HostAction{HostActionKind::moveCursor, {}, {position()}};
      case kClipboardText:
        return HostAction{HostActionKind::setClipboardText, {}, {text(kMaxDepth, false)}};
      default:
        return HostAction{HostActionKind::setClipboardData, {}, {}};
    }
  }

  std::vector<Parameter> params(CatalogKind kind, const CatalogEntryInfo& info, int depth) {
    std::vector<Parameter> values;
    bool action = kind == CatalogKind::action;
    for (int declared : info.parameterKinds) {
      if (kind == CatalogKind::expression) {
        values.push_back(declared == VO_EXPPARAM_TEXT ? text(depth, false) : number(depth));
      } else if (declared == VO_PARAM_TEXT && action && info.code == kSetPath) {
        values.push_back(sandbox_ + std::get<Text>(text(depth, true)));
      } else if (declared == VO_PARAM_TEXT) {
        values.push_back(text(depth, action && info.code == kRename));
      } else if (declared == VO_PARAM_OBJECT) {
        values.push_back(object());
      } else if (declared == VO_PARAM_POSITION) {
        values.push_back(position());
      } else {
        values.push_back(number(depth));
      }
    }
    return values;
  }

  // An expression whose result fits the slot (a log takes either); else none.
  std::shared_ptr<const ExpressionCall> expression(int depth, std::optional<bool> wantsText) {
    int nimbo = in_.byte() % 2;
    const CatalogEntryInfo* info = entry(CatalogKind::expression, in_.byte());
    if (!info || depth >= kMaxDepth) return nullptr;
    if (wantsText && ((info->flags & kStringResult) != 0) != *wantsText) return nullptr;
    return std::make_shared<const ExpressionCall>(
        ExpressionCall{nimbo, info->code, params(CatalogKind::expression, *info, depth + 1)});
  }

  Parameter number(int depth) {
    switch (in_.byte() % kModes) {
      case kSmall:
        return int32_t{static_cast<int8_t>(in_.byte())};
      case kRaw:
        return in_.raw();
      case kExtremeOrEmpty: {
        constexpr int32_t extremes[] = {INT_MIN, INT_MAX, -1};
        return extremes[in_.byte() % 3];
      }
      default:
        if (auto call = expression(depth, false)) return call;
        return int32_t{0};
    }
  }

  // Folder and file names keep letters, digits and '_' only: a name can then only be one in the
  // working directory.
  Parameter text(int depth, bool plainName) {
    Text value;
    switch (in_.byte() % kModes) {
      case kSmall:
        for (uint8_t length = in_.byte() % 32; length > 0; --length) {
          value += static_cast<Char>(kAlphabet[in_.byte() % (sizeof kAlphabet - 1)]);
        }
        break;
      case kRaw:
        for (uint8_t length = in_.byte(); length > 0; --length) value += static_cast<Char>(in_.twoBytes());
        break;
      case kExtremeOrEmpty:
        break;
      default:
        if (auto call = expression(depth, true); call && !plainName) return call;
    }
    if (plainName) {
      std::erase_if(value, [](Char c) {
        return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
      });
    }
    return value;
  }

  Parameter object() {
    uint8_t choice = in_.byte() % kObjectChoices;
    if (choice == kAllBalls) return ObjectSelection{"Ball", {}};
    if (choice == kWallChoice) return ObjectSelection{"Wall", {}};
    if (choice == kNullChoice) return ObjectSelection{};
    return ObjectSelection{"Ball", {choice - 1}};
  }

  Parameter position() {
    auto x = static_cast<int16_t>(in_.twoBytes());
    auto y = static_cast<int16_t>(in_.twoBytes());
    return Position{x, y};
  }

  Reader& in_;
  const Catalog& catalog_;
  const Text& sandbox_;
  int frame_ = 0;
};

class Encoder {
 public:
  explicit Encoder(const Scene& scene) : scene_(scene) {}

  std::vector<uint8_t> calls() {
    std::vector<const EventLine*> lines;
    for (const EventLine& line : scene_.events) lines.push_back(&line);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const EventLine* a, const EventLine* b) { return frameOf(*a) < frameOf(*b); });
    int frame = 0;
    for (const EventLine* line : lines) {
      for (; frame < std::min(frameOf(*line), kMaxFrame); ++frame) out_.push_back(kStep);
      for (const Condition& condition : line->conditions) {
        if (const auto* call = std::get_if<ExtensionCondition>(&condition))
          routine(kCondition, call->nimbo, call->code, call->params);
      }
      for (const Action& action : line->actions) encode(action);
    }
    return out_;
  }

 private:
  static int frameOf(const EventLine& line) {
    for (const Condition& condition : line.conditions) {
      const auto* host = std::get_if<HostCondition>(&condition);
      if (host && host->kind == HostConditionKind::frame) return host->frame;
    }
    return 0;
  }

  void encode(const Action& action) {
    if (const auto* call = std::get_if<ExtensionAction>(&action))
      return routine(kAction, call->nimbo, call->code, call->params);
    const auto& host = std::get<HostAction>(action);
    switch (host.kind) {
      case HostActionKind::log:
        if (const auto* call = std::get_if<std::shared_ptr<const ExpressionCall>>(&host.operands.at(0))) {
          out_.push_back(kExpression);
          expression(**call);
        }
        return;
      case HostActionKind::destroyObject: {
        const auto& selection = std::get<ObjectSelection>(host.operands.at(0));
        out_.insert(
            out_.end(),
            {kDestroy, static_cast<uint8_t>(selection.instances.empty() ? 0 : selection.instances[0])});
        return;
      }
      case HostActionKind::moveCursor:
        out_.insert(out_.end(), {kDesk, kCursor});
        return parameter(host.operands.at(0));
      case HostActionKind::setClipboardText:
        out_.insert(out_.end(), {kDesk, kClipboardText});
        return parameter(host.operands.at(0));
      case HostActionKind::setClipboardData:
        out_.insert(out_.end(), {kDesk, kClipboardData});
        return;
      case HostActionKind::writeFile:
        return;  // the fuzzer writes no files
    }
  }

  void routine(Op op, int nimbo, int code, const std::vector<Parameter>& params) {
    out_.insert(out_.end(), {op, static_cast<uint8_t>(nimbo), static_cast<uint8_t>(code)});
    for (const Parameter& param : params) parameter(param);
  }

  void expression(const ExpressionCall& call) {
    out_.insert(out_.end(), {static_cast<uint8_t>(call.nimbo), static_cast<uint8_t>(call.code)});
    for (const Parameter& param : call.params) parameter(param);
  }

  void raw(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<uint8_t>(value >> shift));
  }

  void parameter(const Parameter& param) {
    if (const auto* value = std::get_if<int32_t>(&param)) {
      out_.push_back(kRaw);
      raw(static_cast<uint32_t>(*value));
    } else if (const auto* value = std::get_if<Text>(&param)) {
      size_t length = std::min<size_t>(value->size(), 255);
      out_.insert(out_.end(), {kRaw, static_cast<uint8_t>(length)});
      for (size_t i = 0; i < length; ++i) {
        out_.insert(out_.end(), {static_cast<uint8_t>((*value)[i]), static_cast<uint8_t>((*value)[i] >> 8)});
      }
    } else if (const auto* value = std::get_if<Position>(&param)) {
      raw((static_cast<uint32_t>(value->x) & 0xFFFF) | (static_cast<uint32_t>(value->y) << 16));
    } else if (const auto* value = std::get_if<ObjectSelection>(&param)) {
      out_.push_back(objectChoice(*value));
    } else if (const auto* value = std::get_if<std::shared_ptr<const ExpressionCall>>(&param)) {
      out_.push_back(kNestedExpression);
      expression(**value);
    } else {
      out_.insert(out_.end(), {kSmall, 0});  // an alterable value
    }
  }

  uint8_t objectChoice(const ObjectSelection& selection) const {
    if (selection.type.empty()) return kNullChoice;
    auto type = std::find_if(scene_.objects.begin(), scene_.objects.end(),
                             [&](const ObjectType& object) { return object.name == selection.type; });
    if (type != scene_.objects.end() && type->kind != VO_KIND_ACTIVE) return kWallChoice;
    if (selection.instances.empty()) return kAllBalls;
    return static_cast<uint8_t>(1 + selection.instances[0] % kBalls);
  }

  const Scene& scene_;
  std::vector<uint8_t> out_;
};

}  // namespace

Catalog readCatalog(const Extension& extension) {
  const Exports& exports = extension.exports();
  Editor editor;
  voRunInfo info{};
  exports.GetRunObjectInfos(editor.record(), &info);
  Catalog catalog;
  for (auto [kind, count] : {std::pair{CatalogKind::action, info.actionCount},
                             std::pair{CatalogKind::condition, info.conditionCount},
                             std::pair{CatalogKind::expression, info.expressionCount}}) {
    for (int code = 0; code < count; ++code)
      catalog[index(kind)].push_back(entryInfo(exports, editor.record(), kind, code));
  }
  return catalog;
}

Scene decodeCalls(const uint8_t* data, size_t size, const Catalog& catalog, const Text& sandbox) {
  Reader in(data, size);
  return Decoder(in, catalog, sandbox).scene();
}

std::vector<uint8_t> encodeScene(const Scene& scene) {
  return Encoder(scene).calls();
}

}  // namespace nimbo::fuzz
