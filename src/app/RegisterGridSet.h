// The six register grids of the main window: their rows come from the layout file, their
// edits go straight into the savestate image.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>

class QString;
class QWidget;

namespace vantor {

class TRegisterGrid;
class TSavestateDocument;

enum class TGridId { sgMainCPURegs, sgSubCPURegs, sgVDPRegs, sgCRAM, sgVSRAM, sgHSRAM };
inline constexpr int kGridCount = 6;

class TRegisterGridSet {
 public:
  struct THooks {
    // A commit changed a value: SetModified(true) and mark the VDP model stale.
    std::function<void()> Changed;
    // sgCRAM moved to colour entry (0..63), or a commit there changed it: the colour grid
    // follows and repaints.
    std::function<void(int entry)> FollowColor;
    // VDP register 13 of the model (the horizontal scroll table base).
    std::function<int()> HScrollRegister;
    // Scroll Lock is on (the key or the program's switch): no one-key steps. Unset: the key.
    std::function<bool()> ScrollLock;
    // Runs a user action inside the program's one error report.
    std::function<void(const std::function<void()>&)> Run;
  };

  TRegisterGridSet(TSavestateDocument& document, THooks hooks, QWidget* parent);

  TRegisterGrid* Grid(TGridId id) const { return m_grids[std::size_t(id)]; }
  // The grid's id, or false for a grid that is not one of the six.
  bool Find(const TRegisterGrid* grid, TGridId& id) const;

  // Fills the rows from firstRow (-1: the first data row) through exactly 1000 keys; returns
  // the last row that received a value (firstRow when none did). A row whose field lies past
  // the image's end shows its name and no value. sgHSRAM takes the table register 13 names.
  int FillGrid(TGridId id, int firstRow);
  // The full fill: main CPU, the sub-CPU grid in three passes, VDP, VSRAM, HSRAM, CRAM.
  // False when some field lay past the image's end.
  bool FillAll();
  // sgHSRAM is filled again when register 13 now names another table than the one it shows.
  void FollowHScrollTable();

  // The layout section and key a row of a grid stands for; for sgHSRAM, in the table the grid
  // shows (the one register 13 named when it was filled).
  bool GridRowKey(TGridId id, int row, std::string& section, std::string& key);
  void ShowFieldValue(TGridId id, int firstValueCol, int row, int64_t value, int byteCount);

  // The select-cell rule: commits the cell (col, row) being left for targetRow.
  void Commit(TGridId id, int col, int row, int targetRow);
  // The editor's text changed: label rows refuse it, "+", "-", "*", "/" step at once while
  // Scroll Lock is off.
  void EditTextChanged(TGridId id, int col, int row, const QString& text);

  int PSGFirstRow() const { return m_psgFirstRow; }
  int YM2612FirstRow() const { return m_ym2612FirstRow; }

 private:
  int fillRows(TGridId id, int firstRow, bool& complete);
  int hscrollRegister() const;
  int64_t hscrollTableOffset() const;
  void updateHSRAMEntry();

  TSavestateDocument& m_document;
  THooks m_hooks;
  std::array<TRegisterGrid*, kGridCount> m_grids{};
  int m_psgFirstRow = INT_MAX;
  int m_ym2612FirstRow = INT_MAX;
  int64_t m_hscrollOffset = -1;  // the table sgHSRAM shows ([VDP] HSRAM's offset)
};

}  // namespace vantor
