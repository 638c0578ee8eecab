#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "band_render.h"
#include "colour_text.h"
#include "commands.h"
#include "document/load_messages.h"
#include "document/standalone_callback.h"
#include "document/vector_document.h"
#include "frame_callback.h"
#include "image_output.h"
#include "input_file.h"
#include "pattern_params.h"
#include "pdf_params.h"
#include "platform/wide_text.h"
#include "progress_bar.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

// The largest square the renderer fills whole: kMaxRenderPixels is its area.
constexpr int32_t kMaxSquare = 16384;
// Renders above this many pixels are long enough to show progress.
constexpr int64_t kProgressPixels = int64_t{4096} * 4096;

struct RenderOptions {
  std::string file;
  std::string output;
  std::string format;
  int size = 0;
  int width = 0;
  int height = 0;
  bool keepAspect = false;
  int tile = 0;
  int row = 0;
  int column = 0;
  int border = 0;
  int depth = 8;
  std::string background;  // empty: none, or a hatch pattern's backcolor
  std::vector<std::string> params;
  bool placeholderOnError = false;
  bool quiet = false;
  double frame = 0.0;
};

struct Size {
  int64_t width = 0;
  int64_t height = 0;
};

// A loaded drawing, or the placeholder in its place when the user asked for one on failure.
std::unique_ptr<document::VectorDocument> Load(const RenderOptions& options, FrameCallback& callback,
                                                document::PdfPageSettings& pdfSettings) {
  const bool fromText = options.file == "-";
  std::u16string pathOrText = platform::Utf8ToWide(options.file);
  std::string problem = fromText ? std::string() : InputProblem(options.file);
  if (fromText) {
    const auto content = ReadWholeFile("-");
    if (content) pathOrText = platform::Utf8ToWide(*content);
    if (!content) problem = std::strerror(EIO);
  }
  svg::LoadError error;
  std::unique_ptr<document::VectorDocument> loaded;
  if (problem.empty()) {
    loaded = document::VectorDocument::Create(error, fromText, pathOrText, &callback, 1.0, &pdfSettings);
    if (!loaded->Loaded()) problem = LoadFailureReason(error, fromText ? u"" : pathOrText);
  }
  if (problem.empty()) return loaded;
  ReportFailure(options.file, problem);
  if (!options.placeholderOnError) return nullptr;
  return document::VectorDocument::Create(error, false, u"", &callback, 1.0);
}

// The image size the options ask for: tile, square, fitted, one edge with the drawing's aspect, or
// the drawing's own extent.
Size OutputSize(const RenderOptions& options, const document::VectorDocument& drawing) {
  if (options.tile > 0) return {int64_t{options.tile} + 2 * options.border, int64_t{options.tile} + 2 * options.border};
  if (options.size > 0) return {options.size, options.size};
  const svg::DocumentExtent& extent = drawing.Extent();
  const double aspect = drawing.Aspect();
  auto atLeastOne = [](double value) { return std::max<int64_t>(1, std::llround(std::min(value, 1e12))); };
  if (options.width > 0 && options.height > 0) {
    if (!options.keepAspect || !(extent.width > 0.0 && extent.height > 0.0)) return {options.width, options.height};
    const double scale = std::min(options.width / extent.width, options.height / extent.height);
    return {atLeastOne(extent.width * scale), atLeastOne(extent.height * scale)};
  }
  if (options.width > 0) return {options.width, atLeastOne(options.width / aspect)};
  if (options.height > 0) return {atLeastOne(options.height * aspect), options.height};
  return {std::llround(std::min(extent.width, 1e12)), std::llround(std::min(extent.height, 1e12))};
}

std::unique_ptr<uint8_t[]> BackgroundOnly(uint32_t background, const Size& size) {
  const size_t pixels = static_cast<size_t>(size.width * size.height);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[pixels * 4]);
  for (size_t i = 0; i < pixels; ++i) std::memcpy(buffer.get() + 4 * i, &background, 4);
  return buffer;
}

