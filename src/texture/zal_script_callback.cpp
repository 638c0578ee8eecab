#include "texture/zal_script_callback.h"

#include "document/load_messages.h"
#include "document/standalone_callback.h"
#include "texture/string_table.h"

namespace graphel {
namespace {

// Drawings never hold this many distinct expressions; past it, outcomes are not kept.
constexpr size_t kMaxOutcomes = 4096;

std::u16string Copy(const char16_t* text) { return text != nullptr ? std::u16string(text) : std::u16string(); }

}  // namespace

SvgZalScriptCallback::SvgZalScriptCallback(PanelMessages& messages, zal::TimeValue time)
    : messages_(messages), notAString_(Copy(GetString(IDS_NOT_A_STRING))), time_(time) {}

SvgZalScriptCallback::~SvgZalScriptCallback() = default;

void SvgZalScriptCallback::SetTime(zal::TimeValue time) {
  time_.store(time, std::memory_order_relaxed);
  ForgetOutcomes();
}

void SvgZalScriptCallback::ForgetOutcomes() {
  const std::lock_guard lock(mutex_);
  outcomes_.clear();
}

SvgZalScriptCallback::ThreadEntry& SvgZalScriptCallback::CurrentThread() {
  ThreadEntry& entry = threads_[std::this_thread::get_id()];
  if (entry.engine == nullptr) entry.engine = std::make_unique<zal::ScriptEngine>();
  return entry;
}

void SvgZalScriptCallback::Begin(const agg::trans_affine&) {
  const std::lock_guard lock(mutex_);
  ThreadEntry& entry = CurrentThread();
  entry.engine->OpenFrame();
  zal::ScriptThreadState& state = zal::ThreadScriptState();
  entry.saved.push_back(state);
  state = zal::ScriptThreadState{Time(), 1};
}

void SvgZalScriptCallback::End() {
  const std::lock_guard lock(mutex_);
  ThreadEntry& entry = CurrentThread();
  if (entry.saved.empty()) return;
  zal::ThreadScriptState() = entry.saved.back();
  entry.saved.pop_back();
  entry.engine->CloseFrame();
}

void SvgZalScriptCallback::Evaluate(std::u16string_view expression, std::u16string& result) {
  const zal::TimeValue time = zal::ScriptTime();
  const std::lock_guard lock(mutex_);
  if (time != outcomesTime_) {
    outcomes_.clear();
    outcomesTime_ = time;
  }
  const std::u16string key(expression);
  if (const auto found = outcomes_.find(key); found != outcomes_.end()) {
    if (found->second.isString) result += found->second.text;
    return;
  }

  zal::ScriptValue value;
  Outcome outcome;
  if (!zal::ExecuteZALScriptScript(*CurrentThread().engine, expression, true, value)) {
    if (!value.text.empty()) messages_.Show(value.text);
  } else if (value.type == zal::ScriptValue::Type::kString) {
    outcome = Outcome{true, std::move(value.text)};
    result += outcome.text;
  } else {
    messages_.Show(notAString_);
  }
  if (outcomes_.size() < kMaxOutcomes) outcomes_.emplace(key, std::move(outcome));
}

void SvgZalScriptCallback::ReportError(uint32_t code, std::u16string_view message) {
  svg::LoadError error;
  error.code = code;
  error.SetMessage(message);
  const std::u16string shown = document::ShownMessage(error, u"");
  messages_.Show(shown.empty() ? error.message : shown);
}

bool SvgZalScriptCallback::LoadPicture(svg::PictureRecord& picture) { return document::LoadPictureFile(picture); }

}  // namespace graphel
