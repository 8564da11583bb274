// A picture of what this build does: a scene run through the real extension, drawn as an SVG of the
// frame, each object's path over the run and the box where it ends, labelled by type and instance.
#pragma once

#include <filesystem>
#include <string>

#include "vohost/loader/extension.h"

namespace guide {

struct Picture {
  std::string svg;
  int width = 0;  // as the page shows it, in pixels
  int height = 0;
  int frames = 0;  // frame steps the run made
};

// Throws vohost::Error when the scene cannot be read or run, or when the run shows a message box: a
// picture shows a routine working, never one failing.
Picture drawPicture(const vohost::Extension& extension, const std::filesystem::path& scene);

}  // namespace guide
