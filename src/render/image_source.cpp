#include "render/image_source.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/asset_paths.h"
#include "platform/regular_file.h"
#include "platform/temp_folder.h"
#include "platform/wide_text.h"
#include "svg/script_callback.h"
#include "svg/structure_elements.h"

namespace render {
namespace {

constexpr uint32_t kImageDecodeError = 21;
constexpr size_t kMaxReportLength = 255;

constexpr std::u16string_view kDataImage = u"data:image";
constexpr std::u16string_view kPngBase64 = u"/png;base64,";
constexpr std::u16string_view kJpgBase64 = u"/jpg;base64,";
// image/jpeg is the registered type and what editors write; image/jpg is the older spelling.
constexpr std::u16string_view kJpegBase64 = u"/jpeg;base64,";
static_assert(kPngBase64.size() == kJpgBase64.size(), "the payload starts at the same place for both kinds");

constexpr std::array<int8_t, 128> kBase64Values = [] {
  std::array<int8_t, 128> values{};
  for (auto& value : values) value = -1;
  for (int i = 0; i < 26; ++i) {
    values['A' + i] = static_cast<int8_t>(i);
    values['a' + i] = static_cast<int8_t>(26 + i);
  }
  for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<int8_t>(52 + i);
  values['+'] = 62;
  values['/'] = 63;
  return values;
}();

bool IsWhiteSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The extension of the file name: the text after its last "." when shorter than four characters.
std::u16string ExtensionOf(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"/\\");
  const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos || name.size() - dot - 1 >= 4) return {};
  return std::u16string(name.substr(dot + 1));
}

// Embedded picture data on disk for the loader; the file goes when this does, on every path.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove(path_, error);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // A unique name from the system, with its extension replaced, holding bytes.
  bool Create(const char* extension, const std::string& bytes) {
    const auto unique = platform::MakeTemporaryFile("svg");
    if (!unique) return false;
    std::error_code error;
    std::filesystem::remove(*unique, error);
    std::filesystem::path path = *unique;
    path.replace_extension(extension);
    // "x": never write into a file this object did not create.
    platform::FileHandle file(std::fopen(path.c_str(), "wbx"));
    if (file == nullptr) return false;
    path_ = path;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
  }

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void Report(svg::SvgScriptCallback* callback, std::u16string_view message) {
  if (callback != nullptr) callback->ReportError(kImageDecodeError, message.substr(0, kMaxReportLength));
}

// A host may hand back anything; only a picture the rendering buffer can address is used.
bool IsUsable(const svg::PictureRecord& picture) {
  return picture.pixels != nullptr && picture.width > 0 && picture.height > 0 && picture.width <= INT_MAX / 4 &&
         picture.height <= INT_MAX;
}

void ApplyGamma(svg::PictureRecord& picture) {
  if (!(picture.gamma > 0.0f) || !std::isfinite(picture.gamma)) return;
  const double exponent = 1.0 / (static_cast<double>(picture.gamma) * 2.2);
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    table[i] = static_cast<uint8_t>(std::min(255.0, 255.0 * std::pow(i / 255.0, exponent)));
  }
  uint8_t* pixel = picture.pixels.get();
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  for (size_t i = 0; i < count; ++i, pixel += 4) {
    pixel[0] = table[pixel[0]];
    pixel[1] = table[pixel[1]];
    pixel[2] = table[pixel[2]];
  }
}

void Premultiply(svg::PictureRecord& picture) {
  uint8_t* pixel = picture.pixels.get();
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  for (size_t i = 0; i < count; ++i, pixel += 4) {
    const unsigned alpha = pixel[3];
    if (alpha == 255) continue;
    for (int c = 0; c < 3; ++c) pixel[c] = alpha == 0 ? 0 : static_cast<uint8_t>((pixel[c] * alpha + 255) >> 8);
  }
}

