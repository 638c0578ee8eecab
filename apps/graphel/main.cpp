#include <CLI/CLI.hpp>

#include "commands.h"
#include "version_text.h"

int main(int argc, char** argv) {
  CLI::App app{"Graphel: vector drawings as textures"};
  // -h is the height, as in rsvg-convert; help is --help alone, and the subcommands inherit that.
  app.set_help_flag("--help", "Print this help and exit");
  app.set_version_flag("--version", [] { return graphel_cli::VersionText(); });
  app.require_subcommand(1);
  // One line, like every other message of the tool.
  app.failure_message([](const CLI::App*, const CLI::Error& error) {
    return "graphel: " + std::string(error.what()) + " (see --help)\n";
  });
  int exitCode = 0;
  graphel_cli::AddInfoCommand(app, exitCode);
  graphel_cli::AddRenderCommand(app, exitCode);
  graphel_cli::AddShadeCommand(app, exitCode);
  graphel_cli::AddSampleCommand(app, exitCode);
  graphel_cli::AddBitmapCommand(app, exitCode);
  graphel_cli::AddFramesCommand(app, exitCode);
  graphel_cli::AddSceneCommand(app, exitCode);
  graphel_cli::AddEditorCommand(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }
  return exitCode;
}
