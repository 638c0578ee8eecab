#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/class_desc.h"
#include "host/host_error.h"
#include "host/host_interface.h"
#include "host/mtl_base.h"
#include "host/plugin_library.h"
#include "host/render_compatibility.h"
#include "host/window_classes.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ModuleFile() { return (fs::path(GRAPHEL_BINARY).parent_path() / "Graphel.dlt").string(); }

// A private copy of the module, so its once-per-process state starts afresh.
std::string FreshModuleCopy(const std::string& testName) {
  const std::string copy = testing_support::ScratchFolder(testName) + "/Graphel.dlt";
  fs::copy_file(ModuleFile(), copy, fs::copy_options::overwrite_existing);
  return copy;
}

zal::ClassDesc* GraphelDesc(zal::PluginLibrary& library) {
  EXPECT_TRUE(library.Load(ModuleFile())) << library.Error();
  return library.GetClassDesc(0);
}

struct TextureDeleter {
  void operator()(zal::Texmap* texture) const { texture->DeleteThis(); }
};

// A renderer's class descriptor, with or without the interface that makes it decide for itself.
class FakeRendererDesc : public zal::ClassDesc {
 public:
  FakeRendererDesc(zal::Class_ID id, bool ownList) : id_(id), ownList_(ownList) {}
  bool IsPublic() override { return true; }
  zal::ReferenceTarget* Create(bool) override { return nullptr; }
  const char16_t* ClassName() override { return u"renderer"; }
  zal::SClass_ID SuperClassID() override { return zal::RENDERER_CLASS_ID; }
  zal::Class_ID ClassID() override { return id_; }
  const char16_t* Category() override { return u""; }
  zal::BaseInterface* GetInterface(zal::Interface_ID id) override {
    return ownList_ && id == zal::Interface_ID{0x25D24114, 0x0DBE505F} ? &marker_ : nullptr;
  }

 private:
  class Marker : public zal::BaseInterface {
   public:
    zal::Interface_ID GetID() override { return {0x25D24114, 0x0DBE505F}; }
  };
  zal::Class_ID id_;
  bool ownList_;
  Marker marker_;
};

