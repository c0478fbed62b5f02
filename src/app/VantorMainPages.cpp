// The page structure of the main window: the main page control with its sub-pages, the VDP
// pages' content and the pages' intents.
#include <QCoreApplication>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/VantorMain.h"
#include "pages/memory/HexPage.h"
#include "pages/vdp/ColorRAMPage.h"
#include "pages/vdp/DecodedRegistersPage.h"
#include "pages/vdp/PatternsSpritesPage.h"
#include "pages/vdp/ScreenPage.h"
#include "pages/vdp/VRAMMapPage.h"
#include "widgets/PageControl.h"

namespace vantor {
namespace {

// Captions as stored: "&&" shows one ampersand.
constexpr const char* kMainCaptions[] = {"Main CPU (MC68000)", "Z80 / YM2612 / PSG", "VDP"};
constexpr const char* kVDPCaptions[] = {"Registers",  "Registers decoded", "Color RAM",
                                        "Scroll RAM", "Video RAM",         "Patterns && Sprites",
                                        "Screen",     "VRAM Map"};
constexpr int kColorGridHeight = 158;
constexpr int kColorGridGap = 10;
constexpr int kScrollPaneMinimum = 68;
constexpr int kFrameAllowance = 16;

QWidget* fillingPage(QWidget* content) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (content) layout->addWidget(content);
  return page;
}

// The "Registers" / "RAM" pages of a processor.
TPageControl* processorPages(QWidget* grid, QWidget* ram) {
  auto* pages = new TPageControl;
  pages->addTab(fillingPage(grid), QStringLiteral("Registers"));
  pages->addTab(fillingPage(ram), QStringLiteral("RAM"));
  return pages;
}

}  // namespace

void TfrmMain::createPages() {
  m_hexPages[std::size_t(THexPageId::hpMainRAM)] = new THexPage(THexPageId::hpMainRAM);
  m_hexPages[std::size_t(THexPageId::hpSubRAM)] = new THexPage(THexPageId::hpSubRAM);
  m_hexPages[std::size_t(THexPageId::hpVideoRAM)] = new THexPage(THexPageId::hpVideoRAM);

  m_pcMain = new TPageControl(this);
  m_pcMainCPU = processorPages(Grid(TGridId::sgMainCPURegs), HexPage(THexPageId::hpMainRAM));
  m_pcSubCPU = processorPages(Grid(TGridId::sgSubCPURegs), HexPage(THexPageId::hpSubRAM));
  m_pcMain->addTab(m_pcMainCPU, QString::fromLatin1(kMainCaptions[0]));
  m_pcMain->addTab(m_pcSubCPU, QString::fromLatin1(kMainCaptions[1]));
  m_pcMain->addTab(createVDPPages(), QString::fromLatin1(kMainCaptions[2]));
  setCentralWidget(m_pcMain);
  connectPageChanges();
  createVDPPageContents();
}

QWidget* TfrmMain::createVDPPages() {
  m_pcVDP = new TPageControl;
  // "Color RAM": the colour grid's slot on top, sgCRAM below it.
  auto* colorPage = new QWidget;
  auto* colorLayout = new QVBoxLayout(colorPage);
  colorLayout->setContentsMargins(0, 0, 0, 0);
  colorLayout->setSpacing(kColorGridGap);
  m_dgCRAMSlot = fillingPage(nullptr);
  m_dgCRAMSlot->setFixedHeight(kColorGridHeight);
  colorLayout->addWidget(m_dgCRAMSlot);
  colorLayout->addWidget(Grid(TGridId::sgCRAM), 1);
  // "Scroll RAM": sgVSRAM, a splitter, sgHSRAM.
  m_scrollSplitter = new QSplitter(Qt::Vertical);
  m_scrollSplitter->setChildrenCollapsible(false);
  for (TGridId id : {TGridId::sgVSRAM, TGridId::sgHSRAM}) {
    Grid(id)->setMinimumHeight(kScrollPaneMinimum);
    m_scrollSplitter->addWidget(Grid(id));
  }

  m_vdpContainers = {fillingPage(Grid(TGridId::sgVDPRegs)),
                     fillingPage(nullptr),
                     colorPage,
                     fillingPage(m_scrollSplitter),
                     fillingPage(HexPage(THexPageId::hpVideoRAM)),
                     fillingPage(nullptr),
                     fillingPage(nullptr),
                     fillingPage(nullptr)};
  for (std::size_t i = 0; i < m_vdpContainers.size(); ++i) {
    m_pcVDP->addTab(m_vdpContainers[i], QString::fromLatin1(kVDPCaptions[i]));
  }
  // The VDP tabs share the smallest window width with the frames of two page controls.
  m_pcVDP->FitTabsInto(kWidth - kFrameAllowance);
  return m_pcVDP;
}

// "Registers", "Scroll RAM" and "Video RAM" hold grids and a memory page of the window itself;
// the colour grid goes above sgCRAM.
void TfrmMain::createVDPPageContents() {
  auto* decoded = new TDecodedRegistersPage(*this);
  m_colorPage = new TColorRAMPage(*this);
  m_patternsPage = new TPatternsSpritesPage(*this);
  const std::pair<TVDPPageId, TVDPPage*> pages[] = {
      {TVDPPageId::vpDecoded, decoded},
      {TVDPPageId::vpColorRAM, m_colorPage},
      {TVDPPageId::vpPatterns, m_patternsPage},
      {TVDPPageId::vpScreen, new TScreenPage(*this)},
      {TVDPPageId::vpVRAMMap, new TVRAMMapPage(*this)},
  };
  for (const auto& [id, page] : pages) {
    QWidget* container =
        id == TVDPPageId::vpColorRAM ? m_dgCRAMSlot : m_vdpContainers[std::size_t(id)];
    container->layout()->addWidget(page);
    m_vdpPages[std::size_t(id)] = page;
    connectPage(page);
  }
}

