#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "svg/load_result.h"

namespace graphel_cli {

// The whole content of a file ("-" for standard input), or nullopt when it can't be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Why path can't give a drawing, found before any reader sees it: the operating system's reason for
// a file that can't be opened (a folder included), or that its name has no drawing extension. Empty
// when there is nothing against it, and for the empty name, which means the placeholder.
std::string InputProblem(const std::string& path);
// Only the operating system's reason, when the file can't be opened for reading or is a folder.
std::string OpenProblem(const std::string& path);

// A load failure as one line: XML errors with line and column, others as the user is shown them.
std::string LoadFailureReason(const svg::LoadError& error, std::u16string_view path);

// A message of the texture's as one line.
std::string OneLine(std::u16string_view message);

// "graphel: FILE: reason" on standard error; standard input is named as such.
void ReportFailure(std::string_view file, std::string_view reason);

}  // namespace graphel_cli
