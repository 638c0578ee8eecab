#include <iostream>
#include <memory>
#include <vector>

#include "commands.h"
#include "frame_range.h"
#include "host/bitmap.h"
#include "image_output.h"
#include "progress_bar.h"
#include "shade_image.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

struct FramesOptions {
  TextureOptions texture;
  std::string frames;
  std::string output;
  int size = 512;
  std::string object;  // set: shade the texture on this object instead of writing its bitmap
  ShadeImageSettings shade;
};

constexpr int kMaxBitmapEdge = 65536;
constexpr int kMaxShadeEdge = 8192;
constexpr int kMaxThreads = 256;

// One frame's picture: the texture's square bitmap, or the texture shaded on an object.
bool RenderFrame(TextureHost& host, const FramesOptions& options, zal::TimeValue t, std::vector<uint8_t>& rgba,
                 ImageSpec& spec, std::string& error) {
  if (!options.object.empty()) {
    rgba = ShadeImage(host.Texture(), t, options.shade, nullptr);
    spec.width = static_cast<uint32_t>(options.shade.width);
    spec.height = static_cast<uint32_t>(options.shade.height);
    return true;
  }
  const zal::BitmapPtr bitmap(host.Probe().MakeBitmap(t, options.size, false, false));
  if (bitmap == nullptr) {
    error = "the texture can't make a bitmap of size " + std::to_string(options.size);
    return false;
  }
  rgba.resize(static_cast<size_t>(bitmap->Width()) * bitmap->Height() * 4);
  zal::ReadBytes(*bitmap, rgba.data());
  spec.width = static_cast<uint32_t>(bitmap->Width());
  spec.height = static_cast<uint32_t>(bitmap->Height());
  return true;
}

bool WriteFrame(const std::string& path, const ImageSpec& spec, const std::vector<uint8_t>& rgba, std::string& error) {
  ImageOutput output(spec);
  return output.Open(path, error) && output.WriteRows(rgba.data(), spec.height, error) && output.Commit(error);
}

int RunFrames(const FramesOptions& options) {
  std::string error;
  const std::optional<FrameRange> range = ParseFrameRange(options.frames, error);
  if (!range || !CheckFramePattern(options.output, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 2;
  }
  const std::optional<SceneObject> object = ParseSceneObject(options.object.empty() ? "plane" : options.object);
  if (!object) {
    std::cerr << "graphel: --object is plane, sphere or cube\n";
    return 2;
  }
  const auto format = ChooseImageFormat("", options.output);
  if (!format) {
    std::cerr << "graphel: " << options.output << ": unknown image format; name it .png, .jpg, .jpeg or .rgba\n";
    return 2;
  }
  if (!CheckOutputPath(FrameFileName(options.output, range->first), error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  FramesOptions frameOptions = options;
  frameOptions.shade.object = *object;
  frameOptions.texture.frame = static_cast<double>(range->first);
  TextureHost host;
  zal::TimeValue t = 0;
  if (const int failure = PrepareTexture(host, frameOptions.texture, t); failure != 0) return failure;

  bool messages = false;
  ProgressBar progress("frames", "frames", range->Count(), ProgressWanted(options.texture.quiet));
  for (int64_t frame = range->first; frame <= range->last; frame += range->step) {
    t = FrameToTime(static_cast<double>(frame));
    host.Update(t);
    std::vector<uint8_t> rgba;
    ImageSpec spec;
    spec.format = *format;
    spec.premultiplied = false;
    const std::string path = FrameFileName(options.output, frame);
    if (!RenderFrame(host, frameOptions, t, rgba, spec, error) || !WriteFrame(path, spec, rgba, error)) {
      progress.Finish();
      std::cerr << "graphel: frame " << frame << ": " << error << "\n";
      return 1;
    }
    // Script errors are the texture's messages; each is told once, at the first frame that shows it.
    messages = host.ReportMessages(options.texture.file) || messages;
    progress.Advance();
  }
  progress.Finish();
  return messages && !options.texture.placeholderOnError ? 1 : 0;
}

}  // namespace

void AddFramesCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<FramesOptions>();
  CLI::App* command = app.add_subcommand(
      "frames", "Render a range of animation frames through the plug-in module, one image per frame");
  command->add_option("--frames", options->frames, "Frames A-B or A-B:STEP (whole frames)")->required();
  command->add_option("-o,--output", options->output, "Image name with the frame number as %d or %0Nd")
      ->required();
  auto* size = command->add_option("--size", options->size, "Edge of the texture's square bitmap in pixels")
                   ->check(CLI::Range(1, kMaxBitmapEdge))
                   ->capture_default_str();
  auto* object = command->add_option("--object", options->object, "Shade the texture on plane, sphere or cube")
                     ->check(CLI::IsMember({"plane", "sphere", "cube"}))
                     ->excludes(size);
  command->add_option("-w,--width", options->shade.width, "Shaded image width in pixels")
      ->check(CLI::Range(1, kMaxShadeEdge))
      ->needs(object);
  command->add_option("-h,--height", options->shade.height, "Shaded image height in pixels")
      ->check(CLI::Range(1, kMaxShadeEdge))
      ->needs(object);
  command->add_option("--threads", options->shade.threads, "Shading threads (0: one per core)")
      ->check(CLI::Range(0, kMaxThreads))
      ->needs(object);
  command->add_flag("--grazing", options->shade.grazing, "Look along the plane from just above it")->needs(object);
  command->add_flag("--bump", options->shade.bump, "Also use the texture as a bump map")->needs(object);
  AddTextureOptions(*command, options->texture);
  // The range gives the frames.
  command->remove_option(command->get_option("--frame"));
  command->callback([options, &exitCode] { exitCode = RunFrames(*options); });
}

}  // namespace graphel_cli
