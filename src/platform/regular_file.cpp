#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ReadDescriptor::~ReadDescriptor() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

ReadDescriptor OpenRegularFileDescriptor(const std::string& path) {
  // Non-blocking, so a pipe without writer opens at once; fstat on the open descriptor then judges
  // the very file that was opened, with no window for the name to be swapped.
  ReadDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0) return file;
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return ReadDescriptor();
  const int flags = ::fcntl(file.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return ReadDescriptor();
  return file;
}

FileHandle OpenRegularFile(const std::string& path) {
  ReadDescriptor file = OpenRegularFileDescriptor(path);
  if (file.Get() < 0) return nullptr;
  FileHandle stream(::fdopen(file.Get(), "rb"));
  if (stream != nullptr) file.Release();
  return stream;
}

bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string& content, std::string& reason) {
  const FileHandle file = OpenRegularFile(path);
  if (file == nullptr) {
    reason = "can't be opened as a file";
    return false;
  }
  content.clear();
  char buffer[1 << 16];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (content.size() + read > maxBytes) {
      reason = "larger than " + std::to_string(maxBytes >> 20) + " MB";
      return false;
    }
    content.append(buffer, read);
  }
  if (std::ferror(file.get()) != 0) {
    reason = "could not be read";
    return false;
  }
  return true;
}

}  // namespace platform
