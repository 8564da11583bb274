// The command line's own words: values checked before they are converted, so a wrong one is named in
// plain words, and a first word that is no subcommand is named as such.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vohost {

// Exit statuses, documented in docs/scenes.md.
constexpr int kExitFound = 1;        // a check, the sweep or a soak found a fault
constexpr int kExitInput = 2;        // a scene, the extension or a file cannot be used
constexpr int kExitCommandLine = 3;  // the command line itself is wrong; nothing ran

// A whole number from `min` to `max`; `what` says what the value counts ("frame steps").
CLI::Validator wholeNumber(const std::string& what, int64_t min, uint64_t max);

// The first word that stands where a subcommand must, when it is none of `known`.
std::optional<std::string> unknownSubcommand(const std::vector<std::string>& arguments,
                                             const std::vector<std::string>& known);

}  // namespace vohost
