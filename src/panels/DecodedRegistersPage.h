// The "Registers decoded" page (tsVDPDecoded) of pcVDP: the 24 VDP registers of the model as
// named switches, table addresses, counters and modes. Every control reads and writes the
// model; the model reaches the image when the user leaves the page.
#pragma once

#include <QWidget>
#include <array>

#include "panels/DecodedRegisterTables.h"
#include "panels/PageHost.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QHBoxLayout;

namespace vantor {

class TLinkLabel;

class TDecodedRegistersPage : public QWidget, public TVDPPage {
  Q_OBJECT

 public:
  explicit TDecodedRegistersPage(TVDPPageHost& host, QWidget* parent = nullptr);

  // tsVDPDecodedShow.
  void PageShow() override;
  void CommitEdit() override;
  // Fills every control from the model, with UpdateLock raised.
  void ShowDecodedRegisters();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void layOutControls();
  QHBoxLayout* pairRow(QWidget* left, QWidget* leftCaption, QWidget* rightCaption, QWidget* right);
  void setTabOrder();
  void connectHandlers();

  void CheckBoxVDPClick(int index);
  void ComboBoxVDPChange(QComboBox* list);
  void EditVDPExit(int tag);
  void linkClicked(TEditLink link, int tag, Qt::MouseButton button);
  void VRAMEditLabelClick(int number);
  void BgColorEditLabelClick(int number);
  void DMASrcEditLabelClick(int number);

  QLineEdit* edit(int tag) const { return m_edits[std::size_t(tag - 1)]; }
  QLabel* editLabel(int tag) const { return m_editLabels[std::size_t(tag - 1)]; }
  int fieldValue(int tag) const;
  QString ignoredBitsText() const;
  QString formatValue(int tag) const;

  TVDPPageHost& m_host;

  std::array<QCheckBox*, kDecodedCheckBoxes.size()> m_checkBoxes{};
  std::array<QLineEdit*, kDecodedEdits.size()> m_edits{};  // by Tag - 1
  std::array<QLabel*, kDecodedEdits.size()> m_editLabels{};
  QComboBox* cbInterlaceMode = nullptr;
  QComboBox* cbDMAMode = nullptr;
  QComboBox* cbScrollMode = nullptr;
  QComboBox* cbScrollSize = nullptr;
  QComboBox* cbWndAlign = nullptr;
  QLabel* lblDisplayDim = nullptr;
  QLabel* lblInfos = nullptr;
  // Which table address bits the VDP ignores in H40 (shown only when one is set).
  QLabel* lblIgnoredBits = nullptr;
};

// Builds the page and installs it on "Registers decoded".
TDecodedRegistersPage* CreateDecodedRegistersPage(TVDPPageHost& host);

}  // namespace vantor
