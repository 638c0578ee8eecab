#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "document/file_type.h"
#include "document/load_messages.h"
#include "platform/wide_text.h"

namespace graphel_cli {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ostringstream content;
  if (path == "-") {
    content << std::cin.rdbuf();
    if (std::cin.bad()) return std::nullopt;
    return content.str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  content << in.rdbuf();
  return content.str();
}

std::string OpenProblem(const std::string& path) {
  if (path.empty()) return {};
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
  // A named pipe or a device could block the open, or never end.
  if (!S_ISREG(status.st_mode)) return "not a regular file";
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (descriptor < 0) return std::strerror(errno);
  close(descriptor);
  return {};
}

std::string InputProblem(const std::string& path) {
  if (path.empty()) return {};
  if (std::string problem = OpenProblem(path); !problem.empty()) return problem;
  if (document::FileTypeFromPath(platform::Utf8ToWide(path)) == document::FileType::kNone) {
    return "not a drawing Graphel reads (.svg, .svgz, .pat, .pdf, .ai)";
  }
  return {};
}

std::string OneLine(std::u16string_view message) {
  std::string line = platform::WideToUtf8(message);
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

std::string LoadFailureReason(const svg::LoadError& error, std::u16string_view path) {
  if (error.code == document::kErrorXml) {
    return "XML error at line " + std::to_string(error.line) + ", column " + std::to_string(error.column + 1) + ": " +
           platform::WideToUtf8(error.message);
  }
  const std::string shown = OneLine(document::ShownMessage(error, path));
  return shown.empty() ? "the drawing could not be read (error " + std::to_string(error.code) + ")" : shown;
}

void ReportFailure(std::string_view file, std::string_view reason) {
  std::cerr << "graphel: " << (file == "-" ? std::string_view("standard input") : file) << ": " << reason << "\n";
}

}  // namespace graphel_cli
