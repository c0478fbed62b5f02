#include "pages/ScreenInspection.h"

namespace vantor {

TScreenInspection::TScreenInspection() = default;
TScreenInspection::~TScreenInspection() = default;

void TScreenInspection::Rendered(const TMegaDriveVDP& vdp, uint16_t options) {
  // The inspector keeps a reference to the copy: it goes first, the copy is kept in place.
  m_inspector.reset();
  if (m_vdp == nullptr) {
    m_vdp = std::make_unique<TMegaDriveVDP>(vdp);
  } else {
    *m_vdp = vdp;
  }
  m_options = options;
  m_inspector = std::make_unique<TPixelInspector>(*m_vdp, options);
}

void TScreenInspection::Clear() {
  m_inspector.reset();
}

const TPixelAccount& TScreenInspection::Inspect(int32_t x, int32_t y) {
  m_inspector->Inspect(x, y, m_account);
  return m_account;
}

QString TScreenInspection::Summary(int32_t x, int32_t y) {
  if (!Ready()) return QString();
  const TPixelAccount& account = Inspect(x, y);
  if (!account.Inside) return QString();
  return QString::fromStdString(PixelSummary(account));
}

}  // namespace vantor
