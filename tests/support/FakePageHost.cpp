#include "support/FakePageHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>

#include "document/DefaultLayout.h"
#include "document/FieldValues.h"
#include "document/LayoutIni.h"
#include "pages/VDPPage.h"
#include "pages/memory/HexPage.h"

namespace vantor::test {

TFakePageHost::TFakePageHost()
    : m_layout(LayoutIni::FromText(DefaultLayoutText())),
      m_document(m_layout),
      m_patternSource(TPatternSource::psVideoRAM),
      m_window(std::make_unique<QWidget>()) {
  m_document.NewBlank([](const std::string&) {});
  m_fileDialogs.sdlgMisc.OverwritePrompt = true;
  m_window->setObjectName("frmMain");
  m_pcVDP = new QWidget(m_window.get());
  m_pcVDP->setObjectName("pcVDP");
  m_pcVDP->setFocusPolicy(Qt::StrongFocus);
  m_pcVDP->setFixedHeight(4);
  auto* layout = new QVBoxLayout(m_window.get());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pcVDP);
  // Over 64 KiB of zeros, hidden until their page is shown.
  m_mainRAM = new THexPage(THexPageId::hpMainRAM, m_window.get());
  m_videoRAM = new THexPage(THexPageId::hpVideoRAM, m_window.get());
  for (THexPage* page : {m_mainRAM, m_videoRAM}) {
    const std::vector<uint8_t> zeros(65536);
    page->Load(zeros.data(), zeros.size(), true);
    page->hide();
    layout->addWidget(page);
  }
  m_vdpSynced.Take(m_vdp);
}

TFakePageHost::~TFakePageHost() = default;

void TFakePageHost::Install(TVDPPageId id, TVDPPage* page) {
  static_cast<QVBoxLayout*>(m_window->layout())->insertWidget(1, page);
  m_page = page;
  m_pageId = id;
  m_current = id;
  QObject::connect(page, &TVDPPage::jumpToMemory, page,
                   [this](THexPageId memory, int64_t offset) { jumpToMemory(memory, offset); });
  QObject::connect(page, &TVDPPage::colorEntryChosen, page,
                   [this](int entry) { ColorEntriesChosen.push_back(entry); });
  QObject::connect(page, &TVDPPage::showPattern, page, [this](int pattern, int line) {
    ShowVDPPage(TVDPPageId::vpPatterns);
    PatternsShown.emplace_back(pattern, line);
  });
  QObject::connect(page, &TVDPPage::showSprite, page, [this](int sprite) {
    ShowVDPPage(TVDPPageId::vpPatterns);
    SpritesShown.push_back(sprite);
  });
  QObject::connect(page, &TVDPPage::colorsChanged, page, [this] { ++ColorsChangedCalls; });
  QObject::connect(page, &TVDPPage::patternsChanged, page, [this] { ++PatternsChangedCalls; });
  QObject::connect(page, &TVDPPage::statusText, page,
                   [this](const QString& text) { StatusTexts.push_back(text); });
  QObject::connect(page, &TVDPPage::memoryWritten, page,
                   [this](THexPageId memory) { memoryWritten(memory); });
}

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

uint16_t TFakePageHost::ImageColor(int entry) {
  int64_t value = 0;
  ReadFieldValueAt(m_layout, m_document.Image(), "VDP", "CRAM", entry * 2, 2, value);
  return uint16_t(value);
}

void TFakePageHost::PutColor(int entry, uint16_t word) {
  WriteFieldValueAt(m_layout, m_document.Image(), "VDP", "CRAM", entry * 2, word, 2);
  m_vdp.SetColor(uint8_t(entry), word);
}

void TFakePageHost::SetModified(bool modified) {
  ++ModifiedCalls;
  m_document.SetModified(modified);
}

bool TFakePageHost::modelIsWorkingCopy() const {
  return m_current == TVDPPageId::vpDecoded || m_current == TVDPPageId::vpPatterns;
}

