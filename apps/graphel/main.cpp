#include <CLI/CLI.hpp>

#include "commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Graphel: vector drawings as textures"};
  app.require_subcommand(1);
  int exitCode = 0;
  graphel_cli::AddInfoCommand(app, exitCode);
  graphel_cli::AddRenderCommand(app, exitCode);
  graphel_cli::AddShadeCommand(app, exitCode);
  graphel_cli::AddSampleCommand(app, exitCode);
  graphel_cli::AddBitmapCommand(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }
  return exitCode;
}
