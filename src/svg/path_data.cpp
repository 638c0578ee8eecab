#include "svg/path_data.h"

#include <array>

#include "svg/exception.h"
#include "svg/number_parse.h"
#include "svg/path_segments.h"

namespace svg {
namespace {

enum CharClass : uint8_t { kCommand = 1, kNumeric = 2, kSeparator = 4 };

constexpr std::array<uint8_t, 256> BuildCharClasses() {
  std::array<uint8_t, 256> classes{};
  for (const char c : std::string_view("+-MmZzLlHhVvCcSsQqTtAaFfPp"))
    classes[static_cast<uint8_t>(c)] |= kCommand;
  for (const char c : std::string_view("+-.Ee0123456789")) classes[static_cast<uint8_t>(c)] |= kNumeric;
  for (const char c : std::string_view(" ,\t\n\r")) classes[static_cast<uint8_t>(c)] |= kSeparator;
  return classes;
}

// Wide characters are classified by their low byte.
constexpr std::array<uint8_t, 256> kCharClasses = BuildCharClasses();

// Longer numbers are cut here; the rest of the digits become the next token.
constexpr size_t kMaxNumberLength = 255;

bool Is(char16_t c, CharClass charClass) { return (kCharClasses[c & 0xFF] & charClass) != 0; }

bool IsSign(char16_t c) { return c == u'+' || c == u'-'; }

}  // namespace

bool PathTokenizer::Next() {
  while (pos_ < text_.size() && !Is(text_[pos_], kCommand) && !Is(text_[pos_], kNumeric)) {
    if (!Is(text_[pos_], kSeparator)) throw exception(kErrorInvalidCharacter, text_[pos_]);
    ++pos_;
  }
  if (pos_ >= text_.size()) return false;

  const char16_t c = text_[pos_];
  if (Is(c, kCommand) && !IsSign(c)) {
    lastCommand_ = c;
    ++pos_;
    while (pos_ < text_.size() && Is(text_[pos_], kSeparator)) ++pos_;
    if (pos_ >= text_.size()) return true;
  }

  const size_t start = pos_;
  while (pos_ < text_.size() && pos_ - start < kMaxNumberLength && IsSign(text_[pos_])) ++pos_;
  // A second point, or a point in the exponent, starts the next number ("1.5.5" is 1.5 and .5), as
  // minifiers write it.
  bool point = false;
  bool exponent = false;
  while (pos_ < text_.size() && pos_ - start < kMaxNumberLength && Is(text_[pos_], kNumeric)) {
    const char16_t d = text_[pos_];
    const bool afterE = pos_ > start && (text_[pos_ - 1] == u'e' || text_[pos_ - 1] == u'E');
    if (IsSign(d) && pos_ > start && !afterE) break;
    if (d == u'.' && (point || exponent)) break;
    if ((d == u'e' || d == u'E') && exponent) break;
    point = point || d == u'.';
    exponent = exponent || d == u'e' || d == u'E';
    ++pos_;
  }
  lastNumber_ = ParseNumberPrefix(text_.substr(start, pos_ - start));
  return true;
}

bool PathTokenizer::NextFlag(char16_t command) {
  while (pos_ < text_.size() && Is(text_[pos_], kSeparator)) ++pos_;
  // Arc flags are single digits and may run into what follows them ("0140 0" is 0, 1, 40, 0).
  if (pos_ < text_.size() && (text_[pos_] == u'0' || text_[pos_] == u'1')) {
    lastNumber_ = text_[pos_++] == u'1' ? 1.0 : 0.0;
    return lastNumber_ != 0.0;
  }
  return NextNumber(command) != 0.0;
}

double PathTokenizer::NextNumber(char16_t command) {
  if (!Next()) throw exception(kErrorUnexpectedEnd);
  if (lastCommand_ != command) throw exception(kErrorBadParameters, command);
  return lastNumber_;
}

void MoveTo(PathSegmentList& list, double x, double y, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegMovetoRel>(x, y));
  } else {
    list.push_back(std::make_unique<SVGPathSegMovetoAbs>(x, y));
  }
}

void LineTo(PathSegmentList& list, double x, double y, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegLinetoRel>(x, y));
  } else {
    list.push_back(std::make_unique<SVGPathSegLinetoAbs>(x, y));
  }
}

void HLineTo(PathSegmentList& list, double x, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegLinetoHorizontalRel>(x));
  } else {
    list.push_back(std::make_unique<SVGPathSegLinetoHorizontalAbs>(x));
  }
}

void VLineTo(PathSegmentList& list, double y, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegLinetoVerticalRel>(y));
  } else {
    list.push_back(std::make_unique<SVGPathSegLinetoVerticalAbs>(y));
  }
}

void CurveTo(PathSegmentList& list, double x1, double y1, double x2, double y2, double x, double y,
             bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegCurvetoCubicRel>(x, y, x1, y1, x2, y2));
  } else {
    list.push_back(std::make_unique<SVGPathSegCurvetoCubicAbs>(x, y, x1, y1, x2, y2));
  }
}

