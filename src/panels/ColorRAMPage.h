// The "Color RAM" page: the colour grid dgCRAM above the value grid sgCRAM. The user sets the
// selected colours from the colour dialog, exchanges them with palette files (JASC-PAL, GIMP,
// Adobe colour tables) and swaps columns or palette lines by dragging headers. Every change goes
// into the savestate image (section "VDP", key "CRAM") and into the model at once.
#pragma once

#include <QObject>
#include <cstdint>
#include <vector>

#include "panels/PageHost.h"

class QMenu;
class QAction;

namespace vantor {

class TColorGrid;

// The filter of the palette commands' file dialogs; the chosen filter picks the format of a
// file whose name does not say it.
inline constexpr const char* kPaletteFilter =
    "Jasc Palette (*.pal; *.PspPalette)|*.pal;*.PspPalette|GIMP Palette (*.gpl)|*.gpl|"
    "Adobe Color Table (*.act)|*.act";

class TColorRAMPage : public QObject, public TVDPPage {
  Q_OBJECT

 public:
  // The page lives as long as its grid (it is the grid's child).
  TColorRAMPage(TVDPPageHost& host, TColorGrid* grid);

  TColorGrid* dgCRAM() const { return m_grid; }
  QMenu* pmCRAM() const { return m_menu; }

  void PageShow() override;
  void RepaintColors() override;
  void FollowColor(int entry) override;

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
  // Runs a command; a file error ends it with its message in an error box.
  template <typename F>
  void RunCommand(F&& command);

  TVDPPageHost& m_host;
  TColorGrid* m_grid;
  QMenu* m_menu;
};

// Builds the page and its grid and installs them as the host's "Color RAM" page.
TColorRAMPage* CreateColorRAMPage(TVDPPageHost& host);

}  // namespace vantor
