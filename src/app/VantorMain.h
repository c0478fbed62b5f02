// The main window: owns the layout, the savestate document and the VDP model, carries the
// menus, the pages with the register grids and memory pages, and the status line.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "document/LayoutFile.h"
#include "document/SavestateDocument.h"
#include "pages/PageHost.h"
#include "statemodel/StateModel.h"

class QAction;
class QActionGroup;
class QLabel;
class QSplitter;

namespace vantor {

class TColorRAMPage;
class TPatternsSpritesPage;
class THexPage;
class TMemoryPages;
class TPageControl;
class TQuorHexEditorEx;
class TRegisterGrid;
class TRegisterGridSet;
class TVDPPage;
class TfrmView;
enum class TGridId;
enum TViewMode : uint8_t;

// Identifiers of the View menu items.
enum TViewMenuId { vmiScreen = 1, vmiPatterns = 2, vmiSprites = 3 };

class TfrmMain : public QMainWindow, public TPageHost {
  Q_OBJECT

 public:
  static constexpr int kWidth = 580;
  static constexpr int kHeight = 460;

  // Runs the start-up sequence: the layout file found or written at `where`, the blank
  // document, every page filled. dialogs: null for the desktop's own dialogs.
  explicit TfrmMain(const TLayoutLocations& where, std::unique_ptr<TDialogs> dialogs = nullptr,
                    QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Savestate commands of the File menu.
  void LoadSavestate();
  void SaveSavestate();
  void SaveSavestateAs();
  // "Save changes?" when modified; true when closing (or loading) may go on.
  bool CloseQuery();
  // The load path without the open dialog (a file named on the command line or dropped).
  void OpenSavestate(const QString& path);

  // Runs a command; any failure is shown in one "Error" box with its text.
  void RunCommand(const std::function<void()>& command);

  // Image synchronisation.
  // Every holder refilled from the image; "Stream read error" after the refill when something
  // lay past the end of a short image (it then reads as zero or shows no value).
  void RefreshFromImage();
  // Before saving and the close query: every edit held outside the image reaches it.
  void CommitPendingEdits();
  // False when the block reaches past the image's end (the rest shows as zeros).
  bool LoadHexEditFromImage(THexPageId page, bool reset);
  void StoreHexEditToImage(THexPageId page);
  void SetFileName(const QString& fileName);

  TRegisterGridSet& Grids() { return *m_grids; }
  TRegisterGrid* Grid(TGridId id) const;
  THexPage* HexPage(THexPageId page) const { return m_hexPages[std::size_t(page)]; }
  // The memory editors' shared context menu pmHexEdit and its commands.
  TMemoryPages& MemoryPages() { return *m_memoryPages; }
  TPageControl* pcMain() const { return m_pcMain; }
  TPageControl* pcVDP() const { return m_pcVDP; }
  TPageControl* pcMainCPU() const { return m_pcMainCPU; }
  TPageControl* pcSubCPU() const { return m_pcSubCPU; }
  QString StatusText() const;
  const TLayoutFileResult& LayoutFile() const { return m_layoutFile; }
  TFileDialog& odlgSavestate() { return m_odlgSavestate; }
  TFileDialog& sdlgSavestate() { return m_sdlgSavestate; }

  // The View menu: items with identifiers 1 (screen), 2 (patterns), 3 (sprites) in one group
  // that may have none checked. Choosing an item toggles its check mark and emits
  // viewMenuChosen; the view window's code connects there.
  QAction* ViewMenuItem(int identifier) const;
  // The view window closed: every View item loses its check mark.
  void ViewWindowClosed();
  // Scroll Lock is on, by the key or by the Options menu's switch: the register grids take
  // "+", "-", "*" and "/" as text instead of stepping the value.
  bool ScrollLockActive() const;
  // Gives the main window the floating view window (it is not owned): the View menu drives
  // it, its closing clears the View menu's marks, loads and edits rebuild its picture.
  void AttachViewWindow(TfrmView* view);

  // Page switching (runs the page-change rule like a user's click would).
  void ShowMainPage(TMainPageId page);
  void ShowVDPPage(TVDPPageId page);
  // Shows "Main CPU (MC68000)" / "RAM".
  void ShowMainCPURAM();
  TVDPPageId CurrentVDPPage() const;
  // The pages' intents.
  // Shows the memory page with its editor's caret on the byte at offset; beeps when the block
  // has no such byte.
  void JumpToMemory(THexPageId page, int64_t offset);
  // Selects the row of Colour RAM entry (0..63) in sgCRAM, shows "Color RAM", focuses sgCRAM.
  void SelectCRAMRow(int entry);
  // Shows "Patterns && Sprites" with pattern `pattern` of Video RAM current in palette line
  // paletteLine, or with sprite `sprite` current and its attributes shown.
  void ShowPattern(int pattern, int paletteLine);
  void ShowSprite(int sprite);
  // The status bar's one simple text.
  void StatusText(const QString& text);
  // A page wrote into a memory block itself: Video RAM in the model reaches the image; the
  // block's memory page takes the image's bytes.
  void MemoryWritten(THexPageId page);
  // Puts another page object in charge of a VDP page's show, reload and commit calls and
  // connects its intents, as for the window's own pages; tests count and send with it. Null
  // leaves the page without one. The window does not own it.
  void SetVDPPage(TVDPPageId id, TVDPPage* page);

  // The hex editors of the memory pages, and the one the user sees (null when none is shown:
  // main CPU RAM, then Z80 RAM, then Video RAM, each only when its page and its outer page are
  // both shown).
  TQuorHexEditorEx* HexEditor(THexPageId page);
  TQuorHexEditorEx* ActiveHexEditor();
  // The floating view window (null while there is none).
  TfrmView* ViewWindow();
  // Stores what the model changed since it last matched the image into the image and
  // refreshes the views that show those bytes as text.
  void VDPToImage();
  TFileDialog& odlgMisc() { return m_fileDialogs.odlgMisc; }
  TFileDialog& sdlgMisc() { return m_fileDialogs.sdlgMisc; }
  TFileDialog& sdlgBmp() { return m_fileDialogs.sdlgBmp; }

  // TPageHost.
  TSavestateDocument& Document() override { return m_document; }
  TLayout& Layout() override { return m_layout; }
  TMegaDriveVDP& VDP() override { return *m_vdp; }
  void SetModified(bool modified) override;
  bool VDPStale() const override { return m_vdpStale; }
  void ImageToVDP() override;
  void pcVDPChanging() override;
  TUpdateLock& UpdateLock() override { return m_updateLock; }
  TPatternSource PatternSource() const override { return m_patternSource; }
  void SetPatternSource(TPatternSource source) override { m_patternSource = source; }
  TDialogs& Dialogs() override { return *m_dialogs; }
  TFileDialogs& FileDialogs() override { return m_fileDialogs; }

 signals:
  void viewMenuChosen(int identifier);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Building the window (VantorMainPages.cpp, VantorMainMenus.cpp).
  void createPages();
  QWidget* createVDPPages();
  void createVDPPageContents();
  void connectPage(TVDPPage* page);
  void createMenus();
  void showHelp(bool about);
  void showScrollLock();
  void connectPageChanges();

  // Commands (VantorMainCommands.cpp).
  void loadFile(const QString& path);
  void showError(const QString& text);
  void writeSavestate(const QString& path);

  // Synchronisation helpers (VantorMainSync.cpp).
  bool reloadModel();
  bool refreshAll();
  // "Registers decoded" or "Patterns && Sprites" is the selected VDP page: the model, not the
  // image, holds the user's edits of the VDP state.
  bool modelIsWorkingCopy() const;
  void vdpPageChanging(TVDPPageId left);
  void vdpPageShown(TVDPPageId page);
  void hexPageShown(THexPageId page);
  void hexPageExited(THexPageId page);
  void hexPageChanged();
  void commitOpenGridEdits();
  void commitPageEdits();
  // Committed edits held outside the image (open grid cells, the model while it is the working
  // copy, the selected memory pages) reach it; the focus stays where it is.
  void storeHeldEdits();
  // The view window (VantorMainSync.cpp): the View menu's rule, rebuilding its current picture.
  void viewMenuItemChosen(int identifier);
  void connectViewInspector(TfrmView* view);
  void modelFromCurrentImage();
  void showViewPicture(TViewMode mode);
  void redrawView();
  void redrawViewPatterns();
  void liveRedraw();
  bool hexPageSelected(THexPageId page) const;
  bool hexPageShowing(THexPageId page) const;

  TLayoutFileResult m_layoutFile;
  TLayout m_layout;
  TSavestateDocument m_document;
  std::unique_ptr<TMegaDriveVDP> m_vdp;
  TVDPSnapshot m_vdpSynced;  // the model as it last matched the image
  std::unique_ptr<TDialogs> m_dialogs;
  std::unique_ptr<TRegisterGridSet> m_grids;
  TUpdateLock m_updateLock;
  bool m_vdpStale = false;
  TPatternSource m_patternSource{};
  QPointer<TfrmView> m_view;  // cleared when the view window goes first at shutdown

  TFileDialog m_odlgSavestate;
  TFileDialog m_sdlgSavestate;
  TFileDialogs m_fileDialogs;

  TPageControl* m_pcMain = nullptr;
  TPageControl* m_pcMainCPU = nullptr;
  TPageControl* m_pcSubCPU = nullptr;
  TPageControl* m_pcVDP = nullptr;
  QSplitter* m_scrollSplitter = nullptr;
  std::array<THexPage*, 3> m_hexPages{};
  std::unique_ptr<TMemoryPages> m_memoryPages;
  std::array<QWidget*, 8> m_vdpContainers{};
  // The content of "Registers decoded", "Color RAM", "Patterns && Sprites", "Screen" and
  // "VRAM Map"; the others are filled by the window itself.
  std::array<TVDPPage*, 8> m_vdpPages{};
  TColorRAMPage* m_colorPage = nullptr;
  TPatternsSpritesPage* m_patternsPage = nullptr;
  QWidget* m_dgCRAMSlot = nullptr;
  QLabel* m_statusLabel = nullptr;
  QAction* m_miScrollLock = nullptr;
  QLabel* m_lblScrollLock = nullptr;  // the status bar's Scroll Lock indicator
  QActionGroup* m_viewGroup = nullptr;
  std::array<QAction*, 3> m_viewItems{};
};

}  // namespace vantor
