#include "pages/vdp/ScreenPage.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "pages/PixelAccountPanel.h"
#include "pictureio/PictureIO.h"
#include "pictureio/PlaneMapFiles.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {

namespace {

struct TScreenCheckBox {
  const char* Name;
  const char* Caption;
  bool Checked;  // initial state
  uint16_t Option;
  int Row;
  int Column;
  int ColumnSpan;
};

// In tab order (each column's Toggle button follows its two boxes).
constexpr std::array<TScreenCheckBox, 13> kScreenCheckBoxes = {{
    {"chkScrnSpritesLo", "Sprites Lo", true, kRenderSpritesLo, 0, 0, 1},
    {"chkScrnSpritesHi", "Sprites Hi", true, kRenderSpritesHi, 1, 0, 1},
    {"chkScrnWindowLo", "Window Lo", true, kRenderWindowLo, 0, 1, 1},
    {"chkScrnWindowHi", "Window Hi", true, kRenderWindowHi, 1, 1, 1},
    {"chkScrnScrollALo", "Scroll A Lo", true, kRenderPlaneALo, 0, 2, 1},
    {"chkScrnScrollAHi", "Scroll A Hi", true, kRenderPlaneAHi, 1, 2, 1},
    {"chkScrnScrollBLo", "Scroll B Lo", true, kRenderPlaneBLo, 0, 3, 1},
    {"chkScrnScrollBHi", "Scroll B Hi", true, kRenderPlaneBHi, 1, 3, 1},
    {"chkScrnNoHScroll", "Ignore &H Scrolling", false, kRenderIgnoreHScroll, 0, 4, 1},
    {"chkScrnNoVScroll", "Ignore &V Scrolling", false, kRenderIgnoreVScroll, 1, 4, 1},
    {"chkScrnShowVirtual", "Show &entire virtual screen", false, kRenderVirtualScreen, 3, 0, 2},
    {"chkScrnNoShdwHilite", "Ignore &Shadow/Highlight", false, kRenderIgnoreShadowHighlight, 3, 2,
     2},
    {"chkScrnAllSprites", "&All sprites", false, kRenderAllSprites, 3, 4, 1},
}};
constexpr std::size_t kShowVirtualBox = 10;
constexpr std::size_t kAllSpritesBox = 12;

constexpr const char* kAllSpritesHint =
    "Every chained sprite, without the console's limits of sprites and cells per line and "
    "without masking by sprites at X 0. The entire virtual screen draws them all unless this "
    "is cleared there.";

// One Toggle button under each of the first five columns; it inverts the two boxes above it.
constexpr std::array<const char*, 5> kToggleButtonNames = {
    "btnScrnToggleSprites", "btnScrnToggleWindow", "btnScrnToggleScrollA", "btnScrnToggleScrollB",
    "btnScrnToggleHVScroll"};

// The plane map dialog: the formats in the order of the filter.
constexpr const char* kMapFilter = "Tiled map (*.tmx)|*.tmx|CSV name table words (*.csv)|*.csv";
constexpr TMapFormat kMapFilterFormats[] = {TMapFormat::mfTiled, TMapFormat::mfCsv};

struct TPlaneMapItem {
  const char* Name;
  const char* Caption;
  TPlaneId Plane;
};
constexpr TPlaneMapItem kPlaneMapItems[] = {
    {"pmiScreenMapA", "Plane &A...", TPlaneId::plA},
    {"pmiScreenMapB", "Plane &B...", TPlaneId::plB},
    {"pmiScreenMapWindow", "&Window...", TPlaneId::plWindow}};

}  // namespace

TScreenPage::TScreenPage(TPageHost& host, QWidget* parent) : TVDPPage(parent), m_host(host) {
  setObjectName("tsVDPScreen");
  buildControls();
}

void TScreenPage::buildControls() {
  auto* options = new QGridLayout;
  options->setHorizontalSpacing(12);
  options->setVerticalSpacing(0);
  for (std::size_t i = 0; i < kScreenCheckBoxes.size(); ++i) {
    const TScreenCheckBox& spec = kScreenCheckBoxes[i];
    auto* box = new QCheckBox(spec.Caption, this);
    box->setObjectName(spec.Name);
    box->setChecked(spec.Checked);
    options->addWidget(box, spec.Row, spec.Column, 1, spec.ColumnSpan);
    if (i == kShowVirtualBox) {
      connect(box, &QCheckBox::clicked, this, &TScreenPage::chkScrnShowVirtualClick);
    } else {
      connect(box, &QCheckBox::clicked, this, &TScreenPage::ScreenSettingsChange);
    }
    m_checkBoxes[i] = box;
  }
  m_checkBoxes[kAllSpritesBox]->setToolTip(kAllSpritesHint);
  for (std::size_t column = 0; column < m_toggleButtons.size(); ++column) {
    auto* button = new QPushButton("Toggle", this);
    button->setObjectName(kToggleButtonNames[column]);
    options->addWidget(button, 2, int(column), Qt::AlignLeft);
    connect(button, &QPushButton::clicked, this,
            [this, column] { btnScrnToggleClick(int(column)); });
    m_toggleButtons[column] = button;
  }
  options->setRowMinimumHeight(2, options->rowMinimumHeight(2) + 4);
  options->setColumnStretch(5, 1);

  m_pbScreen = new TScreenPaintBox(this);
  m_pbScreen->setObjectName("pbScreen");
  m_pbScreen->setToolTip("right-click to save");
  m_pbScreen->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  m_pbScreen->setContextMenuPolicy(Qt::CustomContextMenu);
  m_pmScreen = new QMenu(this);
  m_pmScreen->setObjectName("pmScreen");
  m_pmiScreenSaveBmp = m_pmScreen->addAction("&Save to Bitmap...");
  m_pmiScreenSaveBmp->setObjectName("pmiScreenSaveBmp");
  m_pmiScreenSaveOverlays = m_pmScreen->addAction("Save with &overlays...");
  m_pmiScreenSaveOverlays->setObjectName("pmiScreenSaveOverlays");
  connect(m_pbScreen, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { m_pmScreen->popup(m_pbScreen->mapToGlobal(at)); });
  connect(m_pmiScreenSaveBmp, &QAction::triggered, this, &TScreenPage::pmiScreenSaveBmpClick);
  connect(m_pmiScreenSaveOverlays, &QAction::triggered, this, &TScreenPage::SaveWithOverlays);
  QMenu* maps = m_pmScreen->addMenu("Save plane &map");
  maps->menuAction()->setObjectName("pmiScreenSaveMap");
  for (const TPlaneMapItem& item : kPlaneMapItems) {
    const TPlaneId plane = item.Plane;
    maps->addAction(item.Caption, this, [this, plane] { SavePlaneMap(plane); })
        ->setObjectName(item.Name);
  }

  buildInspector(options);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 0);
  page->setSpacing(6);
  page->addLayout(options);
  auto* picture = new QHBoxLayout;
  picture->addWidget(m_pbScreen, 1);
  picture->addWidget(m_accountPanel, 0, Qt::AlignTop);
  page->addLayout(picture, 1);

  // Tab order: each column's two boxes and its button, then the boxes of the last two rows.
  std::vector<QWidget*> order;
  for (std::size_t column = 0; column < m_toggleButtons.size(); ++column)
    order.insert(order.end(),
                 {m_checkBoxes[2 * column], m_checkBoxes[2 * column + 1], m_toggleButtons[column]});
  order.insert(order.end(), {m_checkBoxes[10], m_checkBoxes[11], m_checkBoxes[12]});
  order.insert(order.end(), m_overlayBoxes.begin(), m_overlayBoxes.end());
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}

