// Checks of command-line values, written for the person typing them.
#include "vohost/command_line.h"

#include <algorithm>
#include <charconv>

namespace vohost {

namespace {

bool digitsOnly(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Within [min, max]: the digits are compared as a number only once they are known to fit 64 bits.
bool inRange(const std::string& value, int64_t min, uint64_t max) {
  bool negative = !value.empty() && value[0] == '-';
  std::string digits = value.substr(negative || (!value.empty() && value[0] == '+') ? 1 : 0);
  if (!digitsOnly(digits)) return false;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (error != std::errc() || end != digits.data() + digits.size()) return false;
  if (negative) return min < 0 && magnitude <= static_cast<uint64_t>(-(min + 1)) + 1;
  return magnitude <= max && (min <= 0 || magnitude >= static_cast<uint64_t>(min));
}

}  // namespace

CLI::Validator wholeNumber(const std::string& what, int64_t min, uint64_t max) {
  std::string range = std::to_string(min) + " to " + std::to_string(max);
  return CLI::Validator(
      [=](std::string& value) {
        if (inRange(value, min, max)) return std::string();
        return "'" + value + "' is not a number of " + what + ": give a whole number from " + range;
      },
      "a whole number from " + range);
}

std::optional<std::string> unknownSubcommand(const std::vector<std::string>& arguments,
                                             const std::vector<std::string>& known) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word == "--lib") {
      ++i;  // its value
      continue;
    }
    if (!word.empty() && word[0] == '-') continue;
    if (std::find(known.begin(), known.end(), word) != known.end()) return std::nullopt;
    return word;
  }
  return std::nullopt;
}

}  // namespace vohost
