#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "host/mtl_base.h"
#include "host/plugin_library.h"
#include "host/uvgen.h"
#include "texture/graphel_probe.h"

namespace graphel_cli {

// Where the texture module is: $GRAPHEL_MODULE when set, else Graphel.dlt next to this executable
// (a build tree) or in the installed module folder (lib/graphel beside bin).
std::string ModulePath();

// Loads the Graphel module into library (from ModulePath) and finds its texture class; null, with
// a message, when it can't.
zal::ClassDesc* LoadGraphelClass(zal::PluginLibrary& library, std::string& error);

// "NAME=VALUE" of any of texture's parameters at t, as TextureHost::SetParam takes it.
bool SetTextureParam(zal::Texmap& texture, const std::string& assignment, zal::TimeValue t, std::string& error);

// The tool acting as the 3D host: loads the Graphel module as the host would, creates one texture
// and sets its parameters by name through its parameter blocks.
class TextureHost {
 public:
  TextureHost() = default;
  ~TextureHost();
  TextureHost(const TextureHost&) = delete;
  TextureHost& operator=(const TextureHost&) = delete;

  // False, with a message, when the module can't be loaded or does not make textures.
  bool Open(std::string& error);
  zal::Texmap& Texture() { return *texture_; }
  graphel::GraphelProbe& Probe() { return *probe_; }
  // The texture's coordinates object, when it is the host's standard one.
  zal::StdUVGen* Coordinates();

  // "NAME=VALUE" at time t: numbers, booleans (true/false, on/off, 1/0), colours as #rrggbb or
  // r,g,b[,a] in 0..1, file names as they are. False, with a message, for an unknown name or a
  // value of the wrong kind. Values outside a parameter's range are clamped, with a warning.
  bool SetParam(const std::string& assignment, zal::TimeValue t, std::string& error);
  // "NAME@FRAME=VALUE": a key of an animatable parameter at that frame.
  bool SetKey(const std::string& assignment, std::string& error);
  bool SetFile(const std::string& file, std::string& error);
  // Sets the scene time and brings the texture up to date for it.
  void Update(zal::TimeValue t);
  // Prints the texture's messages not printed yet on stderr (unless print is false), one line each
  // naming file; true when the texture has any message at all.
  bool ReportMessages(const std::string& file, bool print = true);

 private:
  zal::PluginLibrary library_;
  zal::Texmap* texture_ = nullptr;
  graphel::GraphelProbe* probe_ = nullptr;
  size_t reported_ = 0;
};

// The options the texture commands share: the drawing, the coordinates object's repeats ("U,V"),
// the frame, parameters ("NAME=VALUE") and keys ("NAME@FRAME=VALUE").
struct TextureOptions {
  std::string file;
  std::string tiling;
  double frame = 0.0;
  std::vector<std::string> params;
  std::vector<std::string> keys;
  bool placeholderOnError = false;
  bool quiet = false;
  // For commands whose answer describes the failure itself (sample): report it, but carry on.
  bool answerOnError = false;
};

void AddTextureOptions(CLI::App& command, TextureOptions& options);

// Opens the module, applies the options and brings the texture up to date at their frame (t).
// Returns 0, or the exit code after printing why: 1 when the module or the drawing fails to load
// (0 with placeholderOnError or answerOnError), 2 for a wrong option.
int PrepareTexture(TextureHost& host, const TextureOptions& options, zal::TimeValue& t);

// Sets the drawing, repeats, parameters (at t) and keys; false, with a message, when one is wrong.
bool ApplyTextureOptions(TextureHost& host, const std::string& file, const std::string& tiling,
                         const std::vector<std::string>& params, const std::vector<std::string>& keys, zal::TimeValue t,
                         std::string& error);

// A frame number (may be fractional) as host time.
zal::TimeValue FrameToTime(double frame);

// Checks a --frame value: a finite number within the frames the host keeps.
CLI::Validator FrameValidator();

// "A,B" as two numbers, locale-independent; nan and inf are numbers too.
bool ParsePair(const std::string& text, double& a, double& b);
// Checks such a pair as CLI11 parses it, naming the form (e.g. "U,V") when it is not one.
CLI::Validator PairValidator(const std::string& form);

}  // namespace graphel_cli
