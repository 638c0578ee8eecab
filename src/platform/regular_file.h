#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace platform {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A descriptor open for reading, closed when this goes unless released.
class ReadDescriptor {
 public:
  explicit ReadDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~ReadDescriptor();
  ReadDescriptor(const ReadDescriptor&) = delete;
  ReadDescriptor& operator=(const ReadDescriptor&) = delete;
  ReadDescriptor(ReadDescriptor&& other) noexcept : descriptor_(other.Release()) {}
  ReadDescriptor& operator=(ReadDescriptor&&) = delete;

  int Get() const { return descriptor_; }
  int Release() { return std::exchange(descriptor_, -1); }

 private:
  int descriptor_;
};

// Opens path for reading only when it names a regular file (after following links): a named pipe
// would block the open until a writer appears and a device may never end, and either would hang a
// load under the texture's lock. -1 in the descriptor when the path is missing or not regular.
ReadDescriptor OpenRegularFileDescriptor(const std::string& path);

// The same as a stdio stream in binary mode; null when refused.
FileHandle OpenRegularFile(const std::string& path);

// The whole content of a regular file of at most maxBytes; false with the reason otherwise.
bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string& content, std::string& reason);

}  // namespace platform
