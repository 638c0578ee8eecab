#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

namespace platform {

// Encodes an RGB JPEG row by row into an open file. libjpeg reports failures by longjmp; every call
// catches its own and answers false, and the encoder state is released in the destructor.
class JpegRowWriter {
 public:
  JpegRowWriter(std::FILE* file, uint32_t width, uint32_t height, int quality);
  ~JpegRowWriter();
  JpegRowWriter(const JpegRowWriter&) = delete;
  JpegRowWriter& operator=(const JpegRowWriter&) = delete;

  bool Start();
  // One row of R, G, B bytes.
  bool WriteRow(const uint8_t* row);
  bool Finish();

  // libjpeg's state and error hook, kept out of this header.
  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace platform
