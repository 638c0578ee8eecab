#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "commands.h"
#include "document/load_messages.h"
#include "document/standalone_callback.h"
#include "document/vector_document.h"
#include "frame_callback.h"
#include "texture_host.h"
#include "platform/png_file.h"
#include "platform/wide_text.h"

namespace graphel_cli {
namespace {

struct RenderOptions {
  std::string file;
  std::string output;
  int size = 0;
  int width = 0;
  int height = 0;
  int tile = 0;
  int row = 0;
  int column = 0;
  int border = 0;
  std::string background = "00000000";
  double frame = 0.0;
};

// "RRGGBBAA" (a leading # allowed) packed as R, G, B, A bytes in memory order.
std::optional<uint32_t> ParseBackground(std::string text) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() == 6) text += "ff";
  uint32_t value = 0;
  if (text.size() != 8) return std::nullopt;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  const uint8_t bytes[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  uint32_t packed = 0;
  std::memcpy(&packed, bytes, 4);
  return packed;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool WriteOutput(const std::string& path, std::unique_ptr<uint8_t[]> pixels, uint32_t width, uint32_t height) {
  const size_t bytes = static_cast<size_t>(width) * height * 4;
  if (EndsWith(path, ".rgba")) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(pixels.get()), static_cast<std::streamsize>(bytes));
    if (!out) std::cerr << "graphel: can't write " << path << "\n";
    return static_cast<bool>(out);
  }
  platform::Unpremultiply(pixels.get(), static_cast<size_t>(width) * height);
  std::string error;
  if (!platform::WritePng(path, pixels.get(), width, height, error)) {
    std::cerr << "graphel: " << error << "\n";
    return false;
  }
  return true;
}

// A buffer of the background colour, for drawings that render nothing (zero extent, empty files).
std::unique_ptr<uint8_t[]> BackgroundOnly(uint32_t background, uint32_t width, uint32_t height) {
  const size_t pixels = static_cast<size_t>(width) * height;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[pixels * 4]);
  for (size_t i = 0; i < pixels; ++i) std::memcpy(buffer.get() + 4 * i, &background, 4);
  return buffer;
}

int RunRender(const RenderOptions& options) {
  const auto background = ParseBackground(options.background);
  if (!background) {
    std::cerr << "graphel: --background wants RRGGBBAA in hexadecimal\n";
    return 2;
  }
  const bool stretched = options.width > 0 || options.height > 0;
  if (stretched ? (options.width <= 0 || options.height <= 0) : options.size <= 0) {
    std::cerr << "graphel: give --size N, or --width W and --height H, all above 0\n";
    return 2;
  }
  const bool tiled = options.tile > 0;
  const int64_t outWidth = stretched ? options.width : tiled ? int64_t{options.tile} + 2 * int64_t{options.border} : options.size;
  const int64_t outHeight = stretched ? options.height : outWidth;
  if (options.border < 0 || outWidth <= 0 || outWidth * outHeight > document::kMaxRenderPixels) {
    std::cerr << "graphel: the output image would be too large (at most " << document::kMaxRenderPixels
              << " pixels) or has a negative border\n";
    return 2;
  }

  svg::LoadError error;
  const std::u16string path = platform::Utf8ToWide(options.file);
  FrameCallback callback(FrameToTime(options.frame));
  const auto loaded = document::VectorDocument::Create(error, false, path, &callback, 1.0);
  if (!loaded->Loaded()) {
    std::cerr << platform::WideToUtf8(document::ShownMessage(error, path)) << "\n";
    return 1;
  }
  std::unique_ptr<uint8_t[]> pixels;
  if (stretched) {
    pixels = loaded->RenderStretched(*background, options.width, options.height);
  } else if (tiled) {
    pixels = loaded->RenderTile(*background, options.size, options.tile, options.row, options.column, options.border);
  } else {
    pixels = loaded->RenderTile(*background, options.size, options.size, 0, 0, 0);
  }
  const auto width = static_cast<uint32_t>(outWidth);
  const auto height = static_cast<uint32_t>(outHeight);
  if (pixels == nullptr) pixels = BackgroundOnly(*background, width, height);
  // Pictures that could not be decoded and failing script expressions are reported but do not fail
  // the render.
  for (const auto& report : callback.Reports()) {
    svg::LoadError shown;
    shown.code = report.code;
    shown.SetMessage(report.message);
    const std::u16string text = document::ShownMessage(shown, path);
    std::cerr << platform::WideToUtf8(text.empty() ? report.message : text) << "\n";
  }
  return WriteOutput(options.output, std::move(pixels), width, height) ? 0 : 1;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand("render", "Render a drawing (or one tile of it) to PNG or raw RGBA");
  command->add_option("FILE", options->file, "Drawing to render")->required();
  command->add_option("-o,--output", options->output, "Output .png (straight alpha) or .rgba (premultiplied)")
      ->required();
  command->add_option("--size", options->size, "Render the whole drawing into N x N pixels");
  command->add_option("--width", options->width, "Stretch the drawing to this width");
  command->add_option("--height", options->height, "Stretch the drawing to this height");
  command->add_option("--tile", options->tile, "Render one T x T tile of the N x N image");
  command->add_option("--row", options->row, "Tile row");
  command->add_option("--column", options->column, "Tile column");
  command->add_option("--border", options->border, "Pixels of the neighbourhood around the tile");
  command->add_option("--background", options->background, "Background colour RRGGBBAA (default 00000000)");
  command->add_option("--frame", options->frame, "Frame that script expressions see (may be fractional)");
  command->callback([options, &exitCode] { exitCode = RunRender(*options); });
}

}  // namespace graphel_cli
