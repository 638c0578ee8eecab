#include "texture_host.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "host/class_desc.h"
#include "host/host_interface.h"
#include "host/param_block.h"
#include "input_file.h"
#include "param_values.h"
#include "platform/wide_text.h"
#include "texture/graphel.h"

namespace graphel_cli {
namespace {

constexpr zal::Class_ID kGraphelClassId{0x93A92749, 0x6B8D470A};

// The block and definition of a parameter name, searched over all of the texture's blocks.
struct FoundParam {
  zal::IParamBlock2* block = nullptr;
  const zal::ParamDef* def = nullptr;
};

FoundParam FindParam(zal::Texmap& texture, const std::string& name) {
  for (int i = 0; i < texture.NumParamBlocks(); ++i) {
    zal::IParamBlock2* block = texture.GetParamBlock(i);
    if (block == nullptr) continue;
    if (const zal::ParamDef* def = block->GetDesc().FindParam(name)) return FoundParam{block, def};
  }
  return {};
}

// Every parameter name of the texture, for the message about one it does not have.
std::string ParamNames(zal::Texmap& texture) {
  std::string names;
  for (int i = 0; i < texture.NumParamBlocks(); ++i) {
    const zal::IParamBlock2* block = texture.GetParamBlock(i);
    if (block == nullptr) continue;
    for (const zal::ParamDef& def : block->GetDesc().params) {
      names += names.empty() ? "" : ", ";
      names += def.name;
    }
  }
  return names;
}

// Frames are finite and within what host time (32-bit ticks, 160 a frame) can hold.
constexpr double kMaxFrame = 1.0e7;

}  // namespace

CLI::Validator FrameValidator() {
  return CLI::Validator(
      [](const std::string& text) -> std::string {
        double frame = 0.0;
        if (ParseNumber(text, frame) && std::isfinite(frame) && std::fabs(frame) <= kMaxFrame) return {};
        return "\"" + text + "\" is not a frame: a number in -10000000..10000000";
      },
      "FRAME");
}

std::string ModulePath() {
  if (const char* fromEnvironment = std::getenv("GRAPHEL_MODULE"); fromEnvironment != nullptr && *fromEnvironment) {
    return fromEnvironment;
  }
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "Graphel.dlt";
  const std::filesystem::path beside = self.parent_path() / "Graphel.dlt";
  const std::filesystem::path installed =
      (self.parent_path() / GRAPHEL_INSTALLED_MODULE_DIR / "Graphel.dlt").lexically_normal();
  return (std::filesystem::exists(beside, error) || !std::filesystem::exists(installed, error) ? beside : installed)
      .string();
}

zal::TimeValue FrameToTime(double frame) {
  if (!std::isfinite(frame)) return 0;
  const double ticks = std::round(frame * zal::kTicksPerFrame);
  return static_cast<zal::TimeValue>(std::clamp(ticks, -2.0e9, 2.0e9));
}

bool ParsePair(const std::string& text, double& a, double& b) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  return ParseNumber(text.substr(0, comma), a) && ParseNumber(text.substr(comma + 1), b);
}

CLI::Validator PairValidator(const std::string& form) {
  return CLI::Validator(
      [form](const std::string& text) -> std::string {
        double a = 0.0, b = 0.0;
        return ParsePair(text, a, b) ? std::string() : "\"" + text + "\" is not " + form + ": two numbers and a comma";
      },
      form);
}

bool ApplyTextureOptions(TextureHost& host, const std::string& file, const std::string& tiling,
                         const std::vector<std::string>& params, const std::vector<std::string>& keys, zal::TimeValue t,
                         std::string& error) {
  if (!file.empty() && !host.SetFile(file, error)) return false;
  if (!tiling.empty()) {
    double u = 1.0, v = 1.0;
    zal::StdUVGen* coordinates = host.Coordinates();
    if (!ParsePair(tiling, u, v) || coordinates == nullptr) {
      error = "--tiling takes U,V";
      return false;
    }
    coordinates->SetUScl(static_cast<float>(u));
    coordinates->SetVScl(static_cast<float>(v));
  }
  for (const std::string& param : params) {
    if (!host.SetParam(param, t, error)) return false;
  }
  for (const std::string& key : keys) {
    if (!host.SetKey(key, error)) return false;
  }
  return true;
}

TextureHost::~TextureHost() {
  if (texture_ != nullptr) texture_->DeleteThis();
}

zal::ClassDesc* LoadGraphelClass(zal::PluginLibrary& library, std::string& error) {
  const std::string path = ModulePath();
  if (!library.Load(path)) {
    error = "can't load the texture module " + path + ": " + library.Error();
    return nullptr;
  }
  for (int i = 0; i < library.NumberOfClasses(); ++i) {
    zal::ClassDesc* candidate = library.GetClassDesc(i);
    if (candidate != nullptr && candidate->SuperClassID() == zal::TEXMAP_CLASS_ID &&
        candidate->ClassID() == kGraphelClassId) {
      return candidate;
    }
  }
  error = "the module " + path + " offers no Graphel texture";
  return nullptr;
}

bool TextureHost::Open(std::string& error) {
  zal::ClassDesc* desc = LoadGraphelClass(library_, error);
  if (desc == nullptr) return false;
  texture_ = static_cast<zal::Texmap*>(desc->Create(false));
  if (texture_ == nullptr) {
    error = "the module failed to create a texture";
    return false;
  }
  probe_ = static_cast<graphel::GraphelProbe*>(texture_->GetInterface(graphel::kGraphelProbeInterfaceId));
  if (probe_ == nullptr) {
    error = "the texture does not answer the tool's questions";
    return false;
  }
  return true;
}

