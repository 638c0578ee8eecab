#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/standalone_callback.h"
#include "host/script_engine.h"
#include "svg/script_callback.h"

namespace graphel_cli {

// The render command's script callback: expressions run in the host's script engine at one frame;
// their failures join the picture reports (with code 0), each once.
class FrameCallback final : public svg::SvgScriptCallback {
 public:
  explicit FrameCallback(zal::TimeValue time) : time_(time) {}

  void Begin(const agg::trans_affine&) override;
  void End() override;
  void Evaluate(std::u16string_view expression, std::u16string& result) override;
  void ReportError(uint32_t code, std::u16string_view message) override { reports_.ReportError(code, message); }
  bool LoadPicture(svg::PictureRecord& picture) override { return reports_.LoadPicture(picture); }

  const std::vector<document::StandaloneCallback::Report>& Reports() const { return reports_.Reports(); }

 private:
  zal::TimeValue time_;
  zal::ScriptEngine engine_;
  std::vector<zal::ScriptThreadState> saved_;
  document::StandaloneCallback reports_;
};

}  // namespace graphel_cli
