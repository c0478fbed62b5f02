// Where the "Patterns && Sprites" page reaches the floating view window, which it keeps in step
// with the pattern source.
#pragma once

#include <cstdint>
#include <span>

namespace vantor {

class TMegaDriveVDP;
class TfrmView;

// Redraws the view window's patterns picture from source when it shows patterns.
void RedrawViewWindowPatterns(TfrmView* view, const TMegaDriveVDP& vdp,
                              std::span<const uint8_t> source);

}  // namespace vantor
