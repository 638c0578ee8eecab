#include <iostream>
#include <memory>
#include <vector>

#include "commands.h"
#include "host/bitmap.h"
#include "host/host_interface.h"
#include "image_output.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

struct BitmapOptions {
  TextureOptions texture;
  std::string output;
  std::string format;
  int size = 0;
  bool asTexture = false;
  bool mono = false;
};

// The host's bitmaps are at most this long on a side.
constexpr int kMaxBitmapEdge = 65536;

int RunBitmap(const BitmapOptions& options) {
  std::string error;
  if (!CheckOutputPath(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  const auto format = ChooseImageFormat(options.format, options.output);
  if (!format) {
    std::cerr << "graphel: " << options.output << ": unknown image format; name it .png, .jpg, .jpeg or .rgba\n";
    return 2;
  }
  TextureHost host;
  zal::TimeValue t = 0;
  if (const int failure = PrepareTexture(host, options.texture, t); failure != 0) return failure;
  const zal::BitmapPtr bitmap(host.Probe().MakeBitmap(t, options.size, options.mono, options.asTexture));
  if (bitmap == nullptr) {
    std::cerr << "graphel: the texture can't make a bitmap of size " << options.size << "\n";
    return 1;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(bitmap->Width()) * bitmap->Height() * 4);
  zal::ReadBytes(*bitmap, bytes.data());
  ImageSpec spec;
  spec.width = static_cast<uint32_t>(bitmap->Width());
  spec.height = static_cast<uint32_t>(bitmap->Height());
  spec.format = *format;
  spec.premultiplied = false;
  ImageOutput output(spec);
  if (!output.Open(options.output, error) || !output.WriteRows(bytes.data(), spec.height, error) ||
      !output.Commit(error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return host.ReportMessages(options.texture.file) && !options.texture.placeholderOnError ? 1 : 0;
}

}  // namespace

void AddBitmapCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<BitmapOptions>();
  CLI::App* command = app.add_subcommand("bitmap", "Write the texture's whole-texture bitmap as a PNG");
  command->add_option("-o,--output", options->output, "Image to write (.png, .jpg, .jpeg, .rgba; - is standard output)")
      ->required();
  command->add_option("-f,--format", options->format, "Image format, instead of the output's extension")
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(kImageFormatNames), std::end(kImageFormatNames))));
  command->add_option("--size", options->size, "Edge length in pixels")->required()->check(CLI::Range(1, kMaxBitmapEdge));
  command->add_flag("--as-texture", options->asTexture, "Square, with cropping, placement and jitter applied");
  command->add_flag("--mono", options->mono, "The mono value as grey");
  AddTextureOptions(*command, options->texture);
  command->callback([options, &exitCode] { exitCode = RunBitmap(*options); });
}

}  // namespace graphel_cli
