#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <zlib.h>

#include "host/bitmap.h"
#include "host/hold.h"
#include "host/script_engine.h"
#include "platform/picture_decoder.h"
#include "support/test_support.h"
#include "texture/graphel.h"
#include "texture/panel_messages.h"
#include "texture/zal_script_callback.h"
#include "texture_fixture.h"

namespace graphel {
namespace {

using testing::At;
using testing::NewTexture;
using testing::RecordingWindow;
using testing::SetFile;
using testing::UpdateAt;
using testing::WriteDrawing;

constexpr zal::TimeValue kFrame = zal::kTicksPerFrame;
const zal::AColor kRed{1, 0, 0, 1};
const zal::AColor kBlue{0, 0, 1, 1};
const zal::AColor kBlack{0, 0, 0, 1};

std::string Drawing(const std::string& body) {
  return "<svg width='100' height='100'><style>.a{fill:#f00}</style><style>.b{fill:#00f}</style>"
         "<rect width='100' height='100' fill='#f00'/>" +
         body + "</svg>";
}

zal::AColor ColourAt(Graphel& texture, double u, zal::TimeValue t, double footprint = 0.002) {
  zal::PointShadeContext sc = At(u, 0.5, footprint, footprint, t);
  return texture.EvalColor(sc);
}

void ExpectColour(const zal::AColor& actual, const zal::AColor& expected, const std::string& what) {
  EXPECT_NEAR(actual.r, expected.r, 0.02) << what;
  EXPECT_NEAR(actual.g, expected.g, 0.02) << what;
  EXPECT_NEAR(actual.b, expected.b, 0.02) << what;
}

size_t Count(const std::vector<RecordingWindow::Posted>& posted, std::u16string_view prefix) {
  return static_cast<size_t>(std::count_if(posted.begin(), posted.end(), [&](const RecordingWindow::Posted& p) {
    return p.text.compare(0, prefix.size(), prefix) == 0;
  }));
}

// Each drawing is red at (0.25, 0.5) and (0.75, 0.5) before frame 10 unless its expression changes
// that; at frame 10 its expression turns the probed point blue.
TEST(ScriptExpressions, ValuesFollowTheEvaluationTime) {
  struct Case {
    const char* name;
    std::string body;
    double u;
    zal::AColor before, after;
  };
  const Case cases[] = {
      {"fill", "<rect width='100' height='100' fill=\"zls(currentTime &lt; 10 and 'red' or 'blue')\"/>", 0.25, kRed,
       kBlue},
      {"nested parentheses",
       "<rect width='100' height='100' fill=\"zls(string.format('#0000%02x', (currentTime &lt; 10) and 0 or 255))\"/>",
       0.75, kBlack, kBlue},
      {"path data", "<path fill='#00f' d=\"zls(currentTime &lt; 10 and 'M0 0H10V10Z' or 'M50 0H100V100H50Z')\"/>",
       0.75, kRed, kBlue},
      {"points", "<polygon fill='#00f' points=\"zls(currentTime &lt; 10 and '0,0 1,0 1,1' or '50,0 100,0 100,100 50,100')\"/>",
       0.75, kRed, kBlue},
      {"length", "<rect fill='#00f' height='100' width=\"zls(currentTime &lt; 10 and '25' or '100')\"/>", 0.5, kRed,
       kBlue},
      {"class list", "<rect width='100' height='100' class=\"x zls(currentTime &lt; 10 and 'a' or 'b')\"/>", 0.5, kRed,
       kBlue},
      {"chunk with return", "<rect width='100' height='100' fill=\"zls(if ticks &gt;= 1600 then return 'blue' end "
       "return 'red')\"/>", 0.5, kRed, kBlue},
      {"stored value when the expansion is empty", "<rect width='100' height='100' fill='#00f' "
       "x=\"zls(currentTime &lt; 10 and '50' or 0)\"/>", 0.25, kRed, kBlue},
  };
  for (const Case& c : cases) {
    auto texture = NewTexture();
    SetFile(*texture, WriteDrawing("ScriptValues", Drawing(c.body).c_str()));
    ASSERT_TRUE(texture->Messages().empty()) << c.name;
    UpdateAt(*texture, 9 * kFrame);
    EXPECT_EQ(texture->Validity(9 * kFrame), zal::Interval(9 * kFrame, 9 * kFrame)) << c.name;
    ExpectColour(ColourAt(*texture, c.u, 9 * kFrame), c.before, std::string(c.name) + " before");
    UpdateAt(*texture, 10 * kFrame);
    ExpectColour(ColourAt(*texture, c.u, 10 * kFrame), c.after, std::string(c.name) + " after");
  }
}

TEST(ScriptExpressions, FailuresArePostedOnceAndTheTextureKeepsShading) {
  struct Case {
    const char* name;
    std::string body;
    std::u16string message;
  };
  auto filled = [](const char* fill) { return std::string("<rect width='100' height='100' fill=\"") + fill + "\"/>"; };
  const Case cases[] = {
      {"number", filled("zls(5)"), u"return value is NOT a string..."},
      {"syntax error", filled("zls(1 +)"), u"zls:1: unexpected symbol near <eof>"},
      {"sandbox", filled("zls(io.open('x'))"), u"zls:1: attempt to index a nil value (global 'io')"},
      {"endless loop", filled("zls((function() while true do end end)())"),
       u"script stopped: more than 2000000 instructions"},
      {"memory bomb", filled("zls(string.rep('x', 1e9))"), u"script stopped: more than 33554432 bytes of memory"},
      {"path that does not parse", "<rect width='100' height='100'/><path fill='#fff' d=\"zls('x 0 0 H100')\"/>",
       u"path_tokenizer::next : Invalid Character x"},
  };
  for (const Case& c : cases) {
    auto texture = NewTexture();
    RecordingWindow window;
    texture->SetMessageTarget(&window);
    SetFile(*texture, WriteDrawing("ScriptFailures", Drawing(c.body).c_str()));
    UpdateAt(*texture, 0);
    // Many samples over several levels: the expression fails each time a pass needs it.
    for (double du : {0.002, 0.01, 0.05}) {
      for (double u : {0.1, 0.5, 0.9}) ExpectColour(ColourAt(*texture, u, 0, du), kBlack, c.name);
    }
    EXPECT_EQ(Count(window.posted, c.message), 1u) << c.name;
    EXPECT_NE(std::find(texture->Messages().begin(), texture->Messages().end(), c.message), texture->Messages().end())
        << c.name;
    // A new frame runs it again and reports it again.
    UpdateAt(*texture, kFrame);
    ColourAt(*texture, 0.5, kFrame);
    EXPECT_EQ(Count(window.posted, c.message), 2u) << c.name;
    texture->SetMessageTarget(nullptr);
  }
}

TEST(ScriptExpressions, RenderThreadsSeeTheTexturesTimeAndKeepTheirOwn) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("ScriptThreads", Drawing("<rect width='100' height='100' fill=\"zls(currentTime "
                                                         "== 10 and 'blue' or 'red')\"/>").c_str()));
  UpdateAt(*texture, 10 * kFrame);
  zal::GetCOREInterface()->SetTime(0);
  zal::AColor seen;
  zal::ScriptThreadState after;
  std::thread renderer([&] {
    zal::ThreadScriptState() = zal::ScriptThreadState{3 * kFrame, 1};
    seen = ColourAt(*texture, 0.5, 10 * kFrame);
    after = zal::ThreadScriptState();
  });
  renderer.join();
  ExpectColour(seen, kBlue, "render thread");
  EXPECT_EQ(after.time, 3 * kFrame);
  EXPECT_EQ(after.timeContext, 1);
}

