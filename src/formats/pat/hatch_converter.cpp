#include "formats/pat/hatch_converter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "svg/path_data.h"
#include "svg/shape_elements.h"

namespace formats::pat {
namespace {

struct Point {
  double x = 0.0, y = 0.0;
};

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator*(Point a, double f) { return {a.x * f, a.y * f}; }

// Beyond this many steps from its first line a family's position has no precision left.
constexpr double kMaxApproachSteps = 1e15;
// Dash periods from a line's origin to the far edge of the tile beyond which the phase is lost.
constexpr double kMaxDashPeriods = 1e9;

constexpr std::array<std::u16string_view, 3> kCapNames = {u"round", u"square", u"butt"};

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// Truncated to an integer, as the colour is written; out-of-range channels are held to 0..1 first.
int ColourByte(double channel) {
  if (!(channel > 0.0)) return 0;
  return static_cast<int>(std::min(channel, 1.0) * 255.0);
}

std::u16string StrokeColour(const document::ColourChannels& colour) {
  return Ascii("rgb(" + std::to_string(ColourByte(colour.r)) + " " + std::to_string(ColourByte(colour.g)) +
               " " + std::to_string(ColourByte(colour.b)) + ")");
}

// Six decimals, whatever the process locale.
std::u16string Fixed(double value) {
  std::array<char, 64> text{};
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 6);
  return Ascii(std::string_view(text.data(), static_cast<size_t>(result.ptr - text.data())));
}

bool AllFinite(const HatchLine& line) {
  const bool fields = std::isfinite(line.angle) && std::isfinite(line.originX) &&
                      std::isfinite(line.originY) && std::isfinite(line.deltaX) && std::isfinite(line.deltaY);
  return fields &&
         std::all_of(line.dashes.begin(), line.dashes.end(), [](double v) { return std::isfinite(v); });
}

// The settings held within the ranges of the texture's parameters.
float Held(float value, float low, float high, float fallback) {
  if (std::isnan(value)) return fallback;
  return std::clamp(value, low, high);
}

class HatchConverter {
 public:
  HatchConverter(svg::SVGDocument& document, double size, double low, double high, double scale, double dot)
      : document_(document), size_(size), low_(low), high_(high), scale_(scale), dot_(dot) {}

  void Family(const HatchLine& line);
  const ConversionCount& Count() const { return count_; }

 private:
  // One line of a family, its origin and its end points on the window's edges.
  struct Placed {
    Point origin, first, second;
  };

  bool Overlaps(Point a, Point b) const {
    return std::max(a.x, b.x) >= low_ && std::min(a.x, b.x) <= high_ && std::max(a.y, b.y) >= low_ &&
           std::min(a.y, b.y) <= high_;
  }
  bool WhollyOutside(Point a, Point b) const {
    return (a.x < low_ && b.x < low_) || (a.x > high_ && b.x > high_) || (a.y < low_ && b.y < low_) ||
           (a.y > high_ && b.y > high_);
  }
  bool Spent() const { return count_.truncated; }
  void EmitLine(const Placed& placed, const HatchLine& line, Point direction);
  void WalkDashes(const Placed& placed, const std::vector<double>& dashes, Point direction, bool forwards);
  void Segment(svg::PathSegmentList& segments, Point from, Point to);

