// Keeping the VDP model, the register grids and the memory pages in step with the image.
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/VantorMain.h"
#include "document/Errors.h"
#include "document/FieldValues.h"
#include "pages/VDPPage.h"
#include "pages/memory/HexPage.h"
#include "statemodel/StateModel.h"
#include "vdp/MegaDriveVDP.h"
#include "viewwindow/VantorView.h"
#include "widgets/PageControl.h"

namespace vantor {
namespace {

// The layout section of each memory page's "RAM" entry.
constexpr const char* kHexSections[] = {"CPU MC68000", "CPU Z80", "VDP"};

// The pages that edit the model itself rather than the image.
bool editsModel(TVDPPageId page) {
  return page == TVDPPageId::vpDecoded || page == TVDPPageId::vpPatterns;
}

}  // namespace

// The model as the image holds it now, whatever the model held: a savestate shorter than its
// layout reads as zero past its end. False when anything lay there.
bool TfrmMain::reloadModel() {
  m_vdpStale = false;
  const bool complete = ImageToVDPPadded(m_layout, m_document.Image(), *m_vdp);
  m_vdpSynced.Take(*m_vdp);
  m_grids->FollowHScrollTable();
  for (TVDPPage* page : m_vdpPages) {
    if (page != nullptr) page->ModelReloaded();
  }
  return complete;
}

bool TfrmMain::modelIsWorkingCopy() const {
  return editsModel(CurrentVDPPage());
}

void TfrmMain::ImageToVDP() {
  // While the model is the working copy, its edits reach the image before it is read again.
  if (modelIsWorkingCopy()) VDPToImage();
  reloadModel();
}

void TfrmMain::VDPToImage() {
  // Only the parts the model changed: the image keeps every other byte as it has it, and a
  // savestate shorter than its layout is not lengthened by memories nobody edited.
  const unsigned parts = m_vdpSynced.Changed(*m_vdp);
  ::vantor::VDPToImage(m_layout, m_document.Image(), *m_vdp, parts);
  m_vdpSynced.Take(*m_vdp);
  LoadHexEditFromImage(THexPageId::hpVideoRAM, false);
  m_grids->FillGrid(TGridId::sgVDPRegs, -1);
  m_grids->FillGrid(TGridId::sgVSRAM, -1);
  m_grids->FollowHScrollTable();
  // An edit of the model is a change of the document, however it was made.
  if (parts != 0 && !m_document.Modified()) SetModified(true);
}

void TfrmMain::RefreshFromImage() {
  if (!refreshAll()) throw EFileError::StreamRead();
}

bool TfrmMain::refreshAll() {
  bool complete = true;
  {
    const TUpdateLock::TScope lock(m_updateLock);
    complete = reloadModel();
    complete = m_grids->FillAll() && complete;
    for (int i = 0; i < 3; ++i)
      complete = LoadHexEditFromImage(THexPageId(i), true) && complete;
  }
  for (TVDPPageId id : {TVDPPageId::vpDecoded, TVDPPageId::vpPatterns, TVDPPageId::vpScreen}) {
    TVDPPage* page = m_vdpPages[std::size_t(id)];
    if (page && m_pcVDP->currentIndex() == int(id)) page->PageShow();
  }
  return complete;
}

void TfrmMain::commitOpenGridEdits() {
  // Moving the focus ends an edit; a window without the activation does not move it, so an
  // editor still open is committed here.
  for (int i = 0; i < kGridCount; ++i) {
    TRegisterGrid* grid = Grid(TGridId(i));
    if (grid->Editor()) m_grids->Commit(TGridId(i), grid->Col(), grid->Row(), grid->Row());
  }
}

void TfrmMain::commitPageEdits() {
  for (TVDPPage* page : m_vdpPages) {
    if (page != nullptr) page->CommitEdit();
  }
}

void TfrmMain::CommitPendingEdits() {
  // The pages first: moving the focus away from a box of an inactive window does not tell it.
  commitPageEdits();
  m_pcMain->setFocus();
  storeHeldEdits();
}

void TfrmMain::storeHeldEdits() {
  commitOpenGridEdits();
  // The model is the working copy while its page is selected, whatever main page is in front.
  if (modelIsWorkingCopy()) VDPToImage();
  for (int i = 0; i < 3; ++i) {
    if (hexPageSelected(THexPageId(i))) StoreHexEditToImage(THexPageId(i));
  }
}

void TfrmMain::pcVDPChanging() {
  vdpPageChanging(CurrentVDPPage());
}

void TfrmMain::vdpPageChanging(TVDPPageId left) {
  m_pcVDP->setFocus();
  commitOpenGridEdits();
  if (editsModel(left)) {
    VDPToImage();
  } else {
    ImageToVDP();
  }
}

void TfrmMain::vdpPageShown(TVDPPageId page) {
  if (page == TVDPPageId::vpVideoRAM) {
    hexPageShown(THexPageId::hpVideoRAM);
    return;
  }
  if (TVDPPage* content = m_vdpPages[std::size_t(page)]) content->PageShow();
}

// The memory page is the selected page of its own page control.
bool TfrmMain::hexPageSelected(THexPageId page) const {
  switch (page) {
    case THexPageId::hpMainRAM:
      return m_pcMainCPU->currentIndex() == 1;
    case THexPageId::hpSubRAM:
      return m_pcSubCPU->currentIndex() == 1;
    case THexPageId::hpVideoRAM:
      return m_pcVDP->currentIndex() == int(TVDPPageId::vpVideoRAM);
  }
  return false;
}

// The memory page is selected and its outer page is in front.
bool TfrmMain::hexPageShowing(THexPageId page) const {
  static constexpr TMainPageId kOuter[] = {TMainPageId::mpMainCPU, TMainPageId::mpSubCPU,
                                           TMainPageId::mpVDP};
  return hexPageSelected(page) && m_pcMain->currentIndex() == int(kOuter[int(page)]);
}

TQuorHexEditorEx* TfrmMain::ActiveHexEditor() {
  for (int i = 0; i < 3; ++i) {
    if (hexPageShowing(THexPageId(i))) return HexPage(THexPageId(i))->Editor();
  }
  return nullptr;
}

TQuorHexEditorEx* TfrmMain::HexEditor(THexPageId page) {
  return HexPage(page)->Editor();
}

bool TfrmMain::LoadHexEditFromImage(THexPageId page, bool reset) {
  const TUpdateLock::TScope lock(m_updateLock);
  TFieldSpec spec;
  SavestateImage& image = m_document.Image();
  bool complete = true;
  if (m_layout.ReadFieldSpec(kHexSections[int(page)], "RAM", spec)) {
    // A block reaching past the image's end shows the bytes that exist, then zeros.
    std::vector<uint8_t> bytes(std::size_t(spec.Size), 0);
    const std::size_t offset = std::size_t(spec.Offset);
    std::size_t count = 0;
    if (offset < image.Size()) {
      count = std::min(bytes.size(), image.Size() - offset);
      std::copy_n(image.Data() + offset, count, bytes.begin());
    }
    complete = count == bytes.size();
    HexPage(page)->Load(bytes.data(), bytes.size(), reset);
  }
  return complete;
}

void TfrmMain::MemoryWritten(THexPageId page) {
  if (page == THexPageId::hpVideoRAM) {
    VDPToImage();  // reloads the Video RAM page too
  } else {
    LoadHexEditFromImage(page, false);
  }
}

void TfrmMain::StoreHexEditToImage(THexPageId page) {
  TFieldSpec spec;
  if (!m_layout.ReadFieldSpec(kHexSections[int(page)], "RAM", spec)) return;
  const std::vector<uint8_t> bytes = HexPage(page)->Bytes();
  SavestateImage& image = m_document.Image();
  // Only the part inside the image is stored: leaving a page must not lengthen the savestate.
  const std::size_t offset = std::size_t(spec.Offset);
  if (offset >= image.Size()) return;
  const std::size_t count = std::min(bytes.size(), image.Size() - offset);
  image.Seek(offset);
  image.Write(bytes.data(), count);
}

void TfrmMain::hexPageShown(THexPageId page) {
  LoadHexEditFromImage(page, false);
}

void TfrmMain::hexPageExited(THexPageId page) {
  StoreHexEditToImage(page);
  if (page == THexPageId::hpVideoRAM) m_grids->FillGrid(TGridId::sgHSRAM, -1);
}

void TfrmMain::hexPageChanged() {
  if (!m_updateLock.Raised()) SetModified(true);
}

TfrmView* TfrmMain::ViewWindow() {
  return m_view.data();
}

void TfrmMain::AttachViewWindow(TfrmView* view) {
  if (m_view != nullptr) disconnect(m_view, nullptr, this, nullptr);
  m_view = view;
  if (view == nullptr) return;
  // The view window saves its picture through this window's bitmap dialog and reports here.
  view->SetDialogs(m_dialogs.get(), &m_fileDialogs.sdlgBmp);
  connect(view, &TfrmView::closed, this, &TfrmMain::ViewWindowClosed);
  // "All sprites" in the view window's menu: its screen is built again, as a View menu
  // choice builds it.
  connect(view, &TfrmView::screenOptionsChanged, this, [this] {
    if (m_view->ViewMode() != vmScreen) return;
    modelFromCurrentImage();
    redrawView();
  });
  connect(this, &TfrmMain::viewMenuChosen, this, &TfrmMain::viewMenuItemChosen,
          Qt::UniqueConnection);
  connectViewInspector(view);
}

// The pixel inspector of the view window: its summary in the status bar, its links as the
// pages' intents. Following a link brings this window to the front, where the link leads.
void TfrmMain::connectViewInspector(TfrmView* view) {
  connect(view, &TfrmView::statusText, this, qOverload<const QString&>(&TfrmMain::StatusText));
  const auto front = [this] {
    activateWindow();
    raise();
  };
  connect(view, &TfrmView::jumpToMemory, this, [this, front](THexPageId page, int64_t offset) {
    front();
    RunCommand([&] {
      pcVDPChanging();
      JumpToMemory(page, offset);
    });
  });
  connect(view, &TfrmView::showPattern, this, [this, front](int pattern, int line) {
    front();
    RunCommand([&] { ShowPattern(pattern, line); });
  });
  connect(view, &TfrmView::showSprite, this, [this, front](int sprite) {
    front();
    RunCommand([&] { ShowSprite(sprite); });
  });
  connect(view, &TfrmView::colorEntryChosen, this, [this, front](int entry) {
    front();
    RunCommand([&] { SelectCRAMRow(entry); });
  });
}

void TfrmMain::viewMenuItemChosen(int identifier) {
  if (m_view == nullptr) return;
  // The picture already on screen: its item hides the window (closed() clears the marks).
  if (m_view->isVisible() && identifier == m_view->ViewMode() + 1) {
    m_view->close();
    return;
  }
  modelFromCurrentImage();
  showViewPicture(TViewMode(identifier - 1));
  m_view->show();
}

// The picture shows the document as it is now: bytes typed into the memory page in front
// reach the image, and the model takes the image with every edit made there since.
void TfrmMain::modelFromCurrentImage() {
  for (int i = 0; i < 3; ++i) {
    if (hexPageShowing(THexPageId(i))) StoreHexEditToImage(THexPageId(i));
  }
  ImageToVDP();
}

void TfrmMain::showViewPicture(TViewMode mode) {
  switch (mode) {
    case vmScreen:
      m_view->ShowScreen(*m_vdp, kRenderAllLayers);
      break;
    case vmPatterns:
      m_view->ShowPatterns(*m_vdp, m_document.PatternSourceData(m_patternSource));
      break;
    case vmSprites:
      m_view->ShowSprites(*m_vdp);
      break;
  }
}

void TfrmMain::redrawView() {
  if (m_view != nullptr) showViewPicture(m_view->ViewMode());
}

// The pattern source changed: a view window showing patterns shows them from the new one.
void TfrmMain::redrawViewPatterns() {
  if (m_view != nullptr && m_view->isVisible() && m_view->ViewMode() == vmPatterns) {
    showViewPicture(vmPatterns);
  }
}

// After an edit the view window follows the model while the user works on a VDP page, or on
// main CPU RAM shown as patterns; edits elsewhere reach it at the next load or menu choice.
void TfrmMain::liveRedraw() {
  if (m_view == nullptr || !m_view->isVisible()) return;
  if (m_pcMain->currentIndex() == int(TMainPageId::mpVDP)) {
    const TVDPPageId page = CurrentVDPPage();
    if (page == TVDPPageId::vpVideoRAM) StoreHexEditToImage(THexPageId::hpVideoRAM);
    if (!editsModel(page)) ImageToVDP();
  } else if (m_pcMain->currentIndex() == int(TMainPageId::mpMainCPU) &&
             hexPageSelected(THexPageId::hpMainRAM) &&
             m_patternSource == TPatternSource::psMainRAM && m_view->ViewMode() == vmPatterns) {
    StoreHexEditToImage(THexPageId::hpMainRAM);
    ImageToVDP();
  } else {
    return;
  }
  redrawView();
}

}  // namespace vantor
