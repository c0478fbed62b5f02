// A stand-in for the main window under the "Patterns && Sprites" and "Color RAM" pages: a real
// savestate document on the built-in layout, a real VDP model and scripted dialogs. It records
// what the pages ask of the main window.
#pragma once

#include <QColor>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "document/DefaultLayout.h"
#include "document/FieldValues.h"
#include "document/Layout.h"
#include "document/SavestateDocument.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/PageHost.h"
#include "vdp/MegaDriveVDP.h"
#include "view/Dialogs.h"

namespace vantor::test {

// Answers queued by the test, in the order the page will ask.
class TScriptedDialogs : public TDialogs {
 public:
  std::deque<QString> SaveNames;  // empty: cancelled
  std::deque<QString> OpenNames;
  std::deque<std::optional<QColor>> Colors;
  QStringList Messages;
  std::optional<QColor> LastInitialColor;
  int Beeps = 0;

  bool GetOpenFileName(TFileDialog& dialog) override { return Answer(OpenNames, dialog); }
  bool GetSaveFileName(TFileDialog& dialog) override { return Answer(SaveNames, dialog); }
  TMsgDlgBtn ShowMessage(TMsgDlgType, const QString& text, TMsgDlgButtons) override {
    Messages << text;
    return mbOK;
  }
  std::optional<QColor> ChooseColor(const QColor& initial) override {
    LastInitialColor = initial;
    if (Colors.empty()) return std::nullopt;
    const std::optional<QColor> color = Colors.front();
    Colors.pop_front();
    return color;
  }
  void Beep() override { ++Beeps; }

 private:
  static bool Answer(std::deque<QString>& names, TFileDialog& dialog) {
    if (names.empty()) return false;
    dialog.FileName = names.front();
    names.pop_front();
    return true;
  }
};

// Moves model memories through the image the way the main window's synchronisation does.
class TImageStream : public TVDPStream {
 public:
  explicit TImageStream(SavestateImage& image) : m_image(image) {}
  void ReadBuffer(void* dst, std::size_t count) override { m_image.Read(dst, count); }
  void WriteBuffer(const void* src, std::size_t count) override { m_image.Write(src, count); }

 private:
  SavestateImage& m_image;
};

class TFakeHost9 : public TVDPPageHost {
 public:
  TFakeHost9() : m_layout(LayoutIni::FromText(DefaultLayoutText())), m_document(m_layout) {
    m_document.NewBlank([](const std::string&) {});
    auto* column = new QVBoxLayout(&Window);
    column->addWidget(&m_sgCRAM);
    m_sgCRAM.setRowCount(64);
    m_sgCRAM.setColumnCount(1);
    Window.resize(800, 600);
    MainRAMEditor.SetDataSize(65536);
    VideoRAMEditor.SetDataSize(65536);
  }
  // The pages go first: they still hold on to the host.
  ~TFakeHost9() override { delete Installed; }

  // The top-level window the installed pages are put in.
  QWidget Window;
  TQuorHexEditorEx MainRAMEditor;
  TQuorHexEditorEx VideoRAMEditor;
  TfrmView* View = nullptr;
  TScriptedDialogs ScriptedDialogs;
  QWidget* Installed = nullptr;
  TVDPPage* InstalledPage = nullptr;
  TVDPPageId InstalledId = TVDPPageId::vpRegisters;
  int ModifiedCalls = 0;
  int FillCRAMCalls = 0;
  int ImageToVDPCalls = 0;
  int VDPToImageCalls = 0;
  std::vector<THexPageId> HexPagesReloaded;
  int PageChangingCalls = 0;
  int MainCPURAMShown = 0;
  std::optional<TVDPPageId> ShownVDPPage;
  QString Status;
  bool Stale = false;
  TVDPPageId Current = TVDPPageId::vpPatterns;

  TSavestateDocument& Document() override { return m_document; }
  TLayout& Layout() override { return m_layout; }
  TMegaDriveVDP& VDP() override { return m_vdp; }
  TDialogs& Dialogs() override { return ScriptedDialogs; }
  int UpdateLock() const override { return m_updateLock; }
  void IncUpdateLock() override { ++m_updateLock; }
  void DecUpdateLock() override { --m_updateLock; }
  bool VDPStale() const override { return Stale; }
  void SetModified(bool modified) override {
    ++ModifiedCalls;
    m_document.SetModified(modified);
  }

