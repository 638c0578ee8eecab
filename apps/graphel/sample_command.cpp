#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "host/host_interface.h"
#include "host/shade_context.h"
#include "platform/wide_text.h"
#include "texture_host.h"

namespace graphel_cli {
namespace {

struct SampleOptions {
  TextureOptions texture;
  std::string uv;
  std::string duv;
  bool mono = false;
  bool bump = false;
};

nlohmann::ordered_json Trace(const graphel::SampleTrace& trace) {
  using nlohmann::ordered_json;
  const ordered_json none;
  return ordered_json{
      {"level", trace.sampled ? ordered_json(trace.level) : none},
      {"nominalSize", trace.sampled ? ordered_json(trace.nominalSize) : none},
      {"blendLevel", trace.blendLevel >= 0 ? ordered_json(trace.blendLevel) : none},
      {"blend", trace.blendLevel >= 0 ? ordered_json(trace.blend) : none},
      {"tile", trace.sampled && trace.tileIndex >= 0 ? ordered_json(trace.tileIndex) : none},
      {"at", trace.sampled ? ordered_json{trace.u, trace.v} : none},
      {"footprint", trace.sampled ? ordered_json{trace.du, trace.dv} : none},
      {"coverage", trace.sampled ? ordered_json(trace.coverage) : none},
  };
}

int RunSample(const SampleOptions& options) {
  double u = 0.0, v = 0.0, du = 0.0, dv = 0.0;
  if (!ParsePair(options.uv, u, v) || (!options.duv.empty() && !ParsePair(options.duv, du, dv))) {
    std::cerr << "graphel: --uv and --duv take two numbers: U,V\n";
    return 2;
  }
  TextureHost host;
  zal::TimeValue t = 0;
  SampleOptions answering = options;
  answering.texture.answerOnError = true;
  if (const int failure = PrepareTexture(host, answering.texture, t); failure != 0) return failure;

  zal::PointShadeContext sc;
  sc.time = t;
  sc.uvw = zal::Point3{u, v, 0.0};
  sc.duvw = zal::Point3{du, dv, 0.0};
  graphel::SampleTrace trace;
  nlohmann::ordered_json result;
  if (options.mono) {
    result["mono"] = host.Probe().ProbeMono(sc, trace);
  } else if (options.bump) {
    const zal::Point3 bump = host.Probe().ProbeNormalPerturb(sc, trace);
    result["bump"] = {bump.x, bump.y, bump.z};
  } else {
    const zal::AColor colour = host.Probe().ProbeColor(sc, trace);
    result["colour"] = {colour.r, colour.g, colour.b, colour.a};
  }
  result.update(Trace(trace));
  nlohmann::ordered_json messages = nlohmann::ordered_json::array();
  for (const std::u16string& message : host.Probe().Messages()) messages.push_back(platform::WideToUtf8(message));
  result["messages"] = messages;
  std::cout << result.dump() << "\n";
  return messages.empty() || options.texture.placeholderOnError ? 0 : 1;
}

}  // namespace

void AddSampleCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SampleOptions>();
  CLI::App* command =
      app.add_subcommand("sample", "Evaluate the texture at one shading point and print the answer as JSON");
  command->add_option("--uv", options->uv, "Texture coordinates U,V of the shading point")
      ->required()
      ->check(PairValidator("U,V"));
  command->add_option("--duv", options->duv, "Footprint DU,DV of the sample (default 0,0)")->check(PairValidator("DU,DV"));
  command->add_flag("--mono", options->mono, "Evaluate the mono value instead of the colour");
  command->add_flag("--bump", options->bump, "Evaluate the bump perturbation instead of the colour")->excludes("--mono");
  AddTextureOptions(*command, options->texture);
  command->callback([options, &exitCode] { exitCode = RunSample(*options); });
}

}  // namespace graphel_cli
