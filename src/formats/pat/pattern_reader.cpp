#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "formats/pat/hatch_pattern.h"
#include "platform/wide_text.h"
#include "svg/number_parse.h"

namespace formats::pat {
namespace {

bool IsTokenSeparator(char16_t c) { return c == u' ' || c == u'\t' || c == u','; }

// Reads one text line of at most kMaxLineLength characters, bytes widened as Latin-1; the rest of
// a longer line is skipped so that it can't pose as further lines. False at end of input.
bool NextLine(std::streambuf& source, std::u16string& line) {
  line.clear();
  bool any = false;
  bool ended = false;  // a NUL ends the text a C reader would see
  for (int c = source.sbumpc(); c != std::char_traits<char>::eof(); c = source.sbumpc()) {
    any = true;
    if (c == '\n') return true;
    if (c == '\0') ended = true;
    if (!ended && line.size() < kMaxLineLength)
      line.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return any;
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && svg::IsSpaceChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && svg::IsSpaceChar(text.back())) text.remove_suffix(1);
  return text;
}

double NormalisedAngle(double degrees) {
  double angle = std::fmod(degrees, 360.0);
  if (angle < 0.0) angle += 360.0;
  // A tiny negative angle rounds up to exactly 360 when raised.
  return angle >= 360.0 ? 0.0 : angle;
}

HatchLine ParseDefinition(std::u16string_view text) {
  HatchLine line;
  double* const fields[] = {&line.angle, &line.originX, &line.originY, &line.deltaX, &line.deltaY};
  size_t count = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsTokenSeparator(text[pos])) ++pos;
    const size_t start = pos;
    while (pos < text.size() && !IsTokenSeparator(text[pos])) ++pos;
    if (pos == start) break;
    const double value = svg::ParseNumberPrefix(text.substr(start, pos - start));
    if (count < std::size(fields)) {
      *fields[count] = value;
    } else if (line.dashes.size() < kMaxDashes) {
      line.dashes.push_back(value);
    }
    ++count;
  }
  line.angle = NormalisedAngle(line.angle);
  return line;
}

class PatternCollector {
 public:
  explicit PatternCollector(std::vector<HatchPattern>& patterns) : patterns_(patterns) {}

  void Header(std::u16string_view name) {
    Finish();
    current_ = HatchPattern{};
    current_.name = std::u16string(name.substr(0, kMaxNameLength));
    named_ = true;
  }

  void Definition(std::u16string_view text) {
    if (!named_ || families_ >= kMaxFamilies) return;  // lines before the first header belong to no pattern
    HatchLine line = ParseDefinition(text);
    if (std::fabs(line.deltaY) > current_.largestDeltaY) current_.largestDeltaY = std::fabs(line.deltaY);
    current_.lines.push_back(std::move(line));
    ++families_;
  }

  void Finish() {
    if (named_ && kept_ < kMaxPatterns) {
      patterns_.push_back(std::move(current_));
      ++kept_;
    }
    named_ = false;
  }

  bool Full() const { return kept_ >= kMaxPatterns; }

 private:
  std::vector<HatchPattern>& patterns_;
  HatchPattern current_;
  bool named_ = false;
  size_t kept_ = 0;
  size_t families_ = 0;
};

}  // namespace

void ReadPatterns(std::streambuf& source, std::vector<HatchPattern>& patterns) {
  PatternCollector collector(patterns);
  std::u16string buffer;
  while (!collector.Full() && NextLine(source, buffer)) {
    std::u16string_view line = Trim(buffer);
    line = Trim(line.substr(0, line.find(u';')));
    if (line.empty()) continue;
    if (line.front() == u'*') {
      collector.Header(line.substr(1));
    } else {
      collector.Definition(line);
    }
  }
  collector.Finish();
}

void ReadPatterns(std::string_view text, std::vector<HatchPattern>& patterns) {
  std::stringbuf source{std::string(text), std::ios::in};
  ReadPatterns(source, patterns);
}

bool ReadPatternFile(std::u16string_view path, svg::LoadError& error, std::vector<HatchPattern>& patterns) {
  const std::filesystem::path name(platform::WideToUtf8(path));
  std::error_code ignored;
  std::filebuf file;
  // A folder opens on this platform but reads nothing; it is no more a pattern file than a missing one.
  if (std::filesystem::is_directory(name, ignored) || file.open(name, std::ios::in) == nullptr) {
    error.code = 1;
    return false;
  }
  ReadPatterns(file, patterns);
  return true;
}

}  // namespace formats::pat
