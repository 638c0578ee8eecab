#pragma once

#include <agg_trans_affine.h>

#include "svg/element.h"

namespace svg {

// Widens box by the geometry of element and its descendants under matrix (each child's own
// transform applied first). Elements whose display is none add nothing. Text measures its own
// descendants; the walk does not enter it.
void SubtreeBounds(SVGElement& element, Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix);

// Whether the element's own declarations or the style-sheet rules that match it set display: none.
bool IsDisplayNone(const SVGElement& element, const StyleSheet* styleSheet);

}  // namespace svg
