// The byte source and sink the VDP model loads from and saves to.
#pragma once

#include <cstddef>

namespace vantor {

// Byte source/sink the model loads from and saves to, positioned by the caller.
class TVDPStream {
 public:
  virtual ~TVDPStream() = default;
  virtual void ReadBuffer(void* dst, std::size_t count) = 0;  // throws on a short read
  virtual void WriteBuffer(const void* src, std::size_t count) = 0;
};

}  // namespace vantor
