#include "host/script_engine.h"

#include <lua.hpp>

#include <cstdlib>
#include <string>
#include <string_view>

#include "host/hold.h"
#include "host/host_interface.h"
#include "host/locale_handler.h"
#include "platform/wide_text.h"

namespace zal {
namespace {

// The count hook runs this often while the budget lasts, and after every instruction once it is
// spent, so a script that catches the limit error with pcall is stopped at its next instruction.
constexpr int kHookInterval = 1000;

struct Library {
  const char* name;
  lua_CFunction open;
};
constexpr Library kLibraries[] = {
    {LUA_GNAME, luaopen_base},
    {LUA_STRLIBNAME, luaopen_string},
    {LUA_MATHLIBNAME, luaopen_math},
    {LUA_TABLIBNAME, luaopen_table},
};

// Base functions that reach files, the console, the collector or the compiler.
constexpr const char* kRemovedGlobals[] = {"dofile", "loadfile", "load", "print", "collectgarbage", "warn", "require"};

// Registry key of math.randomseed as the library made it, out of the scripts' reach.
constexpr const char* kRandomSeedKey = "graphel.randomseed";

// Lua's pattern matcher backtracks without running instructions, so the count hook can't stop it:
// a match whose worst case, (subject length + 1) to the power (quantifiers + 1), passes this is refused.
constexpr double kMaxPatternWork = 1e8;
constexpr const char* kPatternFunctions[] = {"find", "match", "gmatch", "gsub"};

int GuardedPattern(lua_State* lua) {
  size_t subjectLength = 0;
  luaL_checklstring(lua, 1, &subjectLength);
  size_t patternLength = 0;
  const char* pattern = luaL_checklstring(lua, 2, &patternLength);
  const bool plainFind = lua_gettop(lua) >= 4 && lua_toboolean(lua, 4) && lua_isinteger(lua, lua_upvalueindex(2));
  if (!plainFind) {
    int quantifiers = 0;
    for (size_t i = 0; i < patternLength; ++i) {
      if (pattern[i] == '%') {
        ++i;
      } else if (pattern[i] == '*' || pattern[i] == '-' || pattern[i] == '+' || pattern[i] == '?') {
        ++quantifiers;
      }
    }
    double work = 1.0;
    for (int i = 0; i <= quantifiers && work <= kMaxPatternWork; ++i) work *= static_cast<double>(subjectLength) + 1.0;
    if (work > kMaxPatternWork) {
      return luaL_error(lua, "pattern with %d quantifiers too costly for a subject of %d bytes", quantifiers,
                        static_cast<int>(subjectLength));
    }
  }
  lua_pushvalue(lua, lua_upvalueindex(1));
  lua_insert(lua, 1);
  lua_call(lua, lua_gettop(lua) - 1, LUA_MULTRET);
  return lua_gettop(lua);
}

// string.rep of empty strings loops n times to build nothing, out of the count hook's reach.
int GuardedRepeat(lua_State* lua) {
  size_t length = 0;
  luaL_checklstring(lua, 1, &length);
  luaL_checkinteger(lua, 2);
  size_t separatorLength = 0;
  luaL_optlstring(lua, 3, "", &separatorLength);
  if (length + separatorLength == 0) {
    lua_pushliteral(lua, "");
    return 1;
  }
  lua_pushvalue(lua, lua_upvalueindex(1));
  lua_insert(lua, 1);
  lua_call(lua, lua_gettop(lua) - 1, 1);
  return 1;
}

// table.move walks its whole range in C, also over nothing; real tables never need more.
constexpr lua_Integer kMaxMove = lua_Integer{1} << 22;

int GuardedMove(lua_State* lua) {
  const lua_Integer first = luaL_checkinteger(lua, 2);
  const lua_Integer last = luaL_checkinteger(lua, 3);
  if (last >= first && (first <= 0 ? last >= first + kMaxMove : last - first >= kMaxMove)) {
    return luaL_error(lua, "table.move of more than %d elements", static_cast<int>(kMaxMove));
  }
  lua_pushvalue(lua, lua_upvalueindex(1));
  lua_insert(lua, 1);
  lua_call(lua, lua_gettop(lua) - 1, 1);
  return 1;
}

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether "return" stands in the text as a word of its own.
bool HoldsReturn(std::string_view text) {
  constexpr std::string_view kWord = "return";
  for (size_t at = text.find(kWord); at != std::string_view::npos; at = text.find(kWord, at + 1)) {
    const bool before = at > 0 && IsWordCharacter(text[at - 1]);
    const size_t end = at + kWord.size();
    const bool after = end < text.size() && IsWordCharacter(text[end]);
    if (!before && !after) return true;
  }
  return false;
}

}  // namespace

struct ScriptEngine::State {
  ScriptLimits limits;
  size_t memoryUsed = 0;
  uint64_t instructionsUsed = 0;
  bool budgetSpent = false;
  int frames = 0;
  lua_State* lua = nullptr;

