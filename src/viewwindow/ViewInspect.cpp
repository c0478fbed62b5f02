// The view window's pixel inspector and overlays over the Screen picture: the "Overlays"
// submenu and its keys, the status text under the mouse, the pinned account beside the window
// and "Save with overlays".
#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include "pages/PixelAccountPanel.h"
#include "viewwindow/VantorView.h"

namespace vantor {

void TfrmView::buildInspectorMenu() {
  QMenu* overlays = m_pmViewMain->addMenu(QStringLiteral("&Overlays"));
  overlays->menuAction()->setObjectName(QStringLiteral("pmiViewOverlays"));
  for (int i = 0; i < kScreenOverlayCount; ++i) {
    const TScreenOverlayItem& item = kScreenOverlayItems[i];
    QAction* action = overlays->addAction(QString::fromLatin1(item.Caption));
    action->setObjectName(QStringLiteral("pmiView%1").arg(QLatin1String(item.Name)));
    action->setCheckable(true);
    action->setToolTip(QString::fromLatin1(item.Hint));
    action->setShortcut(QKeySequence(QChar::fromLatin1(item.Key)));
    // The key works while the window is active, with or without the menu open.
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::toggled, this, [this] {
      overlaysChanged();
      InvalidateView();
    });
    m_pmiOverlays[std::size_t(i)] = action;
  }
  m_pmiSaveOverlays = m_pmViewMain->addAction(QStringLiteral("Save with o&verlays..."));
  m_pmiSaveOverlays->setObjectName(QStringLiteral("pmiViewSaveOverlays"));
  connect(m_pmiSaveOverlays, &QAction::triggered, this, &TfrmView::SaveWithOverlays);

  m_accountPanel = new TPixelAccountPanel(this);
  // A small panel of its own beside the window, on top like it, that takes no focus from it.
  m_accountPanel->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  m_accountPanel->setAttribute(Qt::WA_ShowWithoutActivating);
  m_accountPanel->hide();
  connect(m_accountPanel, &TPixelAccountPanel::jumpToMemory, this, &TfrmView::jumpToMemory);
  connect(m_accountPanel, &TPixelAccountPanel::showPattern, this, &TfrmView::showPattern);
  connect(m_accountPanel, &TPixelAccountPanel::showSprite, this, &TfrmView::showSprite);
  connect(m_accountPanel, &TPixelAccountPanel::colorEntryChosen, this, &TfrmView::colorEntryChosen);
  connect(m_accountPanel, &TPixelAccountPanel::closeRequested, this, &TfrmView::unpin);
  overlaysChanged();
}

uint8_t TfrmView::Overlays() const {
  uint8_t overlays = 0;
  for (int i = 0; i < kScreenOverlayCount; ++i)
    if (m_pmiOverlays[std::size_t(i)]->isChecked()) overlays |= kScreenOverlayItems[i].Bit;
  return overlays;
}

QPoint TfrmView::PicturePixel(QPoint at) const {
  if (at.x() < 0 || at.y() < 0) return QPoint(-1, -1);
  const QPoint pixel(at.x() / m_Zoom, at.y() / m_Zoom);
  return QRect(0, 0, m_ViewBitmap.Width(), m_ViewBitmap.Height()).contains(pixel) ? pixel
                                                                                  : QPoint(-1, -1);
}

// A Screen picture was built: its inspector and overlays, and the pinned pixel accounted for
// anew while it is still in the picture.
void TfrmView::screenShown(const TMegaDriveVDP& vdp, uint16_t options) {
  if (AllSprites()) options |= kRenderAllSprites;
  m_inspection.Rendered(vdp, options);
  overlaysChanged();
  const QPoint pinned = m_pinned;
  if (pinned.x() >= 0) PinPixel(pinned);
}

void TfrmView::overlaysChanged() {
  const bool screen = m_ViewMode == vmScreen;
  for (QAction* item : m_pmiOverlays)
    item->setEnabled(screen);
  m_pmiSaveOverlays->setEnabled(screen && Overlays() != 0);
  if (m_inspection.Ready()) {
    m_overlays.Build(m_inspection.Model(), m_inspection.Options(), Overlays());
  } else {
    m_overlays.Clear();
  }
}

void TfrmView::PinPixel(QPoint pixel) {
  if (!m_inspection.Ready() || pixel.x() < 0) {
    unpin();
    return;
  }
  const TPixelAccount& account = m_inspection.Inspect(pixel.x(), pixel.y());
  if (!account.Inside) {
    unpin();
    return;
  }
  m_pinned = pixel;
  m_accountPanel->ShowAccount(account);  // sized for its rows at its width
  placeAccountPanel();
  if (isVisible()) m_accountPanel->show();
  InvalidateView();
}

// Beside the window, on the side where the screen has room; it follows the window.
void TfrmView::placeAccountPanel() {
  if (m_accountPanel == nullptr) return;
  const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
  QPoint at = mapToGlobal(QPoint(width() + 4, 0));
  if (!screen.isNull() && at.x() + m_accountPanel->width() > screen.right())
    at = mapToGlobal(QPoint(-m_accountPanel->width() - 4, 0));
  m_accountPanel->move(at);
}

void TfrmView::unpin() {
  if (m_pinned.x() < 0 && (m_accountPanel == nullptr || m_accountPanel->isHidden())) return;
  m_pinned = QPoint(-1, -1);
  m_accountPanel->hide();
  InvalidateView();
}

void TfrmView::paintOverScreen(QPainter& painter) const {
  if (m_ViewMode != vmScreen) return;
  m_overlays.Paint(painter, m_Zoom);
  if (m_pinned.x() >= 0) PaintPixelMarker(painter, m_pinned, m_Zoom);
}

// The picture at the window's zoom with the overlays drawn at that size.
void TfrmView::SaveWithOverlays() {
  const QString fileName = AskSaveFileName();
  if (!fileName.isEmpty()) {
    RunCommand(*m_dialogs, [&] {
      SavePictureWithOverlays(QFile::encodeName(fileName).toStdString(), m_ViewBitmap, m_Zoom,
                              m_overlays);
    });
  }
  if (isVisible()) activateWindow();
}

}  // namespace vantor
