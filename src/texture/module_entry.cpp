#include <string>

#include "host/class_desc.h"
#include "host/host_interface.h"
#include "host/plugin_library.h"
#include "host/window_classes.h"
#include "texture/graphel_class_desc.h"
#include "texture/render_cache_files.h"
#include "texture/string_table.h"

// The module's exports: the only symbols it shows the host.
#define GRAPHEL_EXPORT extern "C" __attribute__((visibility("default")))

namespace graphel {
namespace {

bool initialised = false;

// Class styles of the custom controls: horizontal and vertical redraw, double clicks.
constexpr uint32_t kControlClassStyle = 11;
constexpr int kControlWindowExtraBytes = 8;
constexpr const char16_t* kControlClasses[] = {u"transitionDirection", u"transitionPreview"};

std::u16string StringOrEmpty(int id) {
  const char16_t* text = GetString(id);
  return text != nullptr ? std::u16string(text) : std::u16string();
}

int Initialize() {
  if (initialised) return 1;
  initialised = true;
  for (const char16_t* name : kControlClasses) {
    const zal::WindowClass windowClass{name, ModuleHandle(), kControlClassStyle, 0, kControlWindowExtraBytes};
    if (zal::TheWindowClasses().Register(windowClass) != zal::RegisterResult::kFailed) continue;
    zal::Interface* host = zal::GetCOREInterface();
    host->MessageBox(u"Failed to Create", name, zal::MB_OK | zal::MB_ICONWARNING);
    const std::u16string text = StringOrEmpty(IDS_CONTROLS_FAILED);
    const std::u16string caption = StringOrEmpty(IDS_CLASS_NAME);
    host->MessageBox(text, caption, zal::MB_OK | zal::MB_ICONWARNING);
    return 0;
  }
  return 1;
}

}  // namespace
}  // namespace graphel

GRAPHEL_EXPORT const char16_t* LibDescription() { return graphel::GetString(graphel::IDS_LIBDESCRIPTION); }

GRAPHEL_EXPORT int LibNumberClasses() { return 1; }

GRAPHEL_EXPORT zal::ClassDesc* LibClassDesc(int i) { return i == 0 ? graphel::GetGraphelDesc() : nullptr; }

GRAPHEL_EXPORT unsigned long LibVersion() { return zal::kPluginApiVersion; }

GRAPHEL_EXPORT int CanAutoDefer() { return 1; }

GRAPHEL_EXPORT int LibInitialize() {
  try {
    return graphel::Initialize();
  } catch (...) {
    return 0;
  }
}

GRAPHEL_EXPORT int LibShutdown() {
  try {
    graphel::DeleteRenderCacheFiles(graphel::RenderCacheFolder());
  } catch (...) {
  }
  return 1;
}
