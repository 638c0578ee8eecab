#pragma once

#include <exception>
#include <string>

namespace svg {

// Thrown by the value and path-data parsers; the document front turns it into a load error.
// The text is the offending character, or empty when there is none.
class exception : public std::exception {
 public:
  explicit exception(int code, char16_t offending = 0) : code_(code) {
    if (offending != 0) text_.push_back(offending);
  }

  int Code() const { return code_; }
  const std::u16string& Text() const { return text_; }
  const char* what() const noexcept override { return "svg::exception"; }

 private:
  int code_;
  std::u16string text_;
};

// Codes thrown by the value parsers (messages live with the load errors of the document front).
inline constexpr int kErrorInvalidCommand = 11;
inline constexpr int kErrorInvalidCharacter = 12;
inline constexpr int kErrorUnexpectedEnd = 13;
inline constexpr int kErrorBadParameters = 14;
inline constexpr int kErrorTooFewCoordinates = 15;
inline constexpr int kErrorOddCoordinates = 16;

}  // namespace svg
