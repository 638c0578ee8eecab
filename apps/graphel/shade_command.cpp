#include <iostream>
#include <memory>
#include <vector>

#include "commands.h"
#include "host/host_interface.h"
#include "image_output.h"
#include "progress_bar.h"
#include "shade_image.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

struct ShadeOptions {
  TextureOptions texture;
  std::string output;
  std::string format;
  std::string object = "plane";
  int width = 640;
  int height = 480;
  int threads = 0;
  bool grazing = false;
  bool bump = false;
};

constexpr int kMaxEdge = 8192;
constexpr int kMaxThreads = 256;

int RunShade(const ShadeOptions& options) {
  const std::optional<SceneObject> object = ParseSceneObject(options.object);
  if (!object) {
    std::cerr << "graphel: --object is plane, sphere or cube\n";
    return 2;
  }
  std::string error;
  if (!CheckOutputPath(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  ImageSpec spec;
  spec.width = static_cast<uint32_t>(options.width);
  spec.height = static_cast<uint32_t>(options.height);
  spec.premultiplied = false;
  if (const auto format = ChooseImageFormat(options.format, options.output)) {
    spec.format = *format;
  } else {
    std::cerr << "graphel: " << options.output << ": unknown image format; name it .png, .jpg, .jpeg or .rgba\n";
    return 2;
  }
  TextureHost host;
  zal::TimeValue t = 0;
  if (const int failure = PrepareTexture(host, options.texture, t); failure != 0) return failure;
  ImageOutput output(spec);
  if (!output.Open(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }

  ShadeImageSettings settings;
  settings.object = *object;
  settings.width = options.width;
  settings.height = options.height;
  settings.threads = options.threads;
  settings.grazing = options.grazing;
  settings.bump = options.bump;
  ProgressBar progress("shade", "rows", options.height, ProgressWanted(options.texture.quiet));
  const std::vector<uint8_t> pixels = ShadeImage(host.Texture(), t, settings, &progress);
  progress.Finish();

  if (!output.WriteRows(pixels.data(), spec.height, error) || !output.Commit(error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return host.ReportMessages(options.texture.file) && !options.texture.placeholderOnError ? 1 : 0;
}

}  // namespace

void AddShadeCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ShadeOptions>();
  CLI::App* command =
      app.add_subcommand("shade", "Render the texture on a lit object through the plug-in module, from many threads");
  command->add_option("-o,--output", options->output, "Image to write (.png, .jpg, .jpeg, .rgba; - is standard output)")
      ->required();
  command->add_option("-f,--format", options->format, "Image format, instead of the output's extension")
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(kImageFormatNames), std::end(kImageFormatNames))));
  command->add_option("--object", options->object, "Object to shade")
      ->check(CLI::IsMember({"plane", "sphere", "cube"}))
      ->capture_default_str();
  command->add_option("-w,--width", options->width, "Image width in pixels")
      ->check(CLI::Range(1, kMaxEdge))
      ->capture_default_str();
  command->add_option("-h,--height", options->height, "Image height in pixels")
      ->check(CLI::Range(1, kMaxEdge))
      ->capture_default_str();
  command->add_option("--threads", options->threads, "Render threads (0: one per core)")
      ->check(CLI::Range(0, kMaxThreads))
      ->capture_default_str();
  command->add_flag("--grazing", options->grazing, "Look along the plane from just above it");
  command->add_flag("--bump", options->bump, "Also use the texture as a bump map");
  AddTextureOptions(*command, options->texture);
  command->callback([options, &exitCode] { exitCode = RunShade(*options); });
}

}  // namespace graphel_cli