  void ImageToVDP() override {
    ++ImageToVDPCalls;
    Stale = false;
    SavestateImage& image = m_document.Image();
    for (int i = 0, j = 0; i < 1000 && j < TMegaDriveVDP::kRegisterCount; ++i) {
      const TFieldValue value = ReadField(m_layout, image, "VDP", LineKey(i));
      if (value.Ok) m_vdp.SetReg(uint8_t(j++), uint8_t(value.Value));
    }
    TImageStream stream(image);
    if (Seek("CRAM", image)) m_vdp.LoadCRAM(stream, BigEndian("CRAM"));
    if (Seek("VSRAM", image)) m_vdp.LoadVSRAM(stream, BigEndian("VSRAM"));
    if (Seek("RAM", image)) m_vdp.LoadVRAM(stream);
    if (InstalledPage) InstalledPage->RepaintColors();
  }
  void VDPToImage() override {
    ++VDPToImageCalls;
    SavestateImage& image = m_document.Image();
    for (int i = 0, j = 0; i < 1000 && j < TMegaDriveVDP::kRegisterCount; ++i) {
      if (WriteField(m_layout, image, "VDP", LineKey(i), m_vdp.GetReg(uint8_t(j)))) ++j;
    }
    TImageStream stream(image);
    if (Seek("CRAM", image)) m_vdp.SaveCRAM(stream, BigEndian("CRAM"));
    if (Seek("VSRAM", image)) m_vdp.SaveVSRAM(stream, BigEndian("VSRAM"));
    if (Seek("RAM", image)) m_vdp.SaveVRAM(stream);
  }
  void pcVDPChanging() override {
    ++PageChangingCalls;
    if (Current == TVDPPageId::vpDecoded || Current == TVDPPageId::vpPatterns) {
      VDPToImage();
    } else {
      ImageToVDP();
    }
  }

  void StatusText(const QString& text) override { Status = text; }
  QTableWidget* sgCRAM() override { return &m_sgCRAM; }
  void FillCRAMGrid() override { ++FillCRAMCalls; }
  void SelectCRAMRow(int) override {}
  void ShowMainPage(TMainPageId) override {}
  void ShowVDPPage(TVDPPageId page) override { ShownVDPPage = page; }
  void ShowMainCPURAM() override { ++MainCPURAMShown; }
  TVDPPageId CurrentVDPPage() const override { return Current; }
  bool LoadHexEditFromImage(THexPageId page, bool) override {
    HexPagesReloaded.push_back(page);
    return true;
  }
  TQuorHexEditorEx* HexEditor(THexPageId page) override {
    if (page == THexPageId::hpMainRAM) return &MainRAMEditor;
    if (page == THexPageId::hpVideoRAM) return &VideoRAMEditor;
    return nullptr;
  }
  TfrmView* ViewWindow() override { return View; }
  TPatternSource PatternSource() const override { return m_source; }
  void SetPatternSource(TPatternSource source) override { m_source = source; }
  TFileDialog& odlgMisc() override { return m_odlgMisc; }
  TFileDialog& sdlgMisc() override { return m_sdlgMisc; }
  TFileDialog& sdlgBmp() override { return m_sdlgBmp; }
  void InstallVDPPage(TVDPPageId id, QWidget* content, TVDPPage* page) override {
    InstalledId = id;
    Installed = content;
    InstalledPage = page;
    Window.layout()->addWidget(content);
  }

  // The image's CRAM word of entry (0..63), as the value grid would read it.
  uint16_t ImageColor(int entry) {
    int64_t value = 0;
    ReadFieldValueAt(m_layout, m_document.Image(), "VDP", "CRAM", entry * 2, 2, value);
    return uint16_t(value);
  }
  // Puts a colour into the image and the model, as a loaded savestate would hold it.
  void PutColor(int entry, uint16_t word) {
    WriteFieldValueAt(m_layout, m_document.Image(), "VDP", "CRAM", entry * 2, word, 2);
    m_vdp.SetColor(uint8_t(entry), word);
  }

 private:
  bool Seek(const char* key, SavestateImage& image) {
    TFieldSpec spec;
    if (!m_layout.ReadFieldSpec("VDP", key, spec)) return false;
    image.Seek(std::size_t(spec.Offset));
    return true;
  }
  bool BigEndian(const char* key) {
    return HasFlag(m_layout.ReadFieldSpec("VDP", key).Flags, ffBigEndian);
  }

  TLayout m_layout;
  TSavestateDocument m_document;
  TMegaDriveVDP m_vdp;
  QTableWidget m_sgCRAM;
  int m_updateLock = 0;
  TPatternSource m_source = TPatternSource::psVideoRAM;
  TFileDialog m_odlgMisc;
  TFileDialog m_sdlgMisc;
  TFileDialog m_sdlgBmp;
};

}  // namespace vantor::test
