// "Load from Bitmap..." of the "Patterns && Sprites" page: the way back for "Save all to
// Bitmap". Video RAM is written into the model, the working copy while this page is shown, and
// from there into the image at once; main CPU RAM is written into the image, and its memory
// page takes the new bytes.
#include <QComboBox>
#include <algorithm>

#include "document/FieldSpec.h"
#include "document/Layout.h"
#include "document/SavestateDocument.h"
#include "pages/vdp/PatternsSpritesPage.h"
#include "pictureio/PictureIO.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternImport.h"
#include "widgets/CellStrip.h"

namespace vantor {

namespace {

// The pattern views read 64 KiB of their source.
constexpr std::size_t kPatternSourceBytes = 65536;

}  // namespace

void TPatternsSpritesPage::LoadPatternsFromBitmap() {
  RunCommand(m_host.Dialogs(), [this] {
    TFileDialog& dialog = m_host.FileDialogs().odlgMisc;
    if (dialog.Filter != QLatin1String(kPictureFilter)) {
      dialog.Filter = kPictureFilter;
      dialog.FileName.clear();
      dialog.FilterIndex = 1;
    }
    dialog.DefaultExt.clear();
    if (!m_host.Dialogs().GetOpenFileName(dialog)) return;
    const TIndexedBitmap picture = LoadPicture(dialog.FileName.toStdString());
    bool changed = false;
    const QString refusal = ImportPatterns(picture, changed);
    if (!refusal.isEmpty()) {
      ReportError(m_host.Dialogs(), refusal);
      return;
    }
    if (!changed) return;
    // Also redraws the view window.
    m_host.SetModified(true);
    m_dgPatterns->viewport()->update();
    m_dgSprites->viewport()->update();
  });
}

QString TPatternsSpritesPage::ImportPatterns(const TIndexedBitmap& picture, bool& changed) {
  const bool mainRAM = m_host.PatternSource() == TPatternSource::psMainRAM;
  const char* section = mainRAM ? "CPU MC68000" : "VDP";
  TFieldSpec entry;
  if (!m_host.Layout().ReadFieldSpec(section, "RAM", entry)) {
    return QString(
               "The layout has no usable [%1] RAM entry, so there is nowhere to write the "
               "patterns.")
        .arg(section);
  }
  // Never past the image's end: the savestate keeps its length.
  SavestateImage& image = m_host.Document().Image();
  const std::size_t offset = std::min(std::size_t(entry.Offset), image.Size());
  const std::size_t size =
      std::min({std::size_t(entry.Size), kPatternSourceBytes, image.Size() - offset});
  TMegaDriveVDP& vdp = m_host.VDP();
  uint8_t* target = mainRAM ? image.Data() + offset : vdp.VRAMData();
  const TPatternImport result =
      vantor::ImportPatterns(picture, vdp, m_cbPalLine->currentIndex(),
                             m_dgPatterns->CurrentColumn(), std::span<uint8_t>(target, size));
  if (!result.Ok) return QString::fromStdString(result.Message);
  changed = result.ChangedBytes > 0;
  if (!changed) return {};
  // Video RAM goes on into the image, which the pattern strip reads; main CPU RAM's memory
  // page takes the image's new bytes.
  emit memoryWritten(mainRAM ? THexPageId::hpMainRAM : THexPageId::hpVideoRAM);
  return {};
}

}  // namespace vantor
