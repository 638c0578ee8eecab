#include "svg/element_factory.h"

#include "svg/resource_elements.h"
#include "svg/shape_elements.h"
#include "svg/structure_elements.h"
#include "svg/text_elements.h"

namespace svg {

std::unique_ptr<SVGElement> CreateElement(ElementType type) {
  switch (type) {
    case ElementType::kUnknown: return std::make_unique<SVGUnknownElement>();
    case ElementType::kSvg: return std::make_unique<SVGSVGElement>();
    case ElementType::kA: return std::make_unique<SVGAElement>();
    case ElementType::kG: return std::make_unique<SVGGroupElement>();
    case ElementType::kDefs: return std::make_unique<SVGDefsElement>();
    case ElementType::kTitle: return std::make_unique<SVGTitleElement>();
    case ElementType::kDesc: return std::make_unique<SVGDescElement>();
    case ElementType::kSymbol: return std::make_unique<SVGSymbolElement>();
    case ElementType::kUse: return std::make_unique<SVGUseElement>();
    case ElementType::kImage: return std::make_unique<SVGImageElement>();
    case ElementType::kPath: return std::make_unique<SVGPathElement>();
    case ElementType::kRect: return std::make_unique<SVGRectElement>();
    case ElementType::kCircle: return std::make_unique<SVGCircleElement>();
    case ElementType::kEllipse: return std::make_unique<SVGEllipseElement>();
    case ElementType::kLine: return std::make_unique<SVGLineElement>();
    case ElementType::kPolyline: return std::make_unique<SVGPolyLineElement>();
    case ElementType::kPolygon: return std::make_unique<SVGPolygonElement>();
    case ElementType::kText: return std::make_unique<SVGTextElement>();
    case ElementType::kTSpan: return std::make_unique<SVGTSpanElement>();
    case ElementType::kTRef: return std::make_unique<SVGTRefElement>();
    case ElementType::kTextPath: return std::make_unique<SVGTextPathElement>();
    case ElementType::kLinearGradient: return std::make_unique<SVGLinearGradientElement>();
    case ElementType::kRadialGradient: return std::make_unique<SVGRadialGradientElement>();
    case ElementType::kStop: return std::make_unique<SVGStopElement>();
    case ElementType::kPattern: return std::make_unique<SVGPatternElement>();
    case ElementType::kClipPath: return std::make_unique<SVGClipPathElement>();
    case ElementType::kMask: return std::make_unique<SVGMaskElement>();
    case ElementType::kStyle:
    case ElementType::kAltGlyph:
    case ElementType::kAltGlyphDef:
    case ElementType::kAltGlyphItem:
    case ElementType::kGlyphRef: break;
  }
  return nullptr;
}

}  // namespace svg