  svg::SVGDocument& document_;
  svg::PathSegmentList* segments_ = nullptr;
  double size_, low_, high_, scale_, dot_;
  size_t steps_ = 0;
  ConversionCount count_;
};

void HatchConverter::Segment(svg::PathSegmentList& segments, Point from, Point to) {
  if (count_.dashes >= kMaxHatchDashes) {
    count_.truncated = true;
    return;
  }
  ++count_.dashes;
  // The pattern's y axis points up.
  svg::MoveTo(segments, from.x, size_ - from.y, false);
  svg::LineTo(segments, to.x, size_ - to.y, false);
}

void HatchConverter::Family(const HatchLine& line) {
  if (Spent() || !AllFinite(line)) return;
  const double theta = line.angle * M_PI / 180.0;
  const double cosine = std::cos(theta), sine = std::sin(theta), slope = std::tan(theta);
  const Point origin{line.originX * scale_, line.originY * scale_};
  const bool steep = std::fabs(slope) >= 1.0;
  Placed base{origin, {}, {}};
  if (steep) {
    base.first = {(low_ - origin.y) / slope + origin.x, low_};
    base.second = {(high_ - origin.y) / slope + origin.x, high_};
  } else {
    base.first = {low_, origin.y + (low_ - origin.x) * slope};
    base.second = {high_, origin.y + (high_ - origin.x) * slope};
  }
  const double spacing = line.deltaY * scale_;
  const double k = steep ? -spacing / sine : spacing / cosine;
  const Point shift = steep ? Point{k, 0.0} : Point{0.0, k};
  const Point originStep{scale_ * (line.deltaX * cosine - line.deltaY * sine),
                         scale_ * (line.deltaX * sine + line.deltaY * cosine)};
  const bool repeats = std::fabs(spacing) >= kMinLineSpacing && std::isfinite(k);
  const Point direction{scale_ * cosine, scale_ * sine};

  auto placed = [&](double index) {
    return Placed{base.origin + originStep * index, base.first + shift * index, base.second + shift * index};
  };

  // A base line off the tile: jump to the first line of the family that reaches it. The origin moves
  // with it, so the dashes keep the family's phase.
  double first = 0.0;
  if (WhollyOutside(base.first, base.second)) {
    if (!repeats) return;
    const double nearLow =
        steep ? std::max(base.first.x, base.second.x) : std::max(base.first.y, base.second.y);
    const double nearHigh =
        steep ? std::min(base.first.x, base.second.x) : std::min(base.first.y, base.second.y);
    const double move = nearLow < low_ ? low_ - nearLow : high_ - nearHigh;
    first = std::ceil(std::fabs(move) / std::fabs(k)) * ((move < 0.0) == (k < 0.0) ? 1.0 : -1.0);
    if (!(std::fabs(first) <= kMaxApproachSteps)) return;
    const Placed reached = placed(first);
    if (WhollyOutside(reached.first, reached.second)) return;  // the family passes the tile by
  }
  EmitLine(placed(first), line, direction);
  if (!repeats) return;
  for (double index = first + 1.0; !Spent(); index += 1.0) {
    const Placed next = placed(index);
    if (WhollyOutside(next.first, next.second)) break;
    EmitLine(next, line, direction);
  }
  for (double index = first - 1.0; !Spent(); index -= 1.0) {
    const Placed next = placed(index);
    if (WhollyOutside(next.first, next.second)) break;
    EmitLine(next, line, direction);
  }
}

void HatchConverter::EmitLine(const Placed& placed, const HatchLine& line, Point direction) {
  if (count_.lines >= kMaxHatchLines) {
    count_.truncated = true;
    return;
  }
  ++count_.lines;
  if (!document_.OpenElement(svg::ElementType::kPath)) return;
  auto& segments = static_cast<svg::SVGPathElement&>(*document_.CurrentElement()).segments;
  double period = 0.0;
  for (double v : line.dashes) period += std::fabs(v);
  const double periodPixels = period * scale_;
  const double reach =
      std::max(std::hypot(placed.first.x - placed.origin.x, placed.first.y - placed.origin.y),
               std::hypot(placed.second.x - placed.origin.x, placed.second.y - placed.origin.y));
  // So far from its origin the dash phase has no precision left: the line is drawn as if finely dashed.
  if (line.dashes.empty() || periodPixels < kMinDashPeriod || reach > periodPixels * kMaxDashPeriods) {
    const bool drawn = line.dashes.empty() ||
                       std::any_of(line.dashes.begin(), line.dashes.end(), [](double v) { return v >= 0.0; });
    if (drawn) Segment(segments, placed.first, placed.second);
  } else {
    segments_ = &segments;
    WalkDashes(placed, line.dashes, direction, true);
    WalkDashes(placed, line.dashes, direction, false);
  }
  document_.CloseElement();
}

// Walks the dash list from the line's origin in one direction, emitting the dashes and dots whose
// extent meets the window, and stops once past the window.
void HatchConverter::WalkDashes(const Placed& placed, const std::vector<double>& dashes, Point direction,
                                bool forwards) {
  const Point origin = placed.origin;
  double period = 0.0;
  for (double v : dashes) period += std::fabs(v);
  const double periodPixels = period * scale_;

  // The clipped line's extent along the walk, in pixels from the origin: dashes wholly before its near
  // end or beyond its far end can't meet the window, so whole periods before it are skipped and the
  // walk ends past it.
  const Point unit = direction * (1.0 / scale_);
  const double sign = forwards ? 1.0 : -1.0;
  const auto along = [&](Point p) { return sign * ((p.x - origin.x) * unit.x + (p.y - origin.y) * unit.y); };
  const double nearEdge = std::min(along(placed.first), along(placed.second));
  const double farEdge = std::max(along(placed.first), along(placed.second));
  const double skipped = std::max(0.0, std::floor(nearEdge / periodPixels) - 1.0);
  double a = sign * skipped * period;

  Point from = origin + direction * a;
  bool started = false;
  const size_t count = dashes.size();
  for (size_t i = 0; !Spent(); ++i) {
    if (++steps_ > kMaxWalkSteps) {
      count_.truncated = true;
      return;
    }
    const double v = forwards ? dashes[i % count] : dashes[count - 1 - i % count];
    a += sign * std::fabs(v);
    Point start = from;
    Point end = origin + direction * a;
    if (v == 0.0) {
      start = origin + direction * (a - dot_);
      end = origin + direction * (a + dot_);
    }
    if (Overlaps(start, end)) {
      if (v >= 0.0) Segment(*segments_, start, end);
      started = true;
    } else if (started || std::fabs(a) * scale_ > farEdge) {
      return;
    }
    from = v == 0.0 ? start : end;
  }
}

}  // namespace