// The pages' intents, connected once for every page.
void TfrmMain::connectPage(TVDPPage* page) {
  connect(page, &TVDPPage::jumpToMemory, this, &TfrmMain::JumpToMemory);
  connect(page, &TVDPPage::colorEntryChosen, this, &TfrmMain::SelectCRAMRow);
  connect(page, &TVDPPage::showPattern, this, &TfrmMain::ShowPattern);
  connect(page, &TVDPPage::showSprite, this, &TfrmMain::ShowSprite);
  connect(page, &TVDPPage::colorsChanged, this, [this] { m_grids->FillGrid(TGridId::sgCRAM, -1); });
  connect(page, &TVDPPage::patternsChanged, this, &TfrmMain::redrawViewPatterns);
  connect(page, &TVDPPage::statusText, this, qOverload<const QString&>(&TfrmMain::StatusText));
  connect(page, &TVDPPage::memoryWritten, this, &TfrmMain::MemoryWritten);
}

void TfrmMain::SetVDPPage(TVDPPageId id, TVDPPage* page) {
  m_vdpPages[std::size_t(id)] = page;
  if (page != nullptr) connectPage(page);
}

void TfrmMain::ShowMainPage(TMainPageId page) {
  m_pcMain->setCurrentIndex(int(page));
}

void TfrmMain::ShowVDPPage(TVDPPageId page) {
  ShowMainPage(TMainPageId::mpVDP);
  m_pcVDP->setCurrentIndex(int(page));
}

void TfrmMain::ShowMainCPURAM() {
  ShowMainPage(TMainPageId::mpMainCPU);
  m_pcMainCPU->setCurrentIndex(1);
}

TVDPPageId TfrmMain::CurrentVDPPage() const {
  return TVDPPageId(m_pcVDP->ShownIndex());
}

void TfrmMain::SelectCRAMRow(int entry) {
  TRegisterGrid* grid = Grid(TGridId::sgCRAM);
  grid->SelectCell(grid->Col(), TRegisterGrid::kFixedRows + entry);
  ShowVDPPage(TVDPPageId::vpColorRAM);
  grid->setFocus();
}

void TfrmMain::ShowPattern(int pattern, int paletteLine) {
  ShowVDPPage(TVDPPageId::vpPatterns);
  m_patternsPage->ShowPattern(pattern, paletteLine);
}

void TfrmMain::ShowSprite(int sprite) {
  ShowVDPPage(TVDPPageId::vpPatterns);
  m_patternsPage->ShowSprite(sprite);
}

void TfrmMain::JumpToMemory(THexPageId page, int64_t offset) {
  switch (page) {
    case THexPageId::hpMainRAM:
      ShowMainCPURAM();
      break;
    case THexPageId::hpSubRAM:
      ShowMainPage(TMainPageId::mpSubCPU);
      m_pcSubCPU->setCurrentIndex(1);
      break;
    case THexPageId::hpVideoRAM:
      ShowVDPPage(TVDPPageId::vpVideoRAM);
      break;
  }
  // The page is laid out first, so that the editor knows how many rows it shows.
  QCoreApplication::processEvents();
  if (!HexPage(page)->JumpTo(offset)) m_dialogs->Beep();
}

void TfrmMain::connectPageChanges() {
  connect(m_pcVDP, &TPageControl::changing, this,
          [this](int from, int) { RunCommand([&] { vdpPageChanging(TVDPPageId(from)); }); });
  connect(m_pcVDP, &TPageControl::changed, this, [this](int index) {
    if (m_pcMain->currentIndex() == int(TMainPageId::mpVDP)) {
      RunCommand([&] { vdpPageShown(TVDPPageId(index)); });
    }
  });
  connect(m_pcMain, &TPageControl::changed, this, [this](int index) {
    RunCommand([&] {
      if (index == int(TMainPageId::mpVDP)) vdpPageShown(TVDPPageId(m_pcVDP->currentIndex()));
      if (index == int(TMainPageId::mpMainCPU) && m_pcMainCPU->currentIndex() == 1) {
        hexPageShown(THexPageId::hpMainRAM);
      }
      if (index == int(TMainPageId::mpSubCPU) && m_pcSubCPU->currentIndex() == 1) {
        hexPageShown(THexPageId::hpSubRAM);
      }
    });
  });
  connect(m_pcMainCPU, &TPageControl::changed, this, [this](int index) {
    if (index == 1 && m_pcMain->currentIndex() == int(TMainPageId::mpMainCPU)) {
      RunCommand([&] { hexPageShown(THexPageId::hpMainRAM); });
    }
  });
  connect(m_pcSubCPU, &TPageControl::changed, this, [this](int index) {
    if (index == 1 && m_pcMain->currentIndex() == int(TMainPageId::mpSubCPU)) {
      RunCommand([&] { hexPageShown(THexPageId::hpSubRAM); });
    }
  });
  for (int i = 0; i < 3; ++i) {
    const auto id = THexPageId(i);
    connect(HexPage(id), &THexPage::changed, this,
            [this] { RunCommand([&] { hexPageChanged(); }); });
    connect(HexPage(id), &THexPage::exited, this,
            [this, id] { RunCommand([&] { hexPageExited(id); }); });
  }
}

}  // namespace vantor
