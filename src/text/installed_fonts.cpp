#include "text/installed_fonts.h"

#include <mutex>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/wide_text.h"
#include "text/face_styles.h"
#include "text/family_classifier.h"
#include "text/font_coverage.h"
#include "text/fontconfig_handles.h"

namespace text {
namespace {

// OpenType with TrueType or CFF outlines; bitmap, Type 1 and colour-bitmap fonts can't be drawn
// through the outline engine and stay out of the list.
constexpr std::string_view kOutlineFormats[] = {"TrueType", "CFF"};

ConfigHandle LoadConfig(const std::string& configFile) {
  if (configFile.empty()) return ConfigHandle(FcInitLoadConfigAndFonts());
  ConfigHandle config(FcConfigCreate());
  if (!config) return nullptr;
  if (!FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8*>(configFile.c_str()), FcTrue)) {
    return nullptr;
  }
  if (!FcConfigBuildFonts(config.get())) return nullptr;
  return config;
}

bool IsOutlineFont(const FcPattern* font) {
  FcBool outline = FcFalse;
  if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline) return false;
  FcChar8* format = nullptr;
  if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch) return false;
  const std::string_view name(reinterpret_cast<const char*>(format));
  for (std::string_view accepted : kOutlineFormats) {
    if (name == accepted) return true;
  }
  return false;
}

std::u16string WithoutSpaces(std::u16string_view name) {
  std::u16string compact;
  compact.reserve(name.size());
  for (char16_t c : name) {
    if (c != u' ') compact.push_back(c);
  }
  return compact;
}

// Fonts in the order fontconfig prefers them for a pattern that asks for nothing but the
// configuration's and the library's defaults.
FontSetHandle SortedFonts(FcConfig* config) {
  PatternHandle pattern(FcPatternCreate());
  if (!pattern || !FcConfigSubstitute(config, pattern.get(), FcMatchPattern)) return nullptr;
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return FontSetHandle(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
}

std::shared_ptr<const FontCoverage> CoverageOf(const FcPattern* font) {
  FcCharSet* charSet = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charSet) != FcResultMatch) return nullptr;
  return std::make_shared<const FontCoverage>(CharSetHandle(FcCharSetCopy(charSet)));
}

std::vector<std::string> FamilyNames(const FcPattern* font) {
  std::vector<std::string> names;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    names.emplace_back(reinterpret_cast<const char*>(family));
  }
  return names;
}

// A face takes an entry under each of its family names (a condensed face also carries its
// typographic family, a localised font its names in other languages) unless an earlier, more
// preferred face took that name already.
void AddFamilies(const FcPattern* font, const FamilyClassifier& classifier,
                 std::unordered_set<std::string>& seen, InstalledFontList& list) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return;
  const std::vector<std::string> families = FamilyNames(font);
  bool anyNew = false;
  for (const std::string& name : families) anyNew = anyNew || (!name.empty() && !seen.contains(name));
  if (!anyNew) return;

  int faceIndex = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &faceIndex);
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
  const uint8_t pitchAndFamily = classifier.PitchAndFamily(families, spacing);
  const std::shared_ptr<const FontCoverage> coverage = CoverageOf(font);
  for (const std::string& name : families) {
    if (name.empty() || !seen.insert(name).second) continue;
    InstalledFont entry;
    entry.faceName = platform::Utf8ToWide(name);
    entry.compactName = WithoutSpaces(entry.faceName);
    entry.pitchAndFamily = pitchAndFamily;
    entry.filePath = reinterpret_cast<const char*>(file);
    entry.faceIndex = faceIndex;
    entry.coverage = coverage;
    list.fonts.push_back(std::move(entry));
  }
}

std::mutex& ProcessListMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<InstalledFontList>& ProcessList() {
  static std::unique_ptr<InstalledFontList> list;
  return list;
}

}  // namespace

InstalledFontList ReadInstalledFonts(const std::string& configFile) {
  InstalledFontList list;
  const ConfigHandle config = LoadConfig(configFile);
  if (!config) return list;
  const FontSetHandle sorted = SortedFonts(config.get());
  if (!sorted) return list;
  const FamilyClassifier classifier(config.get());
  std::unordered_set<std::string> seen;
  for (int i = 0; i < sorted->nfont; ++i) {
    if (IsOutlineFont(sorted->fonts[i])) AddFamilies(sorted->fonts[i], classifier, seen, list);
  }
  return list;
}

InstalledFontList& GetInstalledFonts() {
  const std::lock_guard lock(ProcessListMutex());
  std::unique_ptr<InstalledFontList>& list = ProcessList();
  if (!list) list = std::make_unique<InstalledFontList>(ReadInstalledFonts());
  return *list;
}

void ResetInstalledFontsForTesting() {
  const std::lock_guard lock(ProcessListMutex());
  ProcessList().reset();
}

void ReleaseFonts() {
  {
    const std::lock_guard lock(ProcessListMutex());
    ProcessList().reset();
  }
  ReleaseStyledFaces();
  // fontconfig asserts that no cache is referenced any more, which holds once the above are gone.
  FcFini();
}

bool LoadRanges(InstalledFontList& list, size_t index) {
  if (index >= list.fonts.size()) return false;
  InstalledFont& font = list.fonts[index];
  if (font.coverage) font.coverage->ToRanges(font.ranges, font.supplementaryRanges);
  return true;
}

}  // namespace text
