#include "text/face_styles.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/wide_text.h"
#include "text/fontconfig_handles.h"

namespace text {
namespace {

constexpr int kBoldFrom = 600;

using StyleKey = std::tuple<std::string, int, int, bool>;  // file, face index, weight, italic

// fontconfig's configuration for the current FONTCONFIG_FILE, rebuilt when that changes.
struct FaceMatcher {
  std::mutex mutex;
  std::string configFile;
  bool loaded = false;
  ConfigHandle config;
  std::map<StyleKey, FaceKey> found;
};

FaceMatcher& Matcher() {
  static FaceMatcher matcher;
  return matcher;
}

void Refresh(FaceMatcher& matcher) {
  const char* env = std::getenv("FONTCONFIG_FILE");
  const std::string configFile = env != nullptr ? env : "";
  if (matcher.loaded && configFile == matcher.configFile) return;
  matcher.config.reset(FcInitLoadConfigAndFonts());
  matcher.configFile = configFile;
  matcher.loaded = true;
  matcher.found.clear();
}

bool HasFamily(FcPattern* pattern, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (family == reinterpret_cast<const char*>(name)) return true;
  }
  return false;
}

// The usual configuration (conf.d's synthetic rules) reports the weight asked for on the matched
// font and says "embolden" instead, so its verdict comes first; without such rules the face's own
// weight tells.
bool NeedsEmboldening(FcPattern* match, int weight) {
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) return embolden != FcFalse;
  int matchedWeight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
  return weight >= kBoldFrom && matchedWeight < FC_WEIGHT_DEMIBOLD;
}

// Likewise for slant: those rules report an oblique slant and lean the face through its matrix.
bool NeedsObliquing(FcPattern* match, bool italic) {
  FcMatrix* matrix = nullptr;
  if (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix != nullptr) {
    return matrix->xy != 0.0 || matrix->yx != 0.0;
  }
  int matchedSlant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_SLANT, 0, &matchedSlant);
  return italic && matchedSlant == FC_SLANT_ROMAN;
}

FaceKey Match(FcConfig* config, const InstalledFont& font, int weight, bool italic) {
  FaceKey regular{font.filePath, font.faceIndex, weight >= kBoldFrom, italic};
  if (config == nullptr) return regular;
  const std::string family = platform::WideToUtf8(font.faceName);
  PatternHandle pattern(FcPatternCreate());
  if (!pattern) return regular;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  if (!FcConfigSubstitute(config, pattern.get(), FcMatchPattern)) return regular;
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  const PatternHandle match(FcFontMatch(config, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
      !HasFamily(match.get(), family)) {
    return regular;
  }
  int index = 0;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  FaceKey key;
  key.file = reinterpret_cast<const char*>(file);
  key.index = index;
  key.syntheticBold = NeedsEmboldening(match.get(), weight);
  key.syntheticItalic = NeedsObliquing(match.get(), italic);
  return key;
}

}  // namespace

FaceKey StyledFace(const InstalledFont& font, int weight, bool italic) {
  if (weight < kBoldFrom && !italic) return FaceKey{font.filePath, font.faceIndex, false, false};
  FaceMatcher& matcher = Matcher();
  const std::lock_guard lock(matcher.mutex);
  Refresh(matcher);
  // Weights are matched in steps of 100, so a drawing full of odd weights keeps the table small.
  const int step = std::clamp((weight + 50) / 100 * 100, 100, 900);
  const StyleKey styleKey{font.filePath, font.faceIndex, step, italic};
  if (auto it = matcher.found.find(styleKey); it != matcher.found.end()) return it->second;
  FaceKey key = Match(matcher.config.get(), font, step, italic);
  matcher.found.emplace(styleKey, key);
  return key;
}

void ReleaseStyledFaces() {
  FaceMatcher& matcher = Matcher();
  const std::lock_guard lock(matcher.mutex);
  matcher.found.clear();
  matcher.config.reset();
  matcher.loaded = false;
}

}  // namespace text
