#include "host/class_desc.h"

namespace zal {

ClassDesc::~ClassDesc() = default;
const char16_t* ClassDesc::InternalName() { return nullptr; }
void* ClassDesc::HInstance() { return nullptr; }
BaseInterface* ClassDesc::GetInterface(Interface_ID) { return nullptr; }

const ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) const {
  for (const ParamBlockDesc2* desc : blockDescs_) {
    if (desc->id == id) return desc;
  }
  return nullptr;
}

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner) const {
  for (const ParamBlockDesc2* desc : blockDescs_) {
    auto* block = new IParamBlock2(*desc, owner);
    if (owner->ReplaceReference(desc->refNo, block) != REF_SUCCEED) block->DeleteThis();
  }
}

BaseInterface* ClassDesc2::GetInterface(Interface_ID id) {
  for (FPStaticInterface* fpInterface : interfaces_) {
    if (fpInterface->GetID() == id) return fpInterface;
  }
  return ClassDesc::GetInterface(id);
}

}  // namespace zal
