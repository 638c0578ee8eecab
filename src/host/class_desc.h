#pragma once

#include "host/function_publish.h"
#include "host/param_block.h"
#include "host/reference.h"
#include "host/tab.h"
#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

// How the host learns about a plug-in class and creates its objects.
class ZAL_API ClassDesc {
 public:
  virtual ~ClassDesc();
  virtual bool IsPublic() = 0;
  // A new object of the class; the host deletes it with DeleteThis.
  virtual ReferenceTarget* Create(bool loading) = 0;
  virtual const char16_t* ClassName() = 0;
  virtual SClass_ID SuperClassID() = 0;
  virtual Class_ID ClassID() = 0;
  virtual const char16_t* Category() = 0;
  virtual const char16_t* InternalName();
  virtual void* HInstance();
  // Static interfaces registered with the class; null for any other ID.
  virtual BaseInterface* GetInterface(Interface_ID id);
};

// A class descriptor that also keeps the class's parameter block descriptors and static interfaces.
class ZAL_API ClassDesc2 : public ClassDesc {
 public:
  int NumParamBlockDescs() const { return blockDescs_.Count(); }
  // Raises the host's index error for a bad index.
  const ParamBlockDesc2* GetParamBlockDesc(int index) const { return blockDescs_[index]; }
  const ParamBlockDesc2* GetParamBlockDescByID(BlockID id) const;
  void AddParamBlockDesc(const ParamBlockDesc2* desc) { blockDescs_.Append(desc); }
  // Builds one block per descriptor for owner and puts each into the owner's reference for it.
  void MakeAutoParamBlocks(ReferenceMaker* owner) const;

  void AddInterface(FPStaticInterface* fpInterface) { interfaces_.Append(fpInterface); }
  BaseInterface* GetInterface(Interface_ID id) override;

 private:
  Tab<const ParamBlockDesc2*> blockDescs_;
  Tab<FPStaticInterface*> interfaces_;
};

}  // namespace zal
