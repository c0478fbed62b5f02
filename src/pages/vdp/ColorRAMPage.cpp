#include "pages/vdp/ColorRAMPage.h"

#include <QMenu>
#include <QVBoxLayout>

#include "document/FieldValues.h"
#include "document/FileIO.h"
#include "document/PaletteFiles.h"
#include "document/SavestateDocument.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/ColorGrid.h"

namespace vantor {

namespace {

constexpr int kEntries = TColorGrid::kLines * TColorGrid::kIndexes;

QColor ColorFromColorRef(uint32_t colorRef) {
  return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

int32_t ColorRefFromColor(const QColor& color) {
  return int32_t(uint32_t(color.red()) | uint32_t(color.green()) << 8 |
                 uint32_t(color.blue()) << 16);
}

// The formats in the order of kPaletteFilter.
constexpr TPaletteFormat kFilterFormats[] = {TPaletteFormat::pfJasc, TPaletteFormat::pfGimp,
                                             TPaletteFormat::pfAct};

// A palette dialog keeps the filter, the chosen filter and the name of the last palette
// command; a dialog without this filter (never used, cleared by a memory page, or left by
// another command) starts afresh.
void PreparePaletteDialog(TFileDialog& dialog) {
  if (dialog.Filter != QLatin1String(kPaletteFilter)) {
    dialog.Filter = kPaletteFilter;
    dialog.FileName.clear();
    dialog.FilterIndex = 1;
  }
  dialog.DefaultExt.clear();
}

// The format the file's extension names, else the one of the chosen filter.
TPaletteFormat ChosenFormat(const TFileDialog& dialog) {
  if (const auto format = PaletteFormatFromFileName(dialog.FileName.toStdString())) return *format;
  const int index = dialog.FilterIndex - 1;
  return index >= 0 && index < int(std::size(kFilterFormats)) ? kFilterFormats[index]
                                                              : TPaletteFormat::pfJasc;
}

}  // namespace

TColorRAMPage::TColorRAMPage(TPageHost& host, QWidget* parent)
    : TVDPPage(parent), m_host(host), m_grid(new TColorGrid), m_menu(new QMenu(m_grid)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_grid);
  m_grid->setObjectName("dgCRAM");
  m_menu->setObjectName("pmCRAM");
  m_grid->SetColorFunction(
      [this](int line, int index, bool focused) { return CellColor(line, index, focused); });
  m_grid->SetBeforePaint([this] { BeforePaint(); });

  QAction* set =
      m_menu->addAction("&Set selected colors...", this, &TColorRAMPage::SetSelectedColors);
  set->setObjectName("pmiCRAMSetColors");
  // Enter is the grid's own key; the menu only shows it.
  set->setShortcut(QKeySequence(Qt::Key_Return));
  set->setShortcutVisibleInContextMenu(true);
  m_menu
      ->addAction("&Load selected colors from PSP palette...", this,
                  &TColorRAMPage::pmiCRAMLoadPalClick)
      ->setObjectName("pmiCRAMLoadPal");
  m_menu
      ->addAction("&Save selected colors to PSP palette...", this,
                  &TColorRAMPage::pmiCRAMSavePalClick)
      ->setObjectName("pmiCRAMSavePal");

