// The replay page's file: its template (replay_page.html with the renderer, replay_renderer.js and .css,
// built into the program) with the run's data inside.
#include <cassert>
#include <string_view>

#include "vohost/replay/replay_page.h"

namespace vohost {

extern const char kReplayPageTemplate[];
extern const char kReplayRendererScript[];
extern const char kReplayRendererStyle[];

namespace {

constexpr std::string_view kStyleMarker = "/*__RENDERER_STYLE__*/";
constexpr std::string_view kScriptMarker = "/*__RENDERER_SCRIPT__*/";
constexpr std::string_view kDataMarker = "__REPLAY_DATA__";

// The data sits in a script element: a "<" (always inside a JSON string) is escaped so no "</script>"
// or comment opener in a TEXT can end the element early.
void writeScriptSafe(std::ostream& out, const std::string& json) {
  size_t start = 0;
  for (size_t at = json.find('<'); at != std::string::npos; at = json.find('<', start)) {
    out.write(json.data() + start, static_cast<std::streamsize>(at - start)) << "\\u003c";
    start = at + 1;
  }
  out.write(json.data() + start, static_cast<std::streamsize>(json.size() - start));
}

}  // namespace

// The template's markers, in the order they stand in it: the renderer's style and script, the data.
void ReplayPage::write(std::ostream& out) const {
  std::string_view page = kReplayPageTemplate;
  auto copyUpTo = [&](std::string_view marker) {
    size_t at = page.find(marker);
    assert(at != std::string_view::npos);
    out << page.substr(0, at);
    page.remove_prefix(at + marker.size());
  };
  copyUpTo(kStyleMarker);
  out << kReplayRendererStyle;
  copyUpTo(kScriptMarker);
  out << kReplayRendererScript;
  copyUpTo(kDataMarker);
  writeScriptSafe(out, dataJson());
  out << page;
}

}  // namespace vohost
