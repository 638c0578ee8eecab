#pragma once

#include <memory>
#include <string>

#include "document/texture_settings.h"

namespace zal {
class IParamBlock2;
}

namespace graphel_cli {

// The texture's "pdf params" block for a render without the texture: the texture's names, ranges and
// defaults (pdf_page, continous, transition_mode, transitiondir, transparent, pagecolor).
class PdfParams {
 public:
  PdfParams();
  ~PdfParams();
  PdfParams(const PdfParams&) = delete;
  PdfParams& operator=(const PdfParams&) = delete;

  // Applies one "NAME=VALUE"; false with a message for anything else.
  bool Apply(const std::string& assignment, std::string& error);
  document::PdfPageSettings Settings() const;

 private:
  std::unique_ptr<zal::IParamBlock2> block_;
};

}  // namespace graphel_cli