// The stand-in counts every script run inside an open undo operation as a change; the texture's
// evaluations must not be among them, and must leave recording as they found it.
TEST(ScriptExpressions, EvaluationLeavesNoUndoEntry) {
  zal::Hold& hold = zal::TheHold();
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("ScriptUndo", Drawing("<rect width='100' height='100' fill=\"zls(currentTime "
                                                       "&lt; 10 and 'red' or 'blue')\"/>").c_str()));
  hold.Begin();
  for (const zal::TimeValue t : {zal::TimeValue{0}, 10 * kFrame}) {
    UpdateAt(*texture, t);
    ColourAt(*texture, 0.5, t);
  }
  EXPECT_EQ(hold.PendingChanges(), 0u);
  EXPECT_FALSE(hold.IsSuspended());
  zal::ScriptEngine engine;
  zal::ScriptValue value;
  zal::ExecuteZALScriptScript(engine, u"'x'", true, value);
  EXPECT_EQ(hold.PendingChanges(), 1u) << "a script run of the host's own is recorded";
  hold.Cancel();
}

// A copy of a PNG that declares linear samples (a gAMA chunk of 1.0) right after its header.
std::string WithLinearGamma(const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const char body[] = {'g', 'A', 'M', 'A', 0, 1, static_cast<char>(0x86), static_cast<char>(0xA0)};
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body), sizeof body);
  std::string chunk{0, 0, 0, 4};
  chunk.append(body, sizeof body);
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>((crc >> shift) & 0xFF);
  constexpr size_t kAfterHeader = 8 + 25;  // signature, then IHDR with its length, type and CRC
  bytes.insert(kAfterHeader, chunk);
  const std::string path = testing_support::ScratchFolder("ScriptPictureGamma") + "/linear.png";
  testing_support::WriteFile(path, bytes);
  return path;
}

