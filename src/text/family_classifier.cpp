#include "text/family_classifier.h"

#include <vector>

#include "text/font_classes.h"
#include "text/fontconfig_handles.h"

namespace text {
namespace {

// The family list fontconfig makes of a pattern that holds only family.
std::vector<std::string> SubstitutedFamilies(FcConfig* config, std::string_view family) {
  std::vector<std::string> families;
  PatternHandle pattern(FcPatternCreate());
  if (!pattern) return families;
  const std::string name(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  if (!FcConfigSubstitute(config, pattern.get(), FcMatchPattern)) return families;
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    families.emplace_back(reinterpret_cast<const char*>(value));
  }
  return families;
}

const GenericFamily* FindGeneric(std::string_view name) {
  for (const GenericFamily& generic : kGenericFamilies) {
    if (generic.name == name) return &generic;
  }
  return nullptr;
}

}  // namespace

FamilyClassifier::FamilyClassifier(FcConfig* config) : config_(config) {
  for (const GenericFamily& generic : kGenericFamilies) {
    const std::vector<std::string> families = SubstitutedFamilies(config_, generic.name);
    for (size_t rank = 0; rank < families.size() && !FindGeneric(families[rank]); ++rank) {
      const auto [it, added] = preferred_.try_emplace(families[rank], Preference{rank, generic.fontClass});
      if (!added && rank < it->second.rank) it->second = Preference{rank, generic.fontClass};
    }
  }
}

uint8_t FamilyClassifier::PitchAndFamily(std::span<const std::string> families, int spacing) const {
  if (spacing >= FC_MONO) return kMonospaceClass | kFixedPitch;
  const Preference* best = nullptr;
  for (const std::string& family : families) {
    const auto it = preferred_.find(family);
    if (it != preferred_.end() && (!best || it->second.rank < best->rank)) best = &it->second;
  }
  if (best) return best->fontClass | kVariablePitch;
  return (families.empty() ? kNamedFamily : FallbackClass(families.front())) | kVariablePitch;
}

uint8_t FamilyClassifier::FallbackClass(std::string_view family) const {
  const std::vector<std::string> families = SubstitutedFamilies(config_, family);
  for (size_t i = 1; i < families.size(); ++i) {
    if (const GenericFamily* generic = FindGeneric(families[i])) return generic->fontClass;
  }
  return kNamedFamily;
}

}  // namespace text
