// A stand-in for the main window that the VDP pages can be driven with: a real document over
// the built-in layout, a real VDP model, scripted dialogs, and a window holding a focusable
// stand-in for pcVDP above the installed page.
#pragma once

#include <QStringList>
#include <QWidget>
#include <deque>
#include <memory>
#include <vector>

#include "document/Layout.h"
#include "document/SavestateDocument.h"
#include "panels/PageHost.h"
#include "vdp/MegaDriveVDP.h"
#include "view/Dialogs.h"

namespace vantor::test {

// Answers file dialogs from a queue (an empty queue cancels) and records the rest.
class TScriptedDialogs : public TDialogs {
 public:
  std::deque<QString> SaveAnswers;
  QStringList Messages;
  int Beeps = 0;
  std::vector<TFileDialog> SaveDialogsShown;

  bool GetOpenFileName(TFileDialog&) override { return false; }
  bool GetSaveFileName(TFileDialog& dialog) override;
  TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) override;
  std::optional<QColor> ChooseColor(const QColor&) override { return std::nullopt; }
  void Beep() override { ++Beeps; }
};

class TFakePageHost : public TVDPPageHost {
 public:
  TFakePageHost();
  ~TFakePageHost() override;

  // The window the pages are installed into: pcVDP's stand-in on top, the page below.
  QWidget& Window() { return *m_window; }
  QWidget& pcVDP() { return *m_pcVDP; }
  // Shows the window at the main window's page size and makes it active, so focus changes
  // raise their events.
  bool ShowWindow(int width = 560, int height = 380);

  // The [VDP] register lines of the built-in layout: register r is the byte at this offset.
  static int64_t RegisterOffset(int r);
  uint8_t ImageRegister(int r) const;
  void SetImageRegister(int r, uint8_t value);

  // What the page asked for.
  int ModifiedCalls = 0;
  int ImageToVDPCalls = 0;
  int VDPToImageCalls = 0;
  int pcVDPChangingCalls = 0;
  int ShowMainCPURAMCalls = 0;
  std::vector<TVDPPageId> PagesShown;
  std::vector<int> CRAMRowsSelected;
  std::vector<QString> StatusTexts;
  TScriptedDialogs ScriptedDialogs;
  // Real editors over 64 KiB of zeros; each shows in place of the page when its page is shown.
  TQuorHexEditorEx* MainRAMEditor = nullptr;
  TQuorHexEditorEx* VideoRAMEditor = nullptr;

  // TVDPPageHost
  TSavestateDocument& Document() override { return m_document; }
  TLayout& Layout() override { return m_layout; }
  TMegaDriveVDP& VDP() override { return m_vdp; }
  TDialogs& Dialogs() override { return ScriptedDialogs; }
  int UpdateLock() const override { return m_updateLock; }
  void IncUpdateLock() override { ++m_updateLock; }
  void DecUpdateLock() override { --m_updateLock; }
  bool VDPStale() const override { return false; }
  void SetModified(bool modified) override;
  void ImageToVDP() override;
  void VDPToImage() override;
  void pcVDPChanging() override;
  void StatusText(const QString& text) override { StatusTexts.push_back(text); }
  QTableWidget* sgCRAM() override { return nullptr; }
  void FillCRAMGrid() override {}
  void SelectCRAMRow(int entry) override { CRAMRowsSelected.push_back(entry); }
  void ShowMainPage(TMainPageId) override {}
  void ShowVDPPage(TVDPPageId page) override;
  void ShowMainCPURAM() override;
  TVDPPageId CurrentVDPPage() const override { return m_current; }
  TQuorHexEditorEx* HexEditor(THexPageId page) override;
  bool LoadHexEditFromImage(THexPageId, bool) override { return true; }
  TfrmView* ViewWindow() override { return nullptr; }
  TPatternSource PatternSource() const override { return m_patternSource; }
  void SetPatternSource(TPatternSource source) override { m_patternSource = source; }
  TFileDialog& odlgMisc() override { return m_odlgMisc; }
  TFileDialog& sdlgMisc() override { return m_sdlgMisc; }
  TFileDialog& sdlgBmp() override { return m_sdlgBmp; }
  void InstallVDPPage(TVDPPageId id, QWidget* content, TVDPPage* page) override;

 private:
  TLayout m_layout;
  TSavestateDocument m_document;
  TMegaDriveVDP m_vdp;
  int m_updateLock = 0;
  TVDPPageId m_current = TVDPPageId::vpRegisters;
  TPatternSource m_patternSource = TPatternSource::psVideoRAM;
  TFileDialog m_odlgMisc, m_sdlgMisc, m_sdlgBmp;
  std::unique_ptr<QWidget> m_window;
  QWidget* m_pcVDP = nullptr;
  void showOnly(QWidget* widget);

  TVDPPage* m_page = nullptr;
  QWidget* m_pageContent = nullptr;
  TVDPPageId m_pageId = TVDPPageId::vpRegisters;
};

}  // namespace vantor::test
