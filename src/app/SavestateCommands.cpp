// The savestate commands of the File menu: load, save, save as and the close query.
#include "app/VantorMain.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

bool TfrmMain::CloseQuery() {
  // A value typed into a grid or a box of a page but not yet committed is a change too.
  commitPageEdits();
  commitOpenGridEdits();
  if (!m_document.Modified()) return true;
  const TMsgDlgBtn answer = m_dialogs->ShowMessage(
      TMsgDlgType::mtConfirmation,
      QString::fromLatin1(kSaveChanges.data(), qsizetype(kSaveChanges.size())),
      mbYes | mbNo | mbCancel);
  if (answer == mbCancel) return false;
  if (answer == mbYes) {
    // A cancelled save dialog leaves the document modified and so cancels too.
    SaveSavestate();
    return !m_document.Modified();
  }
  return true;
}

void TfrmMain::LoadSavestate() {
  if (!CloseQuery()) return;
  if (!m_dialogs->GetOpenFileName(m_odlgSavestate)) return;
  loadFile(m_odlgSavestate.FileName);
}

void TfrmMain::OpenSavestate(const QString& path) {
  if (!CloseQuery()) return;
  loadFile(path);
}

void TfrmMain::loadFile(const QString& path) {
  const auto report = [this](const std::string& text) { showError(QString::fromStdString(text)); };
  const auto result = m_document.Load(path.toStdString(), report);
  if (result.Status == TSavestateDocument::TLoadStatus::lsWrongFileType) {
    showError(QString::fromLatin1(kWrongFileType.data(), qsizetype(kWrongFileType.size())));
    return;
  }
  if (result.VSRAMDetection != 0) {
    StatusText(QString::fromStdString(VSRAMStatusText(result.VSRAMDetection, result.VSRAMReason)));
  }
  // The image is replaced: whatever the refresh meets, the window names the new file, so a
  // later save never writes this image over the previous file.
  const auto finish = [&] {
    m_updateLock = 0;
    SetModified(false);
    SetFileName(path);
  };
  try {
    RefreshFromImage();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  ImageToVDP();
  redrawView();
}

void TfrmMain::writeSavestate(const QString& path) {
  CommitPendingEdits();
  m_document.WriteTo(path.toStdString());
  m_updateLock = 0;
  SetModified(false);
}

void TfrmMain::SaveSavestate() {
  if (m_document.FileName().empty()) {
    SaveSavestateAs();
    return;
  }
  writeSavestate(QString::fromStdString(m_document.FileName()));
}

void TfrmMain::SaveSavestateAs() {
  m_sdlgSavestate.FileName = QString::fromStdString(m_document.FileName());
  if (!m_dialogs->GetSaveFileName(m_sdlgSavestate)) return;
  const QString path = m_sdlgSavestate.FileName;
  writeSavestate(path);
  SetFileName(path);
}

}  // namespace vantor
