#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "host/script_engine.h"
#include "host/zal_types.h"
#include "svg/script_callback.h"
#include "texture/panel_messages.h"

namespace graphel {

// The texture's link between its drawing and the host: runs the drawing's script expressions in the
// host's script engine at the texture's evaluation time, posts their failures and the drawing's
// errors to the texture's message list, and loads pictures.
class SvgZalScriptCallback final : public svg::SvgScriptCallback {
 public:
  SvgZalScriptCallback(PanelMessages& messages, zal::TimeValue time);
  ~SvgZalScriptCallback() override;

  // The time expressions see between Begin and End; forgets the outcomes of the old time.
  void SetTime(zal::TimeValue time);
  zal::TimeValue Time() const { return time_.load(std::memory_order_relaxed); }
  // Forgets the outcomes kept for the current time, so the next pass runs and reports them again.
  void ForgetOutcomes();

  void Begin(const agg::trans_affine& renderTransform) override;
  void End() override;
  void Evaluate(std::u16string_view expression, std::u16string& result) override;
  void ReportError(uint32_t code, std::u16string_view message) override;
  bool LoadPicture(svg::PictureRecord& picture) override;

 private:
  // What one expression gave at one time: every tile and pass of that time reuses it.
  struct Outcome {
    bool isString = false;
    std::u16string text;
  };
  // The script engine of one thread, and the thread script state that its open passes replaced.
  struct ThreadEntry {
    std::unique_ptr<zal::ScriptEngine> engine;
    std::vector<zal::ScriptThreadState> saved;
  };
  ThreadEntry& CurrentThread();

  PanelMessages& messages_;
  // Taken from the string table at construction: render threads must not read the table.
  const std::u16string notAString_;
  std::atomic<zal::TimeValue> time_;
  std::mutex mutex_;
  std::unordered_map<std::thread::id, ThreadEntry> threads_;
  zal::TimeValue outcomesTime_ = 0;
  std::unordered_map<std::u16string, Outcome> outcomes_;
};

}  // namespace graphel
