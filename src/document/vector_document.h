#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/file_type.h"
#include "document/texture_settings.h"
#include "formats/pat/hatch_pattern.h"
#include "svg/document.h"
#include "svg/load_result.h"

namespace svg {
class SvgScriptCallback;
}
namespace formats::pdf {
class PdfPageSource;
}

namespace document {

using svg::DocumentExtent;

// The most pixels one rendered buffer may hold (1 GiB of RGBA; 16384 x 16384).
inline constexpr int64_t kMaxRenderPixels = int64_t{1} << 28;
using svg::LoadError;

// The one object through which a loaded vector file is held: picks the reader by file type, owns
// what it read and keeps the drawing's extent in user units.
class VectorDocument {
 public:
  // Always returns a document; the load succeeded when Loaded() is true, otherwise error says why.
  ~VectorDocument();
  static std::unique_ptr<VectorDocument> Create(LoadError& error, bool fromText, std::u16string_view pathOrText,
                                                svg::SvgScriptCallback* scriptCallback, double gamma,
                                                PdfPageSettings* pdfSettings = nullptr);

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
  // Rebuilds the drawing from pattern settings.patternIndex of a hatch-pattern file, lines reaching
  // margin pixels beyond the tile; false, changing nothing, for other files or an index out of range.
  bool SelectPattern(const PatternSettings& settings, int32_t margin);
  // The number of pages of a PDF or Illustrator file; 0 for other types.
  uint32_t PageCount() const;

  // Renders the tile (row, column) of size tileSize of the whole drawing stretched to fullSize x
  // fullSize, with border pixels of the neighbourhood on every side: a square buffer of
  // tileSize + 2 * border pixels, R, G, B, A bytes premultiplied, top row first. background is packed
  // R, G, B, A in memory order. Null when there is nothing to render or the buffer can't be had.
  std::unique_ptr<uint8_t[]> RenderTile(uint32_t background, int32_t fullSize, int32_t tileSize, int32_t row,
                                        int32_t column, int32_t border) const;
  std::unique_ptr<uint8_t[]> RenderWhole(int32_t size) const { return RenderTile(0, size, size, 0, 0, 0); }
  // The whole drawing stretched to width x height (the command line's --width/--height).
  std::unique_ptr<uint8_t[]> RenderStretched(uint32_t background, int32_t width, int32_t height) const;

 private:
  VectorDocument(FileType type, double gamma, svg::SvgScriptCallback* scriptCallback);

  // One load of the current type; true exactly when error.code is 0 afterwards.
  bool Dispatch(LoadError& error, bool fromText, std::u16string_view pathOrText,
                PdfPageSettings* pdfSettings = nullptr);
  void LoadPdf(LoadError& error, std::u16string_view path, PdfPageSettings* pdfSettings);
  void LoadCompressed(LoadError& error, std::u16string_view path);
  void Discard() { svg_.reset(); }
  bool HasArea() const;
  std::unique_ptr<uint8_t[]> RenderWindow(uint32_t background, double fullWidth, double fullHeight, double left,
                                          double top, uint32_t width, uint32_t height) const;

  std::unique_ptr<svg::SVGDocument> svg_;
  DocumentExtent extent_;
  FileType type_;
  double gamma_;
  svg::SvgScriptCallback* scriptCallback_;
  std::vector<formats::pat::HatchPattern> patterns_;
  std::unique_ptr<formats::pdf::PdfPageSource> pdf_;
};

// Builds the four-arrow drawing shown when there is no file, into an empty document.
void BuildPlaceholderDrawing(svg::SVGDocument& document);

}  // namespace document
