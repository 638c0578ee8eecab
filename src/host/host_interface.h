#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

// Message box flags the plug-ins use.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_ICONWARNING = 0x30;

// The host application as plug-ins see it: scene time, animate mode, the current renderer, message
// boxes and the configured folders. The stand-in application sets these up before loading modules.
class ZAL_API Interface {
 public:
  using MessageBoxHandler = std::function<void(std::u16string_view text, std::u16string_view caption, unsigned flags)>;

  TimeValue GetTime() const { return time_.load(std::memory_order_relaxed); }
  void SetTime(TimeValue t) { time_.store(t, std::memory_order_relaxed); }
  bool GetAnimateMode() const { return animateMode_.load(std::memory_order_relaxed); }
  void SetAnimateMode(bool on) { animateMode_.store(on, std::memory_order_relaxed); }
  Class_ID GetCurrentRendererClassID() const;
  void SetCurrentRendererClassID(Class_ID id);

  // Shows a message box; without an owner window the host prints it on stderr.
  void MessageBox(std::u16string_view text, std::u16string_view caption, unsigned flags);
  // Replaces what a message box does (the tool and the tests capture them); returns the old handler.
  MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

  // Configured folders by the host's directory number, with a trailing separator.
  std::string GetDir(int which) const;
  void SetDir(int which, std::string folder);

 private:
  std::atomic<TimeValue> time_{0};
  std::atomic<bool> animateMode_{false};
  mutable std::mutex mutex_;
  Class_ID renderer_{};
  MessageBoxHandler messageBox_;
  std::string folders_[16];
};

ZAL_API Interface* GetCOREInterface();

// The host's directory number of the folder where renderer plug-ins keep their files.
inline constexpr int APP_RENDER_CACHE_DIR = 7;

}  // namespace zal
