#include "svg/loader.h"

#include <expat.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/regular_file.h"
#include "platform/wide_text.h"
#include "svg/attribute_reader.h"
#include "svg/bounds.h"
#include "svg/colour.h"
#include "svg/exception.h"
#include "svg/limits.h"

namespace svg {
namespace {

struct ParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

// Bytes, after the end of the text fed so far, that expat may hold back from a run of character
// data: the start of a UTF-8 sequence cut by the block end.
constexpr uint64_t kHeldBackBytes = 4;

// The state of one load, reached from expat's handlers through the user-data pointer.
class SVGLoader {
 public:
  SVGLoader(SVGDocument& document, LoadError& error, XML_Parser parser)
      : document_(document), error_(error), parser_(parser), attributes_(document, scriptCount_) {}

  static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<SVGLoader*>(self)->Guarded([&](SVGLoader& loader) { loader.StartElement(name, attributes); });
  }
  static void XMLCALL OnEnd(void* self, const XML_Char* name) {
    static_cast<SVGLoader*>(self)->Guarded([&](SVGLoader& loader) { loader.EndElement(name); });
  }
  static void XMLCALL OnCharacters(void* self, const XML_Char* data, int length) {
    static_cast<SVGLoader*>(self)->Guarded(
        [&](SVGLoader& loader) { loader.Characters(std::string_view(data, static_cast<size_t>(length))); });
  }

  uint32_t ScriptCount() const { return scriptCount_; }
  // Rethrows a value-parser exception that stopped the parser.
  void RethrowPending() {
    if (pending_) throw *pending_;
  }
  const std::optional<std::u16string>& LimitMessage() const { return limitMessage_; }

  // Called before each block goes to the parser: where the text fed so far ends, and whether it is
  // all of it.
  void Fed(uint64_t end, bool final) {
    fedEnd_ = end;
    final_ = final;
  }

 private:
  // Exceptions must not unwind through expat's C frames: stop the parser and rethrow afterwards.
  template <typename Handler>
  void Guarded(Handler handler) {
    if (stopped_) return;
    try {
      handler(*this);
    } catch (const exception& thrown) {
      pending_ = thrown;
      Stop();
    }
  }

  void Stop() {
    stopped_ = true;
    XML_StopParser(parser_, XML_FALSE);
  }

  void FailOnLimit(std::u16string message) {
    limitMessage_ = std::move(message);
    Stop();
  }

  void StartElement(const XML_Char* rawName, const XML_Char** rawAttributes) {
    FlushStyleText();
    error_.line = static_cast<uint32_t>(XML_GetCurrentLineNumber(parser_));
    if (++depth_ > kMaxElementDepth) return FailOnLimit(u"elements nested deeper than 512 levels");
    if (++elementCount_ > kMaxElementCount) return FailOnLimit(u"more than 1000000 elements");

    const std::u16string name = platform::Utf8ToWide(rawName);
    std::vector<std::pair<std::u16string, std::u16string>> pairs;
    for (const XML_Char** a = rawAttributes; a[0] != nullptr && a[1] != nullptr; a += 2) {
      pairs.emplace_back(platform::Utf8ToWide(a[0]), platform::Utf8ToWide(a[1]));
    }
    ElementType type = LookupElementType(name);
    switch (type) {
      case ElementType::kStyle:
        attributes_.SetMode(kModeStyleElement);
        return;
      case ElementType::kTitle:
      case ElementType::kDesc:
        document_.OpenElement(type);
        collected_.clear();
        collecting_ = true;
        return;
      case ElementType::kA:
        FlushText();
        document_.OpenElement(type);
        ReadAttributes(pairs, false);
        if (collecting_) document_.OpenElement(ElementType::kTSpan);
        return;
      case ElementType::kText:
      case ElementType::kTSpan:
      case ElementType::kTRef:
      case ElementType::kTextPath:
        FlushText();
        if (document_.OpenElement(type)) ReadAttributes(pairs, true);
        collecting_ = true;
        return;
      case ElementType::kUnknown:
      case ElementType::kG:
      case ElementType::kDefs:
        document_.OpenElement(type);
        ReadAttributes(pairs, false);
        return;
      case ElementType::kAltGlyph:
      case ElementType::kAltGlyphDef:
      case ElementType::kAltGlyphItem:
      case ElementType::kGlyphRef:
        document_.OpenElement(ElementType::kUnknown);
        ReadAttributes(pairs, false);
        return;
      default:
        if (document_.OpenElement(type)) ReadAttributes(pairs, true);
        return;
    }
  }

