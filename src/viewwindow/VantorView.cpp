#include "viewwindow/VantorView.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "pages/QtDialogs.h"
#include "pictureio/PictureIO.h"
#include "vdp/BmpWriter.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"
#include "viewwindow/ZoomSnap.h"

namespace vantor {

namespace {

// The client area of the initial 328 x 258 tool window frame.
constexpr QSize kInitialClientSize(320, 224);

constexpr char kBitmapFilter[] = "Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*";
constexpr char kPngFilter[] = "PNG files (*.png)|*.png";

int sign(int value) {
  return (value > 0) - (value < 0);
}

}  // namespace

// --- TPaintPanel -----------------------------------------------------------------------------

TPaintPanel::TPaintPanel(TfrmView& owner) : QWidget(&owner), m_owner(owner) {
  // Everything is painted here, so nothing is erased first and the picture does not flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  // Moves without a button held feed the pixel inspector.
  setMouseTracking(true);
}

void TPaintPanel::Paint(QPainter& painter) {
  const QRect target(QPoint(0, 0), m_owner.ZoomedSize());
  painter.setRenderHint(QPainter::SmoothPixmapTransform, m_owner.m_Halftone);
  painter.drawPixmap(target, m_owner.m_pixmap, m_owner.m_pixmap.rect());
  m_owner.paintOverScreen(painter);
  // The panel's background where the window is larger than the picture.
  const QRegion rest = QRegion(rect()) - QRegion(target);
  for (const QRect& r : rest)
    painter.fillRect(r, Qt::black);
}

void TPaintPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  Paint(painter);
}

void TPaintPanel::mousePressEvent(QMouseEvent* event) {
  m_owner.FormMouseDown(*event);
  QWidget::mousePressEvent(event);
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event) {
  m_owner.PanelMouseMove(*event);
  QWidget::mouseMoveEvent(event);
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* event) {
  m_owner.PanelMouseUp(*event);
  QWidget::mouseReleaseEvent(event);
}

// --- TfrmView: creation --------------------------------------------------------------------

TfrmView::TfrmView(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint),
      m_ViewBitmap(1, 1, 8),
      m_mainWindow(mainWindow),
      m_desktopDialogs(std::make_unique<TQtDialogs>(this)),
      m_dialogs(m_desktopDialogs.get()),
      m_modifierQuery([] { return QGuiApplication::queryKeyboardModifiers(); }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  m_panel = new TPaintPanel(*this);
  PictureChanged();

  m_pmViewMain = new QMenu(this);
  m_pmiSaveBmp = m_pmViewMain->addAction(QStringLiteral("&Save to Bitmap..."));
  m_pmiSaveBmp->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  m_pmiCopyToCB = m_pmViewMain->addAction(QStringLiteral("&Copy to Clipboard"));
  m_pmiCopyToCB->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  for (QAction* item : {m_pmiSaveBmp, m_pmiCopyToCB}) {
    // The shortcuts work while the window is active, with or without the menu open.
    item->setShortcutContext(Qt::WindowShortcut);
    addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { pmiSaveBmpClick(item); });
  }
  m_pmViewMain->addSeparator();
  m_pmiAllSprites = m_pmViewMain->addAction(QStringLiteral("&All sprites"));
  m_pmiAllSprites->setObjectName(QStringLiteral("pmiAllSprites"));
  m_pmiAllSprites->setCheckable(true);
  m_pmiAllSprites->setToolTip(
      QStringLiteral("Every chained sprite on the screen, without the console's limits per "
                     "line and without masking"));
  connect(m_pmiAllSprites, &QAction::toggled, this, &TfrmView::screenOptionsChanged);
  buildInspectorMenu();
  resize(kInitialClientSize);
  InvalidateView();
}

TfrmView::~TfrmView() = default;

QString TfrmView::WithPngFilter(const QString& filter) {
  const QString png = QLatin1String(kPngFilter);
  if (filter.isEmpty()) return png;
  return filter.contains(QStringLiteral("*.png"), Qt::CaseInsensitive) ? filter
                                                                       : filter + u'|' + png;
}

void TfrmView::SetDialogs(TDialogs* dialogs, TFileDialog* bitmapDialog) {
  m_dialogs = dialogs != nullptr ? dialogs : m_desktopDialogs.get();
  m_bitmapDialog = bitmapDialog;
}

// --- Pictures ----------------------------------------------------------------------------------

template <typename Build>
void TfrmView::BuildPicture(TViewMode mode, Build&& build) {
  const TUpdateLock::TScope lock(m_ResizeLock);
  m_ViewMode = mode;
  build(m_ViewBitmap);
  ++m_buildCount;
  // Only the Screen picture is inspected (ShowScreen builds its inspector afterwards).
  m_inspection.Clear();
  if (mode != vmScreen) unpin();
  overlaysChanged();
  PictureChanged();
  ApplyZoomSize();
  InvalidateView();
}

