// Escaping text for the HTML pages, the SVG pictures and the help project's files.
#pragma once

#include <string>

namespace guide {

// & < > " as entities; everything else as it stands (UTF-8).
std::string escapeXml(const std::string& text);

// The same in Windows-1252, the code page of the help file's language, in which the viewer reads the
// contents and index files; a character outside it as a numeric reference.
std::string escapeWindows1252(const std::string& text);

}  // namespace guide
