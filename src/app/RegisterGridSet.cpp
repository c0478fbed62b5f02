#include "app/RegisterGridSet.h"

#include <QLineEdit>

#include "app/RegisterGrid.h"
#include "app/ScrollLock.h"
#include "document/FieldValues.h"
#include "document/SavestateDocument.h"
#include "statemodel/StateModel.h"

namespace vantor {
namespace {

// Every grid reads this many keys when it is filled, usable or not.
constexpr int kFillKeys = 1000;

// The memory block whose 16-bit elements a grid lists ("" for the register grids).
constexpr const char* blockKey(TGridId id) {
  switch (id) {
    case TGridId::sgCRAM:
      return "CRAM";
    case TGridId::sgVSRAM:
      return "VSRAM";
    case TGridId::sgHSRAM:
      return "HSRAM";
    default:
      return "";
  }
}

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TRegisterGridSet::TRegisterGridSet(TSavestateDocument& document, THooks hooks, QWidget* parent)
    : m_document(document), m_hooks(std::move(hooks)) {
  for (int i = 0; i < kGridCount; ++i) {
    const auto id = TGridId(i);
    auto* grid = new TRegisterGrid(parent);
    m_grids[std::size_t(i)] = grid;
    QObject::connect(grid, &TRegisterGrid::selectCell, grid,
                     [this, id](int col, int row, int, int targetRow) {
                       m_hooks.Run([&] { Commit(id, col, row, targetRow); });
                     });
    QObject::connect(grid, &TRegisterGrid::editTextChanged, grid,
                     [this, id](int col, int row, const QString& text) {
                       m_hooks.Run([&] { EditTextChanged(id, col, row, text); });
                     });
  }
  // The colour grid follows sgCRAM to its current colour however the row is chosen: a click,
  // a key, or a jump from another page to a grid that never had a current cell.
  QObject::connect(Grid(TGridId::sgCRAM), &QTableWidget::currentCellChanged, Grid(TGridId::sgCRAM),
                   [this](int row) {
                     if (m_hooks.FollowColor) m_hooks.FollowColor(row);
                   });
}

bool TRegisterGridSet::Find(const TRegisterGrid* grid, TGridId& id) const {
  for (int i = 0; i < kGridCount; ++i) {
    if (m_grids[std::size_t(i)] == grid) {
      id = TGridId(i);
      return true;
    }
  }
  return false;
}

// The horizontal scroll table lies inside Video RAM at the base register 13 names; -1 without
// a usable [VDP] RAM entry.
int64_t TRegisterGridSet::hscrollTableOffset() const {
  return HScrollTableOffset(m_document.Layout(), hscrollRegister());
}

int TRegisterGridSet::hscrollRegister() const {
  return m_hooks.HScrollRegister ? m_hooks.HScrollRegister() : 0;
}

void TRegisterGridSet::updateHSRAMEntry() {
  m_hscrollOffset = hscrollTableOffset();
  PlaceHSRAMEntry(m_document.Layout(), hscrollRegister());
}

void TRegisterGridSet::FollowHScrollTable() {
  if (hscrollTableOffset() != m_hscrollOffset) FillGrid(TGridId::sgHSRAM, -1);
}

bool TRegisterGridSet::GridRowKey(TGridId id, int row, std::string& section, std::string& key) {
  const int i = row - TRegisterGrid::kFixedRows;
  switch (id) {
    case TGridId::sgMainCPURegs:
      section = "CPU MC68000";
      key = LineKey(i);
      return true;
    case TGridId::sgSubCPURegs:
      if (row >= m_ym2612FirstRow) {
        section = "YM2612";
        key = LineKey(row - m_ym2612FirstRow);
      } else if (row >= m_psgFirstRow) {
        section = "PSG";
        key = LineKey(row - m_psgFirstRow);
      } else {
        section = "CPU Z80";
        key = LineKey(i);
      }
      return true;
    case TGridId::sgVDPRegs:
      section = "VDP";
      key = LineKey(i);
      return true;
    case TGridId::sgHSRAM:
    case TGridId::sgCRAM:
    case TGridId::sgVSRAM:
      section = "VDP";
      key = SubFieldKey(m_document.Layout(), blockKey(id), 2 * int64_t(i), 2);
      return true;
  }
  return false;
}

void TRegisterGridSet::ShowFieldValue(TGridId id, int firstValueCol, int row, int64_t value,
                                      int byteCount) {
  const auto texts = FormatFieldTexts(value, byteCount);
  TRegisterGrid* grid = Grid(id);
  for (int k = 0; k < 3; ++k)
    grid->SetCell(firstValueCol + k, row, fromStd(texts[std::size_t(k)]));
}

int TRegisterGridSet::FillGrid(TGridId id, int firstRow) {
  bool complete = true;
  return fillRows(id, firstRow, complete);
}

int TRegisterGridSet::fillRows(TGridId id, int firstRow, bool& complete) {
  if (id == TGridId::sgHSRAM) updateHSRAMEntry();
  TRegisterGrid* grid = Grid(id);
  int row = firstRow < 0 ? TRegisterGrid::kFixedRows : firstRow;
  int result = row;
  std::string section;
  std::string key;
  for (int n = 0; n < kFillKeys; ++n, ++row) {
    if (!GridRowKey(id, row, section, key)) break;
    const TFieldValue field = TryReadField(m_document.Layout(), m_document.Image(), section, key);
    if (field.Ok) {
      if (row >= grid->RowCount()) grid->SetRowCount(row + 1);
      ShowFieldValue(id, TRegisterGrid::kFixedCols, row, field.Value, field.ByteCount);
      result = row;
    } else {
      // No value, never one left from before: a field past the end of a short savestate
      // shows as a blank row, which takes no input.
      for (int col = TRegisterGrid::kFixedCols; col < grid->ColCount(); ++col) {
        if (!grid->Cell(col, row).isEmpty()) grid->SetCell(col, row, QString());
      }
      if (field.PastEnd) complete = false;
    }
    grid->SetCell(0, row, fromStd(field.Spec.Name));
  }
  return result;
}

bool TRegisterGridSet::FillAll() {
  bool complete = true;
  m_psgFirstRow = INT_MAX;
  m_ym2612FirstRow = INT_MAX;
  fillRows(TGridId::sgMainCPURegs, -1, complete);
  const int z80Last = fillRows(TGridId::sgSubCPURegs, -1, complete);
  m_psgFirstRow = z80Last + 2;
  const int psgLast = fillRows(TGridId::sgSubCPURegs, m_psgFirstRow, complete);
  m_ym2612FirstRow = psgLast + 2;
  fillRows(TGridId::sgSubCPURegs, m_ym2612FirstRow, complete);
  for (TGridId id : {TGridId::sgVDPRegs, TGridId::sgVSRAM, TGridId::sgHSRAM, TGridId::sgCRAM}) {
    fillRows(id, -1, complete);
  }
  return complete;
}

void TRegisterGridSet::Commit(TGridId id, int col, int row, int targetRow) {
  TRegisterGrid* grid = Grid(id);
  if (row < TRegisterGrid::kFixedRows || row >= grid->RowCount()) return;
  if (grid->IsLabelRow(col, row)) return;
  std::string section;
  std::string key;
  if (!GridRowKey(id, row, section, key)) return;
  TLayout& layout = m_document.Layout();
  const TFieldValue current = ReadField(layout, m_document.Image(), section, key);
  const int kind = col - TRegisterGrid::kFixedCols;
  if (kind < 0 || kind > 2) return;
  const std::string typed = grid->CellText(col, row).toStdString();
  const int64_t value = ParseFieldInput(TColumnKind(kind), typed, current.Value, current.Spec);
  if (value != current.Value) {
    WriteField(layout, m_document.Image(), section, key, value);
    if (m_hooks.Changed) m_hooks.Changed();
  }
  if (id == TGridId::sgCRAM && m_hooks.FollowColor) {
    m_hooks.FollowColor(targetRow - TRegisterGrid::kFixedRows);
  }
  ShowFieldValue(id, TRegisterGrid::kFixedCols, row, value, current.ByteCount);
  if (grid->Editor() && grid->Col() == col && grid->Row() == row) {
    grid->SetEditorText(grid->Cell(col, row));
  }
}

void TRegisterGridSet::EditTextChanged(TGridId id, int col, int row, const QString& text) {
  TRegisterGrid* grid = Grid(id);
  if (grid->IsLabelRow(col, row)) {
    grid->SetEditorText(QString());
    grid->SetCell(col, row, QString());
    return;
  }
  static const QStringList kSteps = {QStringLiteral("*"), QStringLiteral("+"), QStringLiteral("-"),
                                     QStringLiteral("/")};
  const bool locked = m_hooks.ScrollLock ? m_hooks.ScrollLock() : ScrollLockOn();
  if (!locked && kSteps.contains(text)) Commit(id, col, row, row);
}

}  // namespace vantor
