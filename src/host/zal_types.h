#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zal {

// Host time in ticks.
using TimeValue = int32_t;
inline constexpr TimeValue kTicksPerSecond = 4800;
inline constexpr TimeValue kTicksPerFrame = 160;
inline constexpr TimeValue TIME_NegInfinity = std::numeric_limits<int32_t>::min();
inline constexpr TimeValue TIME_PosInfinity = std::numeric_limits<int32_t>::max();

// A closed range of times over which something stays valid; start > end means never.
class Interval {
 public:
  constexpr Interval() = default;
  constexpr Interval(TimeValue start, TimeValue end) : start_(start), end_(end) {}

  constexpr TimeValue Start() const { return start_; }
  constexpr TimeValue End() const { return end_; }
  constexpr bool Empty() const { return start_ > end_; }
  constexpr bool InInterval(TimeValue t) const { return !Empty() && start_ <= t && t <= end_; }
  constexpr void SetInfinite() { *this = Interval(TIME_NegInfinity, TIME_PosInfinity); }
  constexpr void SetEmpty() { *this = Interval(TIME_PosInfinity, TIME_NegInfinity); }
  constexpr void SetInstant(TimeValue t) { *this = Interval(t, t); }
  // Narrows to the intersection.
  constexpr Interval& operator&=(const Interval& other) {
    start_ = std::max(start_, other.start_);
    end_ = std::min(end_, other.end_);
    return *this;
  }
  constexpr bool operator==(const Interval&) const = default;

 private:
  TimeValue start_ = TIME_PosInfinity;
  TimeValue end_ = TIME_NegInfinity;
};

inline constexpr Interval FOREVER{TIME_NegInfinity, TIME_PosInfinity};
inline constexpr Interval NEVER{TIME_PosInfinity, TIME_NegInfinity};

struct Class_ID {
  uint32_t a = 0;
  uint32_t b = 0;
  constexpr bool operator==(const Class_ID&) const = default;
};

struct Interface_ID {
  uint32_t a = 0;
  uint32_t b = 0;
  constexpr bool operator==(const Interface_ID&) const = default;
};

using SClass_ID = uint32_t;
inline constexpr SClass_ID TEXMAP_CLASS_ID = 0xC10;
inline constexpr SClass_ID UVGEN_CLASS_ID = 0xC20;
inline constexpr SClass_ID TEXOUTPUT_CLASS_ID = 0xC30;
inline constexpr SClass_ID PARAMETER_BLOCK2_CLASS_ID = 0x82;
inline constexpr SClass_ID RENDERER_CLASS_ID = 0xF00;

using ParamID = int16_t;
using BlockID = int16_t;
using FunctionID = int32_t;

}  // namespace zal
