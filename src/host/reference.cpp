#include "host/reference.h"

#include <algorithm>

#include "host/host_error.h"

namespace zal {

Error::~Error() = default;
BaseInterface::~BaseInterface() = default;
Animatable::~Animatable() = default;
BaseInterface* Animatable::GetInterface(Interface_ID) { return nullptr; }
void Animatable::DeleteThis() { delete this; }

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
