#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/asset_enum.h"
#include "host/mr_shader.h"
#include "host/scene.h"
#include "platform/wide_text.h"
#include "texture/file_button_text.h"
#include "texture/graphel_class_desc.h"
#include "texture/render_cache_files.h"
#include "texture_fixture.h"

namespace graphel {
namespace {

namespace fs = std::filesystem;
using testing::At;
using testing::NewTexture;
using testing::SetFile;
using testing::UpdateAt;
using testing::WriteDrawing;

std::string Example(const char* name) { return std::string(GRAPHEL_TEST_DATA) + "/../../examples/" + name; }

Graphel& TextureOf(const zal::Scene& scene, size_t i) { return *static_cast<Graphel*>(scene.Textures().at(i).texture); }

// Re-paths every asset whose path is from to to, as the host's asset tracking does.
class Repath final : public zal::AssetEnumCallback {
 public:
  Repath(std::u16string from, std::u16string to) : from_(std::move(from)), to_(std::move(to)) {}
  void RecordAsset(zal::AssetAccessor& accessor) override {
    EXPECT_EQ(accessor.GetAssetType(), zal::kAssetTypeBitmap);
    EXPECT_TRUE(accessor.IsInputAsset());
    ++seen;
    if (accessor.GetPath() == from_ && accessor.SetPath(to_)) ++moved;
  }
  int seen = 0, moved = 0;

