#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "host/host_interface.h"
#include "host/script_engine.h"

namespace {

using Type = zal::ScriptValue::Type;

// Runs text with this thread's script time set to ticks.
zal::ScriptValue RunAt(zal::ScriptEngine& engine, std::u16string_view text, zal::TimeValue ticks, bool* ok = nullptr) {
  zal::ScriptThreadState& thread = zal::ThreadScriptState();
  const zal::ScriptThreadState saved = thread;
  thread = zal::ScriptThreadState{ticks, 1};
  zal::ScriptValue value;
  const bool succeeded = zal::ExecuteZALScriptScript(engine, text, true, value);
  thread = saved;
  if (ok != nullptr) *ok = succeeded;
  return value;
}

TEST(ScriptEngine, ExpressionsAndChunksYieldTheirValueAtTheThreadsTime) {
  struct Case {
    const char16_t* text;
    zal::TimeValue ticks;
    Type type;
    std::u16string string;
    double number;
  };
  const Case cases[] = {
      {u"currentTime < 10 and 'red' or 'blue'", 9 * 160, Type::kString, u"red", 0},
      {u"currentTime < 10 and 'red' or 'blue'", 10 * 160, Type::kString, u"blue", 0},
      {u"currentTime", 80, Type::kNumber, u"", 0.5},
      {u"ticks", 4800, Type::kNumber, u"", 4800},
      {u"string.format('%.2f', currentTime)", 240, Type::kString, u"1.50", 0},
      {u"'5'", 0, Type::kString, u"5", 0},
      {u"5", 0, Type::kNumber, u"", 5},
      {u"local a = ticks * 2; return 'v' .. a", 3, Type::kString, u"v6", 0},
      {u"if currentTime > 1 then return 'late' end return 'early'", 320, Type::kString, u"late", 0},
      {u"x = 1 return", 0, Type::kNil, u"", 0},
      {u"x = 1", 0, Type::kUndefined, u"zls:1: <eof> expected near '='", 0},
      {u"{}", 0, Type::kOther, u"", 0},
      {u"currentTime == 2", 320, Type::kBoolean, u"", 1},
      {u"(string.gsub('a,b,c', ',', ';'))", 0, Type::kString, u"a;b;c", 0},
      {u"('x=12'):match('%d+')", 0, Type::kString, u"12", 0},
      {u"string.rep('', 1e18) .. string.rep('ab', 3, '-')", 0, Type::kString, u"ab-ab-ab", 0},
      {u"table.concat(table.move({'a', 'b'}, 1, 2, 2), ',')", 0, Type::kString, u"a,a,b", 0},
      {u"tostring(string.find(string.rep('a', 1e5) .. '.-b', '.-b', 1, true))", 0, Type::kString, u"100001", 0},
      {u"'caf\u00e9 \u263a'", 0, Type::kString, u"caf\u00e9 \u263a", 0},
  };
  zal::ScriptEngine engine;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
    bool ok = false;
    const zal::ScriptValue value = RunAt(engine, c.text, c.ticks, &ok);
    EXPECT_EQ(ok, c.type != Type::kUndefined);
    EXPECT_EQ(value.type, c.type);
    if (c.type == Type::kString || c.type == Type::kUndefined) {
      EXPECT_EQ(value.text, c.string);
    } else {
      EXPECT_DOUBLE_EQ(value.number, c.number);
    }
  }
}

TEST(ScriptEngine, WithoutATimeContextScriptsSeeTheScenesTime) {
  zal::ScriptEngine engine;
  zal::GetCOREInterface()->SetTime(640);
  zal::ScriptValue value;
  ASSERT_TRUE(engine.Execute(u"currentTime", value));
  EXPECT_DOUBLE_EQ(value.number, 4.0);
  // Another thread's context does not reach this one.
  std::thread other([&] {
    zal::ThreadScriptState() = zal::ScriptThreadState{1600, 1};
    zal::ScriptEngine own;
    zal::ScriptValue seen;
    own.Execute(u"currentTime", seen);
    EXPECT_DOUBLE_EQ(seen.number, 10.0);
  });
  other.join();
  ASSERT_TRUE(engine.Execute(u"currentTime", value));
  EXPECT_DOUBLE_EQ(value.number, 4.0);
  zal::GetCOREInterface()->SetTime(0);
}

TEST(ScriptEngine, RandomNumbersDependOnlyOnTheTime) {
  zal::ScriptEngine first;
  zal::ScriptEngine second;
  const std::u16string text = u"tostring(math.random())";
  const zal::ScriptValue a = RunAt(first, text, 160);
  RunAt(second, u"math.random()", 0);
  EXPECT_EQ(RunAt(second, text, 160).text, a.text);
  EXPECT_NE(RunAt(second, text, 320).text, a.text);
}

// Everything that must fail: what it is, and a piece of the message it must give.
TEST(ScriptEngine, HostileScriptsFailWithAMessageAndTheEngineGoesOn) {
  struct Case {
    std::u16string text;
    const char* message;
  };
  const Case cases[] = {
      {u"io.open('/etc/passwd')", "global 'io'"},
      {u"os.execute('true')", "global 'os'"},
      {u"require('os')", "global 'require'"},
      {u"debug.getinfo(1)", "global 'debug'"},
      {u"load('return 1')()", "global 'load'"},
      {u"loadfile('/etc/passwd')", "global 'loadfile'"},
      {u"dofile('/etc/passwd')", "global 'dofile'"},
      {u"string.dump(tostring)", "field 'dump'"},
      {u"collectgarbage('stop')", "global 'collectgarbage'"},
      {u"1 +", "zls:1:"},
      {u"error({})", "error object is a table"},
      {u"(function() while true do end end)()", "instructions"},
      {u"(function() while true do pcall(function() while true do end end) end end)()", "instructions"},
      {u"string.rep('x', 1e9)", "bytes of memory"},
      {u"(function() local s = 'x' while true do s = s .. s end end)()", "bytes of memory"},
      {u"(function() local function f(n) return 1 + f(n) end return f(1) end)()", "bytes of memory"},
      {u"string.rep('x', 5000)", "longer than 4096 bytes"},
      {u"string.find(string.rep('a', 3000), '.-.-.-b')", "pattern with 3 quantifiers too costly"},
      {u"string.gsub(string.rep('a', 20000), 'a*b', '')", "pattern with 1 quantifiers too costly"},
      {u"table.move({}, 1, 1e15, 1, {})", "table.move of more than"},
      {u"table.move({}, -1e18, 1e18, 1, {})", "table.move of more than"},
      {u"'a\\0b'", "NUL"},
      {u"'\\255'", "UTF-8"},
      {std::u16string(u"'a\0b'", 5), "NUL"},
      {std::u16string(u"'\xd800'"), "Unicode"},
  };
  zal::ScriptEngine engine(zal::ScriptLimits{.instructions = 1'000'000, .memoryBytes = 8u << 20, .resultBytes = 4096});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    bool ok = true;
    engine.OpenFrame();
    const zal::ScriptValue value = RunAt(engine, c.text, 0, &ok);
    engine.CloseFrame();
    EXPECT_FALSE(ok);
    const std::string message(value.text.begin(), value.text.end());
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(RunAt(engine, u"'still ' .. 'here'", 0, &ok).text, u"still here");
    EXPECT_LT(engine.MemoryInUse(), 2u << 20);
  }
}

}  // namespace
