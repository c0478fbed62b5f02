#include "pages/vdp/PatternsSpritesPage.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <optional>

#include "document/Numbers.h"
#include "document/SavestateDocument.h"
#include "pages/vdp/PatSprPictures.h"
#include "pictureio/PictureIO.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"
#include "widgets/CellStrip.h"
#include "widgets/FlowLayout.h"
#include "widgets/LinkLabel.h"

namespace vantor {

namespace {

constexpr int kPatternZoomAtStart = 8;
constexpr int kSpriteZoomAtStart = 4;
constexpr int kStripGap = 16;
constexpr int kZoomFactors[] = {1, 2, 4, 6, 8};
constexpr int kSpriteSizes = 16;  // "1x1" .. "4x4": width - 1 in bits 3-2, height - 1 in 1-0

// The integer an edit's text stands for, if it is one.
std::optional<int64_t> EditNumber(const QLineEdit* edit) {
  return TryParseInt64(edit->text().toStdString());
}

// An edit of about `digits` digits.
QLineEdit* NumberEdit(const char* name, int maxLength, int digits) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(digits, '0')) + 16);
  return edit;
}

QComboBox* DropDownList(const char* name, const QStringList& items) {
  auto* list = new QComboBox;
  list->setObjectName(name);
  list->addItems(items);
  return list;
}

// A check box with its caption left of the box.
QCheckBox* LeftCaptionCheckBox(const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  box->setLayoutDirection(Qt::RightToLeft);
  return box;
}

// A caption and its control kept together on one line of the attribute row.
QWidget* Labelled(QLabel* label, QWidget* control) {
  auto* group = new QWidget;
  auto* layout = new QHBoxLayout(group);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  if (label) {
    label->setBuddy(control);
    layout->addWidget(label);
  }
  layout->addWidget(control);
  return group;
}

}  // namespace

TPatternsSpritesPage::TPatternsSpritesPage(TPageHost& host, QWidget* parent)
    : TVDPPage(parent), m_host(host), m_spriteCell(32, 32, 8) {
  setObjectName("tsPatSprView");
  BuildControls();
  BuildMenu();
}

void TPatternsSpritesPage::BuildControls() {
  m_cbPalLine = DropDownList("cbPalLine", {"Use Palette Line 0", "Use Palette Line 1",
                                           "Use Palette Line 2", "Use Palette Line 3"});
  m_cbPatternSrc = DropDownList("cbPatternSrc", {"Read from Video RAM", "Read from Main RAM"});
  m_dgPatterns = new TCellStrip;
  m_dgPatterns->setObjectName("dgPatterns");
  m_dgPatterns->SetZoom(kPatternZoomAtStart);
  m_dgSprites = new TCellStrip;
  m_dgSprites->setObjectName("dgSprites");
  m_dgSprites->SetZoom(kSpriteZoomAtStart);

  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(4, 4, 4, 4);
  auto* lists = new QHBoxLayout;
  lists->addWidget(m_cbPalLine);
  lists->addWidget(m_cbPatternSrc);
  lists->addStretch();
  column->addLayout(lists);
  column->addWidget(m_dgPatterns);
  column->addSpacing(kStripGap - column->spacing());
  column->addWidget(m_dgSprites);
  column->addWidget(BuildAttributeRow());
  column->addStretch();

  // On a small window the page scrolls rather than squeezing the strips.
  auto* scroller = new QScrollArea;
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller->setWidget(content);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroller);

  QWidget* order[] = {m_cbPalLine, m_cbPatternSrc, m_dgPatterns, m_dgSprites,   m_edHPos,
                      m_edVPos,    m_cbSize,       m_edLink,     m_chkPriority, m_cbPal,
                      m_chkHF,     m_chkVF,        m_edPattern};
  for (std::size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);

  connect(m_cbPalLine, &QComboBox::currentIndexChanged, this,
          [this] { cbPalLineChange(m_cbPalLine); });
  connect(m_cbPatternSrc, &QComboBox::currentIndexChanged, this,
          [this] { cbPalLineChange(m_cbPatternSrc); });
  m_dgPatterns->SetCellPainter([this](QPainter& p, int k, const QRect& r, bool focused) {
    dgPatternsDrawCell(p, k, r, focused);
  });
  m_dgSprites->SetCellPainter([this](QPainter& p, int k, const QRect& r, bool focused) {
    dgSpritesDrawCell(p, k, r, focused);
  });
  connect(m_dgSprites, &TCellStrip::currentChanging, this,
          [this](int from, int to) { SyncSpriteAttributes(from, to, true); });
  for (TCellStrip* strip : {m_dgPatterns, m_dgSprites}) {
    connect(strip, &TCellStrip::activated, this, [this, strip] { JumpToBytes(strip); });
    connect(strip, &TCellStrip::menuRequested, this, [this](const QPoint& pos) {
      pmPatSprPopup();
      m_menu->popup(pos);
    });
  }
}

