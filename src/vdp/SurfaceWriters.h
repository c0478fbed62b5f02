// Pixel writers for each surface depth, chosen once per drawing call. Internal to the model.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "vdp/Bitmap.h"

namespace vantor::detail {

inline uint8_t* surfaceRow(const TSurfaceInfo& info, int row) {
  return info.Bits + std::ptrdiff_t(row) * info.Stride;
}

// 4 bits per pixel: the value goes into one nibble, the other is kept.
struct TNibbleWriter {
  void Put(uint8_t* row, int col, uint8_t value) const {
    uint8_t& b = row[col >> 1];
    b = (col & 1) ? uint8_t((b & 0xF0) | (value & 0x0F)) : uint8_t((b & 0x0F) | (value << 4));
  }
};

// 8 bits per pixel: the value ORed with a fixed code (the palette line bits).
struct TByteWriter {
  uint8_t Code = 0;
  void Put(uint8_t* row, int col, uint8_t value) const { row[col] = uint8_t(value | Code); }
};

// 15/16, 24 and 32 bits per pixel: the value indexes a table of ready pixels.
struct TWordWriter {
  const uint32_t* Table = nullptr;
  void Put(uint8_t* row, int col, uint8_t value) const {
    const uint16_t px = uint16_t(Table[value]);
    std::memcpy(row + 2 * col, &px, 2);
  }
};

struct TTripleWriter {
  const uint32_t* Table = nullptr;
  void Put(uint8_t* row, int col, uint8_t value) const {
    const uint32_t px = Table[value];
    uint8_t* p = row + 3 * col;
    p[0] = uint8_t(px);
    p[1] = uint8_t(px >> 8);
    p[2] = uint8_t(px >> 16);
  }
};

struct TQuadWriter {
  const uint32_t* Table = nullptr;
  void Put(uint8_t* row, int col, uint8_t value) const {
    std::memcpy(row + 4 * col, &Table[value], 4);
  }
};

// Runs fn with the writer for the surface's depth; table holds the direct-colour pixels.
template <typename F>
void withWriter(const TSurfaceInfo& info, uint8_t code8, const uint32_t* table, F&& fn) {
  switch (info.BitsPerPixel) {
    case 4:
      fn(TNibbleWriter{});
      break;
    case 8:
      fn(TByteWriter{code8});
      break;
    case 15:
    case 16:
      fn(TWordWriter{table});
      break;
    case 24:
      fn(TTripleWriter{table});
      break;
    case 32:
      fn(TQuadWriter{table});
      break;
    default:
      break;
  }
}

}  // namespace vantor::detail
