#include "panels/DecodedRegistersPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "document/Numbers.h"
#include "panels/HexJump.h"
#include "panels/LinkLabel.h"
#include "vdp/MegaDriveVDP.h"
#include "view/Dialogs.h"

namespace vantor {

namespace {

// Raises the host's UpdateLock for one scope, so the change events of controls filled by the
// program are ignored even when filling throws.
class TUpdateLockScope {
 public:
  explicit TUpdateLockScope(TVDPPageHost& host) : m_host(host) { m_host.IncUpdateLock(); }
  ~TUpdateLockScope() { m_host.DecUpdateLock(); }
  TUpdateLockScope(const TUpdateLockScope&) = delete;
  TUpdateLockScope& operator=(const TUpdateLockScope&) = delete;

 private:
  TVDPPageHost& m_host;
};

const TDecodedEdit& editSpec(int tag) {
  return kDecodedEdits[std::size_t(tag - 1)];
}

// The number syntax of the VDP pages: decimal, or hexadecimal after "$", "x" or "0x".
std::optional<int32_t> parseNumber(const QString& text) {
  return TryParseInt32(text.toStdString());
}

QString hexText(int value, int digits) {
  return "$" + QString::fromStdString(FormatHex(value, digits));
}

// Main CPU RAM and its mirrors fill the top 2 MiB of the 68000's address space.
constexpr int kMainRAMStart = 0xE00000;

constexpr const char* kInterlaceItems[] = {"No Interlace", "Interlaced",
                                           "Interlaced, double V resolution"};
constexpr const char* kDMAModeItems[] = {"Memory to VRAM", "VRAM Fill", "VRAM Copy"};
constexpr const char* kScrollModeItems[] = {
    "H: Full Scroll,      V: Full Scroll", "H: Full Scroll,      V: per 2 Cells",
    "H: per Cell row,   V: Full Scroll",   "H: per Cell row,   V: per 2 Cells",
    "H: per pixel line,  V: Full Scroll",  "H: per pixel line,  V: per 2 Cells"};
constexpr const char* kScrollSizeItems[] = {"32 x 32 Cells", "32 x 64 Cells", "32 x 128 Cells",
                                            "64 x 32 Cells", "64 x 64 Cells", "128 x 32 Cells"};
constexpr const char* kWndAlignItems[] = {"Upper Left", "Upper Right", "Lower Left", "Lower Right"};

template <std::size_t N>
QComboBox* makeList(QWidget* parent, const char* name, const char* const (&items)[N]) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  for (const char* item : items)
    list->addItem(item);
  return list;
}

}  // namespace

TDecodedRegistersPage::TDecodedRegistersPage(TVDPPageHost& host, QWidget* parent)
    : QWidget(parent), m_host(host) {
  setObjectName("tsVDPDecoded");
  createControls();
  layOutControls();
  setTabOrder();
  connectHandlers();
}

