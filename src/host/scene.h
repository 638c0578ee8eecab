#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/asset_enum.h"
#include "host/class_desc.h"
#include "host/mtl_base.h"
#include "host/zal_api.h"

namespace zal {

// The stand-in host's scene: named textures made by plug-in classes, kept in a JSON file of our own
// with each texture's class and the values and keys of its parameter blocks.
class ZAL_API Scene {
 public:
  struct Entry {
    std::u16string name;
    Texmap* texture = nullptr;  // owned: deleted with DeleteThis
  };

  Scene() = default;
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Takes texture into the scene under name.
  void Add(std::u16string name, Texmap* texture);
  const std::vector<Entry>& Textures() const { return entries_; }
  void Clear();

  bool Save(const std::string& path, std::string& error) const;
  // Replaces the scene by the one in path. Each texture is created by the class among classes with
  // its class ID, its blocks are restored, it is told it was loaded, and once all are read the
  // post-load callbacks run. Textures, blocks or values that can't be read are left out with a
  // message each; a file cut short keeps the textures read in full before the cut. False, with a
  // message, only when nothing of a scene can be read.
  bool Open(const std::string& path, std::span<ClassDesc* const> classes, std::vector<std::string>& messages);

  // Every texture's files, as the host's asset tracking enumerates them.
  void EnumAssets(AssetEnumCallback& callback, unsigned flags);

 private:
  std::vector<Entry> entries_;
};

// The largest scene file read; a real one is a few kilobytes a texture.
inline constexpr size_t kMaxSceneFileBytes = size_t{64} << 20;

}  // namespace zal
