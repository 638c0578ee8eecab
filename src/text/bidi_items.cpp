#include "text/bidi_items.h"

#include <fribidi.h>

#include <algorithm>
#include <limits>
#include <numeric>

namespace text {
namespace {

bool IsNeutralScript(hb_script_t script) {
  return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Neutral characters take the script of the text before them in the same level run; those at the
// start of a run take the first real script after them in that run, or keep the one before the run.
std::vector<hb_script_t> ResolvedScripts(std::span<const char32_t> characters,
                                         const std::vector<FriBidiLevel>& levels) {
  hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
  const size_t n = characters.size();
  std::vector<hb_script_t> scripts(n);
  hb_script_t current = HB_SCRIPT_COMMON;
  size_t pending = 0;  // first neutral of the run still waiting for a script
  bool waiting = true;
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && levels[i] != levels[i - 1]) {
      for (size_t j = pending; waiting && j < i; ++j) scripts[j] = current;
      pending = i;
      waiting = true;
    }
    const hb_script_t own = hb_unicode_script(funcs, characters[i]);
    if (IsNeutralScript(own)) {
      scripts[i] = current;
      continue;
    }
    for (size_t j = pending; waiting && j < i; ++j) scripts[j] = own;
    waiting = false;
    current = own;
    scripts[i] = own;
  }
  for (size_t j = pending; waiting && j < n; ++j) scripts[j] = current;
  return scripts;
}

}  // namespace

std::vector<TextItem> ItemiseText(std::span<const char32_t> characters, bool rightToLeft) {
  std::vector<TextItem> items;
  const size_t n = characters.size();
  if (n == 0 || n > static_cast<size_t>(std::numeric_limits<FriBidiStrIndex>::max())) return items;
  const auto length = static_cast<FriBidiStrIndex>(n);

  std::vector<FriBidiChar> codes(characters.begin(), characters.end());
  std::vector<FriBidiCharType> types(n);
  std::vector<FriBidiBracketType> brackets(n);
  std::vector<FriBidiLevel> levels(n);
  fribidi_get_bidi_types(codes.data(), length, types.data());
  fribidi_get_bracket_types(codes.data(), length, types.data(), brackets.data());
  FriBidiParType base = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  const FriBidiLevel baseLevel = rightToLeft ? 1 : 0;
  std::vector<FriBidiStrIndex> visualToLogical(n);
  std::iota(visualToLogical.begin(), visualToLogical.end(), 0);
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &base, levels.data()) == 0 ||
      fribidi_reorder_line(0, types.data(), length, 0, base, levels.data(), nullptr,
                           visualToLogical.data()) == 0) {
    levels.assign(n, baseLevel);
    if (rightToLeft) std::reverse(visualToLogical.begin(), visualToLogical.end());
  }

  const std::vector<hb_script_t> scripts = ResolvedScripts(characters, levels);
  std::vector<TextItem> logical;
  std::vector<size_t> itemOf(n);
  for (size_t i = 0; i < n; ++i) {
    const auto level = static_cast<uint8_t>(levels[i]);
    if (logical.empty() || logical.back().level != level || logical.back().script != scripts[i]) {
      logical.push_back(TextItem{i, 0, level, scripts[i]});
    }
    ++logical.back().count;
    itemOf[i] = logical.size() - 1;
  }

  // Each item is one contiguous block of the reordered line, so the order its blocks appear in is the
  // visual order of the items.
  items.reserve(logical.size());
  std::vector<bool> emitted(logical.size(), false);
  for (FriBidiStrIndex v = 0; v < length; ++v) {
    const auto source = static_cast<size_t>(visualToLogical[static_cast<size_t>(v)]);
    if (source >= n) continue;
    const size_t item = itemOf[source];
    if (!emitted[item]) {
      items.push_back(logical[item]);
      emitted[item] = true;
    }
  }
  return items;
}

}  // namespace text
