#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <agg_path_storage.h>

namespace svg {

class SvgScriptCallback;

// Splits path data (and point lists) into command letters and numbers.
class PathTokenizer {
 public:
  explicit PathTokenizer(std::u16string_view text) : text_(text) {}

  // Reads the next token: a command letter with the number after it, or a number alone.
  // Throws svg::exception 12 on a character that is neither command, numeric nor separator.
  bool Next();
  // The next number, which must still belong to command; throws 13 at the end and 14 otherwise.
  double NextNumber(char16_t command);
  // An arc flag of the same command: a lone "0" or "1" is taken by itself, anything else as a number.
  bool NextFlag(char16_t command);

  double LastNumber() const { return lastNumber_; }
  char16_t LastCommand() const { return lastCommand_; }
  void SetLastCommand(char16_t command) { lastCommand_ = command; }

 private:
  std::u16string_view text_;
  size_t pos_ = 0;
  double lastNumber_ = 0.0;
  char16_t lastCommand_ = 0;
};

// One segment of a path; the type numbers are the SVG DOM constants.
class SVGPathSeg {
 public:
  SVGPathSeg(uint32_t type, char16_t letter) : type_(type), letter_(letter) {}
  virtual ~SVGPathSeg() = default;

  virtual void AppendTo(agg::path_storage& path) const = 0;
  // Writes the segment as path-data text; the letter is written only when it differs from previous.
  virtual void Write(std::u16string& out, char16_t previous) const = 0;

  uint32_t Type() const { return type_; }
  char16_t Letter() const { return letter_; }
  bool IsRelative() const { return letter_ >= u'a' && letter_ <= u'z'; }

 private:
  uint32_t type_;
  char16_t letter_;
};

using PathSegmentList = std::vector<std::unique_ptr<SVGPathSeg>>;

// Appenders used by the parser, the placeholder drawing and the hatch converter.
void MoveTo(PathSegmentList& list, double x, double y, bool relative);
void LineTo(PathSegmentList& list, double x, double y, bool relative);
void HLineTo(PathSegmentList& list, double x, bool relative);
void VLineTo(PathSegmentList& list, double y, bool relative);
void CurveTo(PathSegmentList& list, double x1, double y1, double x2, double y2, double x, double y, bool relative);
void SmoothCurveTo(PathSegmentList& list, double x2, double y2, double x, double y, bool relative);
void QuadTo(PathSegmentList& list, double x1, double y1, double x, double y, bool relative);
void SmoothQuadTo(PathSegmentList& list, double x, double y, bool relative);
void ArcTo(PathSegmentList& list, double rx, double ry, double angle, bool largeArc, bool sweep, double x, double y,
           bool relative);
void ClosePath(PathSegmentList& list);

// Empties list and parses text into it; throws svg::exception 11-14, keeping the segments read so far.
void ParsePathData(std::u16string_view text, PathSegmentList& list);

// Appends every segment's vertices to path, in order.
void AppendSegments(const PathSegmentList& list, agg::path_storage& path);

// Segments as path-data text, separated by single spaces (" d=" and quotes are the element's).
std::u16string WriteSegments(const PathSegmentList& list);

}  // namespace svg
