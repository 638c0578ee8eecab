#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/geometry.h"
#include "host/reference.h"
#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

enum ParamType2 { TYPE_VOID, TYPE_FLOAT, TYPE_INT, TYPE_BOOL, TYPE_FRGBA, TYPE_FILENAME, TYPE_STRING, TYPE_REFTARG };

// A value as a parameter's set hook sees it before it is stored.
struct PB2Value {
  double number = 0.0;
  AColor colour;
  std::u16string text;
};

// A parameter's hook into setting: runs before the value is stored and may change it.
class ZAL_API PBAccessor {
 public:
  virtual ~PBAccessor();
  virtual void Set(PB2Value& value, ReferenceMaker* owner, ParamID id, int tabIndex, TimeValue t);
};

// One parameter of a block: what a plug-in declares in its block descriptor table.
struct ParamDef {
  ParamID id = 0;
  const char* name = "";
  ParamType2 type = TYPE_VOID;
  double defaultNumber = 0.0;
  AColor defaultColour{0.0f, 0.0f, 0.0f, 1.0f};
  bool hasRange = false;
  double rangeMin = 0.0;
  double rangeMax = 0.0;
  bool animatable = false;
  int localNameId = 0;  // the display name in the plug-in's string table
  int refNo = -1;       // for TYPE_REFTARG: the owner's reference that holds the target
  PBAccessor* accessor = nullptr;
};

struct ZAL_API ParamBlockDesc2 {
  BlockID id = 0;
  const char* internalName = "";
  int localNameId = 0;  // rollup title
  int refNo = 0;        // the owner's reference that holds the block
  int dialogTemplate = 0;
  bool rollupClosed = false;
  std::span<const ParamDef> params;

  const ParamDef* FindParam(ParamID id) const;
  const ParamDef* FindParam(std::string_view name) const;
};

// One animation key of a parameter.
struct ParamKey {
  TimeValue time = 0;
  double number = 0.0;
  AColor colour;
};

// Everything a block holds for one parameter, as a scene file keeps it.
struct ParamState {
  double number = 0.0;
  AColor colour;
  std::u16string text;
  std::vector<ParamKey> keys;
};

// A block of parameter values built from its descriptor; animatable values keep linear keys.
class ZAL_API IParamBlock2 : public ReferenceTarget {
 public:
  IParamBlock2(const ParamBlockDesc2& desc, ReferenceMaker* owner);
  ~IParamBlock2() override;

  const ParamBlockDesc2& GetDesc() const { return desc_; }
  BlockID ID() const { return desc_.id; }
  ReferenceMaker* GetOwner() const { return owner_; }

  // Getters narrow valid by how long the value holds; false for an unknown ID or a wrong type.
  bool GetValue(ParamID id, TimeValue t, double& value, Interval& valid) const;
  bool GetValue(ParamID id, TimeValue t, int& value, Interval& valid) const;
  bool GetValue(ParamID id, TimeValue t, AColor& value, Interval& valid) const;
  bool GetValue(ParamID id, std::u16string& value) const;
  double GetFloat(ParamID id, TimeValue t = 0) const;
  int GetInt(ParamID id, TimeValue t = 0) const;
  AColor GetAColor(ParamID id, TimeValue t = 0) const;
  std::u16string GetStr(ParamID id) const;
  ReferenceTarget* GetReferenceTarget(ParamID id) const;

  // Numbers outside the range are clamped; NaN is refused. With animate mode on (or when the
  // parameter already has keys) an animatable value becomes a key at t. The owner hears of it.
  bool SetValue(ParamID id, TimeValue t, double value);
  bool SetValue(ParamID id, TimeValue t, int value);
  bool SetValue(ParamID id, TimeValue t, const AColor& value);
  bool SetValue(ParamID id, TimeValue t, std::u16string_view value);
  // Adds or replaces the key at t of an animatable parameter.
  bool SetKey(ParamID id, TimeValue t, double value);
  bool SetKey(ParamID id, TimeValue t, const AColor& value);
  int NumKeys(ParamID id) const;
  // True when the last set had to clamp the value into its range.
  bool LastSetClamped() const { return lastSetClamped_; }
  ParamID LastNotifyParamID() const { return lastNotifyParamId_; }

  void ResetAll();
  // What the block holds for id, and putting it back as a scene file is read: no range checks, no set
  // hook and no change notification, as the owner is not yet complete. False for an unknown ID.
  bool State(ParamID id, ParamState& state) const;
  bool Restore(ParamID id, const ParamState& state);

  Class_ID ClassID() override;
  SClass_ID SuperClassID() override;
  RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) override;

 private:
  using Key = ParamKey;
  struct Slot {
    const ParamDef* def = nullptr;
    double number = 0.0;
    AColor colour;
    std::u16string text;
    std::vector<Key> keys;
  };

  const Slot* Find(ParamID id) const;
  Slot* Find(ParamID id);
  bool Store(Slot& slot, TimeValue t, PB2Value value, bool asKey);
  void Changed(ParamID id);

  const ParamBlockDesc2& desc_;
  ReferenceMaker* owner_;
  std::vector<Slot> slots_;
  ParamID lastNotifyParamId_ = -1;
  bool lastSetClamped_ = false;
};

}  // namespace zal
