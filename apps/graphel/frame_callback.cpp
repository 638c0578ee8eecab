#include "frame_callback.h"

namespace graphel_cli {

void FrameCallback::Begin(const agg::trans_affine&) {
  zal::ScriptThreadState& state = zal::ThreadScriptState();
  saved_.push_back(state);
  state = zal::ScriptThreadState{time_, 1};
  engine_.OpenFrame();
}

void FrameCallback::End() {
  if (saved_.empty()) return;
  zal::ThreadScriptState() = saved_.back();
  saved_.pop_back();
  engine_.CloseFrame();
}

void FrameCallback::Evaluate(std::u16string_view expression, std::u16string& result) {
  zal::ScriptValue value;
  if (!zal::ExecuteZALScriptScript(engine_, expression, true, value)) {
    ReportError(0, value.text);
  } else if (value.type == zal::ScriptValue::Type::kString) {
    result += value.text;
  } else {
    ReportError(0, u"return value is NOT a string...");
  }
}

}  // namespace graphel_cli
