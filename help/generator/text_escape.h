// Escaping text for the HTML pages, the SVG pictures and the help project's files.
#pragma once

#include <string>

namespace guide {

// & < > " as entities; everything else as it stands (UTF-8).
std::string escapeXml(const std::string& text);

// The same, with every character past ASCII as a numeric reference: the contents and index files are
// read in the help file's code page, not as UTF-8.
std::string escapeAscii(const std::string& text);

}  // namespace guide
