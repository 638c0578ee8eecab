#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "svg/document.h"

namespace svg {

// Where the reader is: its mode word decides which store a declaration goes to.
inline constexpr uint16_t kModeAttributes = 1;
inline constexpr uint16_t kModeStyleElement = 2;
inline constexpr uint16_t kModeStyleAttribute = 4;
inline constexpr uint16_t kModeInherit = 8;

// Takes the attributes every element shares (id, xml:base, xml:space, class, style and the style
// properties) and the text of style elements, and routes them into the document.
class AttributeReader {
 public:
  AttributeReader(SVGDocument& document, uint32_t& scriptCount) : document_(document), scriptCount_(scriptCount) {}

  // Returns whether the attribute was taken (a null-like empty name is taken and ignored).
  bool ReadGeneric(std::u16string_view name, std::u16string_view value);
  // The value of a style attribute, or the body of a style-sheet rule.
  void ReadDeclarationBlock(std::u16string_view block);
  // Character data of a style element; a complete rule is parsed as soon as a "}" arrives.
  void AddStyleSheetText(std::u16string_view chunk);

  uint16_t Mode() const { return mode_; }
  void SetMode(uint16_t mode) { mode_ = mode; }

 private:
  bool ReadProperty(std::u16string_view name, std::u16string_view value);
  void ParseRule();

  SVGDocument& document_;
  uint32_t& scriptCount_;
  uint16_t mode_ = kModeAttributes;
  std::u16string styleSheetBuffer_;
};

}  // namespace svg