QWidget* TPatternsSpritesPage::BuildAttributeRow() {
  m_edHPos = NumberEdit("lbledSpriteHPos", 6, 6);
  m_edVPos = NumberEdit("lbledSpriteVPos", 6, 6);
  QStringList sizes;
  for (int size = 0; size < kSpriteSizes; ++size) {
    sizes << QString("%1x%2").arg((size >> 2) + 1).arg((size & 3) + 1);
  }
  m_cbSize = DropDownList("cbSpriteSize", sizes);
  m_edLink = NumberEdit("lbledSpriteLink", 3, 3);
  m_chkPriority = LeftCaptionCheckBox("chkSpritePriority", "Hi&Priority");
  m_cbPal = DropDownList("cbSpritePal", {"0", "1", "2", "3"});
  m_chkHF = LeftCaptionCheckBox("chkSpriteHF", "&HFlip");
  m_chkVF = LeftCaptionCheckBox("chkSpriteVF", "&VFlip");
  m_edPattern = NumberEdit("lbledSpritePattern", 4, 4);
  m_lblLink = new TLinkLabel("&LinkData");
  m_lblPattern = new TLinkLabel("&First Pattern");

  auto* row = new QWidget;
  auto* flow = new TFlowLayout(row, 12, 4);
  flow->addWidget(Labelled(new QLabel("HP&os"), m_edHPos));
  flow->addWidget(Labelled(new QLabel("VPos"), m_edVPos));
  flow->addWidget(Labelled(new QLabel("&Size"), m_cbSize));
  flow->addWidget(Labelled(m_lblLink, m_edLink));
  flow->addWidget(Labelled(nullptr, m_chkPriority));
  flow->addWidget(Labelled(new QLabel("P&al"), m_cbPal));
  flow->addWidget(Labelled(nullptr, m_chkHF));
  flow->addWidget(Labelled(nullptr, m_chkVF));
  flow->addWidget(Labelled(m_lblPattern, m_edPattern));

  for (QLineEdit* edit : {m_edHPos, m_edVPos, m_edLink, m_edPattern}) {
    connect(edit, &QLineEdit::editingFinished, this, &TPatternsSpritesPage::SpriteAttributeChange);
  }
  for (QComboBox* list : {m_cbSize, m_cbPal}) {
    connect(list, &QComboBox::currentIndexChanged, this,
            &TPatternsSpritesPage::SpriteAttributeChange);
  }
  for (QCheckBox* box : {m_chkPriority, m_chkHF, m_chkVF}) {
    connect(box, &QCheckBox::clicked, this, &TPatternsSpritesPage::SpriteAttributeChange);
  }
  connect(m_lblLink, &TLinkLabel::clicked, this,
          &TPatternsSpritesPage::SpriteLinkEditLabelMouseDown);
  connect(m_lblPattern, &TLinkLabel::clicked, this,
          &TPatternsSpritesPage::SpritePatternEditLabelMouseDown);
  return row;
}

void TPatternsSpritesPage::BuildMenu() {
  m_menu = new QMenu(this);
  m_menu->setObjectName("pmPatSpr");
  m_menu->addAction("&Save all to Bitmap...", this, [this] { SaveAllToBitmap(MenuTarget()); })
      ->setObjectName("pmiPatSprSave");
  m_loadAction = m_menu->addAction("&Load from Bitmap...", this,
                                   &TPatternsSpritesPage::LoadPatternsFromBitmap);
  m_loadAction->setObjectName("pmiPatSprLoad");
  QMenu* zoom = m_menu->addMenu("&Zoom");
  zoom->menuAction()->setObjectName("pmiPatSprZoom");
  m_zoomGroup = new QActionGroup(zoom);
  for (int factor : kZoomFactors) {
    QAction* item = zoom->addAction(QString("x%1").arg(factor));
    item->setCheckable(true);
    item->setData(factor);
    m_zoomGroup->addAction(item);
    connect(item, &QAction::triggered, this, [this, factor] { SetZoom(MenuTarget(), factor); });
  }
}

