#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/param_block.h"
#include "host/reference.h"
#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

// A value passed to or returned from a published function.
struct ZAL_API FPValue {
  ParamType2 type = TYPE_VOID;
  bool b = false;
  int i = 0;
  double f = 0.0;
  std::u16string s;

  static FPValue Bool(bool value);
  static FPValue String(std::u16string_view value);
};

// The arguments of a call; reading past the end raises the host's out-of-range error.
class ZAL_API FPParams {
 public:
  std::vector<FPValue> params;
  const FPValue& operator[](size_t index) const;
  size_t Count() const { return params.size(); }
};

struct FPParamDef {
  const char* name = "";
  ParamType2 type = TYPE_VOID;
};

struct FPFunctionDef {
  FunctionID id = 0;
  const char* name = "";
  ParamType2 resultType = TYPE_VOID;
  std::span<const FPParamDef> params;
};

struct ZAL_API FPInterfaceDesc {
  Interface_ID id;
  const char* internalName = "";
  std::span<const FPFunctionDef> functions;

  const FPFunctionDef* FindFunction(std::string_view name) const;
};

// The outcome of a call: FPS_OK, FPS_NO_SUCH_FUNCTION, or FPS_FAIL with the host's error text.
struct FPStatus {
  int code = 1;
  std::u16string message;
};
inline constexpr int FPS_OK = 1;
inline constexpr int FPS_FAIL = 0;
inline constexpr int FPS_NO_SUCH_FUNCTION = -1;

// A function-published interface: functions the host's script layer calls by ID.
class ZAL_API FPInterface : public BaseInterface {
 public:
  virtual const FPInterfaceDesc* GetDesc() = 0;
  virtual FPStatus Invoke(FunctionID id, FPValue& result, const FPParams* params) = 0;
  Interface_ID GetID() override;
};

// Published by an object (reached through its GetInterface).
class ZAL_API FPMixinInterface : public FPInterface {};

// Published by a class descriptor.
class ZAL_API FPStaticInterface : public FPInterface {};

}  // namespace zal
