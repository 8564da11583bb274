// The host's own actions: logging a value, the user's hand on the cursor and the clipboard (the desk's on
// Linux, the system's on Windows), destroying objects and writing a file of the scene's own.
#include <filesystem>
#include <fstream>

#include "vohost/error.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/events.h"
#include "vohost/simhost/scene_run.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

// A position value may come from an expression, packed as the host packs it: X low, Y high, signed.
Position unpackPosition(int32_t packed) {
  auto bits = static_cast<uint32_t>(packed);
  return {static_cast<int16_t>(bits & 0xFFFFu), static_cast<int16_t>(bits >> 16)};
}

// A file of the scene's own, for the extension to find: missing folders are made, the text is written as
// UTF-8. A path relative to the working directory, as the extension's own paths are.
void writeSceneFile(const nimbo::Text& path, const nimbo::Text& text,
                    const std::vector<std::filesystem::path>& kept, const std::string& where) {
  std::string name = toUtf8(path);
  std::filesystem::path file(std::u8string(name.begin(), name.end()));
  for (const std::filesystem::path& own : kept) {
    if (sameFile(file, own)) throw Error(where + ": \"" + name + "\" is the run's own file " + own.string());
  }
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  if (error) throw Error(where + ": cannot make the folder of \"" + name + "\": " + error.message());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::string bytes = toUtf8(text);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw Error(where + ": cannot write \"" + name + "\"");
}

}  // namespace

void EventRunner::log(const HostAction& action, const std::string& where) {
  HostValue value = evaluate(action.operands[0], where);
  if (const auto* number = std::get_if<int32_t>(&value)) {
    record_.log.push_back({action.name, *number});
  } else {
    record_.log.push_back({action.name, toUtf8(std::get<nimbo::Text>(value))});
  }
}

void EventRunner::runHost(const HostAction& action, const std::string& where) {
  switch (action.kind) {
    case HostActionKind::log:
      log(action, where);
      break;
    case HostActionKind::moveCursor: {
      Position position = unpackPosition(std::get<int32_t>(evaluate(action.operands[0], where)));
      moveCursor(position.x, position.y);
      break;
    }
    case HostActionKind::setClipboardText:
      setClipboardText(std::get<nimbo::Text>(evaluate(action.operands[0], where)));
      break;
    case HostActionKind::setClipboardData:
      setClipboardData();
      break;
    case HostActionKind::destroyObject:
      for (int number : objects_.selected(std::get<ObjectSelection>(action.operands[0])))
        objects_.header(number)->hoFlags |= VO_HOF_DESTROYING;
      break;
    case HostActionKind::writeFile:
      writeSceneFile(std::get<nimbo::Text>(evaluate(action.operands[0], where)),
                     std::get<nimbo::Text>(evaluate(action.operands[1], where)), scene_.kept, where);
      break;
  }
}

}  // namespace vohost