zal::StdUVGen* TextureHost::Coordinates() { return dynamic_cast<zal::StdUVGen*>(texture_->GetTheUVGen()); }

bool TextureHost::SetParam(const std::string& assignment, zal::TimeValue t, std::string& error) {
  return SetTextureParam(*texture_, assignment, t, error);
}

bool SetTextureParam(zal::Texmap& texture, const std::string& assignment, zal::TimeValue t, std::string& error) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    error = "expected NAME=VALUE, got \"" + assignment + "\"";
    return false;
  }
  const std::string name = assignment.substr(0, equals);
  const FoundParam found = FindParam(texture, name);
  if (found.block == nullptr) {
    error = "the texture has no parameter \"" + name + "\"; it has " + ParamNames(texture);
    return false;
  }
  return AssignParam(*found.block, *found.def, assignment.substr(equals + 1), t, error);
}

bool TextureHost::SetKey(const std::string& assignment, std::string& error) {
  const size_t at = assignment.find('@');
  const size_t equals = assignment.find('=', at == std::string::npos ? 0 : at);
  double frame = 0.0;
  if (at == std::string::npos || equals == std::string::npos ||
      !ParseNumber(assignment.substr(at + 1, equals - at - 1), frame) || !std::isfinite(frame)) {
    error = "expected NAME@FRAME=VALUE, got \"" + assignment + "\"";
    return false;
  }
  const std::string name = assignment.substr(0, at);
  const FoundParam found = FindParam(*texture_, name);
  if (found.block == nullptr) {
    error = "the texture has no parameter \"" + name + "\"; it has " + ParamNames(*texture_);
    return false;
  }
  if (!found.def->animatable) {
    error = name + " can't be animated";
    return false;
  }
  ParamValue value;
  if (!ParseParamValue(found.def->type, assignment.substr(equals + 1), value) ||
      !StoreParamValue(*found.block, *found.def, FrameToTime(frame), value, true)) {
    error = "\"" + assignment.substr(equals + 1) + "\" is not a value for " + name;
    return false;
  }
  if (found.block->LastSetClamped()) std::cerr << "graphel: " << name << " was brought into its range\n";
  return true;
}

bool TextureHost::SetFile(const std::string& file, std::string& error) {
  if (file == "-") {
    // Standard input is SVG text, handed over as a script would with SetSvgString.
    const std::optional<std::string> text = ReadWholeFile("-");
    auto* scripted = dynamic_cast<graphel::GraphelInterface*>(texture_->GetInterface(graphel::kGraphelInterfaceId));
    if (!text || scripted == nullptr) {
      error = "standard input can't be read";
      return false;
    }
    scripted->SetSvgString(platform::Utf8ToWide(*text));
    return true;
  }
  return SetParam("vectorfile=" + file, zal::GetCOREInterface()->GetTime(), error);
}

void TextureHost::Update(zal::TimeValue t) {
  zal::GetCOREInterface()->SetTime(t);
  zal::Interval valid = zal::FOREVER;
  texture_->Update(t, valid);
}

bool TextureHost::ReportMessages(const std::string& file, bool print) {
  const std::vector<std::u16string> messages = probe_->Messages();
  for (; reported_ < messages.size(); ++reported_) {
    if (print) ReportFailure(file.empty() ? "texture" : file, OneLine(messages[reported_]));
  }
  return !messages.empty();
}

void AddTextureOptions(CLI::App& command, TextureOptions& options) {
  command.add_option("FILE", options.file, "Drawing to use (none: the placeholder drawing)");
  command.add_option("--tiling", options.tiling, "Repeats of the texture along U and V: U,V")->check(PairValidator("U,V"));
  command.add_option("--frame", options.frame, "Frame (may be fractional)")
      ->check(FrameValidator())
      ->capture_default_str();
  command.add_option("--param", options.params, "Texture parameter NAME=VALUE (colours as --background takes them)");
  command.add_option("--key", options.keys, "Animation key NAME@FRAME=VALUE");
  command.add_flag("--placeholder-on-error", options.placeholderOnError,
                   "Use the placeholder drawing when the file fails to load, and exit 0");
  command.add_flag("-q,--quiet", options.quiet, "No progress bar");
}

int PrepareTexture(TextureHost& host, const TextureOptions& options, zal::TimeValue& t) {
  std::string error;
  // The texture would quietly show its placeholder; the tool says why first.
  const std::string problem = options.file == "-" ? std::string() : InputProblem(options.file);
  if (!problem.empty()) {
    ReportFailure(options.file, problem);
    if (!options.placeholderOnError && !options.answerOnError) return 1;
  }
  if (!host.Open(error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  t = FrameToTime(options.frame);
  zal::GetCOREInterface()->SetTime(t);
  // With the placeholder asked for, a file known to be unreadable is not handed to the texture at all.
  const std::string file = problem.empty() || options.answerOnError ? options.file : std::string();
  if (!ApplyTextureOptions(host, file, options.tiling, options.params, options.keys, t, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 2;
  }
  host.Update(t);
  // A file already reported as unreadable is not reported a second time in the texture's words.
  const bool failed = host.ReportMessages(options.file, problem.empty()) || !problem.empty();
  return failed && !options.placeholderOnError && !options.answerOnError ? 1 : 0;
}

}  // namespace graphel_cli