  connect(m_grid, &TColorGrid::activated, this, &TColorRAMPage::SetSelectedColors);
  connect(m_grid, &TColorGrid::columnMoved, this, &TColorRAMPage::dgCRAMColumnMoved);
  connect(m_grid, &TColorGrid::rowMoved, this, &TColorRAMPage::dgCRAMRowMoved);
  connect(m_grid, &TColorGrid::menuRequested, m_menu,
          [this](const QPoint& pos) { m_menu->popup(pos); });
}

void TColorRAMPage::PageShow() {
  m_grid->update();
}

void TColorRAMPage::ModelReloaded() {
  m_grid->update();
}

void TColorRAMPage::FollowColor(int entry) {
  if (entry < 0 || entry >= kEntries) return;
  m_grid->SetCurrentCell(entry / TColorGrid::kIndexes, entry % TColorGrid::kIndexes);
}

void TColorRAMPage::BeforePaint() {
  // A register grid edit changed the image: the swatches must show the new colours.
  if (m_host.VDPStale()) m_host.ImageToVDP();
}

QColor TColorRAMPage::CellColor(int line, int index, bool focused) {
  const uint16_t entry = m_host.VDP().GetPaletteColor(uint8_t(line), uint8_t(index));
  const uint32_t colorRef = CRAMToColorRef(entry);
  if (focused) {
    emit statusText(QString::asprintf("Color [%d,%d] =$%.4X ($%.8X)", line, index, unsigned(entry),
                                      unsigned(colorRef)));
  }
  return ColorFromColorRef(colorRef);
}

std::vector<int> TColorRAMPage::SelectedEntries() const {
  const QRect selection = m_grid->Selection();
  std::vector<int> entries;
  for (int line = selection.top(); line <= selection.bottom(); ++line) {
    for (int index = selection.left(); index <= selection.right(); ++index) {
      entries.push_back(line * TColorGrid::kIndexes + index);
    }
  }
  return entries;
}

bool TColorRAMPage::StoreColor(int entry, uint16_t word) {
  TMegaDriveVDP& vdp = m_host.VDP();
  if (vdp.GetColor(uint8_t(entry)) == word) return false;
  if (!WriteFieldValueAt(m_host.Layout(), m_host.Document().Image(), "VDP", "CRAM", entry * 2, word,
                         2)) {
    return false;
  }
  vdp.SetColor(uint8_t(entry), word);
  return true;
}

bool TColorRAMPage::SwapColors(int a, int b) {
  TMegaDriveVDP& vdp = m_host.VDP();
  const uint16_t oldA = vdp.GetColor(uint8_t(a));
  const uint16_t oldB = vdp.GetColor(uint8_t(b));
  if (oldA == oldB) return false;
  TLayout& layout = m_host.Layout();
  SavestateImage& image = m_host.Document().Image();
  if (!WriteFieldValueAt(layout, image, "VDP", "CRAM", a * 2, oldB, 2)) return false;
  if (!WriteFieldValueAt(layout, image, "VDP", "CRAM", b * 2, oldA, 2)) {
    // Only the first entry reached the image; the model follows it so that the two agree.
    m_host.ImageToVDP();
    return true;
  }
  vdp.SetColor(uint8_t(a), oldB);
  vdp.SetColor(uint8_t(b), oldA);
  return true;
}

void TColorRAMPage::FinishChange(bool changed) {
  if (!changed) return;
  m_host.SetModified(true);
  emit colorsChanged();
  m_grid->update();
}

void TColorRAMPage::SetSelectedColors() {
  const QPoint current = m_grid->CurrentCell();
  const uint16_t entry = m_host.VDP().GetPaletteColor(uint8_t(current.y()), uint8_t(current.x()));
  const std::optional<QColor> chosen =
      m_host.Dialogs().ChooseColor(ColorFromColorRef(CRAMToColorRef(entry)));
  if (!chosen) return;
  const uint16_t word = ColorRefToCRAM(ColorRefFromColor(*chosen));
  bool changed = false;
  for (int index : SelectedEntries())
    changed |= StoreColor(index, word);
  FinishChange(changed);
}

void TColorRAMPage::dgCRAMColumnMoved(int from, int to) {
  bool changed = false;
  for (int line = 0; line < TColorGrid::kLines; ++line) {
    changed |= SwapColors(line * TColorGrid::kIndexes + from, line * TColorGrid::kIndexes + to);
  }
  FinishChange(changed);
}

void TColorRAMPage::dgCRAMRowMoved(int from, int to) {
  bool changed = false;
  for (int index = 0; index < TColorGrid::kIndexes; ++index) {
    changed |= SwapColors(from * TColorGrid::kIndexes + index, to * TColorGrid::kIndexes + index);
  }
  FinishChange(changed);
}

void TColorRAMPage::pmiCRAMSavePalClick() {
  RunCommand(m_host.Dialogs(), [this] {
    TFileDialog& dialog = m_host.FileDialogs().sdlgMisc;
    PreparePaletteDialog(dialog);
    dialog.OverwritePrompt = true;
    if (!m_host.Dialogs().GetSaveFileName(dialog)) return;
    std::vector<TPalColor> colors;
    for (int index : SelectedEntries()) {
      colors.push_back(PalColorFromRGB(CRAMToRGB32(m_host.VDP().GetColor(uint8_t(index)))));
    }
    WriteFileSafely(dialog.FileName.toStdString(), FormatPalette(ChosenFormat(dialog), colors));
  });
}

void TColorRAMPage::pmiCRAMLoadPalClick() {
  RunCommand(m_host.Dialogs(), [this] {
    TFileDialog& dialog = m_host.FileDialogs().odlgMisc;
    PreparePaletteDialog(dialog);
    if (!m_host.Dialogs().GetOpenFileName(dialog)) return;
    const TPaletteFormat format = ChosenFormat(dialog);
    const std::vector<uint8_t> bytes =
        ReadFileBytes(dialog.FileName.toStdString(), PaletteReadLimit(format));
    const TPaletteReadResult palette = ReadPalette(
        format, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        kEntries);
    if (!palette.Ok) {
      ReportError(m_host.Dialogs(), QString::fromStdString(palette.Message));
      return;
    }
    // Cells beyond the colours the file supplied keep their colours.
    const std::vector<int> entries = SelectedEntries();
    const std::size_t n = std::min(entries.size(), palette.Colors.size());
    bool changed = false;
    for (std::size_t i = 0; i < n; ++i) {
      changed |= StoreColor(entries[i], RGBToCRAM(PalColorToRGB(palette.Colors[i])));
    }
    FinishChange(changed);
  });
}

}  // namespace vantor
