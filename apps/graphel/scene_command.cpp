#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "commands.h"
#include "host/asset_enum.h"
#include "host/host_interface.h"
#include "host/mr_shader.h"
#include "host/scene.h"
#include "image_output.h"
#include "input_file.h"
#include "platform/regular_file.h"
#include "platform/wide_text.h"
#include "shade_image.h"
#include "texture/graphel.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

struct SceneOptions {
  std::string scene;
  std::vector<std::string> files;
  std::vector<std::string> params;
  std::string texture;
  std::string output;
  std::string from;
  std::string to;
  std::string renderer = "callback";
  std::string object = "plane";
  int size = 512;
  ShadeImageSettings shade;
};

// The module and a scene made by it; the scene goes before the module is unloaded.
struct SceneSession {
  zal::PluginLibrary library;
  zal::ClassDesc* graphelClass = nullptr;
  zal::Scene scene;
  std::vector<size_t> reported;  // messages already printed, per texture

  // Prints each texture's messages not printed yet; true when any texture has a message at all.
  bool Report(const std::string& path) {
    reported.resize(scene.Textures().size());
    bool any = false;
    for (size_t i = 0; i < scene.Textures().size(); ++i) {
      const zal::Scene::Entry& entry = scene.Textures()[i];
      auto* probe = static_cast<graphel::GraphelProbe*>(entry.texture->GetInterface(graphel::kGraphelProbeInterfaceId));
      const std::vector<std::u16string> messages = probe->Messages();
      for (; reported[i] < messages.size(); ++reported[i]) {
        ReportFailure(path, platform::WideToUtf8(entry.name) + ": " + OneLine(messages[reported[i]]));
      }
      any = any || !messages.empty();
    }
    return any;
  }

  bool Load(std::string& error) { return (graphelClass = LoadGraphelClass(library, error)) != nullptr; }

  bool Open(const std::string& path) {
    std::string error;
    if (!Load(error)) {
      std::cerr << "graphel: " << error << "\n";
      return false;
    }
    std::vector<std::string> messages;
    zal::ClassDesc* classes[] = {graphelClass};
    const bool opened = scene.Open(path, classes, messages);
    for (const std::string& message : messages) ReportFailure(path, message);
    // Files that failed to load are told at once, whatever the command goes on to do.
    Report(path);
    return opened;
  }

  // The texture called name, or the first one when name is empty.
  zal::Texmap* Find(const std::string& name) {
    for (const zal::Scene::Entry& entry : scene.Textures()) {
      if (name.empty() || platform::WideToUtf8(entry.name) == name) return entry.texture;
    }
    std::cerr << "graphel: the scene has no texture" << (name.empty() ? "" : " called \"" + name + "\"") << "\n";
    return nullptr;
  }
};

graphel::GraphelProbe* ProbeOf(zal::Texmap& texture) {
  return static_cast<graphel::GraphelProbe*>(texture.GetInterface(graphel::kGraphelProbeInterfaceId));
}

// Hands every asset of a texture to a function, with the accessor to re-path it.
template <typename Visit>
class VisitAssets final : public zal::AssetEnumCallback {
 public:
  explicit VisitAssets(Visit visit) : visit_(std::move(visit)) {}
  void RecordAsset(zal::AssetAccessor& accessor) override { visit_(accessor); }

 private:
  Visit visit_;
};

