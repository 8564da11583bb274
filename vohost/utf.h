// Conversions between the extension's UTF-16 texts and the UTF-8 of scenes, traces and the terminal.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vohost {

using nimbo::Text;

// A lone surrogate becomes U+FFFD, so any text the extension hands over can be printed.
std::string toUtf8(const Text& text);
std::string toUtf8(const voChar* text);

// Throws Error on malformed UTF-8.
Text fromUtf8(const std::string& text);

}  // namespace vohost