void TDecodedRegistersPage::createControls() {
  for (std::size_t i = 0; i < kDecodedCheckBoxes.size(); ++i) {
    m_checkBoxes[i] = new QCheckBox(kDecodedCheckBoxes[i].Caption, this);
    m_checkBoxes[i]->setObjectName(kDecodedCheckBoxes[i].Name);
  }
  const QFontMetrics fm(font());
  for (const TDecodedEdit& spec : kDecodedEdits) {
    auto* box = new QLineEdit(this);
    box->setObjectName(spec.Name);
    box->setMaxLength(spec.MaxLength);
    // Wide enough for the longest value the field shows, not for its maximum length.
    const char* sample = spec.Format == TEditFormat::efHex6 || spec.Tag == kTagDMALength ? "$FFFFFF"
                         : spec.Format == TEditFormat::efHex4                            ? "$FFFF"
                                                                                         : "$FF";
    box->setFixedWidth(fm.horizontalAdvance(sample) + 14);
    m_edits[std::size_t(spec.Tag - 1)] = box;
    if (spec.Caption) {
      QLabel* label = spec.Link == TEditLink::elNone ? new QLabel(spec.Caption, this)
                                                     : new TLinkLabel(spec.Caption, this);
      label->setObjectName(QString(spec.Name) + "Label");
      label->setBuddy(box);
      m_editLabels[std::size_t(spec.Tag - 1)] = label;
    }
  }
  edit(kTagBgColor)->setToolTip(kBgColorHint);
  editLabel(kTagBgColor)->setToolTip(kBgColorHint);

  cbInterlaceMode = makeList(this, "cbInterlaceMode", kInterlaceItems);
  cbDMAMode = makeList(this, "cbDMAMode", kDMAModeItems);
  cbScrollMode = makeList(this, "cbScrollMode", kScrollModeItems);
  cbScrollSize = makeList(this, "cbScrollSize", kScrollSizeItems);
  cbWndAlign = makeList(this, "cbWndAlign", kWndAlignItems);
  lblDisplayDim = new QLabel(this);
  lblDisplayDim->setObjectName("lblDisplayDim");
  lblInfos = new QLabel(this);
  lblInfos->setObjectName("lblInfos");
  lblInfos->setWordWrap(true);
  lblIgnoredBits = new QLabel(this);
  lblIgnoredBits->setObjectName("lblIgnoredBits");
  lblIgnoredBits->setWordWrap(true);

  // Lists of one column share one width, as the right-hand edits share one right edge.
  const int leftListWidth =
      std::max(cbInterlaceMode->sizeHint().width(), cbScrollMode->sizeHint().width());
  cbInterlaceMode->setFixedWidth(leftListWidth);
  cbScrollMode->setFixedWidth(leftListWidth);
  const int rightListWidth =
      std::max({cbDMAMode->sizeHint().width(), cbScrollSize->sizeHint().width(),
                cbWndAlign->sizeHint().width()});
  for (QComboBox* list : {cbDMAMode, cbScrollSize, cbWndAlign})
    list->setFixedWidth(rightListWidth);
}

void TDecodedRegistersPage::layOutControls() {
  // Switches: two columns, the display size under the right one.
  auto* flags = new QGridLayout;
  flags->setHorizontalSpacing(24);
  flags->setVerticalSpacing(0);
  for (std::size_t i = 0; i < m_checkBoxes.size(); ++i) {
    const int column = int(i) < kDecodedLeftCheckBoxes ? 0 : 1;
    const int row = column == 0 ? int(i) : int(i) - kDecodedLeftCheckBoxes;
    flags->addWidget(m_checkBoxes[i], row, column, Qt::AlignLeft);
  }
  auto* dim = new QHBoxLayout;
  dim->addSpacing(16);
  dim->addWidget(lblDisplayDim);
  flags->addLayout(dim, 4, 1);
  flags->setColumnStretch(2, 1);

  // Table addresses on the left, counters and DMA on the right, caption beside each edit.
  auto* edits = new QVBoxLayout;
  edits->setSpacing(3);
  for (int left = 1; left <= kDecodedLeftEdits; ++left) {
    const int right = left + kDecodedLeftEdits;
    edits->addLayout(pairRow(edit(left), editLabel(left), editLabel(right), edit(right)));
  }

  auto captionFor = [this](const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
  };
  auto* lists = new QVBoxLayout;
  lists->setSpacing(3);
  lists->addLayout(pairRow(cbInterlaceMode, captionFor("Interlace Mode", cbInterlaceMode),
                           captionFor("DMA Mode", cbDMAMode), cbDMAMode));
  lists->addLayout(pairRow(cbScrollMode, captionFor("Scroll Mode", cbScrollMode),
                           captionFor("Scroll Size", cbScrollSize), cbScrollSize));
  auto* window = pairRow(edit(kTagWinHPos), new QLabel("H", this),
                         captionFor("Window Alignment", cbWndAlign), cbWndAlign);
  window->insertSpacing(2, 8);
  window->insertWidget(3, edit(kTagWinVPos));
  window->insertWidget(4, editLabel(kTagWinVPos));
  lists->addLayout(window);

  auto* blocks = new QVBoxLayout;
  blocks->setSpacing(10);
  blocks->addLayout(flags);
  blocks->addLayout(edits);
  blocks->addLayout(lists);
  // A wider window leaves the blocks at their natural width rather than pulling the right-hand
  // column away from its captions; the information line may use the whole width.
  auto* row = new QHBoxLayout;
  row->addLayout(blocks);
  row->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(10);
  page->addLayout(row);
  page->addWidget(lblInfos);
  page->addWidget(lblIgnoredBits);
  page->addStretch(1);
}