TEST(PluginModule, ExportsWhatTheHostAsksFor) {
  zal::PluginLibrary library;
  ASSERT_TRUE(library.Load(ModuleFile())) << library.Error();
  EXPECT_EQ(library.Description(), u"Vector Texture");
  EXPECT_EQ(library.NumberOfClasses(), 1);
  EXPECT_EQ(library.Version(), 0x42682C00u);
  EXPECT_TRUE(library.CanAutoDefer());
  EXPECT_NE(library.GetClassDesc(0), nullptr);
  EXPECT_EQ(library.GetClassDesc(1), nullptr);
  EXPECT_EQ(library.GetClassDesc(-1), nullptr);
  // Nothing but the seven exports is visible.
  void* handle = dlopen(ModuleFile().c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(dlsym(handle, "_ZN7graphel13GetGraphelDescEv"), nullptr);
  dlclose(handle);
}

TEST(PluginModule, TheClassDescriptorDescribesGraphel) {
  zal::PluginLibrary library;
  auto* desc = dynamic_cast<zal::ClassDesc2*>(GraphelDesc(library));
  ASSERT_NE(desc, nullptr);
  EXPECT_TRUE(desc->IsPublic());
  EXPECT_EQ(std::u16string(desc->ClassName()), u"Graphel");
  EXPECT_EQ(std::u16string(desc->Category()), u"TEXMAP_CAT_2D");
  EXPECT_EQ(std::u16string(desc->InternalName()), u"Graphel");
  EXPECT_EQ(desc->SuperClassID(), 0xC10u);
  EXPECT_EQ(desc->ClassID(), (zal::Class_ID{0x93A92749, 0x6B8D470A}));
  EXPECT_NE(desc->HInstance(), nullptr);
  ASSERT_EQ(desc->NumParamBlockDescs(), 4);
  const char* names[] = {"params", "pattern params", "pdf params", "advanced params"};
  const int refs[] = {1, 3, 4, 5};
  const int templates[] = {501, 502, 504, 503};
  for (int i = 0; i < 4; ++i) {
    const zal::ParamBlockDesc2* block = desc->GetParamBlockDesc(i);
    EXPECT_EQ(block->id, i);
    EXPECT_STREQ(block->internalName, names[i]);
    EXPECT_EQ(block->refNo, refs[i]);
    EXPECT_EQ(block->dialogTemplate, templates[i]);
    EXPECT_EQ(block->rollupClosed, i == 3);
  }
  EXPECT_EQ(desc->GetParamBlockDesc(0)->params.size(), 16u);
  EXPECT_EQ(desc->GetParamBlockDesc(2)->FindParam("continous")->id, 1);
  try {
    desc->GetParamBlockDesc(4);
    ADD_FAILURE() << "no error raised";
  } catch (const zal::Error& error) {
    EXPECT_STREQ(error.what(), zal::kTabIndexError);
  }
}

TEST(PluginModule, RendererCompatibility) {
  zal::PluginLibrary library;
  zal::ClassDesc* desc = GraphelDesc(library);
  ASSERT_NE(desc, nullptr);
  auto* compatibility = static_cast<zal::IMtlRender_Compatibility_MtlBase*>(
      desc->GetInterface(zal::IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID));
  ASSERT_NE(compatibility, nullptr);
  EXPECT_STREQ(compatibility->GetDesc()->internalName, "IMtlRender_Compability_MtlBase");
  FakeRendererDesc scanline({0x58F67D6C, 0x4FCF3BC3}, true);
  FakeRendererDesc basic({1, 0}, true);
  FakeRendererDesc picky({7, 7}, true);
  FakeRendererDesc plain({7, 7}, false);
  EXPECT_TRUE(compatibility->IsCompatibleWithRenderer(scanline));
  EXPECT_TRUE(compatibility->IsCompatibleWithRenderer(basic));
  EXPECT_FALSE(compatibility->IsCompatibleWithRenderer(picky));
  EXPECT_TRUE(compatibility->IsCompatibleWithRenderer(plain));
}

TEST(PluginModule, TexturesOfferTheirInterfacesAndBlocks) {
  zal::PluginLibrary library;
  zal::ClassDesc* desc = GraphelDesc(library);
  ASSERT_NE(desc, nullptr);
  std::unique_ptr<zal::Texmap, TextureDeleter> texture(static_cast<zal::Texmap*>(desc->Create(false)));
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->SuperClassID(), zal::TEXMAP_CLASS_ID);
  EXPECT_EQ(texture->NumRefs(), 6);
  EXPECT_EQ(texture->GetReference(0)->SuperClassID(), zal::UVGEN_CLASS_ID);
  EXPECT_EQ(texture->GetReference(2)->SuperClassID(), zal::TEXOUTPUT_CLASS_ID);
  EXPECT_EQ(texture->NumParamBlocks(), 4);
  EXPECT_EQ(texture->GetParamBlockByID(3)->GetInt(1), 256);
  EXPECT_EQ(texture->GetParamBlockByID(0)->GetReferenceTarget(16), texture->GetReference(0));
  auto* scripted = static_cast<zal::FPInterface*>(texture->GetInterface({0x36CB5AEF, 0x71EA0679}));
  ASSERT_NE(scripted, nullptr);
  const zal::FPInterfaceDesc* functions = scripted->GetDesc();
  EXPECT_STREQ(functions->internalName, "Graphel");
  ASSERT_EQ(functions->functions.size(), 4u);
  EXPECT_EQ(functions->FindFunction("SetSvgString")->id, 3);
  EXPECT_STREQ(functions->FindFunction("SetSvgString")->params[0].name, "fnSetSvgString");
  EXPECT_EQ(functions->FindFunction("ViewImage")->id, 2);
  zal::FPValue result;
  zal::FPParams text;
  text.params.push_back(zal::FPValue::String(u"<svg width='4' height='4'/>"));
  EXPECT_EQ(scripted->Invoke(3, result, &text).code, zal::FPS_OK);
  EXPECT_EQ(scripted->Invoke(3, result, nullptr).message, testing_support::W(zal::kArrayIndexError));
  EXPECT_EQ(texture->GetInterface({1, 2}), nullptr);
}

