#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

// What one evaluation may use before it is stopped with a message.
struct ScriptLimits {
  uint64_t instructions = 2'000'000;
  size_t memoryBytes = size_t{32} << 20;
  size_t resultBytes = size_t{1} << 20;
};

// The value a script left, as the host hands it to plug-ins.
struct ScriptValue {
  enum class Type { kUndefined, kNil, kBoolean, kNumber, kString, kOther };
  Type type = Type::kUndefined;
  double number = 0.0;
  std::u16string text;  // the string, or the error message when the run failed
};

// The calling thread's script time: while timeContext is set, scripts on this thread read time
// instead of the scene's current time. Plug-ins save and restore it around their own passes.
struct ScriptThreadState {
  TimeValue time = 0;
  int32_t timeContext = 0;
};
ZAL_API ScriptThreadState& ThreadScriptState();

// The time a script run on this thread sees now.
ZAL_API TimeValue ScriptTime();

// One sandboxed script interpreter (Lua 5.4 with only its base, string, math and table libraries,
// no loading of files or bytecode). Each evaluation runs under ScriptLimits. An engine is not
// thread-safe: give every thread its own.
class ZAL_API ScriptEngine {
 public:
  explicit ScriptEngine(ScriptLimits limits = {});
  ~ScriptEngine();
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  // Runs text at the thread's script time: as an expression, or as a chunk when it holds a return
  // statement of its own. Globals currentTime (frames, may be fractional) and ticks are set first.
  // Returns false with the engine's message in value.text when it fails.
  bool Execute(std::u16string_view text, ScriptValue& value);
  // Memory frames: closing the outermost one gives back what the evaluations left behind.
  void OpenFrame();
  void CloseFrame();
  size_t MemoryInUse() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The host's entry for running script text; quiet runs never show an error dialog.
ZAL_API bool ExecuteZALScriptScript(ScriptEngine& engine, std::u16string_view text, bool quiet, ScriptValue& value);

}  // namespace zal