// One line of a block: [control] caption ... caption [control]. Each line is its own layout,
// so a long caption on the left only needs room beside the right-hand pair of its own line.
QHBoxLayout* TDecodedRegistersPage::pairRow(QWidget* left, QWidget* leftCaption,
                                            QWidget* rightCaption, QWidget* right) {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  row->addWidget(left);
  row->addWidget(leftCaption);
  row->addSpacing(12);
  row->addStretch(1);
  row->addWidget(rightCaption);
  row->addWidget(right);
  return row;
}

// Check boxes, edits of Tags 1 to 10, then the lists and the window position as tabled.
void TDecodedRegistersPage::setTabOrder() {
  std::vector<QWidget*> order(m_checkBoxes.begin(), m_checkBoxes.end());
  order.insert(order.end(), m_edits.begin(), m_edits.begin() + kTagDMASource);
  order.insert(order.end(), {cbInterlaceMode, cbDMAMode, cbScrollMode, cbScrollSize,
                             edit(kTagWinHPos), edit(kTagWinVPos), cbWndAlign});
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}

void TDecodedRegistersPage::connectHandlers() {
  for (std::size_t i = 0; i < m_checkBoxes.size(); ++i)
    connect(m_checkBoxes[i], &QCheckBox::clicked, this, [this, i] { CheckBoxVDPClick(int(i)); });
  for (QComboBox* list : {cbInterlaceMode, cbDMAMode, cbScrollMode, cbScrollSize, cbWndAlign})
    connect(list, &QComboBox::currentIndexChanged, this, [this, list] { ComboBoxVDPChange(list); });
  for (const TDecodedEdit& spec : kDecodedEdits) {
    QLineEdit* box = edit(spec.Tag);
    box->installEventFilter(this);
    const int tag = spec.Tag;
    connect(box, &QLineEdit::returnPressed, this, [this, tag] { EditVDPExit(tag); });
    if (spec.Link == TEditLink::elNone) continue;
    auto* label = static_cast<TLinkLabel*>(editLabel(tag));
    connect(label, &TLinkLabel::clicked, this,
            [this, link = spec.Link, tag](Qt::MouseButton b) { linkClicked(link, tag, b); });
  }
}

// The exit event of the edits. A context menu of the edit is not an exit: the user is still
// working on the text.
bool TDecodedRegistersPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    for (std::size_t i = 0; i < m_edits.size(); ++i)
      if (m_edits[i] == watched) EditVDPExit(int(i) + 1);
  }
  return QWidget::eventFilter(watched, event);
}

void TDecodedRegistersPage::PageShow() {
  ShowDecodedRegisters();
}

void TDecodedRegistersPage::CommitEdit() {
  const QWidget* focused = window()->focusWidget();
  for (std::size_t i = 0; i < m_edits.size(); ++i)
    if (m_edits[i] == focused) EditVDPExit(int(i) + 1);
}

// The table edits show the addresses the VDP uses, which in H40 lack a register bit.
int TDecodedRegistersPage::fieldValue(int tag) const {
  const TMegaDriveVDP& vdp = m_host.VDP();
  if (tag == kTagDMALength) return vdp.GetDMALength();
  if (tag == kTagDMASource) return int(vdp.GetDMASource());
  if (tag == kTagWindowTable) return int(vdp.WindowTable());
  if (tag == kTagSpriteTable) return int(vdp.SpriteTable());
  return int(vdp.GetField(editSpec(tag).Descriptor));
}

// "H40 ignores register 5 bit 0 (the sprite table is at $F800, not $FA00)." and the like for
// the window table; empty when no ignored bit is set. The edits show the addresses used.
QString TDecodedRegistersPage::ignoredBitsText() const {
  const TMegaDriveVDP& vdp = m_host.VDP();
  struct TIgnored {
    const char* Bit;
    const char* Table;
    uint32_t Used, Set;
  };
  const TIgnored tables[] = {
      {"register 5 bit 0", "sprite", vdp.SpriteTable(), vdp.GetField(kFieldSpriteTable)},
      {"register 3 bit 1", "window", vdp.WindowTable(), vdp.GetField(kFieldWindowTable)},
  };
  QStringList parts;
  for (const TIgnored& t : tables) {
    if (t.Used == t.Set) continue;
    parts << QString("%1 (%2 table at %3, not %4)")
                 .arg(t.Bit, t.Table, hexText(int(t.Used), 4), hexText(int(t.Set), 4));
  }
  return parts.isEmpty() ? QString() : "H40 ignores " + parts.join(" and ") + ".";
}

