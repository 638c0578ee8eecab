#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hostile {

// One hostile file: written by make at path (with any companion files beside it), and the load
// error `graphel info` must report for it (0 when the drawing loads).
struct HostileCase {
  std::string_view name;
  std::string_view fileName;  // its extension chooses the reader
  void (*make)(const std::string& path);
  uint32_t loadError;
};

// Cases every build must get through within the bounds.
std::span<const HostileCase> BoundedCases();

}  // namespace hostile
