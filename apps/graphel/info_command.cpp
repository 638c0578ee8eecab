#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "document/load_messages.h"
#include "document/standalone_callback.h"
#include "document/vector_document.h"
#include "input_file.h"
#include "platform/wide_text.h"

namespace graphel_cli {
namespace {

struct InfoOptions {
  std::string file;
  bool text = false;
};

// The shortest decimal that reads back as the same f32, so 4/3 prints as 1.3333334.
double ShortestFloat(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  double shortest = value;
  std::from_chars(buffer, result.ptr, shortest);
  return shortest;
}

nlohmann::ordered_json Describe(const document::VectorDocument& loaded, const svg::LoadError& error,
                        const std::u16string& path) {
  using platform::WideToUtf8;
  const svg::DocumentExtent& extent = loaded.Extent();
  std::vector<std::u16string> patterns;
  loaded.PatternNames(patterns);
  nlohmann::ordered_json names = nlohmann::ordered_json::array();
  for (const auto& name : patterns) names.push_back(WideToUtf8(name));

  return nlohmann::ordered_json{
      {"type", static_cast<uint32_t>(loaded.Type())},
      {"aspect", ShortestFloat(loaded.Aspect())},
      {"extent", {{"x", extent.x}, {"y", extent.y}, {"width", extent.width}, {"height", extent.height}}},
      {"error",
       {{"code", error.code}, {"message", WideToUtf8(error.message)}, {"line", error.line}, {"column", error.column}}},
      {"shown", WideToUtf8(document::ShownMessage(error, path))},
      {"hasScripts", loaded.HasScriptExpressions()},
      {"elements", loaded.Svg() != nullptr ? svg::CountElements(*loaded.Svg()) : 0},
      {"patterns", names},
      {"pageCount", loaded.PageCount()},
  };
}

int RunInfo(const InfoOptions& options) {
  std::u16string pathOrText = platform::Utf8ToWide(options.file);
  if (options.text) {
    const auto content = ReadWholeFile(options.file);
    if (!content) {
      const std::string problem = OpenProblem(options.file);
      ReportFailure(options.file, problem.empty() ? "can't be read" : problem);
      return 1;
    }
    pathOrText = platform::Utf8ToWide(*content);
  }
  svg::LoadError error;
  document::StandaloneCallback callback;
  const auto loaded = document::VectorDocument::Create(error, options.text, pathOrText, &callback, 1.0);
  const std::u16string path = options.text ? std::u16string() : pathOrText;
  std::cout << Describe(*loaded, error, path).dump() << "\n";
  if (loaded->Loaded()) return 0;
  const std::string problem = options.text ? std::string() : OpenProblem(options.file);
  ReportFailure(options.file, problem.empty() ? LoadFailureReason(error, path) : problem);
  return 1;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* command = app.add_subcommand("info", "Load a drawing and print what was read, as JSON");
  command->add_option("FILE", options->file, "Drawing to load (an empty name loads the placeholder; - with --text reads standard input)")->required();
  command->add_flag("--text", options->text, "Treat FILE's content as SVG text");
  command->callback([options, &exitCode] { exitCode = RunInfo(*options); });
}

}  // namespace graphel_cli