 private:
  std::u16string from_, to_;
};

std::vector<zal::ClassDesc*> Classes() { return {GetGraphelDesc()}; }

zal::AColor ColourAt(Graphel& texture, double u, double v) {
  zal::PointShadeContext sc = At(u, v, 0.002, 0.002);
  return texture.EvalColor(sc);
}

TEST(Scenes, ReopenedSceneLoadsEachFileOnceAndAMovedFileIsRepathed) {
  const std::string folder = testing_support::ScratchFolder("SceneRoundTrip");
  const std::string drawing = WriteDrawing("SceneRoundTrip", testing::kHalfRed, "red.svg");
  const std::string scenePath = folder + "/scene.json";
  {
    zal::Scene scene;
    for (int i = 0; i < 3; ++i) {
      auto* texture = static_cast<Graphel*>(GetGraphelDesc()->Create(false));
      SetFile(*texture, drawing);
      texture->GetParamBlockByID(kParamsBlock)->SetKey(kCropU, 10 * zal::kTicksPerFrame, 0.25);
      scene.Add(u"t" + platform::Utf8ToWide(std::to_string(i)), texture);
    }
    std::string error;
    ASSERT_TRUE(scene.Save(scenePath, error)) << error;
  }
  zal::Scene scene;
  std::vector<std::string> messages;
  ASSERT_TRUE(scene.Open(scenePath, Classes(), messages));
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(scene.Textures().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    Graphel& texture = TextureOf(scene, i);
    EXPECT_EQ(texture.Cache().documentLoads, 1u) << "texture " << i;
    EXPECT_EQ(texture.GetParamBlockByID(kParamsBlock)->NumKeys(kCropU), 1) << "keys survive the file";
    UpdateAt(texture, 0);
    EXPECT_NEAR(ColourAt(texture, 0.25, 0.5).r, 1.0, 0.02);
  }

  // The file moves; the reopened scene shows the placeholder until asset tracking re-paths it.
  const std::string moved = folder + "/moved.svg";
  fs::rename(drawing, moved);
  ASSERT_TRUE(scene.Open(scenePath, Classes(), messages));
  EXPECT_EQ(TextureOf(scene, 0).FileButtonText(), u"None");
  Repath repath(testing_support::W(drawing), testing_support::W(moved));
  scene.EnumAssets(repath, zal::FILE_ENUM_ACCESSOR_INTERFACE | zal::FILE_ENUM_CHECK_AWORK1);
  EXPECT_EQ(repath.seen, 3);
  EXPECT_EQ(repath.moved, 3);
  Graphel& first = TextureOf(scene, 0);
  UpdateAt(first, 0);
  EXPECT_NEAR(ColourAt(first, 0.25, 0.5).r, 1.0, 0.02);
  EXPECT_TRUE(first.Messages().empty());
}

// A damaged scene opens with what can be read, and says what it left out.
TEST(Scenes, DamagedSceneFilesOpenWithWhatCanBeRead) {
  const std::string folder = testing_support::ScratchFolder("SceneDamaged");
  const std::string drawing = WriteDrawing("SceneDamaged", testing::kHalfRed, "red.svg");
  const std::string good = "{\"name\":\"a\",\"class\":[2477336393,1804420874],\"blocks\":[{\"id\":0,\"params\":"
                           "[{\"id\":0,\"name\":\"vectorfile\",\"text\":\"" + drawing + "\"}]}]}";
  struct Case {
    const char* name;
    std::string text;
    bool opens;
    size_t textures, messages;
  };
  const Case cases[] = {
      {"whole", "{\"format\":\"graphel-scene\",\"textures\":[" + good + "]}", true, 1, 0},
      {"cut short after a texture", "{\"format\":\"graphel-scene\",\"textures\":[" + good + ",{\"name\":\"b\",\"cla",
       true, 1, 1},
      {"lying types", "{\"format\":\"graphel-scene\",\"textures\":[" + good +
           ",{\"name\":\"c\",\"class\":[2477336393,1804420874],\"blocks\":[{\"id\":0,\"params\":[{\"id\":3,"
           "\"name\":\"filter\",\"number\":\"yes\"},{\"id\":0,\"name\":\"vectorfile\",\"text\":7}]},{\"id\":42,"
           "\"params\":[]}]},{\"name\":\"d\",\"class\":[1,2]}]}",
       true, 2, 4},
      {"not a scene", "[1, 2, 3]", false, 0, 1},
      {"empty", "", false, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder + "/scene.json";
    testing_support::WriteFile(path, c.text);
    zal::Scene scene;
    std::vector<std::string> messages;
    EXPECT_EQ(scene.Open(path, Classes(), messages), c.opens);
    EXPECT_EQ(scene.Textures().size(), c.textures);
    EXPECT_EQ(messages.size(), c.messages) << ::testing::PrintToString(messages);
    if (c.textures > 0) {
      EXPECT_EQ(TextureOf(scene, 0).Cache().documentLoads, 1u);
    }
  }
  zal::Scene scene;
  std::vector<std::string> messages;
  EXPECT_FALSE(scene.Open(folder, Classes(), messages)) << "a folder is no scene";
}

// A newly chosen pattern file starts at its first pattern; a reload keeps the choice; an empty path
// shows the placeholder and "None"; an unsupported extension is refused and the file kept.
TEST(Scenes, FileChoiceReloadAndTheFileButton) {
  auto texture = NewTexture();
  zal::IParamBlock2& pattern = *texture->GetParamBlockByID(kPatternBlock);
  SetFile(*texture, Example("twelve.pat"));
  pattern.SetValue(kPatternName, 0, 1);
  UpdateAt(*texture, 0);
  texture->Reload();
  UpdateAt(*texture, 0);
  EXPECT_EQ(pattern.GetInt(kPatternName), 1) << "a reload keeps the pattern";
  SetFile(*texture, Example("crosshatch.pat"));
  EXPECT_EQ(pattern.GetInt(kPatternName), 0) << "a new file starts at its first pattern";

  std::vector<std::u16string> boxes;
  auto previous = zal::GetCOREInterface()->SetMessageBoxHandler(
      [&](std::u16string_view text, std::u16string_view, unsigned) { boxes.emplace_back(text); });
  SetFile(*texture, "/somewhere/notes.txt");
  zal::GetCOREInterface()->SetMessageBoxHandler(previous);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], u"This was not a (supported) vectorfile");
  EXPECT_NE(texture->FileButtonText().find(u"crosshatch.pat"), std::u16string::npos);

