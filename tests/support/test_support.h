#pragma once

#include <string>
#include <string_view>

#include "platform/wide_text.h"

namespace testing_support {

inline std::u16string W(std::string_view ascii) { return platform::Utf8ToWide(ascii); }
inline std::string N(std::u16string_view wide) { return platform::WideToUtf8(wide); }

// Path of a file under tests/data.
std::string DataPath(std::string_view name);

// A fresh, empty folder for one test's files under the build's test output folder (within a
// running test, a folder of that test's own).
std::string ScratchFolder(std::string_view testName);

// Writes content to path (binary), creating nothing else.
void WriteFile(const std::string& path, std::string_view content);

// The bytes of a file; empty when it can't be read.
std::string ReadFile(const std::string& path);

// Standard base64 with padding, for embedding pictures in drawings.
std::string Base64(std::string_view bytes);

}  // namespace testing_support
