#include "svg/values.h"

#include <array>
#include <charconv>

#include "svg/exception.h"
#include "svg/number_parse.h"
#include "svg/path_data.h"
#include "svg/script_callback.h"

namespace svg {
namespace {

constexpr std::u16string_view kScriptMarker = u"zls(";
constexpr std::u16string_view kListSeparators = u" ,\r\n\t";
constexpr std::u16string_view kClassSeparators = u" \r\n\t";

struct UnitEntry {
  std::u16string_view suffix;
  double factor;
};

// Indexed by LengthUnit; percent, em and ex take their factor from the caller's reference and font size.
constexpr std::array<UnitEntry, 10> kUnits{{
    {u"", 1.0},
    {u"%", 0.01},
    {u"em", 1.0},
    {u"ex", 0.5},
    {u"px", 1.0},
    {u"cm", 37.79527559055118},
    {u"mm", 3.779527559055118},
    {u"in", 96.0},
    {u"pt", 1.3333333333333333},
    {u"pc", 16.0},
}};

// Indexed by KeywordGroup - 1, then by keyword index; empty entries pad the shorter groups.
constexpr std::array<std::array<std::u16string_view, 3>, 5> kKeywordGroups{{
    {u"objectBoundingBox", u"userSpaceOnUse", u""},
    {u"pad", u"reflect", u"repeat"},
    {u"align", u"stretch", u""},
    {u"auto", u"exact", u""},
    {u"default", u"preserve", u""},
}};

// Indexed by Align.
constexpr std::array<std::u16string_view, 10> kAlignNames{
    u"none",     u"xMinYMin", u"xMidYMin", u"xMaxYMin", u"xMinYMid",
    u"xMidYMid", u"xMaxYMid", u"xMinYMax", u"xMidYMax", u"xMaxYMax",
};

// Non-empty pieces of text between any of the separator characters.
std::vector<std::u16string_view> SplitPieces(std::u16string_view text, std::u16string_view separators) {
  std::vector<std::u16string_view> pieces;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(separators, start);
    const size_t stop = end == std::u16string_view::npos ? text.size() : end;
    if (stop > start) pieces.push_back(text.substr(start, stop - start));
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

template <typename T, typename Format>
std::u16string JoinItems(const std::vector<T>& items, Format format) {
  std::u16string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.push_back(u' ');
    out += format(items[i]);
  }
  return out;
}

std::vector<double> ParseNumberList(std::u16string_view text) {
  std::vector<double> numbers;
  for (auto piece : SplitPieces(text, kListSeparators)) {
    size_t used = 0;
    numbers.push_back(ParseNumberPrefix(piece, &used));
    // Numbers may follow each other without a separator ("1.5.5", "10-5").
    while (used > 0 && used < piece.size()) {
      piece.remove_prefix(used);
      const double next = ParseNumberPrefix(piece, &used);
      if (used > 0) numbers.push_back(next);
    }
  }
  return numbers;
}

std::vector<std::u16string> ParseClassList(std::u16string_view text) {
  std::vector<std::u16string> names;
  for (const auto piece : SplitPieces(text, kClassSeparators)) names.emplace_back(piece);
  return names;
}

struct AspectRatio {
  Align align = Align::kXMidYMid;
  MeetOrSlice meetOrSlice = MeetOrSlice::kMeet;
};

AspectRatio ParseAspectRatio(std::u16string_view text) {
  AspectRatio result;
  for (const auto piece : SplitPieces(text, kClassSeparators)) {
    for (size_t i = 0; i < kAlignNames.size(); ++i) {
      if (piece == kAlignNames[i]) result.align = static_cast<Align>(i);
    }
    if (piece == u"meet") result.meetOrSlice = MeetOrSlice::kMeet;
    if (piece == u"slice") result.meetOrSlice = MeetOrSlice::kSlice;
  }
  return result;
}

}  // namespace

std::u16string FormatNumber(double value) {
  // to_chars with a precision is specified as printf's %.*g, without a locale.
  std::array<char, 64> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 6);
  return std::u16string(buffer.data(), result.ptr);
}

bool ContainsScript(std::u16string_view text) {
  return text.find(kScriptMarker) != std::u16string_view::npos;
}

std::u16string Expand(SvgScriptCallback* callback, std::u16string_view text) {
  std::u16string result;
  if (callback == nullptr) return result;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t marker = text.find(kScriptMarker, pos);
    if (marker == std::u16string_view::npos) break;
    result.append(text.substr(pos, marker - pos));
    const size_t begin = marker + kScriptMarker.size();
    size_t depth = 1;
    size_t end = begin;
    for (; end < text.size(); ++end) {
      if (text[end] == u'(') {
        ++depth;
      } else if (text[end] == u')' && --depth == 0) {
        break;
      }
    }
    if (end == text.size()) {
      // An unterminated expression stays as plain text, without its "zls(".
      pos = begin;
      break;
    }
    callback->Evaluate(text.substr(begin, end - begin), result);
    pos = end + 1;
  }
  if (pos < text.size()) result.append(text.substr(pos));
  return result;
}