void TfrmView::ShowScreen(const TMegaDriveVDP& vdp, uint16_t options) {
  if (AllSprites()) options |= kRenderAllSprites;
  BuildPicture(vmScreen,
               [&](TIndexedBitmap& bitmap) { RenderScreenPicture(vdp, options, bitmap); });
  screenShown(vdp, options);
}

bool TfrmView::AllSprites() const {
  return m_pmiAllSprites->isChecked();
}

void TfrmView::ShowPatterns(const TMegaDriveVDP& vdp, std::span<const uint8_t> source) {
  BuildPicture(vmPatterns, [&](TIndexedBitmap& bitmap) {
    BuildPatternSheet8(source.data(), source.size(), vdp, m_PalLine, bitmap);
  });
}

void TfrmView::ShowSprites(const TMegaDriveVDP& vdp) {
  BuildPicture(vmSprites, [&](TIndexedBitmap& bitmap) {
    BuildSpriteSheet(vdp, ViewSpritesPerRow(vdp), bitmap);
  });
}

void TfrmView::SetPalLineBits(int line) {
  vantor::SetPalLineBits(m_ViewBitmap, line);
  PictureChanged();
}

void TfrmView::PictureChanged() {
  // Qt converts the 8-bit picture to the screen's pixels once, straight from its memory.
  m_pixmap = QPixmap::fromImage(IndexedView(m_ViewBitmap));
}

QSize TfrmView::ZoomedSize() const {
  return QSize(m_ViewBitmap.Width() * m_Zoom, m_ViewBitmap.Height() * m_Zoom);
}

// --- Caption, size and repaint -------------------------------------------------------------

QString TfrmView::CaptionText() const {
  switch (m_ViewMode) {
    case vmScreen:
      return QString::asprintf(" Screen - Zoom=x%d, Alpha=%d", m_Zoom, m_Alpha);
    case vmPatterns:
      return QString::asprintf(" Patterns - Zoom=x%d, Alpha=%d, PalLine=%d", m_Zoom, m_Alpha,
                               m_PalLine);
    case vmSprites:
      return QString::asprintf(" Sprites - Zoom=x%d, Alpha=%d", m_Zoom, m_Alpha);
  }
  return QString();
}

void TfrmView::InvalidateView() {
  ++m_invalidateCount;
  setWindowTitle(CaptionText());
  m_panel->update();
}

// The window's own size changes are never snapped.
void TfrmView::ApplyZoomSize() {
  const TUpdateLock::TScope lock(m_ResizeLock);
  resize(ZoomedSize());
}

void TfrmView::SetZoom(int zoom) {
  m_Zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  ApplyZoomSize();
}

void TfrmView::ToggleHalftone() {
  m_Halftone = !m_Halftone;
}

bool TfrmView::FormCanResize(const QSize& proposed) {
  if (!isVisible() || m_ResizeLock.Raised() || proposed == ZoomedSize()) return false;
  SetZoom(
      SnapZoom(proposed.width(), proposed.height(), m_ViewBitmap.Width(), m_ViewBitmap.Height()));
  InvalidateView();
  return true;
}

void TfrmView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_panel->setGeometry(rect());
  // The window system offers no veto on a user resize: the snap resizes to the chosen size.
  FormCanResize(size());
  placeAccountPanel();
}

void TfrmView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  placeAccountPanel();
}

void TfrmView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!m_placed && m_mainWindow != nullptr) {
    m_placed = true;
    QRect frame = frameGeometry();
    frame.moveCenter(m_mainWindow->frameGeometry().center());
    move(frame.topLeft());
  }
}

bool TfrmView::event(QEvent* event) {
  if (event->type() == QEvent::WindowBlocked) LiftModalWindow();
  return QWidget::event(event);
}

// Every dialog and message box is modal, and a modal window blocks this one as it opens: while
// this window stays on top of the others, such a window is put on top as well, before the
// window system shows it, so that it opens in front of the picture instead of behind it.
void TfrmView::LiftModalWindow() {
  QWindow* modal = QGuiApplication::modalWindow();
  if (!isVisible() || modal == nullptr || modal == windowHandle()) return;
  modal->setFlag(Qt::WindowStaysOnTopHint, true);
}

void TfrmView::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  unpin();
}

void TfrmView::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

// --- Keys and mouse ---------------------------------------------------------------------------

