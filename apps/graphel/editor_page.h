#pragma once

#include <span>
#include <string_view>

namespace graphel_cli {

// One file of the editor page, built into the binary so the page always matches the server.
struct EditorPageFile {
  const char* path;  // where the server offers it: "/", "/editor.js", ...
  std::string_view content;
  const char* contentType;
};

std::span<const EditorPageFile> EditorPageFiles();

}  // namespace graphel_cli