  static void* Allocate(void* owner, void* block, size_t oldSize, size_t newSize) {
    auto* state = static_cast<State*>(owner);
    const size_t previous = block != nullptr ? oldSize : 0;
    if (newSize == 0) {
      std::free(block);
      state->memoryUsed -= previous;
      return nullptr;
    }
    if (newSize > previous && state->memoryUsed - previous + newSize > state->limits.memoryBytes) return nullptr;
    void* moved = std::realloc(block, newSize);
    if (moved != nullptr) state->memoryUsed = state->memoryUsed - previous + newSize;
    return moved;
  }

  static State& Of(lua_State* lua) { return **static_cast<State**>(lua_getextraspace(lua)); }

  static void CountHook(lua_State* lua, lua_Debug*) {
    State& state = Of(lua);
    if (!state.budgetSpent) {
      state.instructionsUsed += kHookInterval;
      if (state.instructionsUsed < state.limits.instructions) return;
      state.budgetSpent = true;
      lua_sethook(lua, CountHook, LUA_MASKCOUNT, 1);
    }
    luaL_error(lua, "script stopped: more than %d instructions", static_cast<int>(state.limits.instructions));
  }

  void ResetBudget() {
    instructionsUsed = 0;
    budgetSpent = false;
    lua_sethook(lua, CountHook, LUA_MASKCOUNT, kHookInterval);
  }

  void SpendBudget() {
    budgetSpent = true;
    lua_sethook(lua, CountHook, LUA_MASKCOUNT, 1);
  }

  // Opens the libraries and takes away what a sandbox must not have; runs protected.
  static int Open(lua_State* lua) {
    for (const Library& library : kLibraries) {
      luaL_requiref(lua, library.name, library.open, 1);
      lua_pop(lua, 1);
    }
    for (const char* name : kRemovedGlobals) {
      lua_pushnil(lua);
      lua_setglobal(lua, name);
    }
    lua_getglobal(lua, LUA_STRLIBNAME);
    lua_pushnil(lua);
    lua_setfield(lua, -2, "dump");
    for (const char* name : kPatternFunctions) {
      lua_getfield(lua, -1, name);
      // The second upvalue marks find, the one function with a plain (non-pattern) mode.
      if (std::string_view(name) == "find") {
        lua_pushinteger(lua, 1);
      } else {
        lua_pushboolean(lua, 0);
      }
      lua_pushcclosure(lua, GuardedPattern, 2);
      lua_setfield(lua, -2, name);
    }
    lua_getfield(lua, -1, "rep");
    lua_pushcclosure(lua, GuardedRepeat, 1);
    lua_setfield(lua, -2, "rep");
    lua_pop(lua, 1);
    lua_getglobal(lua, LUA_TABLIBNAME);
    lua_getfield(lua, -1, "move");
    lua_pushcclosure(lua, GuardedMove, 1);
    lua_setfield(lua, -2, "move");
    lua_pop(lua, 1);
    lua_getglobal(lua, LUA_MATHLIBNAME);
    lua_getfield(lua, -1, "randomseed");
    lua_setfield(lua, LUA_REGISTRYINDEX, kRandomSeedKey);
    lua_pop(lua, 1);
    return 0;
  }

  // Sets the time globals and seeds the random numbers from the time, so every thread and every
  // machine computes the same frame alike; runs protected, as a script may have changed _G.
  static int Prepare(lua_State* lua) {
    const lua_Integer ticks = lua_tointeger(lua, 1);
    lua_pushglobaltable(lua);
    lua_pushnumber(lua, static_cast<lua_Number>(ticks) / kTicksPerFrame);
    lua_setfield(lua, -2, "currentTime");
    lua_pushinteger(lua, ticks);
    lua_setfield(lua, -2, "ticks");
    lua_getfield(lua, LUA_REGISTRYINDEX, kRandomSeedKey);
    lua_pushinteger(lua, ticks);
    lua_call(lua, 1, 0);
    return 0;
  }

  // The error object at the top of the stack as a message; never calls a metamethod.
  std::u16string ErrorMessage(int status) const {
    if (status == LUA_ERRMEM) {
      return platform::Utf8ToWide("script stopped: more than " + std::to_string(limits.memoryBytes) +
                                  " bytes of memory");
    }
    if (lua_type(lua, -1) == LUA_TSTRING) return platform::Utf8ToWide(lua_tostring(lua, -1));
    return platform::Utf8ToWide(std::string("script error (error object is a ") + luaL_typename(lua, -1) + " value)");
  }

  bool Fail(ScriptValue& value, std::u16string message) {
    value.type = ScriptValue::Type::kUndefined;
    value.text = std::move(message);
    lua_settop(lua, 0);
    return false;
  }