TEST(PluginModule, InitialisesOnceAndCopesWithARefusedRegistration) {
  zal::TheWindowClasses().Clear();
  zal::PluginLibrary library;
  ASSERT_TRUE(library.Load(FreshModuleCopy("ModuleInit"))) << library.Error();
  EXPECT_TRUE(zal::TheWindowClasses().IsRegistered(u"transitionDirection"));
  EXPECT_TRUE(zal::TheWindowClasses().IsRegistered(u"transitionPreview"));
  zal::TheWindowClasses().Clear();
  EXPECT_EQ(library.Initialize(), 1);
  EXPECT_EQ(zal::TheWindowClasses().Count(), 0u);  // the second call registers nothing
  library.Unload();

  // Classes that exist already are fine.
  zal::TheWindowClasses().Register(zal::WindowClass{u"transitionDirection"});
  ASSERT_TRUE(library.Load(FreshModuleCopy("ModuleInitExisting"))) << library.Error();
  library.Unload();

  std::vector<std::u16string> boxes;
  auto previous = zal::GetCOREInterface()->SetMessageBoxHandler(
      [&](std::u16string_view text, std::u16string_view caption, unsigned flags) {
        boxes.push_back(std::u16string(text) + u"|" + std::u16string(caption));
        EXPECT_EQ(flags & zal::MB_ICONWARNING, zal::MB_ICONWARNING);
      });
  zal::TheWindowClasses().Clear();
  zal::TheWindowClasses().SetCapacity(0);
  EXPECT_FALSE(library.Load(FreshModuleCopy("ModuleInitFails")));
  zal::TheWindowClasses().SetCapacity(4096);
  zal::GetCOREInterface()->SetMessageBoxHandler(previous);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], u"Failed to Create|transitionDirection");
  EXPECT_EQ(boxes[1], u"Failed to create some custom controls|Graphel");
}

TEST(PluginModule, ShutdownDeletesTheRenderCachePicturesOnly) {
  const std::string base = testing_support::ScratchFolder("ModuleShutdown");
  zal::GetCOREInterface()->SetDir(zal::APP_RENDER_CACHE_DIR, base);
  const fs::path cache = fs::path(base) / "graphel_mentalray_cache";
  fs::create_directories(cache / "graphel_old.png");
  for (const char* name : {"graphel_000.png", "graphel_001.png", "graphel_.png", "other_002.png", "graphel_003.jpg"}) {
    testing_support::WriteFile((cache / name).string(), "x");
  }
  fs::create_symlink(cache / "other_002.png", cache / "graphel_link.png");
  zal::PluginLibrary library;
  ASSERT_TRUE(library.Load(ModuleFile())) << library.Error();
  library.Unload();
  EXPECT_FALSE(fs::exists(cache / "graphel_000.png"));
  EXPECT_FALSE(fs::exists(cache / "graphel_001.png"));
  EXPECT_FALSE(fs::exists(cache / "graphel_.png"));
  EXPECT_TRUE(fs::is_directory(cache / "graphel_old.png"));
  EXPECT_TRUE(fs::exists(cache / "other_002.png"));
  EXPECT_TRUE(fs::exists(cache / "graphel_003.jpg"));
  EXPECT_TRUE(fs::is_symlink(cache / "graphel_link.png"));
  zal::GetCOREInterface()->SetDir(zal::APP_RENDER_CACHE_DIR, "");
  // No cache folder at all is no error.
  ASSERT_TRUE(library.Load(ModuleFile()));
  library.Unload();
}

TEST(PluginModule, BrokenModulesAreRefused) {
  zal::PluginLibrary library;
  EXPECT_FALSE(library.Load(testing_support::ScratchFolder("ModuleMissing") + "/none.dlt"));
  EXPECT_FALSE(library.Error().empty());
  const std::string notAModule = testing_support::ScratchFolder("ModuleJunk") + "/junk.dlt";
  testing_support::WriteFile(notAModule, "not a shared object");
  EXPECT_FALSE(library.Load(notAModule));
  EXPECT_FALSE(library.Loaded());
}

}  // namespace