// Pictures come through the host's bitmap manager as 16-bit bitmaps and back as the decoder's bytes;
// a picture that can't be loaded shows no dialog and leaves the manager's mode as it was.
TEST(ScriptExpressions, PicturesLoadThroughTheHostsBitmapManager) {
  struct Case {
    std::string path;
    bool loads, hasAlpha, ownGamma;
  };
  auto image = [](const char* name) { return testing_support::DataPath(std::string("images/") + name); };
  const Case cases[] = {{image("rgb.png"), true, false, false},
                        {image("grey_alpha.png"), true, true, false},
                        {image("quadrants.jpg"), true, false, false},
                        {WithLinearGamma(image("rgb.png")), true, false, true},
                        {image("missing.png"), false, false, false},
                        {image("header_1e9x1.png"), false, false, false}};
  PanelMessages messages;
  SvgZalScriptCallback callback(messages, 0);
  zal::BitmapManager& manager = *zal::TheManager();
  const size_t dialogsBefore = manager.DialogsShown().size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string& path = c.path;
    svg::PictureRecord record;
    record.path = testing_support::W(path);
    ASSERT_EQ(callback.LoadPicture(record), c.loads);
    EXPECT_FALSE(manager.SilentMode());
    if (!c.loads) continue;
    platform::DecodedPicture decoded;
    std::string error;
    ASSERT_TRUE(platform::DecodePictureFile(path, decoded, error)) << error;
    ASSERT_EQ(record.width, decoded.width);
    ASSERT_EQ(record.height, decoded.height);
    EXPECT_EQ(record.hasAlpha, c.hasAlpha);
    // Straight alpha from the file: the renderer premultiplies it.
    EXPECT_EQ(record.flag4Clear, !c.hasAlpha);
    EXPECT_EQ(record.applyGamma, c.ownGamma);
    if (c.ownGamma) {
      EXPECT_FLOAT_EQ(record.gamma, 1.0f);
    }
    const size_t bytes = size_t{record.width} * record.height * 4;
    for (size_t i = 0; i < bytes; ++i) {
      const int expected = i % 4 == 3 && !c.hasAlpha ? 255 : decoded.pixels[i];
      ASSERT_EQ(record.pixels[i], expected) << "byte " << i;
    }
  }
  // A texture draws its linked pictures through the same path.
  auto texture = NewTexture();
  const std::string drawing =
      WriteDrawing("ScriptPictures", "<svg width='100' height='100'><image width='100' height='100' href='q.png'/></svg>");
  std::filesystem::copy_file(testing_support::DataPath("images/quadrants.png"),
                             std::filesystem::path(drawing).replace_filename("q.png"),
                             std::filesystem::copy_options::overwrite_existing);
  SetFile(*texture, drawing);
  UpdateAt(*texture, 0);
  zal::PointShadeContext topLeft = At(0.25, 0.75, 0.002, 0.002, 0);
  zal::PointShadeContext bottomRight = At(0.75, 0.25, 0.002, 0.002, 0);
  ExpectColour(texture->EvalColor(topLeft), kRed, "top left quadrant");
  ExpectColour(texture->EvalColor(bottomRight), zal::AColor{1, 1, 1, 1}, "bottom right quadrant");
  EXPECT_EQ(manager.DialogsShown().size(), dialogsBefore);
  zal::BitmapInfo missing;
  missing.name = u"missing.png";
  EXPECT_EQ(zal::BitmapPtr(manager.Load(missing)), nullptr);
  EXPECT_EQ(manager.DialogsShown().size(), dialogsBefore + 1) << "outside silent mode a failure is shown";
}

}  // namespace
}  // namespace graphel