void TfrmView::keyPressEvent(QKeyEvent* event) {
  if (FormKeyPress(*event)) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

bool TfrmView::FormKeyPress(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape) {
    close();
    return true;
  }
  const QString text = event.text();
  if (text.size() != 1) return false;
  const QChar c = text.front();
  if (c == u' ') {
    ToggleHalftone();
  } else if (c == u'*') {
    SetZoom(m_Zoom + 1);
  } else if (c == u'/') {
    SetZoom(m_Zoom - 1);
  } else if (c == u'+') {
    m_Alpha = std::min(m_Alpha + 1, kMaxAlpha);
    setWindowOpacity(m_Alpha / 255.0);
  } else if (c == u'-') {
    m_Alpha = std::max(m_Alpha - 1, kMinAlpha);
    setWindowOpacity(m_Alpha / 255.0);
  } else if (c >= u'0' && c <= u'3') {
    const int line = c.unicode() - u'0';
    // The current line again: consumed without redrawing anything.
    if (m_ViewMode == vmPatterns && line == m_PalLine) return true;
    if (m_ViewMode == vmPatterns) {
      m_PalLine = line;
      SetPalLineBits(line);
    }
  } else {
    return false;
  }
  InvalidateView();
  return true;
}

void TfrmView::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  FormMouseWheel(delta.y() != 0 ? delta.y() : delta.x());
  event->accept();
}

void TfrmView::FormMouseWheel(int delta) {
  const int s = sign(delta);
  if (m_modifierQuery().testFlag(Qt::ControlModifier)) {
    const int zoom = m_Zoom;
    SetZoom(m_Zoom + s);
    if (m_Zoom != zoom) InvalidateView();
    return;
  }
  if (m_ViewMode != vmPatterns || s == 0) return;
  m_PalLine = (m_PalLine + s) & 3;
  SetPalLineBits(m_PalLine);
  InvalidateView();
}

void TfrmView::FormMouseDown(const QMouseEvent& event) {
  if (event.button() == Qt::LeftButton) m_pressed = event.position().toPoint();
  if (event.button() != Qt::MiddleButton) return;
  ToggleHalftone();
  InvalidateView();
}

void TfrmView::PanelMouseMove(const QMouseEvent& event) {
  if (!event.buttons().testFlag(Qt::LeftButton)) {
    if (m_inspection.Ready()) {
      const QPoint pixel = PicturePixel(event.position().toPoint());
      const QString text = m_inspection.Summary(pixel.x(), pixel.y());
      if (!text.isEmpty()) emit statusText(text);
    }
    return;
  }
  // Dragging the picture moves the window as its caption would, in the system's move loop;
  // the press is then no click.
  m_pressed = QPoint(-1, -1);
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

// A left click on the Screen picture pins the pixel it was pressed on.
void TfrmView::PanelMouseUp(const QMouseEvent& event) {
  const QPoint pressed = m_pressed;
  m_pressed = QPoint(-1, -1);
  if (event.button() != Qt::LeftButton || pressed.x() < 0) return;
  PinPixel(PicturePixel(pressed));
}

void TfrmView::contextMenuEvent(QContextMenuEvent* event) {
  m_pmViewMain->popup(event->globalPos());
  event->accept();
}

// --- Save and copy -------------------------------------------------------------------------

void TfrmView::pmiSaveBmpClick(const QAction* sender) {
  if (sender == m_pmiCopyToCB) {
    CopyPicture();
    return;
  }
  const QString fileName = AskSaveFileName();
  if (!fileName.isEmpty()) RunCommand(*m_dialogs, [&] { SaveZoomedPicture(fileName); });
  // The dialogs belong to the main window, which takes the keyboard when they close: the keys
  // go back to this window, where the user was, not to a main window it may hide.
  if (isVisible()) activateWindow();
}

QString TfrmView::AskSaveFileName() {
  TFileDialog dialog;
  if (m_bitmapDialog != nullptr) {
    dialog = *m_bitmapDialog;
  } else {
    dialog.Filter = QLatin1String(kBitmapFilter);
    dialog.OverwritePrompt = true;
  }
  dialog.Filter = WithPngFilter(dialog.Filter);
  if (!m_dialogs->GetSaveFileName(dialog)) return QString();
  if (m_bitmapDialog != nullptr) m_bitmapDialog->FileName = dialog.FileName;
  return dialog.FileName;
}

// Pixel duplication whatever Halftone says: the file holds the same 256 colours.
void TfrmView::SaveZoomedPicture(const QString& fileName) const {
  SavePicture(QFile::encodeName(fileName).toStdString(), ScaleBitmap(m_ViewBitmap, m_Zoom));
}

void TfrmView::CopyPicture() const {
  QGuiApplication::clipboard()->setImage(ToQImage(m_ViewBitmap));
}

}  // namespace vantor
