#include "host/param_block.h"

#include <algorithm>
#include <cmath>

#include "host/hold.h"
#include "host/host_interface.h"

namespace zal {
namespace {

bool IsNumeric(ParamType2 type) { return type == TYPE_FLOAT || type == TYPE_INT || type == TYPE_BOOL; }

double Lerp(double a, double b, double f) { return a + (b - a) * f; }

AColor Lerp(const AColor& a, const AColor& b, double f) {
  return AColor{static_cast<float>(Lerp(a.r, b.r, f)), static_cast<float>(Lerp(a.g, b.g, f)),
                static_cast<float>(Lerp(a.b, b.b, f)), static_cast<float>(Lerp(a.a, b.a, f))};
}

// Linear keys: outside their span the first or last key holds (valid up to or from that key);
// between two keys their values mix, valid for this instant only.
template <typename Keys, typename Pick>
auto Interpolate(const Keys& keys, TimeValue t, Interval& valid, Pick pick) {
  if (t <= keys.front().time) {
    valid &= Interval(TIME_NegInfinity, keys.front().time);
    return pick(keys.front());
  }
  if (t >= keys.back().time) {
    valid &= Interval(keys.back().time, TIME_PosInfinity);
    return pick(keys.back());
  }
  const auto next = std::upper_bound(keys.begin(), keys.end(), t,
                                     [](TimeValue time, const auto& key) { return time < key.time; });
  const auto previous = next - 1;
  const double f = static_cast<double>(t - previous->time) / static_cast<double>(next->time - previous->time);
  valid &= Interval(t, t);
  return Lerp(pick(*previous), pick(*next), f);
}

}  // namespace

PBAccessor::~PBAccessor() = default;
void PBAccessor::Set(PB2Value&, ReferenceMaker*, ParamID, int, TimeValue) {}

const ParamDef* ParamBlockDesc2::FindParam(ParamID id) const {
  for (const ParamDef& def : params) {
    if (def.id == id) return &def;
  }
  return nullptr;
}

const ParamDef* ParamBlockDesc2::FindParam(std::string_view name) const {
  for (const ParamDef& def : params) {
    if (name == def.name) return &def;
  }
  return nullptr;
}

IParamBlock2::IParamBlock2(const ParamBlockDesc2& desc, ReferenceMaker* owner) : desc_(desc), owner_(owner) {
  slots_.reserve(desc.params.size());
  for (const ParamDef& def : desc.params) {
    Slot slot;
    slot.def = &def;
    slots_.push_back(std::move(slot));
  }
  ResetAll();
}

IParamBlock2::~IParamBlock2() = default;

Class_ID IParamBlock2::ClassID() { return Class_ID{0x82, 0}; }
SClass_ID IParamBlock2::SuperClassID() { return PARAMETER_BLOCK2_CLASS_ID; }
RefResult IParamBlock2::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) { return REF_DONTCARE; }

void IParamBlock2::ResetAll() {
  for (Slot& slot : slots_) {
    slot.number = slot.def->defaultNumber;
    slot.colour = slot.def->defaultColour;
    slot.text.clear();
    slot.keys.clear();
  }
}

bool IParamBlock2::State(ParamID id, ParamState& state) const {
  const Slot* slot = Find(id);
  if (slot == nullptr) return false;
  state = ParamState{slot->number, slot->colour, slot->text, slot->keys};
  return true;
}

bool IParamBlock2::Restore(ParamID id, const ParamState& state) {
  Slot* slot = Find(id);
  if (slot == nullptr || slot->def->type == TYPE_REFTARG) return false;
  slot->number = state.number;
  slot->colour = state.colour;
  slot->text = state.text;
  slot->keys.clear();
  if (slot->def->animatable) {
    slot->keys = state.keys;
    std::sort(slot->keys.begin(), slot->keys.end(), [](const Key& a, const Key& b) { return a.time < b.time; });
  }
  return true;
}

const IParamBlock2::Slot* IParamBlock2::Find(ParamID id) const {
  for (const Slot& slot : slots_) {
    if (slot.def->id == id) return &slot;
  }
  return nullptr;
}

IParamBlock2::Slot* IParamBlock2::Find(ParamID id) {
  return const_cast<Slot*>(static_cast<const IParamBlock2*>(this)->Find(id));
}

bool IParamBlock2::GetValue(ParamID id, TimeValue t, double& value, Interval& valid) const {
  const Slot* slot = Find(id);
  if (slot == nullptr || !IsNumeric(slot->def->type)) return false;
  if (slot->keys.empty()) {
    value = slot->number;
    return true;
  }
  value = Interpolate(slot->keys, t, valid, [](const Key& key) { return key.number; });
  if (slot->def->type != TYPE_FLOAT) value = std::round(value);
  return true;
}

bool IParamBlock2::GetValue(ParamID id, TimeValue t, int& value, Interval& valid) const {
  double number = 0.0;
  if (!GetValue(id, t, number, valid)) return false;
  value = static_cast<int>(std::clamp(number, -2147483648.0, 2147483647.0));
  return true;
}

bool IParamBlock2::GetValue(ParamID id, TimeValue t, AColor& value, Interval& valid) const {
  const Slot* slot = Find(id);
  if (slot == nullptr || slot->def->type != TYPE_FRGBA) return false;
  value = slot->keys.empty() ? slot->colour
                             : Interpolate(slot->keys, t, valid, [](const Key& key) { return key.colour; });
  return true;
}

