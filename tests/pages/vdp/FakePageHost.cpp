#include "FakePageHost.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

#include "document/DefaultLayout.h"
#include "document/FieldValues.h"
#include "document/LayoutIni.h"
#include "hexedit/QuorHexEditorEx.h"

namespace vantor::test {

bool TScriptedDialogs::GetSaveFileName(TFileDialog& dialog) {
  SaveDialogsShown.push_back(dialog);
  if (SaveAnswers.empty()) return false;
  dialog.FileName = SaveAnswers.front();
  SaveAnswers.pop_front();
  return true;
}

TMsgDlgBtn TScriptedDialogs::ShowMessage(TMsgDlgType, const QString& text, TMsgDlgButtons) {
  Messages << text;
  return mbOK;
}

TFakePageHost::TFakePageHost()
    : m_layout(LayoutIni::FromText(DefaultLayoutText())),
      m_document(m_layout),
      m_window(std::make_unique<QWidget>()) {
  m_document.NewBlank([](const std::string&) {});
  m_window->setObjectName("frmMain");
  m_pcVDP = new QWidget(m_window.get());
  m_pcVDP->setObjectName("pcVDP");
  m_pcVDP->setFocusPolicy(Qt::StrongFocus);
  m_pcVDP->setFixedHeight(4);
  auto* layout = new QVBoxLayout(m_window.get());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pcVDP);
  for (TQuorHexEditorEx** editor : {&MainRAMEditor, &VideoRAMEditor}) {
    *editor = new TQuorHexEditorEx(m_window.get());
    (*editor)->LoadFromBytes(std::vector<uint8_t>(65536));
    (*editor)->hide();
    layout->addWidget(*editor);
  }
  MainRAMEditor->setObjectName("HexEditMainRAM");
  VideoRAMEditor->setObjectName("HexEditVDPRAM");
}

TFakePageHost::~TFakePageHost() = default;

bool TFakePageHost::ShowWindow(int width, int height) {
  m_window->resize(width, height + m_pcVDP->height());
  m_window->show();
  QApplication::setActiveWindow(m_window.get());
  return QTest::qWaitForWindowActive(m_window.get());
}

int64_t TFakePageHost::RegisterOffset(int r) {
  // Reg00..Reg23 are the first 24 lines of [VDP] in the built-in layout, at $FA onward.
  return 0xFA + r;
}

uint8_t TFakePageHost::ImageRegister(int r) const {
  return m_document.Image().Data()[RegisterOffset(r)];
}

void TFakePageHost::SetImageRegister(int r, uint8_t value) {
  m_document.Image().Data()[RegisterOffset(r)] = value;
}

void TFakePageHost::SetModified(bool modified) {
  ++ModifiedCalls;
  m_document.SetModified(modified);
}

// The registers only: the pages under test neither change nor show the memories through the
// image, and the memories' own transfers are the main window's to test.
void TFakePageHost::ImageToVDP() {
  ++ImageToVDPCalls;
  int j = 0;
  for (int i = 0; i < 1000 && j < TMegaDriveVDP::kRegisterCount; ++i) {
    const TFieldValue field = ReadField(m_layout, m_document.Image(), "VDP", LineKey(i));
    if (field.Ok) m_vdp.SetReg(uint8_t(j++), uint8_t(field.Value));
  }
}

void TFakePageHost::VDPToImage() {
  ++VDPToImageCalls;
  int j = 0;
  for (int i = 0; i < 1000 && j < TMegaDriveVDP::kRegisterCount; ++i)
    if (WriteField(m_layout, m_document.Image(), "VDP", LineKey(i), m_vdp.GetReg(uint8_t(j)))) ++j;
}

void TFakePageHost::pcVDPChanging() {
  ++pcVDPChangingCalls;
  m_pcVDP->setFocus(Qt::OtherFocusReason);
  if (m_current == TVDPPageId::vpDecoded || m_current == TVDPPageId::vpPatterns)
    VDPToImage();
  else
    ImageToVDP();
}

void TFakePageHost::ShowVDPPage(TVDPPageId page) {
  pcVDPChanging();
  m_current = page;
  PagesShown.push_back(page);
  if (page == TVDPPageId::vpVideoRAM) showOnly(VideoRAMEditor);
  if (page != m_pageId) return;
  showOnly(m_pageContent);
  if (m_page) m_page->PageShow();
}

void TFakePageHost::ShowMainCPURAM() {
  ++ShowMainCPURAMCalls;
  showOnly(MainRAMEditor);
}

TQuorHexEditorEx* TFakePageHost::HexEditor(THexPageId page) {
  switch (page) {
    case THexPageId::hpMainRAM:
      return MainRAMEditor;
    case THexPageId::hpVideoRAM:
      return VideoRAMEditor;
    case THexPageId::hpSubRAM:
      break;
  }
  return nullptr;
}

void TFakePageHost::showOnly(QWidget* widget) {
  for (QWidget* w :
       {m_pageContent, static_cast<QWidget*>(MainRAMEditor), static_cast<QWidget*>(VideoRAMEditor)})
    if (w) w->setVisible(w == widget);
}

void TFakePageHost::InstallVDPPage(TVDPPageId id, QWidget* content, TVDPPage* page) {
  static_cast<QVBoxLayout*>(m_window->layout())->insertWidget(1, content);
  m_pageContent = content;
  m_page = page;
  m_pageId = id;
  m_current = id;
}

}  // namespace vantor::test
