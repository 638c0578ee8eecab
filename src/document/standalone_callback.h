#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "svg/script_callback.h"

namespace document {

// Decodes the file at picture.path by its content (PNG signature or JPEG start marker) into picture.
bool LoadPictureFile(svg::PictureRecord& picture);

// The script callback for drawings rendered without a host (the command-line tool, tests). There is
// no script engine here: every expression expands to nothing, so values fall back to the text in
// the file. Pictures are decoded from PNG and JPEG files; error reports are kept for the caller.
class StandaloneCallback final : public svg::SvgScriptCallback {
 public:
  struct Report {
    uint32_t code = 0;
    std::u16string message;

    bool operator==(const Report&) const = default;
  };

  void Begin(const agg::trans_affine&) override {}
  void End() override {}
  void Evaluate(std::u16string_view, std::u16string&) override {}
  // Keeps each distinct (code, message) once, in the order of first report.
  void ReportError(uint32_t code, std::u16string_view message) override;
  bool LoadPicture(svg::PictureRecord& picture) override { return LoadPictureFile(picture); }

  const std::vector<Report>& Reports() const { return reports_; }
  void ClearReports() { reports_.clear(); }

 private:
  std::vector<Report> reports_;
};

}  // namespace document
