#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <agg_trans_affine.h>

#include "svg/property_table.h"
#include "svg/values.h"

namespace svg {

enum class DeclarationType : uint32_t {
  kFlag = 1, kKeyword = 2, kNumber = 3, kColour = 4, kLength = 5, kLengthList = 6, kTransform = 7, kString = 8,
  kReference = 9, kScript = 10
};

enum class PaintKind : uint32_t { kNone = 0, kColour = 1, kCurrentColour = 3 };

// Colour channels as f64 in 0..255.
struct PaintValue {
  PaintKind kind = PaintKind::kColour;
  double r = 0.0, g = 0.0, b = 0.0, a = 255.0;
};

// Clip rectangle of the clip property: top, right, bottom, left.
struct ClipRect {
  bool present = false;
  Length top, right, bottom, left;
};

// Flags handed to the setters.
inline constexpr uint32_t kFlagAttribute = 1;
inline constexpr uint32_t kFlagToRule = 2;
inline constexpr uint32_t kFlagFromStyleAttribute = 4;
inline constexpr uint32_t kFlagInherit = 8;

struct Declaration {
  PropertyId id = PropertyId::kUnknown;
  DeclarationType type = DeclarationType::kNumber;
  bool fromStyleAttribute = false;
  bool inherit = false;

  uint32_t keyword = 0;      // keyword index, or the clip flag (0 for auto)
  double number = 0.0;
  PaintValue paint;
  Length length;
  std::vector<Length> lengths;
  agg::trans_affine transform;
  std::u16string text;       // string, reference or script text
  ClipRect clipRect;
};

// Ordered declarations of one element, rule or computed style; a lookup finds the first of an id.
class PropertyStore {
 public:
  const Declaration* Find(PropertyId id) const;
  Declaration* Find(PropertyId id);
  const std::vector<Declaration>& Declarations() const { return declarations_; }
  std::vector<Declaration>& Declarations() { return declarations_; }
  bool Empty() const { return declarations_.empty(); }
  void Clear() { declarations_.clear(); }

  // Appends unless the first declaration of the property came from a style attribute
  // (transforms always append). Returns whether it was stored.
  bool Store(Declaration declaration);

 private:
  std::vector<Declaration> declarations_;
};

// Parses text as property id and stores it. withClipRect: the element is svg, symbol, image or
// pattern, where clip also carries a rectangle. Properties that are not stored are ignored.
void SetProperty(PropertyStore& store, PropertyId id, std::u16string_view text, uint32_t flags,
                 bool withClipRect = false);

// Stores a script-valued declaration (the whole text, evaluated when styles are computed).
void SetScriptProperty(PropertyStore& store, PropertyId id, std::u16string_view text, uint32_t flags);

// Parses text as the value of property id into a declaration (used for setters and for the results
// of script expressions).
Declaration ParseDeclaration(PropertyId id, std::u16string_view text, uint32_t flags, bool withClipRect = false);

}  // namespace svg
