// What the VDP pages of the main window may ask of it. The main window (TfrmMain) implements
// this; a page receives it when it is created and keeps it for its whole life.
#pragma once

#include <QString>

class QTableWidget;
class QWidget;

namespace vantor {

class TDialogs;
class TLayout;
class TMegaDriveVDP;
class TQuorHexEditorEx;
class TSavestateDocument;
class TfrmView;
struct TFileDialog;
enum class TPatternSource;

// The pages of the VDP page control pcVDP, in tab order.
enum class TVDPPageId {
  vpRegisters,
  vpDecoded,
  vpColorRAM,
  vpScrollRAM,
  vpVideoRAM,
  vpPatterns,
  vpScreen
};
// The pages of the main page control, in tab order.
enum class TMainPageId { mpMainCPU, mpSubCPU, mpVDP };
// The three memory blocks shown in hex editors.
enum class THexPageId { hpMainRAM, hpSubRAM, hpVideoRAM };

// The content of one VDP page, installed into the main window by its panel.
class TVDPPage {
 public:
  virtual ~TVDPPage() = default;
  // The page became visible (its own tab or the "VDP" tab was chosen), or the document was
  // reloaded while the page is the selected page of pcVDP.
  virtual void PageShow() {}
  // Colour RAM page only: the model's colours changed (ImageToVDP); repaint the colour grid.
  virtual void RepaintColors() {}
  // Colour RAM page only: the value grid sgCRAM moved to colour entry (0..63).
  virtual void FollowColor(int entry) { (void)entry; }
  // A value typed into one of the page's boxes and not yet taken is taken now, as if the box
  // had been left: before the close query and before a save.
  virtual void CommitEdit() {}
};

class TVDPPageHost {
 public:
  virtual ~TVDPPageHost() = default;

  virtual TSavestateDocument& Document() = 0;
  virtual TLayout& Layout() = 0;
  virtual TMegaDriveVDP& VDP() = 0;
  virtual TDialogs& Dialogs() = 0;

  // The re-entrancy counter: while above 0, the pages ignore their controls' change events.
  virtual int UpdateLock() const = 0;
  virtual void IncUpdateLock() = 0;
  virtual void DecUpdateLock() = 0;

  // Set by a register grid commit that changed the image; cleared by ImageToVDP.
  virtual bool VDPStale() const = 0;

  // Marks the document (caption "*") and redraws the floating view window when needed.
  virtual void SetModified(bool modified) = 0;
  // Loads the model from the image; while "Registers decoded" or "Patterns && Sprites" is the
  // selected page (the model is the working copy), the model's edits reach the image first.
  virtual void ImageToVDP() = 0;
  // Stores what the model changed since it last matched the image into the image and
  // refreshes the views that show those bytes as text.
  virtual void VDPToImage() = 0;
  // The rule run before pcVDP changes page: focus to pcVDP, then VDPToImage when leaving
  // "Registers decoded" or "Patterns && Sprites", else ImageToVDP.
  virtual void pcVDPChanging() = 0;

  // The status bar's one simple text.
  virtual void StatusText(const QString& text) = 0;

  // The Colour RAM value grid, and refilling it from the image (FillGrid from its first row).
  virtual QTableWidget* sgCRAM() = 0;
  virtual void FillCRAMGrid() = 0;
  // Selects the row of Colour RAM entry (0..63) in sgCRAM, shows "Color RAM" and focuses sgCRAM.
  virtual void SelectCRAMRow(int entry) = 0;

  // Page switching (runs the page-change rule like a user's click would).
  virtual void ShowMainPage(TMainPageId page) = 0;
  virtual void ShowVDPPage(TVDPPageId page) = 0;
  // Shows "Main CPU (MC68000)" / "RAM".
  virtual void ShowMainCPURAM() = 0;
  virtual TVDPPageId CurrentVDPPage() const = 0;

  // The hex editors of the memory pages (null while not created).
  virtual TQuorHexEditorEx* HexEditor(THexPageId page) = 0;
  // Refills a memory page's editor from the image, after a page wrote into the image's block
  // itself; reset also empties its undo history and clears its change marks. False when the
  // block reaches past the image's end (the rest shows as zeros).
  virtual bool LoadHexEditFromImage(THexPageId page, bool reset) = 0;

  // The floating view window (null while there is none).
  virtual TfrmView* ViewWindow() = 0;

  // The pattern source chosen on the "Patterns && Sprites" page; the main window keeps it for
  // PatternSourceData and the live redraw of the view window.
  virtual TPatternSource PatternSource() const = 0;
  virtual void SetPatternSource(TPatternSource source) = 0;

  // The shared dialogs of the main window: colour, misc open/save, bitmap save.
  virtual TFileDialog& odlgMisc() = 0;
  virtual TFileDialog& sdlgMisc() = 0;
  virtual TFileDialog& sdlgBmp() = 0;

  // Puts a page's content on its VDP page (all pages but "Registers", "Scroll RAM" and
  // "Video RAM", which the main window fills itself). For vpColorRAM the widget is the colour
  // grid dgCRAM and goes above sgCRAM. page may be null; the host does not own it.
  virtual void InstallVDPPage(TVDPPageId id, QWidget* content, TVDPPage* page) = 0;
};

}  // namespace vantor
