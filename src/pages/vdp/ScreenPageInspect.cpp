// The "Screen" page's pixel inspector and overlays: the overlay boxes, the status text under
// the mouse, the pinned account beside the picture and "Save with overlays".
#include <QCheckBox>
#include <QGridLayout>

#include "pages/PixelAccountPanel.h"
#include "pages/vdp/ScreenPage.h"
#include "pictureio/PictureIO.h"

namespace vantor {

namespace {

constexpr int kOverlayRow = 4;

}  // namespace

void TScreenPage::buildInspector(QGridLayout* options) {
  for (int i = 0; i < kScreenOverlayCount; ++i) {
    const TScreenOverlayItem& item = kScreenOverlayItems[i];
    auto* box = new QCheckBox(QString::fromLatin1(item.Caption), this);
    box->setObjectName(QStringLiteral("chkScrn%1").arg(QLatin1String(item.Name)));
    box->setToolTip(QString::fromLatin1(item.Hint));
    options->addWidget(box, kOverlayRow, i);
    connect(box, &QCheckBox::toggled, this, &TScreenPage::overlaysChanged);
    m_overlayBoxes[std::size_t(i)] = box;
  }
  m_pmiScreenSaveOverlays->setEnabled(false);

  m_accountPanel = new TPixelAccountPanel(this);
  m_accountPanel->hide();
  // The panel's links are the page's intents; a jump to memory leaves the page as a page
  // change would.
  connect(m_accountPanel, &TPixelAccountPanel::jumpToMemory, this,
          [this](THexPageId page, int64_t offset) {
            m_host.pcVDPChanging();
            emit jumpToMemory(page, offset);
          });
  connect(m_accountPanel, &TPixelAccountPanel::showPattern, this, &TVDPPage::showPattern);
  connect(m_accountPanel, &TPixelAccountPanel::showSprite, this, &TVDPPage::showSprite);
  connect(m_accountPanel, &TPixelAccountPanel::colorEntryChosen, this, &TVDPPage::colorEntryChosen);
  connect(m_accountPanel, &TPixelAccountPanel::closeRequested, this, &TScreenPage::unpin);
  connect(m_pbScreen, &TScreenPaintBox::hovered, this, &TScreenPage::hovered);
  connect(m_pbScreen, &TScreenPaintBox::clicked, this, &TScreenPage::PinPixel);
}

uint8_t TScreenPage::Overlays() const {
  uint8_t overlays = 0;
  for (int i = 0; i < kScreenOverlayCount; ++i)
    if (m_overlayBoxes[std::size_t(i)]->isChecked()) overlays |= kScreenOverlayItems[i].Bit;
  return overlays;
}

// One inspector and the overlays for each rendered picture; a pinned pixel still in the
// picture is accounted for anew. Between the screen and the entire virtual screen the same
// coordinates are another place: the account goes.
void TScreenPage::pictureShown() {
  const uint16_t before = m_inspection.Ready() ? m_inspection.Options() : 0;
  m_inspection.Rendered(m_host.VDP(), ScreenOptions());
  overlaysChanged();
  if (m_accountPanel->isHidden()) return;
  const QPoint pinned = m_accountPanel->Pixel();
  const bool samePlace = ((before ^ m_inspection.Options()) & kRenderVirtualScreen) == 0;
  if (samePlace && QRect(0, 0, m_screenBitmap.Width(), m_screenBitmap.Height()).contains(pinned)) {
    PinPixel(pinned);
  } else {
    unpin();
  }
}

void TScreenPage::overlaysChanged() {
  const uint8_t overlays = Overlays();
  m_pmiScreenSaveOverlays->setEnabled(overlays != 0);
  if (m_inspection.Ready()) {
    m_overlays.Build(m_inspection.Model(), m_inspection.Options(), overlays);
  } else {
    m_overlays.Clear();
  }
  m_pbScreen->SetOverlays(&m_overlays);
}

void TScreenPage::hovered(QPoint pixel) {
  const QString text = m_inspection.Summary(pixel.x(), pixel.y());
  if (!text.isEmpty()) emit statusText(text);
}

void TScreenPage::PinPixel(QPoint pixel) {
  if (!m_inspection.Ready()) return;
  const TPixelAccount& account = m_inspection.Inspect(pixel.x(), pixel.y());
  if (!account.Inside) return;
  m_accountPanel->ShowAccount(account);
  m_accountPanel->show();
  m_pbScreen->SetMarker(pixel);
}

void TScreenPage::unpin() {
  m_accountPanel->hide();
  m_pbScreen->SetMarker(QPoint(-1, -1));
}

// The picture as the page shows it with its overlays, not the pinned pixel's frame.
void TScreenPage::SaveWithOverlays() {
  TFileDialog& dialog = m_host.FileDialogs().sdlgBmp;
  dialog.Filter = kScreenPictureFilter;
  dialog.DefaultExt.clear();
  dialog.OverwritePrompt = true;
  if (!m_host.Dialogs().GetSaveFileName(dialog)) return;
  RunCommand(m_host.Dialogs(), [&] {
    SavePictureWithOverlays(dialog.FileName.toStdString(), m_screenBitmap, 1, m_overlays);
  });
}

}  // namespace vantor