  void ReadAttributes(const std::vector<std::pair<std::u16string, std::u16string>>& pairs, bool ownToo) {
    SVGElement* element = document_.CurrentElement();
    for (const auto& [name, value] : pairs) {
      if (attributes_.ReadGeneric(name, value) || !ownToo || element == nullptr) continue;
      bool script = false;
      if (element->ReadAttribute(name, value, script) && script) ++scriptCount_;
    }
  }

  void EndElement(const XML_Char* rawName) {
    FlushStyleText();
    --depth_;
    const ElementType type = LookupElementType(platform::Utf8ToWide(rawName));
    switch (type) {
      case ElementType::kA:
      case ElementType::kText:
      case ElementType::kTSpan:
      case ElementType::kTRef:
      case ElementType::kTextPath:
        FlushText();
        document_.CloseElement();
        if (collecting_ && type == ElementType::kA) document_.CloseElement();
        if (type == ElementType::kText) collecting_ = false;
        return;
      case ElementType::kTitle:
      case ElementType::kDesc: {
        SVGElement* current = document_.CurrentElement();
        if (!collected_.empty() && current != nullptr && current->type == type) current->text = collected_;
        collected_.clear();
        collecting_ = false;
        document_.CloseElement();
        return;
      }
      case ElementType::kStyle:
        attributes_.SetMode(kModeAttributes);
        return;
      default:
        document_.CloseElement();
        return;
    }
  }

  // Text gathered so far inside a text element becomes an anonymous tspan.
  void FlushText() {
    if (!collecting_ || collected_.empty()) return;
    SVGElement* current = document_.CurrentElement();
    if (current != nullptr && current->type != ElementType::kTRef && document_.OpenElement(ElementType::kTSpan)) {
      document_.CurrentElement()->text = collected_;
      if (ContainsScript(collected_)) ++scriptCount_;
      document_.CloseElement();
    }
    collected_.clear();
  }

  void Characters(std::string_view data) {
    if (attributes_.Mode() & kModeStyleElement) return StyleCharacters(data);
    if (collecting_) collected_ += platform::Utf8ToWide(data);
  }

  // Style-sheet rules are cut into chunks where expat reports character data, so the chunks must
  // not depend on how the file was read: a run that expat cut only because its block ended is
  // joined with its continuation, giving the chunks of the whole text parsed at once.
  void StyleCharacters(std::string_view data) {
    const XML_Index start = XML_GetCurrentByteIndex(parser_);
    const int count = XML_GetCurrentByteCount(parser_);
    // A plain run spans exactly its own bytes; newlines, references and CDATA marks never continue one.
    const bool plainRun = start >= 0 && count > 0 && static_cast<size_t>(count) == data.size() && data != "\n";
    const uint64_t end = static_cast<uint64_t>(start) + static_cast<uint64_t>(count);
    if (!plainRun || static_cast<uint64_t>(start) != styleTextEnd_) FlushStyleText();
    styleText_ += data;
    styleTextEnd_ = end;
    if (!plainRun || final_ || end + kHeldBackBytes < fedEnd_) FlushStyleText();
  }

  void FlushStyleText() {
    if (styleText_.empty()) return;
    attributes_.AddStyleSheetText(platform::Utf8ToWide(styleText_));
    styleText_.clear();
  }

