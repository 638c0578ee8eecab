#pragma once

#include "host/class_desc.h"
#include "host/render_compatibility.h"

namespace graphel {

// Which renderers can use the texture.
class GraphelRenderCompatibility : public zal::IMtlRender_Compatibility_MtlBase {
 public:
  const zal::FPInterfaceDesc* GetDesc() override;
  zal::FPStatus Invoke(zal::FunctionID id, zal::FPValue& result, const zal::FPParams* params) override;
  bool IsCompatibleWithRenderer(zal::ClassDesc& rendererClassDesc) override;
};

// The one class descriptor of the module: creates Graphel textures and keeps their four parameter
// block descriptors.
class GraphelClassDesc : public zal::ClassDesc2 {
 public:
  GraphelClassDesc();
  bool IsPublic() override { return true; }
  zal::ReferenceTarget* Create(bool loading) override;
  const char16_t* ClassName() override;
  zal::SClass_ID SuperClassID() override { return zal::TEXMAP_CLASS_ID; }
  zal::Class_ID ClassID() override;
  const char16_t* Category() override;
  const char16_t* InternalName() override { return u"Graphel"; }
  void* HInstance() override;

 private:
  GraphelRenderCompatibility compatibility_;
};

GraphelClassDesc* GetGraphelDesc();

}  // namespace graphel
