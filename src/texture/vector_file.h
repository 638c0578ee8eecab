#pragma once

#include <string>
#include <string_view>

#include "host/param_block.h"

namespace graphel {

// The set hook of "vectorfile": a supported file (or none) becomes the texture's file; any other
// name is refused with a message box and the texture keeps its file.
class VectorFileAccessor : public zal::PBAccessor {
 public:
  void Set(zal::PB2Value& value, zal::ReferenceMaker* owner, zal::ParamID id, int tabIndex, zal::TimeValue t) override;
};

extern VectorFileAccessor vectorFileAccessor;

// True for the extensions the texture loads: .ai, .svg, .svgz, .pat, .pdf, in any case.
bool IsAcceptedVectorFile(std::u16string_view name);

// The name made absolute against the working folder, as the host's path object does; empty stays empty.
std::u16string AbsolutePath(const std::u16string& path);

}  // namespace graphel