int RunNew(const SceneOptions& options) {
  SceneSession session;
  std::string error;
  if (!session.Load(error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  for (const std::string& file : options.files) {
    auto* texture = static_cast<zal::Texmap*>(session.graphelClass->Create(false));
    session.scene.Add(platform::Utf8ToWide(std::filesystem::path(file).stem().string()), texture);
    std::error_code ignored;
    const std::string absolute = std::filesystem::absolute(file, ignored).string();
    if (!SetTextureParam(*texture, "vectorfile=" + absolute, 0, error)) {
      std::cerr << "graphel: " << error << "\n";
      return 2;
    }
    for (const std::string& param : options.params) {
      if (!SetTextureParam(*texture, param, 0, error)) {
        std::cerr << "graphel: " << error << "\n";
        return 2;
      }
    }
  }
  const bool failed = session.Report(options.scene);
  if (!session.scene.Save(options.scene, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return failed ? 1 : 0;
}

int RunAssets(const SceneOptions& options) {
  SceneSession session;
  if (!session.Open(options.scene)) return 1;
  for (const zal::Scene::Entry& entry : session.scene.Textures()) {
    VisitAssets visit([&](zal::AssetAccessor& accessor) {
      const std::string path = platform::WideToUtf8(accessor.GetPath());
      const nlohmann::json line = {{"texture", platform::WideToUtf8(entry.name)},
                                   {"path", path},
                                   {"found", platform::OpenRegularFileDescriptor(path).Get() >= 0},
                                   {"type", accessor.GetAssetType()},
                                   {"input", accessor.IsInputAsset()},
                                   {"button", platform::WideToUtf8(ProbeOf(*entry.texture)->FileButtonText())}};
      std::cout << line.dump() << "\n";
    });
    entry.texture->EnumAuxFiles(visit, zal::FILE_ENUM_ACCESSOR_INTERFACE | zal::FILE_ENUM_CHECK_AWORK1);
  }
  return 0;
}

// FROM names a file, or a folder (ending in a separator) whose files move to TO as a folder.
std::optional<std::string> Repathed(const std::string& path, const std::string& from, const std::string& to) {
  if (path == from) return to;
  const bool folder = !from.empty() && (from.back() == '/' || from.back() == '\\');
  if (folder && path.starts_with(from)) return to + (to.ends_with("/") ? "" : "/") + path.substr(from.size());
  return std::nullopt;
}

int RunRepath(const SceneOptions& options) {
  SceneSession session;
  if (!session.Open(options.scene)) return 1;
  int moved = 0;
  VisitAssets visit([&](zal::AssetAccessor& accessor) {
    const auto next = Repathed(platform::WideToUtf8(accessor.GetPath()), options.from, options.to);
    if (next && accessor.SetPath(platform::Utf8ToWide(*next))) ++moved;
  });
  session.scene.EnumAssets(visit, zal::FILE_ENUM_ACCESSOR_INTERFACE | zal::FILE_ENUM_CHECK_AWORK1);
  const bool failed = session.Report(options.scene);
  std::string error;
  if (!session.scene.Save(options.scene, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  std::cout << moved << " asset" << (moved == 1 ? "" : "s") << " re-pathed\n";
  return moved == 0 || failed ? 1 : 0;
}

int RunReload(const SceneOptions& options) {
  SceneSession session;
  if (!session.Open(options.scene)) return 1;
  for (const zal::Scene::Entry& entry : session.scene.Textures()) {
    auto* scripted = dynamic_cast<graphel::GraphelInterface*>(entry.texture->GetInterface(graphel::kGraphelInterfaceId));
    if (scripted != nullptr) scripted->Reload();
  }
  return session.Report(options.scene) ? 1 : 0;
}

bool WriteImage(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height, std::string& error) {
  ImageSpec spec;
  spec.width = static_cast<uint32_t>(width);
  spec.height = static_cast<uint32_t>(height);
  spec.premultiplied = false;
  const auto format = ChooseImageFormat("", path);
  if (!format) {
    error = path + ": unknown image format; name it .png, .jpg, .jpeg or .rgba";
    return false;
  }
  spec.format = *format;
  ImageOutput output(spec);
  return output.Open(path, error) && output.WriteRows(rgba.data(), spec.height, error) && output.Commit(error);
}

int RunShadeScene(const SceneOptions& options) {
  SceneSession session;
  if (!session.Open(options.scene)) return 1;
  zal::Texmap* texture = session.Find(options.texture);
  if (texture == nullptr) return 1;
  ShadeImageSettings settings = options.shade;
  settings.object = ParseSceneObject(options.object).value_or(SceneObject::kPlane);
  zal::Interval valid = zal::FOREVER;
  texture->Update(0, valid);
  const std::vector<uint8_t> rgba = ShadeImage(*texture, 0, settings, nullptr);
  std::string error;
  if (!WriteImage(options.output, rgba, settings.width, settings.height, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return session.Report(options.scene) ? 1 : 0;
}

int RunRenderScene(const SceneOptions& options) {
  SceneSession session;
  if (!session.Open(options.scene)) return 1;
  zal::Texmap* texture = session.Find(options.texture);
  if (texture == nullptr) return 1;
  zal::GetCOREInterface()->SetCurrentRendererClassID(options.renderer == "bitmap" ? zal::kBitmapOnlyRendererClassId
                                                                                   : zal::Class_ID{});
  std::vector<uint8_t> rgba;
  std::string error;
  if (!zal::RenderOffline(*texture, 0, options.size, options.size, rgba, error) ||
      !WriteImage(options.output, rgba, options.size, options.size, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  return session.Report(options.scene) ? 1 : 0;
}

}  // namespace

void AddSceneCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SceneOptions>();
  CLI::App* scene = app.add_subcommand("scene", "Scenes of the stand-in host: textures, their files, reloading, rendering");
  scene->require_subcommand(1);
  auto sceneFile = [&](CLI::App* command) { command->add_option("SCENE", options->scene, "Scene file (JSON)")->required(); };

  CLI::App* create = scene->add_subcommand("new", "Make a scene with one texture per drawing and save it");
  sceneFile(create);
  create->add_option("FILES", options->files, "Drawings, one texture each")->required();
  create->add_option("--param", options->params, "Parameter NAME=VALUE for every texture");
  create->callback([options, &exitCode] { exitCode = RunNew(*options); });

  CLI::App* assets = scene->add_subcommand("assets", "List the scene's files as JSON lines, as asset tracking sees them");
  sceneFile(assets);
  assets->callback([options, &exitCode] { exitCode = RunAssets(*options); });

  CLI::App* repath = scene->add_subcommand("repath", "Point files (or a folder ending in /) at a new place and save");
  sceneFile(repath);
  repath->add_option("FROM", options->from, "The file or folder the scene names now")->required();
  repath->add_option("TO", options->to, "Where it is now")->required();
  repath->callback([options, &exitCode] { exitCode = RunRepath(*options); });

  CLI::App* reload = scene->add_subcommand("reload", "Open the scene and reload every texture's file");
  sceneFile(reload);
  reload->callback([options, &exitCode] { exitCode = RunReload(*options); });

  CLI::App* shade = scene->add_subcommand("shade", "Shade one of the scene's textures on an object");
  sceneFile(shade);
  shade->add_option("-o,--output", options->output, "Image to write")->required();
  shade->add_option("--texture", options->texture, "The texture's name (default: the first)");
  shade->add_option("--object", options->object, "plane, sphere or cube")->check(CLI::IsMember({"plane", "sphere", "cube"}));
  shade->add_option("-w,--width", options->shade.width, "Image width")->check(CLI::Range(1, 8192));
  shade->add_option("-h,--height", options->shade.height, "Image height")->check(CLI::Range(1, 8192));
  shade->callback([options, &exitCode] { exitCode = RunShadeScene(*options); });

  CLI::App* render = scene->add_subcommand("render", "Render one texture through the offline renderer stand-in");
  sceneFile(render);
  render->add_option("-o,--output", options->output, "Image to write")->required();
  render->add_option("--texture", options->texture, "The texture's name (default: the first)");
  render->add_option("--renderer", options->renderer,
                     "callback: the renderer samples the module (zal_Graphel); bitmap: it reads the PNG cache (zal_Bitmap)")
      ->check(CLI::IsMember({"callback", "bitmap"}))
      ->capture_default_str();
  render->add_option("--size", options->size, "Image edge in pixels")->check(CLI::Range(1, 8192))->capture_default_str();
  render->callback([options, &exitCode] { exitCode = RunRenderScene(*options); });
}

}  // namespace graphel_cli