  SetFile(*texture, "");
  UpdateAt(*texture, 0);
  EXPECT_EQ(texture->FileButtonText(), u"None");
  EXPECT_TRUE(texture->Cache().hasDocument) << "the placeholder drawing";
}

TEST(Scenes, FileButtonTextIsShortenedFromTheFoldersEnd) {
  struct Case {
    std::u16string path;
    int width;
    std::u16string shown;
  };
  // 7 pixels a character and 10 pixels of margin: 80 pixels hold 10 characters.
  const Case cases[] = {
      {u"", 80, u"None"},
      {u"/a/b.svg", 80, u"\\a\\b.svg"},
      {u"/art/deep/tiger.svg", 80, u"tiger.s..."},
      {u"/art/deep/tiger.svg", 130, u"\\art...\\tiger.svg"},
      {u"/art/deep/tiger.svg", 150, u"\\art\\deep\\tiger.svg"},
      {u"/art/a-very-long-name.svg", 80, u"a-very-..."},
      {u"no-folder-but-long.svg", 80, u"no-fold..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileButtonText(c.path, c.width), c.shown) << platform::WideToUtf8(c.path);
    EXPECT_LE(TextWidth(FileButtonText(c.path, c.width)), std::max(c.width - 10, TextWidth(u"None")));
  }
}

// The offline renderer reaches the texture by callback, or through a numbered PNG in the cache folder
// that is written once per change of the texture and rewritten when it goes missing.
TEST(Scenes, OfflineRendererThroughTheCallbackOrThePictureCache) {
  const std::string folder = testing_support::ScratchFolder("SceneCache");
  zal::Interface& host = *zal::GetCOREInterface();
  host.SetDir(zal::APP_RENDER_CACHE_DIR, folder + "/");
  const std::string cache = RenderCacheFolder();
  fs::create_directories(cache);
  testing_support::WriteFile(cache + "graphel_001.png", "x");
  testing_support::WriteFile(cache + "graphel_007.png", "x");
  EXPECT_EQ(NextCacheNumber(cache), 8u);
  EXPECT_EQ(NextCacheNumber(folder + "/missing/"), 1u);

  auto texture = testing::LoadedTexture("SceneCacheDrawing", testing::kHalfRed);
  texture->GetParamBlockByID(kAdvancedBlock)->SetValue(kHwBitmapSize, 0, 256);
  std::vector<uint8_t> rgba;
  std::string error;
  for (const zal::Class_ID renderer : {zal::Class_ID{}, zal::kBitmapOnlyRendererClassId}) {
    host.SetCurrentRendererClassID(renderer);
    ASSERT_TRUE(zal::RenderOffline(*texture, 0, 16, 16, rgba, error)) << error;
    EXPECT_EQ(rgba[(8 * 16 + 2) * 4], 255) << "red on the left";
    EXPECT_EQ(rgba[(8 * 16 + 2) * 4 + 1], 0);
  }
  EXPECT_TRUE(fs::exists(cache + "graphel_008.png"));
  ASSERT_TRUE(zal::RenderOffline(*texture, 0, 4, 4, rgba, error));
  EXPECT_FALSE(fs::exists(cache + "graphel_009.png")) << "no change, no new picture";
  texture->GetParamBlockByID(kParamsBlock)->SetValue(kFilter, 0, 0);
  ASSERT_TRUE(zal::RenderOffline(*texture, 0, 4, 4, rgba, error));
  EXPECT_TRUE(fs::exists(cache + "graphel_009.png")) << "a change writes the next one";
  fs::remove(cache + "graphel_009.png");
  ASSERT_TRUE(zal::RenderOffline(*texture, 0, 4, 4, rgba, error));
  EXPECT_TRUE(fs::exists(cache + "graphel_009.png")) << "a missing picture is written again, numbered anew";
  // A cache folder that can't be made: a clear failure, and the callback renderer still works.
  host.SetDir(zal::APP_RENDER_CACHE_DIR, folder + "/graphel_001.png/");
  texture->GetParamBlockByID(kParamsBlock)->SetValue(kFilter, 0, 1);
  testing_support::WriteFile(folder + "/graphel_001.png", "a file, not a folder");
  EXPECT_FALSE(zal::RenderOffline(*texture, 0, 4, 4, rgba, error));
  EXPECT_EQ(error, "the bitmap shader was given no picture");
  host.SetCurrentRendererClassID(zal::Class_ID{});
  EXPECT_TRUE(zal::RenderOffline(*texture, 0, 4, 4, rgba, error)) << error;
  host.SetDir(zal::APP_RENDER_CACHE_DIR, folder + "/");

  // Shutting down deletes our pictures only: not folders, links or other files.
  fs::create_directory(cache + "graphel_dir.png");
  testing_support::WriteFile(cache + "other.png", "x");
  fs::create_symlink(cache + "other.png", cache + "graphel_link.png");
  EXPECT_EQ(DeleteRenderCacheFiles(cache), 4);
  EXPECT_TRUE(fs::exists(cache + "graphel_dir.png"));
  EXPECT_TRUE(fs::exists(cache + "other.png"));
  EXPECT_TRUE(fs::is_symlink(cache + "graphel_link.png"));
}

}  // namespace
}  // namespace graphel
