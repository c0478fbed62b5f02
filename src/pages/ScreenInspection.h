// The pixel inspector as the Screen page and the view window use it: one TPixelInspector per
// rendered picture, over a copy of the model that rendered it, so that hovering costs a
// fraction of a microsecond a pixel and the account always tells how the picture on show was
// made, even when the model changes before the picture is rendered again.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "vdp/MegaDriveVDP.h"
#include "vdp/PixelInspector.h"

namespace vantor {

class TScreenInspection {
 public:
  TScreenInspection();
  ~TScreenInspection();

  // A picture was rendered from vdp with these options.
  void Rendered(const TMegaDriveVDP& vdp, uint16_t options);
  // No picture to inspect (another picture is shown).
  void Clear();
  bool Ready() const { return m_inspector != nullptr; }
  // The model and the options of the picture on show; Ready() must hold.
  const TMegaDriveVDP& Model() const { return *m_vdp; }
  uint16_t Options() const { return m_options; }

  // The account of picture pixel (x, y); the same object every call, filled anew. Ready()
  // must hold.
  const TPixelAccount& Inspect(int32_t x, int32_t y);
  // The status bar's one line for picture pixel (x, y); empty when nothing is rendered or the
  // pixel lies outside the picture.
  QString Summary(int32_t x, int32_t y);

 private:
  std::unique_ptr<TMegaDriveVDP> m_vdp;
  std::unique_ptr<TPixelInspector> m_inspector;
  uint16_t m_options = 0;
  TPixelAccount m_account;
};

}  // namespace vantor
