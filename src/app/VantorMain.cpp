#include "app/VantorMain.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>

#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/WheelGuard.h"
#include "hexedit/QuorHDataObject.h"
#include "pages/QtDialogs.h"
#include "pages/memory/HexPage.h"
#include "pages/memory/MemoryPages.h"
#include "pages/vdp/ColorRAMPage.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/AccessKeyPriority.h"
#include "widgets/PageControl.h"

namespace vantor {

TfrmMain::TfrmMain(const TLayoutLocations& where, std::unique_ptr<TDialogs> dialogs,
                   QWidget* parent)
    : QMainWindow(parent), m_document(m_layout), m_dialogs(std::move(dialogs)) {
  if (!m_dialogs) m_dialogs = std::make_unique<TQtDialogs>(this);
  setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), qsizetype(kApplicationTitle.size())));
  resize(kWidth, kHeight);
  setMinimumSize(kWidth, kHeight);
  setAcceptDrops(true);
  TWheelGuard::Install();

  // 1. The layout file, found or written (running on the built-in copy when it cannot be).
  m_layoutFile = OpenLayoutFile(where, true);
  m_layout = TLayout(m_layoutFile.Ini);
  // 2.-3. The image lives in the document; the one VDP model, all zero.
  m_vdp = std::make_unique<TMegaDriveVDP>();

  TRegisterGridSet::THooks hooks;
  hooks.Changed = [this] {
    SetModified(true);
    m_vdpStale = true;
  };
  hooks.FollowColor = [this](int entry) {
    if (m_colorPage) m_colorPage->FollowColor(entry);
  };
  hooks.HScrollRegister = [this] { return int(m_vdp->GetReg(13)); };
  hooks.ScrollLock = [this] { return ScrollLockActive(); };
  hooks.Run = [this](const std::function<void()>& command) { RunCommand(command); };
  m_grids = std::make_unique<TRegisterGridSet>(m_document, std::move(hooks), this);

  createPages();
  createMenus();
  // The page in front owns the access keys it shares with the menu bar.
  new TAccessKeyPriority(m_pcMain);
  // The memory editors share one context menu.
  m_memoryPages = std::make_unique<TMemoryPages>(*this, [this] { return ActiveHexEditor(); });
  for (THexPage* page : m_hexPages)
    m_memoryPages->Attach(*page->Editor());
  m_statusLabel = new QLabel(this);
  statusBar()->addWidget(m_statusLabel, 1);
  // Greyed while Scroll Lock is off, as a keyboard's indicator lamp.
  m_lblScrollLock = new QLabel(QStringLiteral("SCRL"), this);
  m_lblScrollLock->setObjectName(QStringLiteral("lblScrollLock"));
  m_lblScrollLock->setToolTip(
      QStringLiteral("Scroll Lock: \"+\", \"-\", \"*\" and \"/\" are typed as text"));
  statusBar()->addPermanentWidget(m_lblScrollLock);
  showScrollLock();

  // 5. Header texts of every grid with a fixed row and three value columns.
  for (int i = 0; i < kGridCount; ++i) {
    Grid(TGridId(i))
        ->WriteHeaderTexts({tr("Name"), tr("Hexadecimal"), tr("Decimal"), tr("Binary")});
  }
  // 7.-8. SepChar is read by the layout; the savestate dialogs take its filter.
  const QString filter = QString::fromStdString(m_layout.FilenameFilter());
  m_odlgSavestate.Filter = filter;
  m_odlgSavestate.DefaultExt = QStringLiteral("gst");
  m_sdlgSavestate.Filter = filter;
  m_sdlgSavestate.OverwritePrompt = true;
  m_fileDialogs.sdlgMisc.OverwritePrompt = true;
  m_fileDialogs.sdlgBmp.Filter =
      QStringLiteral("Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*");
  m_fileDialogs.sdlgBmp.OverwritePrompt = true;

  // The window shows first; a layout file that could not be written is reported then.
  if (!m_layoutFile.Error.empty()) {
    const QString error = QString::fromStdString(m_layoutFile.Error);
    QTimer::singleShot(0, this, [this, error] { showError(error); });
  }

  // 9. The blank document.
  RunCommand([this] {
    m_document.NewBlank(
        [this](const std::string& text) { showError(QString::fromStdString(text)); });
    RefreshFromImage();
  });
  SetModified(false);
}

TfrmMain::~TfrmMain() {
  // Pages first (they may point at the model), then the model, the image and the layout.
  for (int i = 0; i < kGridCount; ++i)
    Grid(TGridId(i))->Detach();
  delete m_pcMain;
  m_pcMain = nullptr;
  m_vdp.reset();
}

TRegisterGrid* TfrmMain::Grid(TGridId id) const {
  return m_grids->Grid(id);
}

void TfrmMain::RunCommand(const std::function<void()>& command) {
  vantor::RunCommand(*m_dialogs, command);
}

void TfrmMain::showError(const QString& text) {
  ReportError(*m_dialogs, text);
}

QString TfrmMain::StatusText() const {
  return m_statusLabel->text();
}

void TfrmMain::StatusText(const QString& text) {
  m_statusLabel->setText(text);
}

void TfrmMain::SetFileName(const QString& fileName) {
  m_document.SetFileName(fileName.toStdString());
  setWindowTitle(QString::fromStdString(m_document.Caption()));
}

void TfrmMain::SetModified(bool modified) {
  m_document.SetModified(modified);
  setWindowTitle(QString::fromStdString(m_document.Caption()));
  liveRedraw();
}

bool TfrmMain::event(QEvent* event) {
  const bool scrollLockKey = event->type() == QEvent::KeyRelease &&
                             static_cast<QKeyEvent*>(event)->key() == Qt::Key_ScrollLock;
  if (scrollLockKey || event->type() == QEvent::WindowActivate) showScrollLock();
  return QMainWindow::event(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  bool close = false;
  RunCommand([&] { close = CloseQuery(); });
  if (close) {
    event->accept();
  } else {
    event->ignore();
  }
}

namespace {

// The savestate a drag brings: its one local file, or an empty string. Only files dragged in
// from outside are savestates: bytes dragged out of a memory editor carry a dump file too.
QString droppedSavestate(const QDropEvent& event) {
  const QMimeData* data = event.mimeData();
  if (event.source() != nullptr || !data || data->hasFormat(QLatin1String(kPrivateMimeType))) {
    return {};
  }
  if (!data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().constFirst();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedSavestate(*event).isEmpty()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  const QString path = droppedSavestate(*event);
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The drag source waits for the drop to finish: ask and load afterwards.
  QTimer::singleShot(0, this, [this, path] { RunCommand([&] { OpenSavestate(path); }); });
}

}  // namespace vantor
