// Running a picture's scene and drawing it. The drawing uses only the run's integers and fixed
// formatting, so the same build writes the same bytes.
#include "help/generator/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "help/generator/text_escape.h"
#include "vohost/error.h"
#include "vohost/scenes/scene.h"
#include "vohost/simhost/scene_run.h"

namespace guide {

namespace {

constexpr double kMargin = 12;
constexpr double kLargestWidth = 640;  // wider frames are drawn smaller
constexpr double kFontSize = 12;
constexpr int kMostFrames = 3600;  // a minute at 60 frame steps a second: a picture, not a soak
constexpr const char* kPalette[] = {"#1f6fb2", "#d4542b", "#2e9a48", "#8a4fbf",
                                    "#b8860b", "#c2338a", "#238b8b", "#5a5a5a"};

struct Point {
  int32_t x = 0, y = 0;
};

struct Track {
  std::string type;
  int instance = 0;
  size_t typeIndex = 0;
  vohost::InstanceSettings settings;
  std::vector<Point> path;
  bool destroyed = false;
};

struct Box {
  double left, top, right, bottom;
};

std::string number(double value) {
  if (value == std::floor(value) && std::abs(value) < 1e9)
    return std::to_string(static_cast<long long>(value));
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string shownBoxMessage(const vohost::ShownMessageBox& box, int frame) {
  return "the run showed the message box \"" + box.text + "\" with caption \"" + box.caption +
         "\" at frame step " + std::to_string(frame);
}

std::vector<Track> tracksOf(const vohost::Scene& scene) {
  std::vector<Track> tracks;
  for (size_t t = 0; t < scene.objects.size(); ++t) {
    const vohost::ObjectType& type = scene.objects[t];
    for (size_t i = 0; i < type.instances.size(); ++i) {
      const vohost::InstanceSettings& settings = type.instances[i];
      tracks.push_back({type.name, static_cast<int>(i), t, settings, {{settings.x, settings.y}}, false});
    }
  }
  return tracks;
}

Box finalBox(const Track& track) {
  const Point& at = track.path.back();
  double left = at.x - track.settings.hotSpotX, top = at.y - track.settings.hotSpotY;
  return {left, top, left + track.settings.width, top + track.settings.height};
}

Box boundsOf(const vohost::FrameSettings& frame, const std::vector<Track>& tracks) {
  Box bounds{0, 0, static_cast<double>(frame.width), static_cast<double>(frame.height)};
  for (const Track& track : tracks) {
    for (const Point& point : track.path) {
      bounds = {std::min(bounds.left, double(point.x)), std::min(bounds.top, double(point.y)),
                std::max(bounds.right, double(point.x)), std::max(bounds.bottom, double(point.y))};
    }
    Box box = finalBox(track);
    bounds = {std::min(bounds.left, box.left), std::min(bounds.top, box.top - kFontSize - 2),
              std::max(bounds.right, box.right), std::max(bounds.bottom, box.bottom)};
  }
  return {bounds.left - kMargin, bounds.top - kMargin, bounds.right + kMargin, bounds.bottom + kMargin};
}

// A run of the legend: a swatch and its words, laid left to right and wrapped at the picture's width.
class Legend {
 public:
  Legend(double left, double top, double width, double scale)
      : left_(left), x_(left), y_(top), width_(width), unit_(1 / scale) {}

  void add(const std::string& swatch, const std::string& words) {
    double wordsWidth = 0.6 * kFontSize * unit_ * static_cast<double>(codePoints(words));
    double entryWidth = (18 + 6) * unit_ + wordsWidth;
    if (x_ > left_ && x_ + entryWidth > left_ + width_) {
      x_ = left_;
      y_ += rowHeight();
    }
    svg_ += "<g transform=\"translate(" + number(x_) + " " + number(y_) + ")\">" + swatch + "<text x=\"" +
            number(22 * unit_) + "\" y=\"" + number(11 * unit_) + "\">" + escapeXml(words) + "</text></g>\n";
    x_ += entryWidth + 14 * unit_;
  }

  double bottom() const { return y_ + rowHeight(); }
  double unit() const { return unit_; }
  const std::string& svg() const { return svg_; }

 private:
  double rowHeight() const { return 18 * unit_; }
  static size_t codePoints(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  }

  double left_, x_, y_, width_, unit_;
  std::string svg_;
};

std::string swatchRect(double unit, const std::string& style) {
  return "<rect x=\"0\" y=\"" + number(2 * unit) + "\" width=\"" + number(18 * unit) + "\" height=\"" +
         number(10 * unit) + "\" " + style + "/>";
}

// The path as polylines from where the object starts. The start is joined to the first step's place
// (where a layout put it); later, a step longer than half the frame (a wrap from one side to the other)
// starts a new line instead of crossing the picture.
std::string drawPath(const Track& track, const vohost::FrameSettings& frame, const std::string& colour,
                     double unit) {
  std::string svg;
  std::string points;
  size_t count = 0;
  auto endLine = [&]() {
    if (count > 1) {
      svg += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" + number(1.5 * unit) +
             "\" points=\"" + points + "\"/>\n";
    }
    points.clear();
    count = 0;
  };
  for (size_t i = 0; i < track.path.size(); ++i) {
    const Point& point = track.path[i];
    if (i > 1) {
      const Point& last = track.path[i - 1];
      if (2 * std::abs(int64_t{point.x} - last.x) > frame.width ||
          2 * std::abs(int64_t{point.y} - last.y) > frame.height) {
        endLine();
      }
    }
    if (count++ > 0) points += ' ';
    points += std::to_string(point.x) + ',' + std::to_string(point.y);
  }
  endLine();
  return svg + "<circle cx=\"" + std::to_string(track.path[0].x) + "\" cy=\"" +
         std::to_string(track.path[0].y) + "\" r=\"" + number(2.5 * unit) + "\" fill=\"" + colour + "\"/>\n";
}

std::string drawTrack(const Track& track, const vohost::FrameSettings& frame, double unit) {
  const std::string colour = kPalette[track.typeIndex % std::size(kPalette)];
  std::string svg = drawPath(track, frame, colour, unit);
  Box box = finalBox(track);
  svg +=
      "<rect x=\"" + number(box.left) + "\" y=\"" + number(box.top) + "\" width=\"" +
      number(box.right - box.left) + "\" height=\"" + number(box.bottom - box.top) + "\" fill=\"" + colour +
      "\" fill-opacity=\"0.25\" stroke=\"" + colour + "\" stroke-width=\"" + number(unit) + "\"" +
      (track.destroyed ? " stroke-dasharray=\"3 2\"" : "") + "/>\n<text x=\"" + number(box.left) + "\" y=\"" +
      number(box.top - 3 * unit) + "\" fill=\"" + colour + "\">" +
      escapeXml(track.type + " " + std::to_string(track.instance) + (track.destroyed ? " (destroyed)" : "")) +
      "</text>\n";
  return svg;
}

std::string legendOf(const vohost::Scene& scene, int frames, Legend& legend) {
  double unit = legend.unit();
  legend.add(
      swatchRect(unit, "fill=\"#ffffff\" stroke=\"#333333\""),
      "frame " + std::to_string(scene.frame.width) + " x " + std::to_string(scene.frame.height) + " pixels");
  legend.add("<line x1=\"0\" y1=\"" + number(7 * unit) + "\" x2=\"" + number(18 * unit) + "\" y2=\"" +
                 number(7 * unit) + "\" stroke=\"#333333\" stroke-width=\"" + number(1.5 * unit) + "\"/>",
             "path from its start (dot) over " + std::to_string(frames) +
                 (frames == 1 ? " frame step" : " frame steps"));
  legend.add(swatchRect(unit, "fill=\"#333333\" fill-opacity=\"0.25\" stroke=\"#333333\""), "where it ends");
  for (size_t t = 0; t < scene.objects.size(); ++t) {
    std::string colour = kPalette[t % std::size(kPalette)];
    legend.add(swatchRect(unit, "fill=\"" + colour + "\" stroke=\"" + colour + "\""), scene.objects[t].name);
  }
  return legend.svg();
}

// Runs the scene, adding each step's place to each object's path; the number of steps made.
int runTracks(const vohost::Extension& extension, const vohost::Scene& scene, std::vector<Track>& tracks) {
  int frames = 0;
  vohost::runScene(extension, scene, -1, [&](const vohost::StepRecord& record) {
    if (!record.messageBoxes.empty())
      throw vohost::Error(shownBoxMessage(record.messageBoxes[0], record.frame));
    for (size_t i = 0; i < record.objects.size() && i < tracks.size(); ++i) {
      if (tracks[i].destroyed) continue;
      tracks[i].path.push_back({record.objects[i].x, record.objects[i].y});
      tracks[i].destroyed = record.objects[i].destroyed;
    }
    ++frames;
  });
  if (frames == 0) throw vohost::Error("the scene makes no frame step: give its frame a frames count");
  return frames;
}

Picture draw(const vohost::Scene& scene, const std::vector<Track>& tracks, int frames,
             const std::string& name) {
  Box bounds = boundsOf(scene.frame, tracks);
  double width = bounds.right - bounds.left;
  double scale = std::min(1.0, kLargestWidth / width);
  Legend legend(bounds.left, bounds.bottom, width, scale);
  std::string legendSvg = legendOf(scene, frames, legend);
  double height = legend.bottom() + kMargin / scale - bounds.top;
  Picture picture;
  picture.frames = frames;
  picture.width = static_cast<int>(std::lround(width * scale));
  picture.height = static_cast<int>(std::lround(height * scale));
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(picture.width) +
                    "\" height=\"" + std::to_string(picture.height) + "\" viewBox=\"" + number(bounds.left) +
                    " " + number(bounds.top) + " " + number(width) + " " + number(height) +
                    "\" font-family=\"sans-serif\" font-size=\"" + number(kFontSize / scale) + "\">\n";
  svg += "<title>" + escapeXml(name) + " run through this build</title>\n";
  svg += "<rect x=\"" + number(bounds.left) + "\" y=\"" + number(bounds.top) + "\" width=\"" + number(width) +
         "\" height=\"" + number(height) + "\" fill=\"#f4f5f7\"/>\n";
  svg += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(scene.frame.width) + "\" height=\"" +
         std::to_string(scene.frame.height) + "\" fill=\"#ffffff\" stroke=\"#333333\" stroke-width=\"" +
         number(1 / scale) + "\"/>\n";
  for (const Track& track : tracks) svg += drawTrack(track, scene.frame, 1 / scale);
  picture.svg = svg + legendSvg + "</svg>\n";
  return picture;
}

}  // namespace

Picture drawPicture(const vohost::Extension& extension, const std::filesystem::path& scenePath) {
  vohost::Scene scene = vohost::readScene(scenePath);
  if (scene.frame.frames > kMostFrames) {
    throw vohost::Error("a picture runs at most " + std::to_string(kMostFrames) + " frame steps, not " +
                        std::to_string(scene.frame.frames));
  }
  std::vector<Track> tracks = tracksOf(scene);
  int frames = runTracks(extension, scene, tracks);
  return draw(scene, tracks, frames, scenePath.filename().string());
}

}  // namespace guide