void TPatternsSpritesPage::PageShow() {
  const TMegaDriveVDP& vdp = m_host.VDP();
  const int cellWidth = vdp.CellWidth();
  const int cellHeight = vdp.CellHeight();
  m_spriteCell.SetSize(4 * cellWidth, 4 * cellHeight);
  const int patternZoom = m_dgPatterns->Zoom();
  m_dgPatterns->SetCells(vdp.GetMetric(mkPatternCount), cellWidth * patternZoom,
                         cellHeight * patternZoom);
  const int spriteZoom = m_dgSprites->Zoom();
  m_dgSprites->SetCells(vdp.GetMetric(mkSpriteCount), 4 * cellWidth * spriteZoom,
                        4 * cellHeight * spriteZoom);
  {
    const TUpdateLock::TScope lock(m_host.UpdateLock());
    m_cbPatternSrc->setCurrentIndex(int(m_host.PatternSource()));
  }
  cbPalLineChange(m_cbPalLine);
  SyncSpriteAttributes(0, m_dgSprites->CurrentColumn(), false);
  m_dgSprites->viewport()->update();
}

void TPatternsSpritesPage::cbPalLineChange(QComboBox* sender) {
  if (sender == m_cbPatternSrc) {
    if (m_host.UpdateLock().Raised()) return;
    m_host.SetPatternSource(TPatternSource(m_cbPatternSrc->currentIndex()));
    emit patternsChanged();
  }
  // The colour table is taken from the chosen line at every paint.
  m_dgPatterns->viewport()->update();
}

void TPatternsSpritesPage::dgPatternsDrawCell(QPainter& painter, int column, const QRect& rect,
                                              bool focused) {
  const TMegaDriveVDP& vdp = m_host.VDP();
  const std::span<const uint8_t> source =
      m_host.Document().PatternSourceData(m_host.PatternSource());
  painter.drawImage(rect, PatternCellImage(vdp, source, column, m_cbPalLine->currentIndex()));
  if (focused) {
    const int address = column * vdp.GetMetric(mkPatternBytes);
    emit statusText(QString::asprintf("Pattern %d, Address $%.4X", column, address));
  }
}

void TPatternsSpritesPage::dgSpritesDrawCell(QPainter& painter, int column, const QRect& rect,
                                             bool focused) {
  const TMegaDriveVDP& vdp = m_host.VDP();
  painter.drawImage(rect, SpriteCellImage(vdp, column, m_spriteCell));
  if (focused) {
    // Where the VDP reads the entry: in H40 the table starts at a multiple of $400.
    const uint32_t address = vdp.SpriteEntryAddress(column);
    emit statusText(QString::asprintf("Sprite %d, Address $%.4X", column, unsigned(address)));
  }
}

void TPatternsSpritesPage::SyncSpriteAttributes(int from, int to, bool store) {
  const TUpdateLock::TScope lock(m_host.UpdateLock());
  TMegaDriveVDP& vdp = m_host.VDP();
  if (store) {
    const TSpriteEntry old = vdp.GetSprite(uint8_t(from));
    TSpriteEntry entry;
    entry.Y = uint16_t(EditNumber(m_edVPos).value_or(old.Y));
    entry.Size = m_cbSize->currentIndex() >= 0 ? uint8_t(m_cbSize->currentIndex()) : old.Size;
    entry.Link = uint8_t(EditNumber(m_edLink).value_or(old.Link));
    // A pattern number outside 0..2047 would spill into the flag bits: it is not taken.
    const std::optional<int64_t> pattern = EditNumber(m_edPattern);
    const bool fits = pattern && *pattern >= 0 && *pattern <= TSpriteEntry::kPattern;
    entry.SetPattern(fits ? uint16_t(*pattern) : old.Pattern());
    entry.SetPriority(m_chkPriority->isChecked());
    entry.SetPalLine(std::max(0, m_cbPal->currentIndex()));
    entry.SetVFlip(m_chkVF->isChecked());
    entry.SetHFlip(m_chkHF->isChecked());
    entry.X = uint16_t(EditNumber(m_edHPos).value_or(old.X));
    if (!(entry == old)) {
      vdp.SetSprite(uint8_t(from), entry);
      m_host.SetModified(true);
    }
  }
  const TSpriteEntry shown = vdp.GetSprite(uint8_t(to));
  m_edVPos->setText(QString::number(shown.Y));
  m_cbSize->setCurrentIndex(shown.Size & 0x0F);
  m_edLink->setText(QString::number(shown.Link));
  m_chkPriority->setChecked(shown.Priority());
  m_cbPal->setCurrentIndex(shown.PalLine());
  m_chkVF->setChecked(shown.VFlip());
  m_chkHF->setChecked(shown.HFlip());
  m_edPattern->setText(QString::number(shown.Pattern()));
  m_edHPos->setText(QString::number(shown.X));
}

void TPatternsSpritesPage::CommitEdit() {
  const QWidget* focused = window()->focusWidget();
  for (const QLineEdit* edit : {m_edHPos, m_edVPos, m_edLink, m_edPattern}) {
    if (edit == focused) SpriteAttributeChange();
  }
}