void Attach(svg::PictureRecord& picture, agg::rendering_buffer& buffer) {
  buffer.attach(picture.pixels.get(), picture.width, picture.height, static_cast<int>(picture.width * 4));
}

}  // namespace

ImageReference ClassifyImageReference(std::u16string_view reference, std::u16string_view* payload) {
  if (!StartsWithIgnoringCase(reference, kDataImage)) return ImageReference::kFile;
  const std::u16string_view rest = reference.substr(kDataImage.size());
  ImageReference kind = ImageReference::kUnsupported;
  if (StartsWithIgnoringCase(rest, kPngBase64)) kind = ImageReference::kEmbeddedPng;
  if (StartsWithIgnoringCase(rest, kJpgBase64)) kind = ImageReference::kEmbeddedJpg;
  if (kind != ImageReference::kUnsupported && payload != nullptr) *payload = rest.substr(kPngBase64.size());
  if (StartsWithIgnoringCase(rest, kJpegBase64)) {
    kind = ImageReference::kEmbeddedJpg;
    if (payload != nullptr) *payload = rest.substr(kJpegBase64.size());
  }
  return kind;
}

std::string DecodeBase64(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3 + 3);
  uint32_t group = 0;
  int count = 0;
  for (const char16_t c : text) {
    if (IsWhiteSpace(c)) continue;
    const int value = c < kBase64Values.size() ? kBase64Values[c] : -1;
    if (value < 0) break;
    group = (group << 6) | static_cast<uint32_t>(value);
    if (++count == 4) {
      bytes.push_back(static_cast<char>(group >> 16));
      bytes.push_back(static_cast<char>(group >> 8));
      bytes.push_back(static_cast<char>(group));
      group = 0;
      count = 0;
    }
  }
  if (count == 2) {
    bytes.push_back(static_cast<char>(group >> 4));
  } else if (count == 3) {
    bytes.push_back(static_cast<char>(group >> 10));
    bytes.push_back(static_cast<char>(group >> 2));
  }
  return bytes;
}

bool LoadImage(svg::SVGImageElement& image, RenderContext& context, agg::rendering_buffer& buffer) {
  svg::SvgScriptCallback* callback = context.scriptCallback;
  const std::u16string reference = image.href.Get(callback);
  std::u16string_view payload;
  const ImageReference kind = ClassifyImageReference(reference, &payload);
  if (kind == ImageReference::kUnsupported) return false;

  svg::PictureRecord& picture = image.picture;
  if (picture.pixels != nullptr) {
    Attach(picture, buffer);
    return true;
  }

  picture = svg::PictureRecord{};
  image.pictureExtension.clear();
  image.pictureFragment.clear();
  TemporaryFile temporary;
  if (kind == ImageReference::kFile) {
    platform::ResolvedAsset asset;
    if (!platform::ResolveFilePath(context.basePath, context.baseReference, reference, asset)) {
      Report(callback, reference);
      return false;
    }
    picture.path = std::move(asset.path);
    image.pictureFragment = std::move(asset.fragment);
    image.pictureExtension = ExtensionOf(picture.path);
  } else {
    const bool png = kind == ImageReference::kEmbeddedPng;
    image.pictureExtension = png ? u"png" : u"jpg";
    if (!temporary.Create(png ? ".png" : ".jpg", DecodeBase64(payload))) {
      Report(callback, reference.substr(0, kDataImage.size() + kPngBase64.size() - 1));
      return false;
    }
    picture.path = platform::Utf8ToWide(temporary.Path().string());
  }

  if (callback == nullptr || !callback->LoadPicture(picture) || !IsUsable(picture)) {
    const std::u16string path = std::move(picture.path);
    picture = svg::PictureRecord{};
    Report(callback, path);
    return false;
  }
  if (picture.applyGamma) ApplyGamma(picture);
  Attach(picture, buffer);
  if (picture.hasAlpha && !picture.flag4Clear) Premultiply(picture);
  return true;
}

}  // namespace render
