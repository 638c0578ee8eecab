#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/file_type.h"
#include "svg/document.h"
#include "svg/load_result.h"

namespace svg {
class SvgScriptCallback;
}

namespace document {

using svg::DocumentExtent;
using svg::LoadError;

// The one object through which a loaded vector file is held: picks the reader by file type, owns
// what it read and keeps the drawing's extent in user units.
class VectorDocument {
 public:
  // Always returns a document; the load succeeded when Loaded() is true, otherwise error says why.
  static std::unique_ptr<VectorDocument> Create(LoadError& error, bool fromText, std::u16string_view pathOrText,
                                                svg::SvgScriptCallback* scriptCallback, double gamma);

  bool Loaded() const { return svg_ != nullptr; }
  FileType Type() const { return type_; }
  // Width / height of the extent; 1 when the height is 0.
  float Aspect() const;
  bool HasScriptExpressions() const { return svg_ != nullptr && svg_->hasScripts; }
  void SetGamma(double gamma);
  double Gamma() const { return gamma_; }
  const DocumentExtent& Extent() const { return extent_; }
  svg::SVGDocument* Svg() const { return svg_.get(); }
  void PatternNames(std::vector<std::u16string>& names) const;

 private:
  VectorDocument(FileType type, double gamma, svg::SvgScriptCallback* scriptCallback);

  // One load of the current type; true exactly when error.code is 0 afterwards.
  bool Dispatch(LoadError& error, bool fromText, std::u16string_view pathOrText);
  void LoadCompressed(LoadError& error, std::u16string_view path);
  void Discard() { svg_.reset(); }

  std::unique_ptr<svg::SVGDocument> svg_;
  DocumentExtent extent_;
  FileType type_;
  double gamma_;
  std::vector<std::u16string> patternNames_;
};

// Builds the four-arrow drawing shown when there is no file, into an empty document.
void BuildPlaceholderDrawing(svg::SVGDocument& document);

}  // namespace document
