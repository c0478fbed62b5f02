// The savestate commands of the File menu: load, save, save as and the close query.
#include "app/VantorMain.h"
#include "document/Errors.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

bool TfrmMain::CloseQuery() {
  // Every edit is asked about and saved: a value typed but not yet committed, bytes a memory
  // page holds, edits of the model made on a page that is no longer in front. The focus stays
  // where the user left it, in case the answer is Cancel.
  commitPageEdits();
  storeHeldEdits();
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
  // The image is replaced. The window shows the new file whatever the refresh meets, so that a
  // later save never writes this image over the previous file; nothing of the previous file
  // stays in the model, and the model's edits went through the close query.
  m_vdp->Reset();
  m_vdpSynced.Take(*m_vdp);
  const auto finish = [&] {
    m_updateLock = 0;
    SetModified(false);
    SetFileName(path);
  };
  bool complete = false;
  try {
    complete = refreshAll();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  ImageToVDP();
  redrawView();
  // A savestate shorter than its layout: told once, after every holder shows what it has.
  if (!complete) throw EFileError::StreamRead();
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