// Whether the last segment of list is one of the letters: a smooth curve mirrors only a control
// point of its own kind of curve, so that after a line or an arc it starts at the current point.
bool EndsWith(const PathSegmentList& list, std::u16string_view letters) {
  return !list.empty() && letters.find(list.back()->Letter()) != std::u16string_view::npos;
}

void SmoothCurveTo(PathSegmentList& list, double x2, double y2, double x, double y, bool relative) {
  const bool reflects = EndsWith(list, u"CcSs");
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegCurvetoCubicSmoothRel>(x, y, x2, y2, reflects));
  } else {
    list.push_back(std::make_unique<SVGPathSegCurvetoCubicSmoothAbs>(x, y, x2, y2, reflects));
  }
}

void QuadTo(PathSegmentList& list, double x1, double y1, double x, double y, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegCurvetoQuadraticRel>(x, y, x1, y1));
  } else {
    list.push_back(std::make_unique<SVGPathSegCurvetoQuadraticAbs>(x, y, x1, y1));
  }
}

void SmoothQuadTo(PathSegmentList& list, double x, double y, bool relative) {
  const bool reflects = EndsWith(list, u"QqTt");
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegCurvetoQuadraticSmoothRel>(x, y, reflects));
  } else {
    list.push_back(std::make_unique<SVGPathSegCurvetoQuadraticSmoothAbs>(x, y, reflects));
  }
}

void ArcTo(PathSegmentList& list, double rx, double ry, double angle, bool largeArc, bool sweep, double x,
           double y, bool relative) {
  if (relative) {
    list.push_back(std::make_unique<SVGPathSegArcRel>(x, y, rx, ry, angle, largeArc, sweep));
  } else {
    list.push_back(std::make_unique<SVGPathSegArcAbs>(x, y, rx, ry, angle, largeArc, sweep));
  }
}

void ClosePath(PathSegmentList& list) { list.push_back(std::make_unique<SVGPathSegClosePath>()); }

void ParsePathData(std::u16string_view text, PathSegmentList& list) {
  list.clear();
  PathTokenizer tokens(text);
  while (tokens.Next()) {
    const char16_t command = tokens.LastCommand();
    const bool relative = command >= u'a' && command <= u'z';
    switch (command) {
      case u'M':
      case u'm': {
        const double x = tokens.LastNumber();
        const double y = tokens.NextNumber(command);
        MoveTo(list, x, y, relative);
        // Further coordinate pairs after a moveto are linetos.
        tokens.SetLastCommand(relative ? u'l' : u'L');
        break;
      }
      case u'L':
      case u'l': {
        const double x = tokens.LastNumber();
        const double y = tokens.NextNumber(command);
        LineTo(list, x, y, relative);
        break;
      }
      case u'H':
      case u'h':
        HLineTo(list, tokens.LastNumber(), relative);
        break;
      case u'V':
      case u'v':
        VLineTo(list, tokens.LastNumber(), relative);
        break;
      case u'C':
      case u'c': {
        const double x1 = tokens.LastNumber();
        const double y1 = tokens.NextNumber(command);
        const double x2 = tokens.NextNumber(command);
        const double y2 = tokens.NextNumber(command);
        const double x = tokens.NextNumber(command);
        const double y = tokens.NextNumber(command);
        CurveTo(list, x1, y1, x2, y2, x, y, relative);
        break;
      }
      case u'S':
      case u's': {
        const double x2 = tokens.LastNumber();
        const double y2 = tokens.NextNumber(command);
        const double x = tokens.NextNumber(command);
        const double y = tokens.NextNumber(command);
        SmoothCurveTo(list, x2, y2, x, y, relative);
        break;
      }
      case u'Q':
      case u'q': {
        const double x1 = tokens.LastNumber();
        const double y1 = tokens.NextNumber(command);
        const double x = tokens.NextNumber(command);
        const double y = tokens.NextNumber(command);
        QuadTo(list, x1, y1, x, y, relative);
        break;
      }
      case u'T':
      case u't': {
        const double x = tokens.LastNumber();
        const double y = tokens.NextNumber(command);
        SmoothQuadTo(list, x, y, relative);
        break;
      }
      case u'A':
      case u'a': {
        const double rx = tokens.LastNumber();
        const double ry = tokens.NextNumber(command);
        const double angle = tokens.NextNumber(command);
        const bool largeArc = tokens.NextFlag(command);
        const bool sweep = tokens.NextFlag(command);
        const double x = tokens.NextNumber(command);
        const double y = tokens.NextNumber(command);
        ArcTo(list, rx, ry, angle, largeArc, sweep, x, y, relative);
        break;
      }
      case u'Z':
      case u'z':
        ClosePath(list);
        break;
      default:
        throw exception(kErrorInvalidCommand, command);
    }
  }
}

void AppendSegments(const PathSegmentList& list, agg::path_storage& path) {
  for (const auto& segment : list) segment->AppendTo(path);
}

std::u16string WriteSegments(const PathSegmentList& list) {
  std::u16string out;
  char16_t previous = 0;
  for (const auto& segment : list) {
    if (!out.empty()) out.push_back(u' ');
    segment->Write(out, previous);
    previous = segment->Letter();
  }
  return out;
}

}  // namespace svg
