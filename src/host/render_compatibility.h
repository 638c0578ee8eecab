#pragma once

#include "host/class_desc.h"
#include "host/function_publish.h"
#include "host/zal_api.h"

namespace zal {

inline constexpr Interface_ID IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID{0x5537445B, 0x70A97E02};

// Asked of a material or texture class: can it be used with the renderer of this class descriptor?
class ZAL_API IMtlRender_Compatibility_MtlBase : public FPStaticInterface {
 public:
  virtual bool IsCompatibleWithRenderer(ClassDesc& rendererClassDesc) = 0;
};

}  // namespace zal
