#pragma once

#include <CLI/CLI.hpp>

namespace graphel_cli {

// Each command registers its subcommand and options; the callback runs it and sets the exit code.
void AddInfoCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddShadeCommand(CLI::App& app, int& exitCode);
void AddSampleCommand(CLI::App& app, int& exitCode);
void AddBitmapCommand(CLI::App& app, int& exitCode);
void AddFramesCommand(CLI::App& app, int& exitCode);
void AddSceneCommand(CLI::App& app, int& exitCode);
void AddEditorCommand(CLI::App& app, int& exitCode);

}  // namespace graphel_cli
