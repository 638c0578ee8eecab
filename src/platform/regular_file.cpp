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

}  // namespace platform