int RunRender(const RenderOptions& options) {
  std::string error;
  if (!CheckOutputPath(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  const std::optional<ImageFormat> format = ChooseImageFormat(options.format, options.output);
  if (!format) {
    ReportFailure(options.output, "unknown image format; name it .png, .jpg, .jpeg or .rgba, or give --format");
    return 2;
  }
  if (options.depth == 16 && *format != ImageFormat::kPng) {
    ReportFailure(options.output, "--depth 16 needs PNG output");
    return 2;
  }
  if (options.tile > 0 && options.size <= 0) {
    std::cerr << "graphel: --tile needs --size, the edge of the whole image\n";
    return 2;
  }
  if (options.size > kMaxSquare && options.tile == 0) {
    std::cerr << "graphel: --size: " << options.size << " is above " << kMaxSquare << ", the largest whole image\n";
    return 2;
  }
  FrameCallback callback(FrameToTime(options.frame));
  PdfParams pdfParams;
  const bool pdf = document::FileTypeFromPath(platform::Utf8ToWide(options.file)) == document::FileType::kPdf;
  for (const std::string& param : pdf ? options.params : std::vector<std::string>()) {
    if (!pdfParams.Apply(param, error)) {
      std::cerr << "graphel: " << error << "\n";
      return 2;
    }
  }
  document::PdfPageSettings pdfSettings = pdfParams.Settings();
  const auto drawing = Load(options, callback, pdfSettings);
  if (drawing == nullptr) return 1;
  uint32_t background = PackPremultiplied(*ParseColourText(options.background.empty() ? "none" : options.background));
  if (drawing->Type() == document::FileType::kPat) {
    document::PatternSettings settings;
    if (!SelectPatternFromParams(*drawing, options.params, settings, error)) {
      std::cerr << "graphel: " << error << "\n";
      return 2;
    }
    const document::ColourChannels& back = settings.backgroundColour;
    if (options.background.empty()) {
      background = PackPremultiplied(zal::AColor{static_cast<float>(back.r), static_cast<float>(back.g),
                                                 static_cast<float>(back.b), static_cast<float>(back.a)});
    }
  } else if (!pdf && !options.params.empty()) {
    std::cerr << "graphel: --param applies to hatch-pattern (.pat) and PDF files\n";
    return 2;
  }

  const Size size = OutputSize(options, *drawing);
  if (size.width <= 0 || size.height <= 0) {
    ReportFailure(options.file, "the drawing has no size of its own; give --size, --width or --height");
    return 1;
  }
  if (size.width * size.height > document::kMaxRenderPixels) {
    std::cerr << "graphel: " << size.width << " x " << size.height << " pixels is more than one image may hold ("
              << document::kMaxRenderPixels << ")\n";
    return 2;
  }
  ImageSpec spec;
  spec.width = static_cast<uint32_t>(size.width);
  spec.height = static_cast<uint32_t>(size.height);
  spec.format = *format;
  spec.depth = options.depth;
  ImageOutput output(spec);
  if (!output.Open(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  bool written = true;
  if (options.tile == 0 && options.size > 0) {
    ProgressBar progress("render", "rows", size.height,
                         size.width * size.height > kProgressPixels && ProgressWanted(options.quiet));
    written = RenderSquareInBands(*drawing, background, options.size, output, progress, error);
  } else {
    std::unique_ptr<uint8_t[]> pixels =
        options.tile > 0 ? drawing->RenderTile(background, options.size, options.tile, options.row, options.column,
                                               options.border)
                         : drawing->RenderStretched(background, static_cast<int32_t>(size.width),
                                                    static_cast<int32_t>(size.height));
    if (pixels == nullptr) pixels = BackgroundOnly(background, size);
    written = output.WriteRows(pixels.get(), spec.height, error);
  }
  // Pictures that could not be decoded and failing script expressions are reported but do not fail
  // the render.
  for (const auto& report : callback.Reports()) {
    svg::LoadError shown;
    shown.code = report.code;
    shown.SetMessage(report.message);
    const std::u16string text = document::ShownMessage(shown, u"");
    std::cerr << OneLine(text.empty() ? report.message : text) << "\n";
  }
  if (!written || !output.Commit(error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand("render", "Render a drawing (or one tile of it) to PNG, JPEG or raw RGBA");
  command->add_option("FILE", options->file, "Drawing to render; - reads SVG text from standard input, \"\" is the placeholder")
      ->required();
  command->add_option("-o,--output", options->output,
                      "Output .png (straight alpha), .jpg/.jpeg (over white) or .rgba (premultiplied); - is standard output")
      ->required();
  command->add_option("-f,--format", options->format, "Image format, instead of the output's extension")
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(kImageFormatNames), std::end(kImageFormatNames))));
  command->add_option("--size", options->size, "Render the whole drawing into N x N pixels")
      ->check(CLI::Range(1, std::numeric_limits<int>::max()));
  command->add_option("-w,--width", options->width, "Width; alone, the height follows the drawing's aspect")
      ->check(CLI::Range(1, static_cast<int>(document::kMaxRenderPixels)));
  command->add_option("-h,--height", options->height, "Height; alone, the width follows the drawing's aspect")
      ->check(CLI::Range(1, static_cast<int>(document::kMaxRenderPixels)));
  command->add_flag("--keep-aspect", options->keepAspect, "With both --width and --height, fit inside them");
  command->add_option("--tile", options->tile, "Render one T x T tile of the N x N image")
      ->check(CLI::Range(1, kMaxSquare));
  command->add_option("--row", options->row, "Tile row")->check(CLI::NonNegativeNumber)->capture_default_str();
  command->add_option("--column", options->column, "Tile column")->check(CLI::NonNegativeNumber)->capture_default_str();
  command->add_option("--border", options->border, "Pixels of the neighbourhood around the tile")
      ->check(CLI::Range(0, 1024))
      ->capture_default_str();
  command->add_option("--background", options->background,
                      "Colour of uncovered pixels (default none, or a hatch pattern's backcolor)")
      ->check(ColourValidator());
  command->add_option("--param", options->params,
                      "Hatch-pattern (patternname, ...) or PDF page (pdf_page, continous, ...) parameter NAME=VALUE");
  command->add_option("--depth", options->depth, "Bits per channel of a PNG")
      ->check(CLI::IsMember({8, 16}))
      ->capture_default_str();
  command->add_flag("--placeholder-on-error", options->placeholderOnError,
                    "Write the placeholder drawing when the file fails to load, and exit 0");
  command->add_flag("-q,--quiet", options->quiet, "No progress bar");
  command->add_option("--frame", options->frame, "Frame that script expressions see (may be fractional)")
      ->check(FrameValidator())
      ->capture_default_str();
  command->get_option("--tile")->excludes("-w")->excludes("-h");
  command->get_option("--size")->excludes("-w")->excludes("-h");
  command->callback([options, &exitCode] { exitCode = RunRender(*options); });
}

}  // namespace graphel_cli