double Length::ToUserUnits(double reference, double fontSize) const {
  switch (unit) {
    case LengthUnit::kPercent:
      return value * reference * 0.01;
    case LengthUnit::kEm:
      return value * fontSize;
    case LengthUnit::kEx:
      return value * fontSize * 0.5;
    default:
      break;
  }
  const auto index = static_cast<size_t>(unit);
  return index < kUnits.size() ? value * kUnits[index].factor : value;
}

std::u16string Length::ToText() const {
  const auto index = static_cast<size_t>(unit);
  std::u16string text = FormatNumber(value);
  if (index < kUnits.size()) text += kUnits[index].suffix;
  return text;
}

Length Length::Parse(std::u16string_view text) {
  size_t consumed = 0;
  Length length;
  length.value = ParseLeadingNumber(text, &consumed);
  const std::u16string_view suffix = text.substr(consumed);
  for (size_t i = 1; i < kUnits.size(); ++i) {
    if (suffix == kUnits[i].suffix) length.unit = static_cast<LengthUnit>(i);
  }
  return length;
}

bool ValueBase::TakeScript(std::u16string_view text) {
  if (!ContainsScript(text)) {
    script_.clear();
    return false;
  }
  script_.assign(text);
  specified_ = true;
  return true;
}

std::u16string ValueBase::Expanded(SvgScriptCallback* callback) const {
  if (script_.empty() || callback == nullptr) return {};
  return Expand(callback, script_);
}

bool LengthValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  length_ = Length::Parse(text);
  MarkSpecified();
  return false;
}

Length LengthValue::Get(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? length_ : Length::Parse(expanded);
}

double LengthValue::ToUserUnits(SvgScriptCallback* callback, double reference, double fontSize) const {
  return Get(callback).ToUserUnits(reference, fontSize);
}

std::u16string LengthValue::ToText(SvgScriptCallback* callback) const {
  return HasScript() ? Expanded(callback) : length_.ToText();
}

std::vector<Length> LengthListValue::ParseList(std::u16string_view text) {
  std::vector<Length> lengths;
  for (const auto piece : SplitPieces(text, kListSeparators)) lengths.push_back(Length::Parse(piece));
  return lengths;
}

bool LengthListValue::Set(std::u16string_view text) {
  items_.clear();
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  items_ = ParseList(text);
  MarkSpecified();
  return false;
}

const std::vector<Length>& LengthListValue::Get(SvgScriptCallback* callback) {
  const std::u16string expanded = Expanded(callback);
  if (!expanded.empty()) items_ = ParseList(expanded);
  return items_;
}

std::u16string LengthListValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  return JoinItems(items_, [](const Length& length) { return length.ToText(); });
}

double NumberValue::Parse(std::u16string_view text) {
  size_t consumed = 0;
  const double value = ParseLeadingNumber(text, &consumed);
  return consumed < text.size() && text[consumed] == u'%' ? value * 0.01 : value;
}

bool NumberValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  value_ = Parse(text);
  MarkSpecified();
  return false;
}

double NumberValue::Get(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? value_ : Parse(expanded);
}

std::u16string NumberValue::ToText(SvgScriptCallback* callback) const {
  return HasScript() ? Expanded(callback) : FormatNumber(value_);
}

bool NumberListValue::Set(std::u16string_view text) {
  items_.clear();
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  items_ = ParseNumberList(text);
  MarkSpecified();
  return false;
}

const std::vector<double>& NumberListValue::Get(SvgScriptCallback* callback) {
  const std::u16string expanded = Expanded(callback);
  if (!expanded.empty()) items_ = ParseNumberList(expanded);
  return items_;
}

std::u16string NumberListValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  return JoinItems(items_, FormatNumber);
}

bool PointListValue::Set(std::u16string_view text) {
  points_.clear();
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  MarkSpecified();
  ParseInto(text);
  return false;
}

void PointListValue::ParseInto(std::u16string_view text) {
  points_.clear();
  PathTokenizer tokenizer(text);
  Point first;
  if (!tokenizer.Next()) throw exception(kErrorTooFewCoordinates);
  first.x = tokenizer.LastNumber();
  if (!tokenizer.Next()) throw exception(kErrorTooFewCoordinates);
  first.y = tokenizer.LastNumber();
  points_.push_back(first);
  while (tokenizer.Next()) {
    Point point;
    point.x = tokenizer.LastNumber();
    if (!tokenizer.Next()) throw exception(kErrorOddCoordinates);
    point.y = tokenizer.LastNumber();
    points_.push_back(point);
  }
}

