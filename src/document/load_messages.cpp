#include "document/load_messages.h"

#include "svg/exception.h"

namespace document {
namespace {

std::u16string WithCharacter(std::u16string_view before, const svg::LoadError& error, std::u16string_view after) {
  std::u16string text(before);
  if (!error.message.empty()) text += error.message.front();
  text += after;
  return text;
}

}  // namespace

std::u16string ShownMessage(const svg::LoadError& error, std::u16string_view filePath) {
  switch (error.code) {
    case kErrorCantOpen: return u"Couldn't open file:\n" + std::u16string(filePath);
    case kErrorNoParser: return u"Couldn't allocate memory for svg-parser";
    case kErrorXml: {
      const std::string line = std::to_string(error.line);
      return u"XML-Error: " + error.message + u" at line " + std::u16string(line.begin(), line.end()) + u"\n";
    }
    case svg::kErrorInvalidCommand: return WithCharacter(u"parse_path: Invalid Command ", error, u"");
    case svg::kErrorInvalidCharacter: return WithCharacter(u"path_tokenizer::next : Invalid Character ", error, u"");
    case svg::kErrorUnexpectedEnd: return u"parse_path: Unexpected end of path";
    case svg::kErrorBadParameters: return WithCharacter(u"parse_path: Command ", error, u": bad or missing parameters");
    case svg::kErrorTooFewCoordinates: return u"parse_poly: Too few coordinates";
    case svg::kErrorOddCoordinates: return u"parse_poly: Odd number of coordinates";
    case kErrorImageDecode: return u"image decode error: " + error.message;
    case kErrorNotPdf: return u"\"" + std::u16string(filePath) + u"\" is not a PDF-file";
    case kErrorPdfLibrary: return u"Error reading PDF-file: " + std::u16string(filePath);
    case kErrorUnsupportedFormat: return error.message;
    case kErrorRenderMemory: return u"render: " + error.message;
    default: return u"";
  }
}

}  // namespace document
