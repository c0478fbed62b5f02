// One memory page: the hex editor over a RAM block of the savestate image, behind the few
// operations the image synchronisation needs.
#pragma once

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pages/PageHost.h"

namespace vantor {

class TQuorHexEditorEx;

class THexPage : public QWidget {
  Q_OBJECT

 public:
  // The editor takes the settings of the page's block (column grouping, fixed size, ...).
  explicit THexPage(THexPageId page, QWidget* parent = nullptr);

  TQuorHexEditorEx* Editor() const { return m_editor; }

  std::size_t DataSize() const;
  // Replaces the block with size bytes without undo records or change marks;
  // reset also empties the undo history and clears all change marks.
  void Load(const uint8_t* bytes, std::size_t size, bool reset);
  // The whole block, as the editor holds it.
  std::vector<uint8_t> Bytes() const;
  bool HasFocusWithin() const;
  // Makes the row holding the byte at offset the top visible row, puts the caret on the byte's
  // first hex digit and gives the editor the focus. False, and nothing moves, when the offset
  // lies outside the block. The page must be laid out (shown, events processed) first, so
  // that the editor knows how many rows it shows.
  bool JumpTo(int64_t offset);

 signals:
  void changed();  // the user changed bytes
  void exited();   // the editor lost the focus

 private:
  TQuorHexEditorEx* m_editor = nullptr;
};

}  // namespace vantor
