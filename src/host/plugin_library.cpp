#include "host/plugin_library.h"

#include <dlfcn.h>

namespace zal {
namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& fn, std::string& error) {
  fn = reinterpret_cast<Fn>(dlsym(handle, name));
  if (fn == nullptr) error = std::string("the module does not export ") + name;
  return fn != nullptr;
}

}  // namespace

PluginLibrary::~PluginLibrary() { Unload(); }

bool PluginLibrary::Load(const std::string& path) {
  Unload();
  error_.clear();
  // Once loaded, a module stays mapped until the process ends, as in the host: render threads may
  // still hold its objects, and its once-per-process buffers are never freed.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error_ = reason != nullptr ? reason : "can't open " + path;
    return false;
  }
  const bool resolved = Resolve(handle_, "LibDescription", description_, error_) &&
                        Resolve(handle_, "LibNumberClasses", numberClasses_, error_) &&
                        Resolve(handle_, "LibClassDesc", classDesc_, error_) &&
                        Resolve(handle_, "LibVersion", version_, error_) &&
                        Resolve(handle_, "CanAutoDefer", canAutoDefer_, error_) &&
                        Resolve(handle_, "LibInitialize", initialize_, error_) &&
                        Resolve(handle_, "LibShutdown", shutdown_, error_);
  if (!resolved) {
    dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  if (version_() != kPluginApiVersion) {
    error_ = "the module was built for another version of the plug-in API";
  } else if (initialize_() == 0) {
    error_ = "the module failed to initialise";
  } else {
    return true;
  }
  shutdown_ = nullptr;
  dlclose(handle_);
  handle_ = nullptr;
  return false;
}

void PluginLibrary::Unload() {
  if (handle_ == nullptr) return;
  if (shutdown_ != nullptr) shutdown_();
  dlclose(handle_);
  handle_ = nullptr;
}

std::u16string PluginLibrary::Description() const {
  const char16_t* text = handle_ != nullptr ? description_() : nullptr;
  return text != nullptr ? std::u16string(text) : std::u16string();
}

int PluginLibrary::NumberOfClasses() const { return handle_ != nullptr ? numberClasses_() : 0; }
ClassDesc* PluginLibrary::GetClassDesc(int i) const { return handle_ != nullptr ? classDesc_(i) : nullptr; }
uint32_t PluginLibrary::Version() const { return handle_ != nullptr ? static_cast<uint32_t>(version_()) : 0; }
bool PluginLibrary::CanAutoDefer() const { return handle_ != nullptr && canAutoDefer_() != 0; }
int PluginLibrary::Initialize() const { return handle_ != nullptr ? initialize_() : 0; }

}  // namespace zal