bool IParamBlock2::GetValue(ParamID id, std::u16string& value) const {
  const Slot* slot = Find(id);
  if (slot == nullptr || (slot->def->type != TYPE_FILENAME && slot->def->type != TYPE_STRING)) return false;
  value = slot->text;
  return true;
}

double IParamBlock2::GetFloat(ParamID id, TimeValue t) const {
  double value = 0.0;
  Interval valid = FOREVER;
  GetValue(id, t, value, valid);
  return value;
}

int IParamBlock2::GetInt(ParamID id, TimeValue t) const {
  int value = 0;
  Interval valid = FOREVER;
  GetValue(id, t, value, valid);
  return value;
}

AColor IParamBlock2::GetAColor(ParamID id, TimeValue t) const {
  AColor value;
  Interval valid = FOREVER;
  GetValue(id, t, value, valid);
  return value;
}

std::u16string IParamBlock2::GetStr(ParamID id) const {
  std::u16string value;
  GetValue(id, value);
  return value;
}

ReferenceTarget* IParamBlock2::GetReferenceTarget(ParamID id) const {
  const Slot* slot = Find(id);
  if (slot == nullptr || slot->def->type != TYPE_REFTARG || owner_ == nullptr) return nullptr;
  return owner_->GetReference(slot->def->refNo);
}

bool IParamBlock2::Store(Slot& slot, TimeValue t, PB2Value value, bool asKey) {
  const ParamDef& def = *slot.def;
  lastSetClamped_ = false;
  if (IsNumeric(def.type)) {
    if (std::isnan(value.number)) return false;
    double number = value.number;
    if (def.type == TYPE_BOOL) number = number != 0.0 ? 1.0 : 0.0;
    if (def.type == TYPE_INT) number = std::round(std::clamp(number, -2147483648.0, 2147483647.0));
    if (def.hasRange) number = std::clamp(number, def.rangeMin, def.rangeMax);
    if (def.type == TYPE_FLOAT) number = std::clamp(number, -3.4e38, 3.4e38);
    lastSetClamped_ = number != value.number && def.type != TYPE_BOOL;
    value.number = number;
  } else if (def.type == TYPE_FRGBA) {
    for (float* channel : {&value.colour.r, &value.colour.g, &value.colour.b, &value.colour.a}) {
      if (std::isnan(*channel)) return false;
    }
  }
  if (def.accessor != nullptr) def.accessor->Set(value, owner_, def.id, 0, t);

  const bool keyed = def.animatable && (asKey || !slot.keys.empty() || GetCOREInterface()->GetAnimateMode());
  if (keyed && (IsNumeric(def.type) || def.type == TYPE_FRGBA)) {
    const auto at = std::lower_bound(slot.keys.begin(), slot.keys.end(), t,
                                     [](const Key& key, TimeValue time) { return key.time < time; });
    const Key key{t, value.number, value.colour};
    if (at != slot.keys.end() && at->time == t) {
      *at = key;
    } else {
      slot.keys.insert(at, key);
    }
  } else {
    slot.number = value.number;
    slot.colour = value.colour;
    slot.text = std::move(value.text);
  }
  TheHold().Put(u"parameter change");
  Changed(def.id);
  return true;
}

void IParamBlock2::Changed(ParamID id) {
  lastNotifyParamId_ = id;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

bool IParamBlock2::SetValue(ParamID id, TimeValue t, double value) {
  Slot* slot = Find(id);
  if (slot == nullptr || !IsNumeric(slot->def->type)) return false;
  PB2Value v;
  v.number = value;
  return Store(*slot, t, std::move(v), false);
}

bool IParamBlock2::SetValue(ParamID id, TimeValue t, int value) { return SetValue(id, t, static_cast<double>(value)); }

bool IParamBlock2::SetValue(ParamID id, TimeValue t, const AColor& value) {
  Slot* slot = Find(id);
  if (slot == nullptr || slot->def->type != TYPE_FRGBA) return false;
  PB2Value v;
  v.colour = value;
  return Store(*slot, t, std::move(v), false);
}

bool IParamBlock2::SetValue(ParamID id, TimeValue t, std::u16string_view value) {
  Slot* slot = Find(id);
  if (slot == nullptr || (slot->def->type != TYPE_FILENAME && slot->def->type != TYPE_STRING)) return false;
  PB2Value v;
  v.text = value;
  return Store(*slot, t, std::move(v), false);
}

bool IParamBlock2::SetKey(ParamID id, TimeValue t, double value) {
  Slot* slot = Find(id);
  if (slot == nullptr || !slot->def->animatable || !IsNumeric(slot->def->type)) return false;
  PB2Value v;
  v.number = value;
  return Store(*slot, t, std::move(v), true);
}

bool IParamBlock2::SetKey(ParamID id, TimeValue t, const AColor& value) {
  Slot* slot = Find(id);
  if (slot == nullptr || !slot->def->animatable || slot->def->type != TYPE_FRGBA) return false;
  PB2Value v;
  v.colour = value;
  return Store(*slot, t, std::move(v), true);
}

int IParamBlock2::NumKeys(ParamID id) const {
  const Slot* slot = Find(id);
  return slot != nullptr ? static_cast<int>(slot->keys.size()) : 0;
}

}  // namespace zal