  SVGDocument& document_;
  LoadError& error_;
  XML_Parser parser_;
  uint32_t scriptCount_ = 0;
  AttributeReader attributes_;
  bool collecting_ = false;
  std::u16string collected_;
  std::string styleText_;  // a run of style-sheet text that may continue in the next block
  uint64_t styleTextEnd_ = 0;
  uint64_t fedEnd_ = 0;
  bool final_ = false;
  uint32_t depth_ = 0;
  uint32_t elementCount_ = 0;
  bool stopped_ = false;
  std::optional<exception> pending_;
  std::optional<std::u16string> limitMessage_;
};

std::u16string BaseFolderOf(std::u16string_view path) {
  std::u16string folder(path);
  for (char16_t& c : folder) {
    if (c == u'\\') c = u'/';
  }
  const size_t slash = folder.rfind(u'/');
  return slash == std::u16string::npos ? std::u16string() : folder.substr(0, slash + 1);
}

void FillExtent(SVGDocument& document, DocumentExtent& extent) {
  // Percentages of the root refer to its viewBox when it has a valid one, else to 1024 x 1024.
  const ViewBoxRect box = document.viewBox.GetRect(nullptr, true);
  const double referenceWidth = box.valid ? box.x2 : 1024.0;
  const double referenceHeight = box.valid ? box.y2 : 1024.0;
  extent = DocumentExtent{};
  extent.width = document.width.ToUserUnits(nullptr, referenceWidth, 12.0);
  extent.height = document.height.ToUserUnits(nullptr, referenceHeight, 12.0);
  if (extent.width > 0.0 && extent.height > 0.0) return;

  Rect bounds;
  SubtreeBounds(document, bounds, BoundsQuery{nullptr, &document.styleSheet, nullptr}, agg::trans_affine());
  if (!bounds.IsEmpty()) {
    extent.width = bounds.x2 - bounds.x1;
    extent.height = bounds.y2 - bounds.y1;
  }
}

bool Feed(XML_Parser parser, SVGLoader& loader, std::FILE* file, size_t readBlock, FeedCounts& counts) {
  std::vector<char> block(readBlock);
  uint64_t fed = 0;
  for (;;) {
    const size_t count = std::fread(block.data(), 1, block.size(), file);
    const bool last = count < block.size();
    fed += count;
    loader.Fed(fed, last);
    ++counts.parseCalls;
    counts.largestBlock = std::max(counts.largestBlock, count);
    if (XML_Parse(parser, block.data(), static_cast<int>(count), last) != XML_STATUS_OK) return false;
    if (last) return true;
    // Doubling keeps the re-scans of one unfinished token linear in its length, however long it is.
    if (block.size() <= kMaxReadBlock / 2) block.resize(block.size() * 2);
  }
}

bool LoadFrom(SVGDocument& document, LoadError& error, bool fromText, std::u16string_view pathOrText,
              DocumentExtent& extent, size_t readBlock, FeedCounts& counts) {
  InitSystemColours();
  ParserHandle parser(XML_ParserCreate(nullptr));
  if (parser == nullptr) {
    error.code = 2;
    return false;
  }
  document.baseFolder = fromText ? std::u16string() : BaseFolderOf(pathOrText);

  SVGLoader loader(document, error, parser.get());
  XML_SetUserData(parser.get(), &loader);
  XML_SetElementHandler(parser.get(), &SVGLoader::OnStart, &SVGLoader::OnEnd);
  XML_SetCharacterDataHandler(parser.get(), &SVGLoader::OnCharacters);

  bool parsed = false;
  if (fromText) {
    const std::string utf8 = platform::WideToUtf8(pathOrText);
    loader.Fed(utf8.size(), true);
    ++counts.parseCalls;
    counts.largestBlock = utf8.size();
    parsed = XML_Parse(parser.get(), utf8.data(), static_cast<int>(utf8.size()), XML_TRUE) == XML_STATUS_OK;
  } else {
    const platform::FileHandle file = platform::OpenRegularFile(platform::WideToUtf8(pathOrText));
    if (file == nullptr) {
      error.code = 1;
      return false;
    }
    parsed = Feed(parser.get(), loader, file.get(), readBlock, counts);
  }
  loader.RethrowPending();

  if (!parsed) {
    const XML_Error code = XML_GetErrorCode(parser.get());
    const XML_LChar* text = XML_ErrorString(code);
    error.code = 3;
    error.SetMessage(loader.LimitMessage() ? *loader.LimitMessage()
                                           : platform::Utf8ToWide(text != nullptr ? text : "unknown error"));
    error.line = static_cast<uint32_t>(XML_GetCurrentLineNumber(parser.get()));
    error.column = static_cast<uint32_t>(XML_GetCurrentColumnNumber(parser.get()));
    return false;
  }
  if (loader.ScriptCount() > 0) document.hasScripts = true;
  FillExtent(document, extent);
  return true;
}

}  // namespace

bool Load(SVGDocument& document, LoadError& error, bool fromText, std::u16string_view pathOrText,
          DocumentExtent& extent) {
  FeedCounts counts;
  return LoadFrom(document, error, fromText, pathOrText, extent, kReadBlock, counts);
}

bool LoadFile(SVGDocument& document, LoadError& error, std::u16string_view path, DocumentExtent& extent,
              FeedCounts& counts, size_t readBlock) {
  return LoadFrom(document, error, false, path, extent, std::max<size_t>(readBlock, 1), counts);
}

}  // namespace svg
