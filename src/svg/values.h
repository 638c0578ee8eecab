#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <agg_trans_affine.h>

namespace svg {

class SvgScriptCallback;

// Expands every zls(...) in text through the callback; an unterminated expression is kept as text.
std::u16string Expand(SvgScriptCallback* callback, std::u16string_view text);

bool ContainsScript(std::u16string_view text);

enum class LengthUnit : uint32_t { kNone = 0, kPercent, kEm, kEx, kPx, kCm, kMm, kIn, kPt, kPc };

struct Length {
  LengthUnit unit = LengthUnit::kNone;
  double value = 0.0;

  // reference is the viewport width, height or normalised diagonal, as the caller chooses.
  double ToUserUnits(double reference, double fontSize) const;
  std::u16string ToText() const;
  static Length Parse(std::u16string_view text);
};

// Common part of every attribute value: whether it was given, and its script text when it held "zls(".
class ValueBase {
 public:
  virtual ~ValueBase() = default;
  // Parses text (or keeps it as a script); returns whether it held "zls(".
  virtual bool Set(std::u16string_view text) = 0;
  // The text an element writes back for this value.
  virtual std::u16string ToText(SvgScriptCallback* callback) const = 0;

  bool IsSpecified() const { return specified_; }
  bool HasScript() const { return !script_.empty(); }
  const std::u16string& ScriptText() const { return script_; }

 protected:
  // Stores text as the script when it holds "zls(" and marks the value given; returns whether it did.
  bool TakeScript(std::u16string_view text);
  // The expansion of the script text, or empty when there is no script or no callback.
  std::u16string Expanded(SvgScriptCallback* callback) const;
  void MarkSpecified() { specified_ = true; }

 private:
  bool specified_ = false;
  std::u16string script_;
};

class LengthValue : public ValueBase {
 public:
  LengthValue() = default;
  LengthValue(LengthUnit unit, double value) : length_{unit, value} {}

  bool Set(std::u16string_view text) override;
  Length Get(SvgScriptCallback* callback) const;
  double ToUserUnits(SvgScriptCallback* callback, double reference, double fontSize) const;
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  Length length_;
};

class LengthListValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  // With a script and a callback the list is parsed again from the expansion.
  const std::vector<Length>& Get(SvgScriptCallback* callback);
  const std::vector<Length>& Items() const { return items_; }
  std::u16string ToText(SvgScriptCallback* callback) const override;
  static std::vector<Length> ParseList(std::u16string_view text);

 private:
  std::vector<Length> items_;
};

class NumberValue : public ValueBase {
 public:
  NumberValue() = default;
  explicit NumberValue(double value) : value_(value) {}

  bool Set(std::u16string_view text) override;
  double Get(SvgScriptCallback* callback) const;
  std::u16string ToText(SvgScriptCallback* callback) const override;
  // A number, multiplied by 0.01 when "%" follows it.
  static double Parse(std::u16string_view text);

 private:
  double value_ = 0.0;
};

class NumberListValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  const std::vector<double>& Get(SvgScriptCallback* callback);
  const std::vector<double>& Items() const { return items_; }
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  std::vector<double> items_;
};

struct Point {
  double x = 0.0;
  double y = 0.0;
};

class PointListValue : public ValueBase {
 public:
  // Throws svg::exception 12, 15 or 16 on malformed lists; points read before the error stay.
  bool Set(std::u16string_view text) override;
  const std::vector<Point>& Items() const { return points_; }
  // Parses text into points (the list is emptied first); throws like Set.
  void ParseInto(std::u16string_view text);
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  std::vector<Point> points_;
};

class StringValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  std::u16string Get(SvgScriptCallback* callback) const;
  const std::u16string& Stored() const { return value_; }
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  std::u16string value_;
};

class StringListValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  const std::vector<std::u16string>& Get(SvgScriptCallback* callback);
  const std::vector<std::u16string>& Items() const { return items_; }
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  std::vector<std::u16string> items_;
};

// Keyword groups of attributes; the index is the position of the keyword in its group.
enum class KeywordGroup : uint32_t { kUnits = 1, kSpreadMethod = 2, kTextPathMethod = 3, kTextPathSpacing = 4, kXmlSpace = 5 };

inline constexpr uint32_t kObjectBoundingBox = 0;
inline constexpr uint32_t kUserSpaceOnUse = 1;

class KeywordValue : public ValueBase {
 public:
  explicit KeywordValue(KeywordGroup group, uint32_t defaultIndex = 0) : group_(group), index_(defaultIndex) {}

  bool Set(std::u16string_view text) override;
  uint32_t Get(SvgScriptCallback* callback) const;
  std::u16string ToText(SvgScriptCallback* callback) const override;
  static uint32_t Lookup(KeywordGroup group, std::u16string_view text);
  static std::u16string_view Name(KeywordGroup group, uint32_t index);

 private:
  KeywordGroup group_;
  uint32_t index_ = 0;
};

struct ViewBoxRect {
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
  bool valid = false;
};

class ViewBoxValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  // (min-x, min-y, min-x + width, min-y + height), or (min-x, min-y, width, height) with asSize.
  ViewBoxRect GetRect(SvgScriptCallback* callback, bool asSize);
  // Replaces the value, as the viewport render does when an svg element has no usable viewBox.
  void Assign(double minX, double minY, double width, double height);
  double MinX() const { return minX_; }
  double MinY() const { return minY_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  void Parse(std::u16string_view text);
  double minX_ = 0.0, minY_ = 0.0, width_ = 0.0, height_ = 0.0;
};

enum class Align : uint32_t {
  kNone = 0, kXMinYMin, kXMidYMin, kXMaxYMin, kXMinYMid, kXMidYMid, kXMaxYMid, kXMinYMax, kXMidYMax, kXMaxYMax
};
enum class MeetOrSlice : uint32_t { kMeet = 1, kSlice = 2 };

class PreserveAspectRatioValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  Align GetAlign(SvgScriptCallback* callback) const;
  MeetOrSlice GetMeetOrSlice(SvgScriptCallback* callback) const;
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  Align align_ = Align::kXMidYMid;
  MeetOrSlice meetOrSlice_ = MeetOrSlice::kMeet;
};

// Parses a transform list from the identity; unknown functions and malformed parts are skipped.
agg::trans_affine ParseTransformList(std::u16string_view text);

// "matrix(%g %g %g %g %g %g)", or empty for the identity (within 1e-14 on every element).
std::u16string TransformToText(const agg::trans_affine& m);

class TransformValue : public ValueBase {
 public:
  bool Set(std::u16string_view text) override;
  agg::trans_affine Get(SvgScriptCallback* callback) const;
  std::u16string ToText(SvgScriptCallback* callback) const override;

 private:
  agg::trans_affine matrix_;
};

// printf-style %g of one number, independent of the locale.
std::u16string FormatNumber(double value);

}  // namespace svg