QString TDecodedRegistersPage::formatValue(int tag) const {
  const int value = fieldValue(tag);
  switch (editSpec(tag).Format) {
    case TEditFormat::efHex2:
      return hexText(value, 2);
    case TEditFormat::efHex4:
      return hexText(value, 4);
    case TEditFormat::efHex6:
      return hexText(value, 6);
    case TEditFormat::efDecimal:
      break;
  }
  return QString::number(value);
}

void TDecodedRegistersPage::ShowDecodedRegisters() {
  TUpdateLockScope lock(m_host);
  TMegaDriveVDP& vdp = m_host.VDP();
  for (std::size_t i = 0; i < m_checkBoxes.size(); ++i)
    m_checkBoxes[i]->setChecked(vdp.GetFlag(kDecodedCheckBoxes[i].Tag));
  for (int tag = 1; tag <= kTagDMASource; ++tag)
    edit(tag)->setText(formatValue(tag));

  cbDMAMode->setCurrentIndex(vdp.GetDMAMode());
  cbInterlaceMode->setCurrentIndex(vdp.GetInterlaceMode());
  cbWndAlign->setCurrentIndex(vdp.GetWindowAnchor() & 3);
  const int modeCode = int(vdp.GetField(kFieldHScrollMode) * 2 + vdp.GetField(kFieldVScrollMode));
  cbScrollMode->setCurrentIndex(kScrollModeItemByCode[std::size_t(modeCode & 7)]);
  const int sizeCode =
      int(vdp.GetField(kFieldPlaneWidthCode) * 4 + vdp.GetField(kFieldPlaneHeightCode));
  cbScrollSize->setCurrentIndex(kScrollSizeItemByCode[std::size_t(sizeCode & 15)]);
  edit(kTagWinHPos)->setText(formatValue(kTagWinHPos));
  edit(kTagWinVPos)->setText(formatValue(kTagWinVPos));

  lblDisplayDim->setText(QString("--> Display is %1 x %2 Pixels")
                             .arg(vdp.GetMetric(mkScreenWidth))
                             .arg(vdp.GetMetric(mkScreenHeight)));
  lblInfos->setText(
      QString("Cell Dim = %1 x %2 Pixels --> Scroll Planes are %3 x %4 Pixels;  Window is %5 x "
              "%6 Pixels")
          .arg(vdp.CellWidth())
          .arg(vdp.CellHeight())
          .arg(vdp.GetMetric(mkPlaneWidth))
          .arg(vdp.GetMetric(mkPlaneHeight))
          .arg(vdp.GetMetric(mkWindowWidth))
          .arg(vdp.GetMetric(mkWindowHeight)));
  const QString ignored = ignoredBitsText();
  lblIgnoredBits->setText(ignored);
  lblIgnoredBits->setVisible(!ignored.isEmpty());
}

void TDecodedRegistersPage::CheckBoxVDPClick(int index) {
  const uint32_t tag = kDecodedCheckBoxes[std::size_t(index)].Tag;
  if (tag == 0 || m_host.UpdateLock() > 0) return;
  m_host.VDP().SetFlag(tag, m_checkBoxes[std::size_t(index)]->isChecked());
  m_host.SetModified(true);
  // Other fields follow some switches, e.g. the display size after H40.
  ShowDecodedRegisters();
}

