#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/zal_api.h"

namespace zal {

class ClassDesc;

// The plug-in API version this host speaks: release 17000, API 44, revision 0.
inline constexpr uint32_t kPluginApiVersion = 0x42682C00;

// A loaded plug-in module: opened with the system loader, checked, initialised, and shut down when
// released (its code stays mapped until the process ends).
class ZAL_API PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // False, with a message in Error(), when the file can't be opened, lacks an export, was built for
  // another API version or refuses to initialise.
  bool Load(const std::string& path);
  void Unload();
  bool Loaded() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

  std::u16string Description() const;
  int NumberOfClasses() const;
  ClassDesc* GetClassDesc(int i) const;
  uint32_t Version() const;
  bool CanAutoDefer() const;
  // Calls the module's LibInitialize again (it must be harmless); 1 on success.
  int Initialize() const;

 private:
  using DescriptionFn = const char16_t* (*)();
  using CountFn = int (*)();
  using ClassDescFn = ClassDesc* (*)(int);
  using VersionFn = unsigned long (*)();

  void* handle_ = nullptr;
  std::string error_;
  DescriptionFn description_ = nullptr;
  CountFn numberClasses_ = nullptr;
  ClassDescFn classDesc_ = nullptr;
  VersionFn version_ = nullptr;
  CountFn canAutoDefer_ = nullptr;
  CountFn initialize_ = nullptr;
  CountFn shutdown_ = nullptr;
};

}  // namespace zal
