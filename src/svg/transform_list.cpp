#include <array>
#include <cmath>

#include "svg/number_parse.h"
#include "svg/values.h"

namespace svg {
namespace {

enum class TransformKind { kMatrix, kTranslate, kRotate, kScale, kSkewX, kSkewY };

struct TransformFunction {
  std::u16string_view name;
  TransformKind kind;
  size_t maxArguments;
};

// Tested in this order as prefixes of the text at a lower-case letter.
constexpr std::array<TransformFunction, 6> kTransformFunctions{{
    {u"matrix", TransformKind::kMatrix, 6},
    {u"translate", TransformKind::kTranslate, 2},
    {u"rotate", TransformKind::kRotate, 3},
    {u"scale", TransformKind::kScale, 2},
    {u"skewX", TransformKind::kSkewX, 1},
    {u"skewY", TransformKind::kSkewY, 1},
}};

constexpr std::u16string_view kNumberCharacters = u"0123456789+-.eE";
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
constexpr double kIdentityEpsilon = 1e-14;

// Every element within kIdentityEpsilon of the identity's (an absolute test: AGG's own is relative).
bool IsNearIdentity(const agg::trans_affine& m) {
  const std::array<double, 6> deltas{m.sx - 1.0, m.shy, m.shx, m.sy - 1.0, m.tx, m.ty};
  for (const double delta : deltas) {
    if (!(std::fabs(delta) <= kIdentityEpsilon)) return false;
  }
  return true;
}

bool IsNumberCharacter(char16_t c) { return kNumberCharacters.find(c) != std::u16string_view::npos; }

// Reads up to maxCount numbers from the text between the parentheses. Numbers may follow each other
// without a separator ("1.5.5", "10-5"); a run of number characters that forms no number is skipped.
size_t ReadArguments(std::u16string_view text, size_t maxCount, std::array<double, 6>& numbers) {
  size_t count = 0;
  size_t pos = 0;
  while (pos < text.size() && count < maxCount) {
    if (!IsNumberCharacter(text[pos])) {
      ++pos;
      continue;
    }
    size_t used = 0;
    const double number = ParseNumberPrefix(text.substr(pos), &used);
    if (used == 0) {
      while (pos < text.size() && IsNumberCharacter(text[pos])) ++pos;
      continue;
    }
    numbers[count++] = number;
    pos += used;
  }
  return count;
}

// The function's matrix, or nothing (false) when its arguments don't make a usable transform.
bool BuildFunction(TransformKind kind, const std::array<double, 6>& n, size_t count, agg::trans_affine& out) {
  switch (kind) {
    case TransformKind::kMatrix:
      if (count != 6) return false;
      out = agg::trans_affine(n[0], n[1], n[2], n[3], n[4], n[5]);
      return true;
    case TransformKind::kTranslate:
      if (count == 0) return false;
      out = agg::trans_affine_translation(n[0], count > 1 ? n[1] : 0.0);
      return true;
    case TransformKind::kScale:
      if (count == 0) return false;
      out = agg::trans_affine_scaling(n[0], count > 1 ? n[1] : n[0]);
      return true;
    case TransformKind::kRotate:
      if (count == 1) {
        out = agg::trans_affine_rotation(n[0] * kDegreesToRadians);
        return true;
      }
      if (count == 3) {
        out = agg::trans_affine_translation(-n[1], -n[2]);
        out.multiply(agg::trans_affine_rotation(n[0] * kDegreesToRadians));
        out.multiply(agg::trans_affine_translation(n[1], n[2]));
        return true;
      }
      return false;
    case TransformKind::kSkewX:
      if (count == 0) return false;
      out = agg::trans_affine(1.0, 0.0, std::tan(n[0] * kDegreesToRadians), 1.0, 0.0, 0.0);
      return true;
    case TransformKind::kSkewY:
      if (count == 0) return false;
      out = agg::trans_affine(1.0, std::tan(n[0] * kDegreesToRadians), 0.0, 1.0, 0.0, 0.0);
      return true;
  }
  return false;
}

const TransformFunction* MatchFunction(std::u16string_view rest) {
  for (const auto& function : kTransformFunctions) {
    if (rest.substr(0, function.name.size()) == function.name) return &function;
  }
  return nullptr;
}

}  // namespace

agg::trans_affine ParseTransformList(std::u16string_view text) {
  agg::trans_affine current;
  size_t pos = 0;
  while (pos < text.size()) {
    const char16_t c = text[pos];
    const TransformFunction* function = (c >= u'a' && c <= u'z') ? MatchFunction(text.substr(pos)) : nullptr;
    if (function == nullptr) {
      ++pos;
      continue;
    }
    const size_t open = text.find(u'(', pos + function->name.size());
    if (open == std::u16string_view::npos) break;
    const size_t close = text.find(u')', open + 1);
    if (close == std::u16string_view::npos) break;

    std::array<double, 6> numbers{};
    const size_t count =
        ReadArguments(text.substr(open + 1, close - open - 1), function->maxArguments, numbers);
    agg::trans_affine step;
    // The later function applies first: current = step, then current.
    if (BuildFunction(function->kind, numbers, count, step)) current.premultiply(step);
    pos = close;
  }
  return current;
}

std::u16string TransformToText(const agg::trans_affine& m) {
  if (IsNearIdentity(m)) return {};
  std::u16string text = u"matrix(";
  const std::array<double, 6> values{m.sx, m.shy, m.shx, m.sy, m.tx, m.ty};
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text.push_back(u' ');
    text += FormatNumber(values[i]);
  }
  text.push_back(u')');
  return text;
}

bool TransformValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  matrix_ = ParseTransformList(text);
  MarkSpecified();
  return false;
}

agg::trans_affine TransformValue::Get(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? matrix_ : ParseTransformList(expanded);
}

std::u16string TransformValue::ToText(SvgScriptCallback* callback) const {
  return HasScript() ? Expanded(callback) : TransformToText(matrix_);
}

}  // namespace svg
