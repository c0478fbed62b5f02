// The page contract, host side: what every page of the main window may ask of it. The main
// window (TfrmMain) implements it; a page receives it when it is created and keeps it for its
// whole life. What a page wants done elsewhere - another page shown, a memory editor on a
// byte, the status bar's text - it states as a signal of its own (VDPPage.h), which the main
// window connects once.
#pragma once

#include "pages/Dialogs.h"
#include "pages/UpdateLock.h"

namespace vantor {

class TLayout;
class TMegaDriveVDP;
class TSavestateDocument;
enum class TPatternSource;

// The pages of the VDP page control pcVDP, in tab order.
enum class TVDPPageId {
  vpRegisters,
  vpDecoded,
  vpColorRAM,
  vpScrollRAM,
  vpVideoRAM,
  vpPatterns,
  vpScreen,
  vpVRAMMap
};
// The pages of the main page control, in tab order.
enum class TMainPageId { mpMainCPU, mpSubCPU, mpVDP };
// The three memory blocks shown in hex editors.
enum class THexPageId { hpMainRAM, hpSubRAM, hpVideoRAM };

// The main window's file dialogs that several pages share; each keeps the filter and file name
// of its last use.
struct TFileDialogs {
  TFileDialog odlgMisc;  // palettes and memory dumps to open
  TFileDialog sdlgMisc;  // palettes and memory dumps to save
  TFileDialog sdlgBmp;   // pictures to save
};

class TPageHost {
 public:
  virtual ~TPageHost() = default;

  // --- The document and the model
  virtual TSavestateDocument& Document() = 0;
  virtual TLayout& Layout() = 0;
  virtual TMegaDriveVDP& VDP() = 0;
  // Marks the document (caption "*") and redraws the floating view window when needed.
  virtual void SetModified(bool modified) = 0;

  // --- Image synchronisation
  // Set by a register grid commit that changed the image; cleared by ImageToVDP.
  virtual bool VDPStale() const = 0;
  // Loads the model from the image; while "Registers decoded" or "Patterns && Sprites" is the
  // selected page (the model is the working copy), the model's edits reach the image first.
  virtual void ImageToVDP() = 0;
  // The rule run before pcVDP changes page, also run by a page that sends the user elsewhere:
  // focus to pcVDP (ending an edit in progress), then the model into the image when leaving
  // "Registers decoded" or "Patterns && Sprites", else the model from the image.
  virtual void pcVDPChanging() = 0;

  // --- Shared state
  // Raised while the program itself fills controls: the pages ignore their change events.
  virtual TUpdateLock& UpdateLock() = 0;
  // The pattern source chosen on the "Patterns && Sprites" page; the main window keeps it for
  // PatternSourceData and the view window's patterns.
  virtual TPatternSource PatternSource() const = 0;
  virtual void SetPatternSource(TPatternSource source) = 0;

  // --- Asking the user
  virtual TDialogs& Dialogs() = 0;
  virtual TFileDialogs& FileDialogs() = 0;
};

}  // namespace vantor