uint16_t TScreenPage::ScreenOptions() const {
  uint16_t options = kRenderBackdrop;
  for (std::size_t i = 0; i < m_checkBoxes.size(); ++i)
    if (m_checkBoxes[i]->isChecked()) options |= kScreenCheckBoxes[i].Option;
  return options;
}

void TScreenPage::PageShow() {
  // A load while the page is selected but out of sight only marks it; it renders when seen.
  if (!isVisible()) {
    m_renderOnShow = true;
    return;
  }
  ScreenSettingsChange();
}

// The main window normally runs PageShow once the page can be seen; the queued check renders a
// picture left pending only when nothing else did.
void TScreenPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_renderOnShow)
    QTimer::singleShot(0, this, [this] {
      if (m_renderOnShow && isVisible()) ScreenSettingsChange();
    });
}

void TScreenPage::ScreenSettingsChange() {
  if (m_host.UpdateLock().Raised()) return;
  m_renderOnShow = false;
  // Sizes the picture for the screen or the entire virtual screen, sets its 256 colours
  // (Colour RAM, highlight and shadow forms) and composes it.
  RenderScreenPicture(m_host.VDP(), ScreenOptions(), m_screenBitmap);
  // Qt converts the 8-bit picture to the screen's pixels once, straight from its memory.
  m_pbScreen->SetPicture(QPixmap::fromImage(IndexedView(m_screenBitmap)));
  pictureShown();
  emit pictureRendered();
}

// The screen and the entire virtual screen keep their own "All sprites" choice: the screen
// follows the console's limits until asked otherwise, the virtual screen draws every sprite.
void TScreenPage::chkScrnShowVirtualClick() {
  QCheckBox* allSprites = m_checkBoxes[kAllSpritesBox];
  const bool shown = allSprites->isChecked();
  allSprites->setChecked(m_allSpritesOtherScreen);
  m_allSpritesOtherScreen = shown;
  ScreenSettingsChange();
}

void TScreenPage::btnScrnToggleClick(int column) {
  {
    const TUpdateLock::TScope lock(m_host.UpdateLock());
    for (QCheckBox* box :
         {m_checkBoxes[std::size_t(2 * column)], m_checkBoxes[std::size_t(2 * column + 1)]})
      box->setChecked(!box->isChecked());
  }
  ScreenSettingsChange();
}

// Writes the whole last picture, however little of it the paint box shows.
void TScreenPage::pmiScreenSaveBmpClick() {
  TFileDialog& dialog = m_host.FileDialogs().sdlgBmp;
  dialog.Filter = kScreenPictureFilter;
  dialog.DefaultExt.clear();
  dialog.OverwritePrompt = true;
  if (!m_host.Dialogs().GetSaveFileName(dialog)) return;
  RunCommand(m_host.Dialogs(), [&] { SavePicture(dialog.FileName.toStdString(), m_screenBitmap); });
}

void TScreenPage::SavePlaneMap(TPlaneId plane) {
  TFileDialog& dialog = m_host.FileDialogs().sdlgMisc;
  if (dialog.Filter != QLatin1String(kMapFilter)) {
    dialog.Filter = kMapFilter;
    dialog.FileName.clear();
    dialog.FilterIndex = 1;
  }
  dialog.DefaultExt.clear();
  dialog.OverwritePrompt = true;
  if (!m_host.Dialogs().GetSaveFileName(dialog)) return;
  const std::string path = dialog.FileName.toStdString();
  const int index = std::clamp(dialog.FilterIndex, 1, int(std::size(kMapFilterFormats))) - 1;
  const TMapFormat format = MapFormatFromFileName(path).value_or(kMapFilterFormats[index]);
  RunCommand(m_host.Dialogs(), [&] { ::vantor::SavePlaneMap(path, m_host.VDP(), plane, format); });
}

}  // namespace vantor
