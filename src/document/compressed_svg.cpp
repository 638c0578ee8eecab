#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "document/vector_document.h"
#include "platform/regular_file.h"
#include "platform/temp_folder.h"
#include "platform/wide_text.h"
#include "svg/limits.h"

namespace document {
namespace {

struct GzDeleter {
  void operator()(gzFile_s* file) const { gzclose(file); }
};

// A decompressed copy that is deleted however the load ends.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::u16string FolderOf(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"/\\");
  return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, slash + 1));
}

enum class CopyResult { kCopied, kTooLarge, kNotWritten };

// Copies the uncompressed bytes; a source that can't be opened as gzip, or is no regular file, leaves
// the copy empty.
CopyResult Decompress(const std::string& source, const std::filesystem::path& target) {
  platform::ReadDescriptor descriptor = platform::OpenRegularFileDescriptor(source);
  if (descriptor.Get() < 0) return CopyResult::kCopied;
  std::unique_ptr<gzFile_s, GzDeleter> in(gzdopen(descriptor.Get(), "rb"));
  if (in == nullptr) return CopyResult::kCopied;
  descriptor.Release();  // gzclose closes it
  platform::FileHandle out(std::fopen(target.c_str(), "wb"));
  if (out == nullptr) return CopyResult::kNotWritten;
  char block[1024];
  uint64_t total = 0;
  for (;;) {
    const int count = gzread(in.get(), block, sizeof block);
    if (count <= 0) return CopyResult::kCopied;
    total += static_cast<uint64_t>(count);
    if (total > svg::kMaxDecompressedBytes) return CopyResult::kTooLarge;
    if (std::fwrite(block, 1, static_cast<size_t>(count), out.get()) != static_cast<size_t>(count)) {
      return CopyResult::kNotWritten;
    }
  }
}

}  // namespace

void VectorDocument::LoadCompressed(LoadError& error, std::u16string_view path) {
  const auto temporaryPath = platform::MakeTemporaryFile("svg");
  if (!temporaryPath) return;  // the empty document stays; nothing was read
  const TemporaryFile copy(*temporaryPath);

  switch (Decompress(platform::WideToUtf8(path), copy.Path())) {
    case CopyResult::kCopied:
      if (!Dispatch(error, false, platform::Utf8ToWide(copy.Path().string()))) {
        Discard();
      } else {
        // Linked files sit beside the compressed drawing, not beside its temporary copy.
        svg_->baseFolder = FolderOf(path);
      }
      return;
    case CopyResult::kTooLarge:
      error.Clear();
      error.code = 3;
      error.SetMessage(u"compressed drawing expands beyond 256 MiB");
      Discard();
      return;
    case CopyResult::kNotWritten:
      error.Clear();
      error.code = 1;
      Discard();
      return;
  }
}

}  // namespace document
