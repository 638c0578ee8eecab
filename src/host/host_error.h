#pragma once

#include <stdexcept>
#include <string>

#include "host/zal_api.h"

namespace zal {

// What the host raises for misuse of its containers; the host's script layer turns it into a message.
class ZAL_API Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
  ~Error() override;
};

inline constexpr const char* kTabIndexError = "Invalid index passed into a Zal SDK Tab::operator[]";
inline constexpr const char* kArrayIndexError = "Argument index out of bounds, passed into a ZalSDK::Array::operator[]";

}  // namespace zal
