// The one stand-in for the main window under the pages in every page test: a real document on
// the built-in layout, a real VDP model moved through the image by the same rules, scripted
// dialogs, and a window that holds a focusable stand-in for pcVDP, the page under test and the
// main CPU RAM and Video RAM memory pages. It answers the pages' intents as the main window
// does (tests/pages/PageContractTest.cpp holds both to the same checks) and records them.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "document/Layout.h"
#include "document/SavestateDocument.h"
#include "pages/PageHost.h"
#include "statemodel/StateModel.h"
#include "support/ScriptedDialogs.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {
class THexPage;
class TQuorHexEditorEx;
class TVDPPage;
}  // namespace vantor

namespace vantor::test {

class TFakePageHost : public TPageHost {
 public:
  TFakePageHost();
  ~TFakePageHost() override;

  // Puts the page below pcVDP's stand-in, as the main window puts it on its VDP page, makes it
  // the selected page and connects its intents. The window owns it.
  void Install(TVDPPageId id, TVDPPage* page);

  // The window the page is installed in, pcVDP's stand-in on top.
  QWidget& Window() { return *m_window; }
  QWidget& pcVDP() { return *m_pcVDP; }
  // Shows the window at the main window's page size (or another) and makes it active, so that
  // focus changes raise their events.
  bool ShowWindow(int width = 560, int height = 380);

  // Page switching as the main window does it: the page change rule, then the page is shown
  // (PageShow for the installed one).
  void ShowVDPPage(TVDPPageId page);
  void ShowMainCPURAM();
  TVDPPageId CurrentVDPPage() const { return m_current; }
  // The memory pages' editors (Z80 RAM has none here).
  TQuorHexEditorEx* HexEditor(THexPageId page) const;
  // Stores what the model changed since it last matched the image into the image.
  void VDPToImage();

  // The [VDP] register lines of the built-in layout: register r is the byte at this offset.
  static int64_t RegisterOffset(int r);
  uint8_t ImageRegister(int r) const;
  void SetImageRegister(int r, uint8_t value);
  // The image's CRAM word of entry (0..63), as the value grid would read it.
  uint16_t ImageColor(int entry);
  // Puts a colour into the image and the model, as a loaded savestate would hold it.
  void PutColor(int entry, uint16_t word);

  // What the pages asked for.
  int ModifiedCalls = 0;
  int ImageToVDPCalls = 0;
  int VDPToImageCalls = 0;
  int pcVDPChangingCalls = 0;
  int ShowMainCPURAMCalls = 0;
  std::vector<TVDPPageId> PagesShown;
  std::vector<int> ColorEntriesChosen;
  // showPattern (pattern, palette line) and showSprite, each after "Patterns && Sprites" was
  // shown as the main window shows it.
  std::vector<std::pair<int, int>> PatternsShown;
  std::vector<int> SpritesShown;
  int ColorsChangedCalls = 0;
  int PatternsChangedCalls = 0;
  std::vector<THexPageId> MemoryWrites;
  std::vector<QString> StatusTexts;
  QString Status() const { return StatusTexts.empty() ? QString() : StatusTexts.back(); }
  // Set as a register grid commit sets it.
  bool Stale = false;
  TScriptedDialogs ScriptedDialogs;

  // TPageHost
  TSavestateDocument& Document() override { return m_document; }
  TLayout& Layout() override { return m_layout; }
  TMegaDriveVDP& VDP() override { return m_vdp; }
  void SetModified(bool modified) override;
  bool VDPStale() const override { return Stale; }
  void ImageToVDP() override;
  void pcVDPChanging() override;
  TUpdateLock& UpdateLock() override { return m_updateLock; }
  TPatternSource PatternSource() const override { return m_patternSource; }
  void SetPatternSource(TPatternSource source) override { m_patternSource = source; }
  TDialogs& Dialogs() override { return ScriptedDialogs; }
  TFileDialogs& FileDialogs() override { return m_fileDialogs; }

 private:
  void jumpToMemory(THexPageId page, int64_t offset);
  void memoryWritten(THexPageId page);
  void loadMemoryPage(THexPageId page);
  void showOnly(QWidget* widget);
  bool modelIsWorkingCopy() const;

  TLayout m_layout;
  TSavestateDocument m_document;
  TMegaDriveVDP m_vdp;
  TVDPSnapshot m_vdpSynced;
  TUpdateLock m_updateLock;
  TPatternSource m_patternSource;
  TFileDialogs m_fileDialogs;
  TVDPPageId m_current = TVDPPageId::vpRegisters;
  std::unique_ptr<QWidget> m_window;
  QWidget* m_pcVDP = nullptr;
  THexPage* m_mainRAM = nullptr;
  THexPage* m_videoRAM = nullptr;
  TVDPPage* m_page = nullptr;
  TVDPPageId m_pageId = TVDPPageId::vpRegisters;
};

}  // namespace vantor::test