void TDecodedRegistersPage::ComboBoxVDPChange(QComboBox* list) {
  if (m_host.UpdateLock() > 0) return;
  const int item = list->currentIndex();
  if (item < 0) return;
  TMegaDriveVDP& vdp = m_host.VDP();
  if (list == cbInterlaceMode) {
    vdp.SetInterlaceMode(uint8_t(item));
  } else if (list == cbDMAMode) {
    vdp.SetDMAMode(uint8_t(item));
  } else if (list == cbWndAlign) {
    vdp.SetWindowAnchor(uint8_t(item));
  } else if (list == cbScrollMode) {
    const int code = kScrollModeCodeByItem[std::size_t(item)];
    vdp.SetField(kFieldHScrollMode, uint16_t(code >> 1));
    vdp.SetField(kFieldVScrollMode, uint16_t(code & 1));
  } else if (list == cbScrollSize) {
    const int code = kScrollSizeCodeByItem[std::size_t(item)];
    vdp.SetField(kFieldPlaneWidthCode, uint16_t(code >> 2));
    vdp.SetField(kFieldPlaneHeightCode, uint16_t(code & 3));
  }
  m_host.SetModified(true);
  ShowDecodedRegisters();
}

void TDecodedRegistersPage::EditVDPExit(int tag) {
  TMegaDriveVDP& vdp = m_host.VDP();
  std::array<uint8_t, TMegaDriveVDP::kRegisterCount> before{};
  for (std::size_t r = 0; r < before.size(); ++r)
    before[r] = vdp.GetReg(uint8_t(r));

  if (const auto number = parseNumber(edit(tag)->text())) {
    // The model drops the bits outside the field's mask.
    if (tag == kTagDMALength)
      vdp.SetDMALength(uint16_t(*number));
    else if (tag == kTagDMASource)
      vdp.SetDMASource(uint32_t(*number));
    else
      vdp.SetField(editSpec(tag).Descriptor, uint16_t(*number));
  }
  for (std::size_t r = 0; r < before.size(); ++r) {
    if (vdp.GetReg(uint8_t(r)) != before[r]) {
      m_host.SetModified(true);
      break;
    }
  }
  // Shows what was really stored: the old value for text that is not a number, the masked
  // value for a number wider than the field.
  ShowDecodedRegisters();
}

// A link click leaves the page as a page change would (committing the edit being typed and
// writing the model into the image), then jumps to what the owner edit's value points at.
void TDecodedRegistersPage::linkClicked(TEditLink link, int tag, Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  m_host.pcVDPChanging();
  const int number = parseNumber(edit(tag)->text()).value_or(-1);
  switch (link) {
    case TEditLink::elVideoRAM:
      VRAMEditLabelClick(number);
      break;
    case TEditLink::elBgColor:
      BgColorEditLabelClick(number);
      break;
    case TEditLink::elDMASource:
      DMASrcEditLabelClick(number);
      break;
    case TEditLink::elNone:
      break;
  }
}

void TDecodedRegistersPage::VRAMEditLabelClick(int number) {
  if (number < 0) {
    m_host.Dialogs().Beep();
    return;
  }
  m_host.ShowVDPPage(TVDPPageId::vpVideoRAM);
  QCoreApplication::processEvents();
  if (!JumpToByte(m_host.HexEditor(THexPageId::hpVideoRAM), number)) m_host.Dialogs().Beep();
}

void TDecodedRegistersPage::BgColorEditLabelClick(int number) {
  if (number < 0 || number >= TMegaDriveVDP::kCramEntries) {
    m_host.Dialogs().Beep();
    return;
  }
  m_host.SelectCRAMRow(number);
}

void TDecodedRegistersPage::DMASrcEditLabelClick(int number) {
  const int mode = m_host.VDP().GetDMAMode();
  // Fill has no source; memory to VRAM reads from main RAM only when the address lies in it.
  if (mode == 1 || number < 0 || (mode == 0 && number < kMainRAMStart)) {
    m_host.Dialogs().Beep();
    return;
  }
  THexPageId target = THexPageId::hpVideoRAM;
  if (mode == 0) {
    target = THexPageId::hpMainRAM;
    m_host.ShowMainCPURAM();
  } else {
    m_host.ShowVDPPage(TVDPPageId::vpVideoRAM);
  }
  // Lets the page lay out first, so the editor knows how many rows it shows.
  QCoreApplication::processEvents();
  if (!JumpToByte(m_host.HexEditor(target), number & 0xFFFF)) m_host.Dialogs().Beep();
}

TDecodedRegistersPage* CreateDecodedRegistersPage(TVDPPageHost& host) {
  auto* page = new TDecodedRegistersPage(host);
  host.InstallVDPPage(TVDPPageId::vpDecoded, page, page);
  return page;
}

}  // namespace vantor