void TPatternsSpritesPage::SpriteAttributeChange() {
  if (m_host.UpdateLock().Raised()) return;
  const int current = m_dgSprites->CurrentColumn();
  SyncSpriteAttributes(current, current, true);
  m_dgSprites->viewport()->update();
}

void TPatternsSpritesPage::SpriteLinkEditLabelMouseDown(Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  const int64_t n = EditNumber(m_edLink).value_or(-1);
  if (n < 0) return;
  // The link field reaches 127 but the table may hold only 64 or 80 sprites.
  if (n >= m_dgSprites->ColumnCount()) {
    m_host.Dialogs().Beep();
    return;
  }
  m_dgSprites->SelectColumn(int(n));
  m_dgSprites->setFocus(Qt::OtherFocusReason);
}

void TPatternsSpritesPage::SpritePatternEditLabelMouseDown(Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  const int64_t n = EditNumber(m_edPattern).value_or(-1);
  if (n < 0) return;
  const int count = m_dgPatterns->ColumnCount();
  if (n >= count) {
    m_host.Dialogs().Beep();
    return;
  }
  SelectPattern(int(n));
}

// Column n the leftmost visible one (or as far as the strip scrolls), current and focused.
void TPatternsSpritesPage::SelectPattern(int n) {
  const int count = m_dgPatterns->ColumnCount();
  m_dgPatterns->SetLeftColumn(std::max(0, std::min(n, count - m_dgPatterns->VisibleColumnCount())));
  m_dgPatterns->SelectColumn(n);
  m_dgPatterns->setFocus(Qt::OtherFocusReason);
}

// A pattern of the composed screen: it lives in Video RAM, where a pattern number counts
// pattern-sized steps that wrap at 64 KiB, as the console's addresses do.
void TPatternsSpritesPage::ShowPattern(int pattern, int paletteLine) {
  m_cbPatternSrc->setCurrentIndex(int(TPatternSource::psVideoRAM));
  m_cbPalLine->setCurrentIndex(paletteLine & 3);
  const int count = m_dgPatterns->ColumnCount();
  if (count > 0) SelectPattern(pattern % count);
}

void TPatternsSpritesPage::ShowSprite(int sprite) {
  if (sprite < 0 || sprite >= m_dgSprites->ColumnCount()) return;
  m_dgSprites->SelectColumn(sprite);
  m_dgSprites->setFocus(Qt::OtherFocusReason);
}

TCellStrip* TPatternsSpritesPage::MenuTarget() const {
  return m_menuTarget ? m_menuTarget : m_dgSprites;
}

void TPatternsSpritesPage::pmPatSprPopup() {
  m_menuTarget = m_dgPatterns->hasFocus() ? m_dgPatterns : m_dgSprites;
  // Pictures load into patterns only.
  m_loadAction->setEnabled(m_menuTarget == m_dgPatterns);
  for (QAction* item : m_zoomGroup->actions()) {
    item->setChecked(item->data().toInt() == m_menuTarget->Zoom());
  }
}

void TPatternsSpritesPage::SetZoom(TCellStrip* strip, int zoom) {
  strip->SetZoom(zoom);
  PageShow();
}

void TPatternsSpritesPage::SaveAllToBitmap(TCellStrip* strip) {
  RunCommand(m_host.Dialogs(), [&] {
    TFileDialog& dialog = m_host.FileDialogs().sdlgBmp;
    dialog.Filter = kBitmapFilter;
    dialog.DefaultExt.clear();
    dialog.OverwritePrompt = true;
    if (!m_host.Dialogs().GetSaveFileName(dialog)) return;
    TIndexedBitmap sheet;
    if (strip == m_dgPatterns) {
      const std::span<const uint8_t> source =
          m_host.Document().PatternSourceData(m_host.PatternSource());
      BuildPatternSheet(source.data(), source.size(), m_host.VDP(), m_cbPalLine->currentIndex(),
                        sheet);
    } else {
      BuildSpriteSheet(m_host.VDP(), kSpriteSheetColumns, sheet);
    }
    SavePicture(dialog.FileName.toStdString(), sheet);
  });
}

void TPatternsSpritesPage::JumpToBytes(TCellStrip* strip) {
  THexPageId target = THexPageId::hpVideoRAM;
  const int column = strip->CurrentColumn();
  // The sprite entry where the VDP reads it (the same address the status bar shows).
  int64_t offset = m_host.VDP().SpriteEntryAddress(column);
  if (strip == m_dgPatterns) {
    offset = int64_t(column) * m_host.VDP().GetMetric(mkPatternBytes);
    if (m_host.PatternSource() == TPatternSource::psMainRAM) target = THexPageId::hpMainRAM;
  }
  m_host.pcVDPChanging();
  emit jumpToMemory(target, offset);
}

}  // namespace vantor
