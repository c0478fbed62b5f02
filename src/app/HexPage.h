// One memory page: the hex editor over a RAM block of the savestate image, behind the few
// operations the image synchronisation needs.
#pragma once

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

class SavestateImage;
class TQuorHexEditorEx;

class THexPage : public QWidget {
  Q_OBJECT

 public:
  // bytesPerColumn: 2 for main CPU RAM, 1 for the other blocks.
  THexPage(int bytesPerColumn, QWidget* parent = nullptr);

  TQuorHexEditorEx* Editor() const;

  std::size_t DataSize() const;
  // Replaces the block with size bytes from data without undo records or change marks;
  // reset also empties the undo history and clears all change marks.
  void Load(const uint8_t* data, std::size_t size, bool reset);
  // The whole block, as the editor holds it.
  std::vector<uint8_t> Bytes() const;
  bool HasFocusWithin() const;

 signals:
  void changed();  // the user changed bytes
  void exited();   // the editor lost the focus

 private:
  TQuorHexEditorEx* m_editor = nullptr;
};

}  // namespace vantor
