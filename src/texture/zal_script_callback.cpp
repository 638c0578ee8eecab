#include "texture/zal_script_callback.h"

#include <new>

#include "document/load_messages.h"
#include "host/bitmap.h"
#include "host/hold.h"
#include "texture/string_table.h"

namespace graphel {
namespace {

// Drawings never hold this many distinct expressions; past it, outcomes are not kept.
constexpr size_t kMaxOutcomes = 4096;


// Suspends the host's undo recording for its lifetime.
struct UndoSuspended {
  UndoSuspended() { zal::TheHold().Suspend(); }
  ~UndoSuspended() { zal::TheHold().Resume(); }
  UndoSuspended(const UndoSuspended&) = delete;
  UndoSuspended& operator=(const UndoSuspended&) = delete;
};


}  // namespace

SvgZalScriptCallback::SvgZalScriptCallback(PanelMessages& messages, zal::TimeValue time)
    : messages_(messages), notAString_(StringCopy(IDS_NOT_A_STRING)), time_(time) {}

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
  // Nothing an expression does may become an undo entry of the user's.
  const UndoSuspended undoSuspended;
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

bool SvgZalScriptCallback::LoadPicture(svg::PictureRecord& picture) {
  zal::BitmapManager& manager = *zal::TheManager();
  zal::BitmapInfo info;
  info.name = picture.path;
  const bool wasSilent = manager.SetSilentMode(true);
  const zal::BitmapPtr bitmap(manager.Load(info));
  manager.SetSilentMode(wasSilent);
  if (bitmap == nullptr) return false;

  const auto width = static_cast<uint32_t>(bitmap->Width());
  const auto height = static_cast<uint32_t>(bitmap->Height());
  auto pixels = std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size_t{width} * height * 4]);
  if (pixels == nullptr) return false;
  // A bitmap without alpha holds opaque pixels.
  zal::ReadBytes(*bitmap, pixels.get());
  const bool hasAlpha = (info.storageFlags & zal::kStorageHasAlpha) != 0;
  picture.pixels = std::move(pixels);
  picture.width = width;
  picture.height = height;
  picture.gamma = info.gamma;
  picture.applyGamma = info.ownGamma;
  picture.hasAlpha = hasAlpha;
  picture.flag4Clear = (info.storageFlags & zal::kStorageStraightAlpha) == 0;
  return true;
}

}  // namespace graphel