std::u16string PointListValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  return JoinItems(points_, [](const Point& p) { return FormatNumber(p.x) + u',' + FormatNumber(p.y); });
}

bool StringValue::Set(std::u16string_view text) {
  value_.clear();
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  value_.assign(text);
  MarkSpecified();
  return false;
}

std::u16string StringValue::Get(SvgScriptCallback* callback) const {
  std::u16string expanded = Expanded(callback);
  return expanded.empty() ? value_ : expanded;
}

std::u16string StringValue::ToText(SvgScriptCallback* callback) const {
  return HasScript() ? Expanded(callback) : value_;
}

bool StringListValue::Set(std::u16string_view text) {
  items_.clear();
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  items_ = ParseClassList(text);
  MarkSpecified();
  return false;
}

const std::vector<std::u16string>& StringListValue::Get(SvgScriptCallback* callback) {
  const std::u16string expanded = Expanded(callback);
  if (!expanded.empty()) items_ = ParseClassList(expanded);
  return items_;
}

std::u16string StringListValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  return JoinItems(items_, [](const std::u16string& name) { return name; });
}

uint32_t KeywordValue::Lookup(KeywordGroup group, std::u16string_view text) {
  const auto row = static_cast<size_t>(group) - 1;
  if (row >= kKeywordGroups.size() || text.empty()) return 0;
  for (size_t i = 0; i < kKeywordGroups[row].size(); ++i) {
    if (text == kKeywordGroups[row][i]) return static_cast<uint32_t>(i);
  }
  return 0;
}

std::u16string_view KeywordValue::Name(KeywordGroup group, uint32_t index) {
  const auto row = static_cast<size_t>(group) - 1;
  if (row >= kKeywordGroups.size() || index >= kKeywordGroups[row].size()) return {};
  return kKeywordGroups[row][index];
}

bool KeywordValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  index_ = Lookup(group_, text);
  MarkSpecified();
  return false;
}

uint32_t KeywordValue::Get(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? index_ : Lookup(group_, expanded);
}

std::u16string KeywordValue::ToText(SvgScriptCallback* callback) const {
  return HasScript() ? Expanded(callback) : std::u16string(Name(group_, index_));
}

void ViewBoxValue::Parse(std::u16string_view text) {
  std::array<double, 4> numbers{};
  const auto pieces = SplitPieces(text, kListSeparators);
  for (size_t i = 0; i < pieces.size() && i < numbers.size(); ++i) numbers[i] = ParseNumberPrefix(pieces[i]);
  minX_ = numbers[0];
  minY_ = numbers[1];
  width_ = numbers[2];
  height_ = numbers[3];
}

bool ViewBoxValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  Parse(text);
  MarkSpecified();
  return false;
}

ViewBoxRect ViewBoxValue::GetRect(SvgScriptCallback* callback, bool asSize) {
  const std::u16string expanded = Expanded(callback);
  if (!expanded.empty()) Parse(expanded);
  ViewBoxRect rect;
  rect.x1 = minX_;
  rect.y1 = minY_;
  rect.x2 = asSize ? width_ : minX_ + width_;
  rect.y2 = asSize ? height_ : minY_ + height_;
  rect.valid = width_ > 0.0 && height_ > 0.0;
  return rect;
}

void ViewBoxValue::Assign(double minX, double minY, double width, double height) {
  minX_ = minX;
  minY_ = minY;
  width_ = width;
  height_ = height;
}

std::u16string ViewBoxValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  if (!IsSpecified() || !(width_ > 0.0) || !(height_ > 0.0)) return {};
  return FormatNumber(minX_) + u' ' + FormatNumber(minY_) + u' ' + FormatNumber(width_) + u' ' +
         FormatNumber(height_);
}

bool PreserveAspectRatioValue::Set(std::u16string_view text) {
  if (text.empty()) return false;
  if (TakeScript(text)) return true;
  const AspectRatio parsed = ParseAspectRatio(text);
  align_ = parsed.align;
  meetOrSlice_ = parsed.meetOrSlice;
  MarkSpecified();
  return false;
}

Align PreserveAspectRatioValue::GetAlign(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? align_ : ParseAspectRatio(expanded).align;
}

MeetOrSlice PreserveAspectRatioValue::GetMeetOrSlice(SvgScriptCallback* callback) const {
  const std::u16string expanded = Expanded(callback);
  return expanded.empty() ? meetOrSlice_ : ParseAspectRatio(expanded).meetOrSlice;
}

std::u16string PreserveAspectRatioValue::ToText(SvgScriptCallback* callback) const {
  if (HasScript()) return Expanded(callback);
  std::u16string text(kAlignNames[static_cast<size_t>(align_)]);
  if (meetOrSlice_ == MeetOrSlice::kSlice) text += u" slice";
  return text;
}

}  // namespace svg
