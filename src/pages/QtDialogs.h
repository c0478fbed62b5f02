// The desktop's own dialogs and message boxes behind the TDialogs seam.
#pragma once

#include <QStringList>

#include "pages/Dialogs.h"

class QWidget;

namespace vantor {

// The layout file's filter "desc|pattern|desc|pattern" as this platform's name filters
// ("desc (pattern)"). Patterns separated by ";" become space-separated; "*.*" becomes "*" so
// that it matches every file. An empty filter gives an empty list (no filter list at all).
QStringList QtNameFilters(const QString& filter);

// The fixed title of a message box kind: "Error", "Information", "Confirm".
QString MessageTitle(TMsgDlgType type);

class TQtDialogs : public TDialogs {
 public:
  explicit TQtDialogs(QWidget* parent) : m_parent(parent) {}

  bool GetOpenFileName(TFileDialog& dialog) override;
  bool GetSaveFileName(TFileDialog& dialog) override;
  TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) override;
  std::optional<QColor> ChooseColor(const QColor& initial) override;
  void Beep() override;

 private:
  bool execute(TFileDialog& dialog, bool save);

  QWidget* m_parent;
};

}  // namespace vantor