// The main window's rules: the model's edits reach the image first while it is the working
// copy; only the parts the model changed are stored.
void TFakePageHost::ImageToVDP() {
  ++ImageToVDPCalls;
  if (modelIsWorkingCopy()) VDPToImage();
  Stale = false;
  ImageToVDPPadded(m_layout, m_document.Image(), m_vdp);
  m_vdpSynced.Take(m_vdp);
  if (m_page) m_page->ModelReloaded();
}

void TFakePageHost::VDPToImage() {
  ++VDPToImageCalls;
  const unsigned parts = m_vdpSynced.Changed(m_vdp);
  ::vantor::VDPToImage(m_layout, m_document.Image(), m_vdp, parts);
  m_vdpSynced.Take(m_vdp);
  if (parts != 0 && !m_document.Modified()) SetModified(true);
}

void TFakePageHost::pcVDPChanging() {
  ++pcVDPChangingCalls;
  m_pcVDP->setFocus(Qt::OtherFocusReason);
  if (modelIsWorkingCopy()) {
    VDPToImage();
  } else {
    ImageToVDP();
  }
}

void TFakePageHost::ShowVDPPage(TVDPPageId page) {
  pcVDPChanging();
  m_current = page;
  PagesShown.push_back(page);
  if (page == TVDPPageId::vpVideoRAM) showOnly(m_videoRAM);
  if (page != m_pageId) return;
  showOnly(m_page);
  if (m_page) m_page->PageShow();
}

void TFakePageHost::ShowMainCPURAM() {
  ++ShowMainCPURAMCalls;
  showOnly(m_mainRAM);
}

TQuorHexEditorEx* TFakePageHost::HexEditor(THexPageId page) const {
  switch (page) {
    case THexPageId::hpMainRAM:
      return m_mainRAM->Editor();
    case THexPageId::hpVideoRAM:
      return m_videoRAM->Editor();
    case THexPageId::hpSubRAM:
      break;
  }
  return nullptr;
}

// As the main window: the memory page is shown and laid out, then its editor jumps; a byte
// the block does not have beeps. (No page here sends the user to Z80 RAM.)
void TFakePageHost::jumpToMemory(THexPageId page, int64_t offset) {
  if (page == THexPageId::hpSubRAM) {
    ScriptedDialogs.Beep();
    return;
  }
  THexPage* memory = page == THexPageId::hpMainRAM ? m_mainRAM : m_videoRAM;
  if (page == THexPageId::hpMainRAM) {
    ShowMainCPURAM();
  } else {
    ShowVDPPage(TVDPPageId::vpVideoRAM);
  }
  QCoreApplication::processEvents();
  if (!memory->JumpTo(offset)) ScriptedDialogs.Beep();
}

// As the main window: Video RAM in the model reaches the image, then the memory page takes the
// image's bytes.
void TFakePageHost::memoryWritten(THexPageId page) {
  MemoryWrites.push_back(page);
  if (page == THexPageId::hpVideoRAM) VDPToImage();
  loadMemoryPage(page);
}

void TFakePageHost::loadMemoryPage(THexPageId page) {
  static constexpr const char* kSections[] = {"CPU MC68000", "CPU Z80", "VDP"};
  THexPage* memory = page == THexPageId::hpMainRAM    ? m_mainRAM
                     : page == THexPageId::hpVideoRAM ? m_videoRAM
                                                      : nullptr;
  TFieldSpec spec;
  if (memory == nullptr || !m_layout.ReadFieldSpec(kSections[int(page)], "RAM", spec)) return;
  const SavestateImage& image = m_document.Image();
  std::vector<uint8_t> bytes(std::size_t(spec.Size), 0);
  const std::size_t offset = std::min(std::size_t(spec.Offset), image.Size());
  std::copy_n(image.Data() + offset, std::min(bytes.size(), image.Size() - offset), bytes.begin());
  memory->Load(bytes.data(), bytes.size(), false);
}

void TFakePageHost::showOnly(QWidget* widget) {
  for (QWidget* w : {static_cast<QWidget*>(m_page), static_cast<QWidget*>(m_mainRAM),
                     static_cast<QWidget*>(m_videoRAM)}) {
    if (w) w->setVisible(w == widget);
  }
}

}  // namespace vantor::test