  // Reads the value at the top of the stack into value.
  bool Take(ScriptValue& value) {
    switch (lua_type(lua, -1)) {
      case LUA_TNONE:
      case LUA_TNIL:
        value.type = ScriptValue::Type::kNil;
        break;
      case LUA_TBOOLEAN:
        value.type = ScriptValue::Type::kBoolean;
        value.number = lua_toboolean(lua, -1);
        break;
      case LUA_TNUMBER:
        value.type = ScriptValue::Type::kNumber;
        value.number = lua_tonumber(lua, -1);
        break;
      case LUA_TSTRING: {
        size_t length = 0;
        const char* bytes = lua_tolstring(lua, -1, &length);
        const std::string_view text(bytes, length);
        if (length > limits.resultBytes) {
          return Fail(value, platform::Utf8ToWide("script result longer than " + std::to_string(limits.resultBytes) +
                                                  " bytes"));
        }
        if (text.find('\0') != std::string_view::npos) return Fail(value, u"script result holds a NUL character");
        std::u16string wide = platform::Utf8ToWide(text);
        if (platform::WideToUtf8(wide) != text) return Fail(value, u"script result is not valid UTF-8");
        value.type = ScriptValue::Type::kString;
        value.text = std::move(wide);
        break;
      }
      default:
        value.type = ScriptValue::Type::kOther;
        break;
    }
    lua_settop(lua, 0);
    return true;
  }
};

ScriptThreadState& ThreadScriptState() {
  thread_local ScriptThreadState state;
  return state;
}

TimeValue ScriptTime() {
  const ScriptThreadState& state = ThreadScriptState();
  return state.timeContext != 0 ? state.time : GetCOREInterface()->GetTime();
}

ScriptEngine::ScriptEngine(ScriptLimits limits) : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.limits = limits;
  state.lua = lua_newstate(State::Allocate, &state);
  if (state.lua == nullptr) return;
  *static_cast<State**>(lua_getextraspace(state.lua)) = &state;
  lua_pushcfunction(state.lua, State::Open);
  if (lua_pcall(state.lua, 0, 0, 0) != LUA_OK) {
    lua_close(state.lua);
    state.lua = nullptr;
  }
}

ScriptEngine::~ScriptEngine() {
  if (state_->lua == nullptr) return;
  // Finalizers a script left behind run at close; they get no instructions to loop with.
  state_->SpendBudget();
  lua_close(state_->lua);
}

bool ScriptEngine::Execute(std::u16string_view text, ScriptValue& value) {
  State& state = *state_;
  value = ScriptValue{};
  if (state.lua == nullptr) return state.Fail(value, u"script engine could not start");
  if (text.find(u'\0') != std::u16string_view::npos) return state.Fail(value, u"script holds a NUL character");
  const std::string source = platform::WideToUtf8(text);
  if (platform::Utf8ToWide(source) != text) return state.Fail(value, u"script is not valid Unicode text");

  // Lua formats and reads numbers with the C locale of the calling thread.
  const ZalLocaleHandler english;
  lua_State* lua = state.lua;
  lua_settop(lua, 0);
  state.ResetBudget();
  lua_pushcfunction(lua, State::Prepare);
  lua_pushinteger(lua, ScriptTime());
  int status = lua_pcall(lua, 1, 0, 0);
  if (status != LUA_OK) return state.Fail(value, state.ErrorMessage(status));

  const std::string expression = "return " + source;
  status = luaL_loadbufferx(lua, expression.data(), expression.size(), "=zls", "t");
  if (status != LUA_OK && HoldsReturn(source)) {
    lua_settop(lua, 0);
    status = luaL_loadbufferx(lua, source.data(), source.size(), "=zls", "t");
  }
  if (status != LUA_OK) return state.Fail(value, state.ErrorMessage(status));
  status = lua_pcall(lua, 0, 1, 0);
  if (status != LUA_OK) return state.Fail(value, state.ErrorMessage(status));
  return state.Take(value);
}

void ScriptEngine::OpenFrame() { ++state_->frames; }

void ScriptEngine::CloseFrame() {
  if (state_->frames > 0 && --state_->frames == 0 && state_->lua != nullptr) {
    state_->ResetBudget();
    lua_gc(state_->lua, LUA_GCCOLLECT);
  }
}

size_t ScriptEngine::MemoryInUse() const { return state_->memoryUsed; }

bool ExecuteZALScriptScript(ScriptEngine& engine, std::u16string_view text, bool, ScriptValue& value) {
  // A host script may change anything in the scene, and the stand-in can't see what it changed, so a
  // run while the undo record is open counts as one change.
  TheHold().Put(u"script");
  return engine.Execute(text, value);
}

}  // namespace zal
