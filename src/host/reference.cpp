#include "host/reference.h"

#include <algorithm>

#include "host/asset_enum.h"
#include "host/host_error.h"
#include "host/scene_io.h"

namespace zal {

Error::~Error() = default;
BaseInterface::~BaseInterface() = default;
Animatable::~Animatable() = default;
BaseInterface* Animatable::GetInterface(Interface_ID) { return nullptr; }
void Animatable::DeleteThis() { delete this; }
void Animatable::Load(ILoad&) {}
void Animatable::EnumAuxFiles(AssetEnumCallback&, unsigned) {}

AssetAccessor::~AssetAccessor() = default;
AssetEnumCallback::~AssetEnumCallback() = default;

PostLoadCallback::~PostLoadCallback() = default;
ILoad::ILoad() = default;
ILoad::~ILoad() = default;

void ILoad::RegisterPostLoadCallback(std::unique_ptr<PostLoadCallback> callback) {
  if (callback != nullptr) callbacks_.push_back(std::move(callback));
}

void ILoad::RunPostLoadCallbacks() {
  // A callback may register another; each runs once.
  for (size_t i = 0; i < callbacks_.size(); ++i) callbacks_[i]->Proc();
  callbacks_.clear();
}

int ReferenceMaker::NumRefs() { return 0; }
ReferenceTarget* ReferenceMaker::GetReference(int) { return nullptr; }
void ReferenceMaker::SetReference(int, ReferenceTarget*) {}

RefResult ReferenceMaker::ReplaceReference(int which, ReferenceTarget* target) {
  if (which < 0 || which >= NumRefs()) return REF_FAIL;
  ReferenceTarget* old = GetReference(which);
  if (old == target) return REF_SUCCEED;
  if (target != nullptr) target->AddDependent(this);
  SetReference(which, target);
  if (old != nullptr) old->RemoveDependent(this);
  return REF_SUCCEED;
}

void ReferenceMaker::DeleteAllRefs() {
  for (int i = 0; i < NumRefs(); ++i) ReplaceReference(i, nullptr);
}

RefResult ReferenceTarget::NotifyDependents(const Interval& changeInterval, PartID part, RefMessage message) {
  // A dependent may drop its reference while hearing the news, so walk a copy.
  const std::vector<ReferenceMaker*> dependents = dependents_;
  for (ReferenceMaker* dependent : dependents) {
    if (dependent->NotifyRefChanged(changeInterval, this, part, message) == REF_STOP) return REF_STOP;
  }
  return REF_SUCCEED;
}

void ReferenceTarget::AddDependent(ReferenceMaker* maker) { dependents_.push_back(maker); }

void ReferenceTarget::RemoveDependent(ReferenceMaker* maker) {
  const auto found = std::find(dependents_.begin(), dependents_.end(), maker);
  if (found == dependents_.end()) return;
  dependents_.erase(found);
  if (dependents_.empty()) {
    DeleteAllRefs();
    DeleteThis();
  }
}

}  // namespace zal
