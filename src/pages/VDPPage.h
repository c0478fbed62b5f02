// The page contract, page side: the content of one VDP page of the main window. A page reads
// and edits the document and the model through its TPageHost and states everything it wants
// done elsewhere as one of the signals below; the main window connects them once for every
// page. A page never includes another page, the view window or the main window.
#pragma once

#include <QWidget>
#include <cstdint>

#include "pages/PageHost.h"

namespace vantor {

class TVDPPage : public QWidget {
  Q_OBJECT

 public:
  explicit TVDPPage(QWidget* parent = nullptr);

  // The page became visible (its own tab or the "VDP" tab was chosen), or the document was
  // reloaded while the page is the selected page of pcVDP.
  virtual void PageShow() {}
  // The model was loaded from the image again (a load, a page change, a register grid edit).
  virtual void ModelReloaded() {}
  // A value typed into one of the page's boxes and not yet taken is taken now, as if the box
  // had been left: before the close query and before a save.
  virtual void CommitEdit() {}

 signals:
  // Show the memory page `page` with its editor's caret on the byte at offset, or beep when
  // the block has no such byte. The page ran pcVDPChanging before: its edits are in the image.
  void jumpToMemory(vantor::THexPageId page, int64_t offset);
  // Select Colour RAM entry (0..63) in the value grid sgCRAM, show "Color RAM", focus sgCRAM.
  void colorEntryChosen(int entry);
  // Show "Patterns && Sprites" with pattern `pattern` of Video RAM current and its colours in
  // palette line paletteLine.
  void showPattern(int pattern, int paletteLine);
  // Show "Patterns && Sprites" with sprite `sprite` current and its attributes in the boxes.
  void showSprite(int sprite);
  // Colours were written into the image and the model: sgCRAM shows them again.
  void colorsChanged();
  // The pattern source changed: a view window showing patterns shows them from the new one.
  void patternsChanged();
  // The page wrote into a memory block itself: Video RAM into the model, main CPU or Z80 RAM
  // into the image. The image and the block's memory page take the new bytes at once.
  void memoryWritten(vantor::THexPageId page);
  // The status bar's one simple text.
  void statusText(const QString& text);
};

}  // namespace vantor
