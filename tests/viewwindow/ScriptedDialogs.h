// Answers the view window's questions the way a test scripted them and records what was asked.
#pragma once

#include <QStringList>
#include <utility>
#include <vector>

#include "pages/Dialogs.h"

namespace vantor {

class ScriptedDialogs : public TDialogs {
 public:
  QString SaveName;  // the file the user picks; empty: the user cancels
  std::vector<TFileDialog> SaveDialogs;
  std::vector<std::pair<TMsgDlgType, QString>> Messages;

  bool GetOpenFileName(TFileDialog& /*dialog*/) override { return false; }
  bool GetSaveFileName(TFileDialog& dialog) override {
    SaveDialogs.push_back(dialog);
    if (SaveName.isEmpty()) return false;
    dialog.FileName = SaveName;
    return true;
  }
  TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text,
                         TMsgDlgButtons /*buttons*/) override {
    Messages.emplace_back(type, text);
    return mbOK;
  }
  std::optional<QColor> ChooseColor(const QColor& /*initial*/) override { return std::nullopt; }
  void Beep() override {}
};

}  // namespace vantor
