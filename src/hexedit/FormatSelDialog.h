#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;

namespace vantor {

struct TFormatChoice {
  int index = 0;
  bool hexText = false;
};

// Asks which of several formats to paste. Tests install their own chooser in the editor.
using TFormatChooser = std::function<std::optional<TFormatChoice>(
    QWidget* owner, const QStringList& names, int preselected, bool hexText)>;

// "Select Data Format": the formats by name, "Hex Text" (enabled only for "Text" and
// "OEM Text"), OK and Cancel; a quarter of the screen, centred over its owner.
class TFormatSelDialog : public QDialog {
  Q_OBJECT
 public:
  TFormatSelDialog(QWidget* owner, const QStringList& names, int preselected, bool hexText);
  // The chooser the editor uses unless a test installs another.
  static std::optional<TFormatChoice> Ask(QWidget* owner, const QStringList& names, int preselected,
                                          bool hexText);

 private:
  void UpdateHexText();

  QListWidget* m_list;
  QCheckBox* m_hexText;
};

}  // namespace vantor
