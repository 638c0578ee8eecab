#include "texture/graphel_class_desc.h"

#include <new>

#include "texture/graphel.h"
#include "texture/param_blocks.h"
#include "texture/string_table.h"

namespace graphel {
namespace {

constexpr zal::Class_ID kScanlineRendererId{0x58F67D6C, 0x4FCF3BC3};
constexpr zal::Class_ID kDefaultRendererId{1, 0};
// Renderers that offer this interface decide compatibility by their own list.
constexpr zal::Interface_ID kRendererOwnListInterfaceId{0x25D24114, 0x0DBE505F};

constexpr zal::FPInterfaceDesc kCompatibilityDesc{
    .id = zal::IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID, .internalName = "IMtlRender_Compability_MtlBase", .functions = {}};

}  // namespace

const zal::FPInterfaceDesc* GraphelRenderCompatibility::GetDesc() { return &kCompatibilityDesc; }

zal::FPStatus GraphelRenderCompatibility::Invoke(zal::FunctionID, zal::FPValue&, const zal::FPParams*) {
  return zal::FPStatus{zal::FPS_NO_SUCH_FUNCTION, {}};
}

bool GraphelRenderCompatibility::IsCompatibleWithRenderer(zal::ClassDesc& rendererClassDesc) {
  const zal::Class_ID id = rendererClassDesc.ClassID();
  if (id == kScanlineRendererId || id == kDefaultRendererId) return true;
  return rendererClassDesc.GetInterface(kRendererOwnListInterfaceId) == nullptr;
}

GraphelClassDesc::GraphelClassDesc() {
  AddParamBlockDesc(&kParamsDesc);
  AddParamBlockDesc(&kPatternDesc);
  AddParamBlockDesc(&kPdfDesc);
  AddParamBlockDesc(&kAdvancedDesc);
  AddInterface(&compatibility_);
}

zal::ReferenceTarget* GraphelClassDesc::Create(bool) {
  try {
    return new Graphel();
  } catch (const std::exception&) {
    return nullptr;
  }
}

const char16_t* GraphelClassDesc::ClassName() { return GetString(IDS_CLASS_NAME); }
zal::Class_ID GraphelClassDesc::ClassID() { return kGraphelClassId; }
const char16_t* GraphelClassDesc::Category() { return GetString(IDS_CATEGORY); }
void* GraphelClassDesc::HInstance() { return ModuleHandle(); }

GraphelClassDesc* GetGraphelDesc() {
  static GraphelClassDesc desc;
  return &desc;
}

}  // namespace graphel
