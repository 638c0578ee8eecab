#include <algorithm>
#include <atomic>
#include <cmath>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

#include "commands.h"
#include "host/host_interface.h"
#include "host/shade_context.h"
#include "image_output.h"
#include "progress_bar.h"
#include "shade_scene.h"
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
constexpr double kAmbient = 0.3;
constexpr zal::Point3 kSurfaceGrey{0.72, 0.72, 0.72};

uint8_t ToByte(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 1.0) return 255;
  return static_cast<uint8_t>(std::lround(value * 255.0));
}

zal::Point3 Sky(int y, int height) {
  const double f = static_cast<double>(y) / std::max(height - 1, 1);
  return zal::Point3{0.55, 0.68, 0.86} * (1.0 - f) + zal::Point3{0.9, 0.92, 0.95} * f;
}

// One pixel: the texture over a grey surface, lit by one light and an ambient term.
zal::Point3 ShadePixel(zal::Texmap& texture, const ShadeScene& scene, zal::PointShadeContext& sc, int x, int y,
                       int height, bool bump) {
  const std::optional<SurfaceHit> hit = scene.Trace(x, y);
  if (!hit) return Sky(y, height);
  sc.uvw = zal::Point3{hit->u, hit->v, 0.0};
  sc.duvw = zal::Point3{hit->du, hit->dv, 0.0};
  sc.dPdu = hit->dPdu;
  sc.dPdv = hit->dPdv;
  zal::Point3 normal = hit->normal;
  if (bump) normal = zal::Normalize(normal + texture.EvalNormalPerturb(sc));
  const zal::AColor colour = texture.EvalColor(sc);
  const double cover = 1.0 - std::clamp(static_cast<double>(colour.a), 0.0, 1.0);
  const zal::Point3 albedo = zal::Point3{colour.r, colour.g, colour.b} + kSurfaceGrey * cover;
  const double light = kAmbient + (1.0 - kAmbient) * std::max(0.0, zal::DotProd(normal, scene.LightDirection()));
  return albedo * light;
}

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

  const ShadeScene scene(*object, options.width, options.height, options.grazing);
  zal::Texmap& texture = host.Texture();
  std::vector<uint8_t> pixels(static_cast<size_t>(options.width) * options.height * 4);
  const int threads = std::clamp(options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency()),
                                 1, kMaxThreads);
  texture.RenderBegin(t, 0);
  ProgressBar progress("shade", "rows", options.height, ProgressWanted(options.texture.quiet));
  std::atomic<int> nextRow{0};
  auto work = [&] {
    zal::PointShadeContext sc;
    sc.time = t;
    for (int y = nextRow++; y < options.height; y = nextRow++) {
      uint8_t* row = pixels.data() + static_cast<size_t>(y) * options.width * 4;
      for (int x = 0; x < options.width; ++x) {
        const zal::Point3 c = ShadePixel(texture, scene, sc, x, y, options.height, options.bump);
        row[x * 4 + 0] = ToByte(c.x);
        row[x * 4 + 1] = ToByte(c.y);
        row[x * 4 + 2] = ToByte(c.z);
        row[x * 4 + 3] = 255;
      }
      progress.Advance();
    }
  };
  std::vector<std::thread> workers;
  for (int i = 1; i < threads; ++i) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  texture.RenderEnd(0);
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
