// Fuzz input read as UTF-16 text: two bytes a unit, little-endian, so any unit (a lone surrogate, a
// zero) can occur; a zero unit splits the input into the fields a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace nimbo::fuzz {

inline std::vector<Text> textFields(const uint8_t* data, size_t size, size_t count) {
  std::vector<Text> fields(1);
  for (size_t i = 0; i + 1 < size; i += 2) {
    auto unit = static_cast<Char>(data[i] | (data[i + 1] << 8));
    if (unit == 0 && fields.size() < count) {
      fields.emplace_back();
    } else {
      fields.back() += unit;
    }
  }
  fields.resize(count);
  return fields;
}

}  // namespace nimbo::fuzz
