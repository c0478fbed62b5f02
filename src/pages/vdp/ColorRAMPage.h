// The "Color RAM" page: the colour grid dgCRAM above the value grid sgCRAM. The user sets the
// selected colours from the colour dialog, exchanges them with palette files (JASC-PAL, GIMP,
// Adobe colour tables) and swaps columns or palette lines by dragging headers. Every change goes
// into the savestate image (section "VDP", key "CRAM") and into the model at once.
#pragma once

#include <cstdint>
#include <vector>

#include "pages/VDPPage.h"

class QMenu;
class QAction;

namespace vantor {

class TColorGrid;

// The filter of the palette commands' file dialogs; the chosen filter picks the format of a
// file whose name does not say it.
inline constexpr const char* kPaletteFilter =
    "Jasc Palette (*.pal; *.PspPalette)|*.pal;*.PspPalette|GIMP Palette (*.gpl)|*.gpl|"
    "Adobe Color Table (*.act)|*.act";

// The page is the colour grid; the main window puts it above sgCRAM.
class TColorRAMPage : public TVDPPage {
  Q_OBJECT

 public:
  explicit TColorRAMPage(TPageHost& host, QWidget* parent = nullptr);

  TColorGrid* dgCRAM() const { return m_grid; }
  QMenu* pmCRAM() const { return m_menu; }

  void PageShow() override;
  // The model's colours changed: the swatches are repainted.
  void ModelReloaded() override;
  // The value grid sgCRAM moved to colour entry (0..63): the grid's current cell follows.
  void FollowColor(int entry);

  // The Colour RAM entries (line * 16 + index) of the selected rectangle, row by row from the
  // top and left to right within a row.
  std::vector<int> SelectedEntries() const;

  // The page's commands (menu items, Enter, double click, header drags).
  void SetSelectedColors();
  void pmiCRAMLoadPalClick();
  void pmiCRAMSavePalClick();
  void dgCRAMColumnMoved(int from, int to);
  void dgCRAMRowMoved(int from, int to);

 private:
  QColor CellColor(int line, int index, bool focused);
  void BeforePaint();
  // Writes word into the image and the model when it differs from the model's entry; true
  // when something changed. An unusable CRAM entry of the layout changes nothing.
  bool StoreColor(int entry, uint16_t word);
  // Exchanges two entries in the image and the model; true when they differed.
  bool SwapColors(int a, int b);
  void FinishChange(bool changed);

  TPageHost& m_host;
  TColorGrid* m_grid;
  QMenu* m_menu;
};

}  // namespace vantor
