// The main window: owns the layout, the savestate document and the VDP model, carries the
// menus, the pages with the register grids and memory pages, and the status line.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "cli/StateModel.h"
#include "document/LayoutFile.h"
#include "document/SavestateDocument.h"
#include "panels/PageHost.h"
#include "view/Dialogs.h"
#include "view/MemoryPageHost.h"

class QAction;
class QActionGroup;
class QLabel;
class QSplitter;

namespace vantor {

class THexPage;
class TMemoryPages;
class TPageControl;
class TRegisterGrid;
class TRegisterGridSet;
enum class TGridId;
enum TViewMode : uint8_t;

// Identifiers of the View menu items.
enum TViewMenuId { vmiScreen = 1, vmiPatterns = 2, vmiSprites = 3 };

class TfrmMain : public QMainWindow, public TVDPPageHost, public TMemoryPageHost {
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
  void RunCommand(const std::function<void()>& command) override;

  // Image synchronisation.
  // Every holder refilled from the image; "Stream read error" after the refill when something
  // lay past the end of a short image (it then reads as zero or shows no value).
  void RefreshFromImage();
  // Before saving and the close query: every edit held outside the image reaches it.
  void CommitPendingEdits();
  // False when the block reaches past the image's end (the rest shows as zeros).
  bool LoadHexEditFromImage(THexPageId page, bool reset) override;
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

  // TVDPPageHost and TMemoryPageHost.
  TSavestateDocument& Document() override { return m_document; }
  TLayout& Layout() override { return m_layout; }
  TMegaDriveVDP& VDP() override { return *m_vdp; }
  TDialogs& Dialogs() override { return *m_dialogs; }
  int UpdateLock() const override { return m_updateLock; }
  void IncUpdateLock() override { ++m_updateLock; }
  void DecUpdateLock() override { --m_updateLock; }
  bool VDPStale() const override { return m_vdpStale; }
  void SetModified(bool modified) override;
  void ImageToVDP() override;
  void VDPToImage() override;
  void pcVDPChanging() override;
  void StatusText(const QString& text) override;
  QTableWidget* sgCRAM() override;
  void FillCRAMGrid() override;
  void SelectCRAMRow(int entry) override;
  void ShowMainPage(TMainPageId page) override;
  void ShowVDPPage(TVDPPageId page) override;
  void ShowMainCPURAM() override;
  TVDPPageId CurrentVDPPage() const override;
  TQuorHexEditorEx* HexEditor(THexPageId page) override;
  TfrmView* ViewWindow() override;
  TPatternSource PatternSource() const override { return m_patternSource; }
  void SetPatternSource(TPatternSource source) override { m_patternSource = source; }
  TFileDialog& odlgMisc() override { return m_odlgMisc; }
  TFileDialog& sdlgMisc() override { return m_sdlgMisc; }
  TFileDialog& sdlgBmp() override { return m_sdlgBmp; }
  void InstallVDPPage(TVDPPageId id, QWidget* content, TVDPPage* page) override;
  TQuorHexEditorEx* ActiveHexEditor() override;

 signals:
  void viewMenuChosen(int identifier);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Building the window (MainPages.cpp, MainMenus.cpp).
  void createPages();
  QWidget* createVDPPages();
  void createMenus();
  void showHelp(bool about);
  void showScrollLock();
  void connectPageChanges();

  // Commands (SavestateCommands.cpp).
  void loadFile(const QString& path);
  void showError(const QString& text);
  void writeSavestate(const QString& path);

  // Synchronisation helpers (ImageSync.cpp).
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
  // The view window (ImageSync.cpp): the View menu's rule, rebuilding its current picture.
  void viewMenuItemChosen(int identifier);
  void modelFromCurrentImage();
  void showViewPicture(TViewMode mode);
  void redrawView();
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
  int m_updateLock = 0;
  bool m_vdpStale = false;
  TPatternSource m_patternSource{};
  QPointer<TfrmView> m_view;  // cleared when the view window goes first at shutdown

  TFileDialog m_odlgSavestate;
  TFileDialog m_sdlgSavestate;
  TFileDialog m_odlgMisc;
  TFileDialog m_sdlgMisc;
  TFileDialog m_sdlgBmp;

  TPageControl* m_pcMain = nullptr;
  TPageControl* m_pcMainCPU = nullptr;
  TPageControl* m_pcSubCPU = nullptr;
  TPageControl* m_pcVDP = nullptr;
  QSplitter* m_scrollSplitter = nullptr;
  std::array<THexPage*, 3> m_hexPages{};
  std::unique_ptr<TMemoryPages> m_memoryPages;
  std::array<QWidget*, 7> m_vdpContainers{};
  std::array<TVDPPage*, 7> m_vdpPages{};
  QWidget* m_dgCRAMSlot = nullptr;
  QLabel* m_statusLabel = nullptr;
  QAction* m_miScrollLock = nullptr;
  QLabel* m_lblScrollLock = nullptr;  // the status bar's Scroll Lock indicator
  QActionGroup* m_viewGroup = nullptr;
  std::array<QAction*, 3> m_viewItems{};
};

}  // namespace vantor