ConversionCount ConvertPattern(svg::SVGDocument& document, const HatchPattern& pattern,
                               const document::PatternSettings& settings, double size, double margin) {
  const float lineWidth = Held(settings.lineWidth, 0.0f, 256.0f, 1.0f);
  const float repeat = Held(settings.repeat, 0.01f, 256.0f, 1.0f);
  document.OpenElement(svg::ElementType::kSvg);
  // The root's viewport would clip the lines at the tile's edge, where the margin must still show
  // them; a viewport of negative size clips nothing, and the view box keeps the units as they are.
  bool script = false;
  document.ReadAttribute(u"width", u"-1", script);
  document.ReadAttribute(u"height", u"-1", script);
  document.ReadAttribute(u"viewBox", u"0 0 " + Fixed(size) + u" " + Fixed(size), script);
  document.SetProperty(svg::PropertyId::kFill, u"none", svg::kFlagAttribute);
  document.SetProperty(svg::PropertyId::kStroke, StrokeColour(settings.lineColour), svg::kFlagAttribute);
  document.SetProperty(svg::PropertyId::kStrokeWidth, Fixed(size * 0.005 * lineWidth), svg::kFlagAttribute);
  const size_t cap =
      settings.lineCap == 0 || settings.lineCap == 1 ? static_cast<size_t>(settings.lineCap) : 2;
  document.SetProperty(svg::PropertyId::kStrokeLinecap, kCapNames[cap], svg::kFlagAttribute);

  const auto low = static_cast<double>(-(static_cast<float>(margin) + lineWidth));
  const auto high = static_cast<double>(static_cast<float>(size) + static_cast<float>(margin) + lineWidth);
  // The tile's height holds repeat x largestDeltaY pattern units.
  const double scale = static_cast<double>(static_cast<float>(size) / repeat) / pattern.largestDeltaY;
  ConversionCount count;
  if (std::isfinite(scale) && scale > 0.0) {
    const double dot = settings.lineCap == 2 ? lineWidth * 0.5 / scale : 0.0001;
    HatchConverter converter(document, size, low, high, scale, dot);
    for (const HatchLine& line : pattern.lines) converter.Family(line);
    count = converter.Count();
  }
  document.CloseElement();
  return count;
}

}  // namespace formats::pat
