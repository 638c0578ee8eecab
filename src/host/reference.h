#pragma once

#include <cstdint>
#include <vector>

#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

class ZAL_API BaseInterface {
 public:
  virtual ~BaseInterface();
  virtual Interface_ID GetID() = 0;
};

class ILoad;
class AssetEnumCallback;

class ZAL_API Animatable {
 public:
  virtual ~Animatable();
  virtual Class_ID ClassID() = 0;
  virtual SClass_ID SuperClassID() = 0;
  // Null for an interface the object does not offer.
  virtual BaseInterface* GetInterface(Interface_ID id);
  virtual void DeleteThis();
  // Called when the object has been read from a scene file, its blocks restored; it may register
  // post-load callbacks.
  virtual void Load(ILoad& iload);
  // Hands the object's files to callback; see the FILE_ENUM_ flags.
  virtual void EnumAuxFiles(AssetEnumCallback& callback, unsigned flags);
  // The host's mark for objects an enumeration has visited.
  void SetWorkFlag(bool on) { workFlag_ = on; }
  bool TestWorkFlag() const { return workFlag_; }

 private:
  bool workFlag_ = false;
};

using PartID = uint32_t;
inline constexpr PartID PART_ALL = 0xFFFFFFFFu;
inline constexpr PartID PART_TEXMAP = 4;

using RefMessage = uint32_t;
inline constexpr RefMessage REFMSG_CHANGE = 0xFA;
// The second notification the host expects after a texture changed its look.
inline constexpr RefMessage REFMSG_TEXMAP_CHANGED = 629;

enum RefResult { REF_FAIL = 0, REF_SUCCEED = 1, REF_DONTCARE = 2, REF_STOP = 3 };

class ReferenceTarget;

// An object that holds references to targets and hears when they change.
class ZAL_API ReferenceMaker : public Animatable {
 public:
  virtual int NumRefs();
  virtual ReferenceTarget* GetReference(int i);
  // Points reference which at target; the old target loses this dependent and is deleted when it has
  // none left.
  RefResult ReplaceReference(int which, ReferenceTarget* target);
  // Drops every reference; an owner calls it from its destructor.
  void DeleteAllRefs();
  virtual RefResult NotifyRefChanged(const Interval& changeInterval, ReferenceTarget* target, PartID part,
                                     RefMessage message) = 0;

 protected:
  virtual void SetReference(int i, ReferenceTarget* target);
};

// An object others can reference; it lives while it has dependents (or until its creator deletes it).
class ZAL_API ReferenceTarget : public ReferenceMaker {
 public:
  RefResult NotifyDependents(const Interval& changeInterval, PartID part, RefMessage message);
  int NumDependents() const { return static_cast<int>(dependents_.size()); }

 private:
  friend class ReferenceMaker;
  void AddDependent(ReferenceMaker* maker);
  void RemoveDependent(ReferenceMaker* maker);

  std::vector<ReferenceMaker*> dependents_;
};

}  // namespace zal
