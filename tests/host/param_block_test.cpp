#include "host/param_block.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "host/host_interface.h"

namespace {

using zal::AColor;
using zal::Interval;

// Turns every name it is given into upper case and notes each call.
class ShoutingAccessor : public zal::PBAccessor {
 public:
  void Set(zal::PB2Value& value, zal::ReferenceMaker*, zal::ParamID id, int, zal::TimeValue t) override {
    for (char16_t& c : value.text) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    }
    calls.push_back({id, t});
  }
  std::vector<std::pair<zal::ParamID, zal::TimeValue>> calls;
};

ShoutingAccessor shouting;

constexpr zal::ParamDef kDefs[] = {
    {.id = 1, .name = "amount", .type = zal::TYPE_FLOAT, .defaultNumber = 0.5, .hasRange = true, .rangeMin = 0.0,
     .rangeMax = 1.0, .animatable = true},
    {.id = 2, .name = "count", .type = zal::TYPE_INT, .defaultNumber = 3, .hasRange = true, .rangeMin = 1,
     .rangeMax = 5, .animatable = true},
    {.id = 3, .name = "flag", .type = zal::TYPE_BOOL, .defaultNumber = 1},
    {.id = 4, .name = "tint", .type = zal::TYPE_FRGBA, .defaultColour = {1, 1, 1, 1}, .animatable = true},
    {.id = 5, .name = "file", .type = zal::TYPE_FILENAME, .accessor = &shouting},
    {.id = 6, .name = "free", .type = zal::TYPE_INT, .defaultNumber = 0},
};
constexpr zal::ParamBlockDesc2 kDesc{.id = 7, .internalName = "test params", .params = kDefs};

// Owns one block and hears its change notices.
class Owner : public zal::ReferenceMaker {
 public:
  Owner() { ReplaceReference(0, new zal::IParamBlock2(kDesc, this)); }
  ~Owner() override { DeleteAllRefs(); }
  zal::Class_ID ClassID() override { return {1, 2}; }
  zal::SClass_ID SuperClassID() override { return 0; }
  int NumRefs() override { return 1; }
  zal::ReferenceTarget* GetReference(int) override { return block; }
  zal::RefResult NotifyRefChanged(const Interval&, zal::ReferenceTarget* target, zal::PartID,
                                  zal::RefMessage message) override {
    if (message == zal::REFMSG_CHANGE && target == block) changed.push_back(block->LastNotifyParamID());
    return zal::REF_SUCCEED;
  }
  zal::IParamBlock2* block = nullptr;
  std::vector<zal::ParamID> changed;

 protected:
  void SetReference(int, zal::ReferenceTarget* target) override { block = static_cast<zal::IParamBlock2*>(target); }
};

TEST(ParamBlock, StartsWithTheDefaults) {
  Owner owner;
  zal::IParamBlock2& block = *owner.block;
  EXPECT_DOUBLE_EQ(block.GetFloat(1), 0.5);
  EXPECT_EQ(block.GetInt(2), 3);
  EXPECT_EQ(block.GetInt(3), 1);
  EXPECT_EQ(block.GetAColor(4), (AColor{1, 1, 1, 1}));
  EXPECT_EQ(block.GetStr(5), u"");
  EXPECT_EQ(block.GetDesc().FindParam("count")->id, 2);
  EXPECT_EQ(block.GetDesc().FindParam("nothing"), nullptr);
}

TEST(ParamBlock, SettingClampsRefusesNaNAndTellsTheOwner) {
  Owner owner;
  zal::IParamBlock2& block = *owner.block;
  struct Case {
    zal::ParamID id;
    double value;
    bool accepted;
    double stored;
    bool clamped;
  };
  const Case cases[] = {
      {1, 0.25, true, 0.25, false}, {1, 7.0, true, 1.0, true},   {1, -1e300, true, 0.0, true},
      {2, 4.4, true, 4.0, true},    {2, 99.0, true, 5.0, true},  {2, -1e12, true, 1.0, true},
      {3, 0.0, true, 0.0, false},   {3, 42.0, true, 1.0, false}, {6, 1e12, true, 2147483647.0, true},
      {1, std::numeric_limits<double>::quiet_NaN(), false, 1.0, false},
      {4, 1.0, false, 0.0, false},  {99, 1.0, false, 0.0, false},
  };
  for (const Case& c : cases) {
    const size_t notices = owner.changed.size();
    EXPECT_EQ(block.SetValue(c.id, 0, c.value), c.accepted) << c.id << " " << c.value;
    if (!c.accepted) {
      EXPECT_EQ(owner.changed.size(), notices);
      continue;
    }
    EXPECT_EQ(block.LastSetClamped(), c.clamped) << c.id << " " << c.value;
    EXPECT_DOUBLE_EQ(block.GetFloat(c.id), c.stored) << c.id << " " << c.value;
    ASSERT_EQ(owner.changed.size(), notices + 1);
    EXPECT_EQ(owner.changed.back(), c.id);
  }
}

