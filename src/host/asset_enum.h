#pragma once

#include <string>
#include <string_view>

#include "host/zal_api.h"

namespace zal {

// Asset types as the host's asset tracking counts them.
inline constexpr int kAssetTypeOther = 0;
inline constexpr int kAssetTypeBitmap = 1;

// Flags of an asset enumeration.
inline constexpr unsigned FILE_ENUM_ACCESSOR_INTERFACE = 1u << 0;  // hand out accessors, not just names
inline constexpr unsigned FILE_ENUM_CHECK_AWORK1 = 1u << 1;        // skip objects already visited

// One file an object uses, as the host's asset tracking sees it: it reads the path and may re-path it.
class ZAL_API AssetAccessor {
 public:
  virtual ~AssetAccessor();
  virtual std::u16string GetPath() const = 0;
  // Points the object at path; true when it took it.
  virtual bool SetPath(std::u16string_view path) = 0;
  virtual int GetAssetType() const = 0;
  virtual bool IsInputAsset() const = 0;
};

// What the host passes to objects enumerating their files.
class ZAL_API AssetEnumCallback {
 public:
  virtual ~AssetEnumCallback();
  // The accessor lives only during the call.
  virtual void RecordAsset(AssetAccessor& accessor) = 0;
};

}  // namespace zal