TEST(ParamBlock, KeysInterpolateAndNarrowTheValidity) {
  Owner owner;
  zal::IParamBlock2& block = *owner.block;
  ASSERT_TRUE(block.SetKey(1, 0, 0.0));
  ASSERT_TRUE(block.SetKey(1, 1600, 1.0));
  ASSERT_TRUE(block.SetKey(2, 0, 1.0));
  ASSERT_TRUE(block.SetKey(2, 160, 5.0));
  EXPECT_FALSE(block.SetKey(3, 0, 1.0));  // not animatable
  struct Case {
    zal::TimeValue t;
    double amount;
    int count;
    Interval valid;
  };
  const Case cases[] = {
      {-100, 0.0, 1, Interval(zal::TIME_NegInfinity, 0)},
      {400, 0.25, 5, Interval(400, 400)},
      {40, 0.025, 2, Interval(40, 40)},
      {2000, 1.0, 5, Interval(1600, zal::TIME_PosInfinity)},
  };
  for (const Case& c : cases) {
    Interval valid = zal::FOREVER;
    double amount = 0.0;
    ASSERT_TRUE(block.GetValue(1, c.t, amount, valid));
    EXPECT_DOUBLE_EQ(amount, c.amount) << c.t;
    EXPECT_EQ(valid, c.valid) << c.t;
    EXPECT_EQ(block.GetInt(2, c.t), c.count) << c.t;
  }
  // With keys present a plain set moves the key at that time.
  block.SetValue(1, 1600, 0.5);
  EXPECT_EQ(block.NumKeys(1), 2);
  EXPECT_DOUBLE_EQ(block.GetFloat(1, 800), 0.25);
  block.ResetAll();
  EXPECT_EQ(block.NumKeys(1), 0);
  EXPECT_DOUBLE_EQ(block.GetFloat(1, 800), 0.5);
}

TEST(ParamBlock, AnimateModeTurnsSetsIntoKeys) {
  Owner owner;
  zal::IParamBlock2& block = *owner.block;
  zal::GetCOREInterface()->SetAnimateMode(true);
  block.SetValue(4, 0, AColor{0, 0, 0, 1});
  block.SetValue(4, 320, AColor{1, 0.5f, 0, 1});
  block.SetValue(3, 320, 0.0);  // not animatable: a plain value
  zal::GetCOREInterface()->SetAnimateMode(false);
  EXPECT_EQ(block.NumKeys(4), 2);
  EXPECT_EQ(block.NumKeys(3), 0);
  const AColor middle = block.GetAColor(4, 160);
  EXPECT_FLOAT_EQ(middle.r, 0.5f);
  EXPECT_FLOAT_EQ(middle.g, 0.25f);
  EXPECT_FALSE(block.SetValue(4, 0, AColor{std::numeric_limits<float>::quiet_NaN(), 0, 0, 1}));
}

TEST(ParamBlock, TheSetHookSeesAndChangesTheValue) {
  Owner owner;
  zal::IParamBlock2& block = *owner.block;
  shouting.calls.clear();
  ASSERT_TRUE(block.SetValue(5, 480, std::u16string_view(u"drawing.svg")));
  EXPECT_EQ(block.GetStr(5), u"DRAWING.SVG");
  ASSERT_EQ(shouting.calls.size(), 1u);
  EXPECT_EQ(shouting.calls[0], std::make_pair(zal::ParamID{5}, zal::TimeValue{480}));
  EXPECT_FALSE(block.SetValue(5, 0, 1.0));  // a number is no file name
}

TEST(ParamBlock, TheBlockGoesWithItsLastReference) {
  auto owner = std::make_unique<Owner>();
  EXPECT_EQ(owner->block->NumDependents(), 1);
  owner.reset();  // leak checkers see the block freed here
  SUCCEED();
}

}  // namespace
