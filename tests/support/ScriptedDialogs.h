// The one stand-in for the user behind TDialogs in every test: it answers each question from a
// queue the test fills and records what it was asked.
#pragma once

#include <QColor>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "pages/Dialogs.h"

namespace vantor::test {

struct TShownMessage {
  TMsgDlgType Type;
  QString Text;
  TMsgDlgButtons Buttons;
};

class TScriptedDialogs : public TDialogs {
 public:
  // File dialogs, open and save alike, answer from FileAnswers in order: a name is chosen, an
  // empty name or an empty queue cancels. With a chosen name, the next of FilterAnswers (if
  // any) is the filter the user picked. FileDialogs records each as it was when shown.
  std::deque<QString> FileAnswers;
  std::deque<int> FilterAnswers;
  std::vector<TFileDialog> FileDialogs;
  // Message boxes answer from MessageAnswers in order, then with DefaultAnswer.
  std::deque<TMsgDlgBtn> MessageAnswers;
  TMsgDlgBtn DefaultAnswer = mbOK;
  std::vector<TShownMessage> Messages;
  // The colour dialog answers from ColorAnswers (an empty queue cancels) and records the colour
  // it was opened with.
  std::deque<std::optional<QColor>> ColorAnswers;
  std::optional<QColor> LastInitialColor;
  int Beeps = 0;

  // The texts of the messages shown, of every kind or of errors only.
  QStringList MessageTexts() const;
  QStringList ErrorTexts() const;

  bool GetOpenFileName(TFileDialog& dialog) override;
  bool GetSaveFileName(TFileDialog& dialog) override;
  TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) override;
  std::optional<QColor> ChooseColor(const QColor& initial) override;
  void Beep() override;

 private:
  bool answerFileDialog(TFileDialog& dialog);
};

}  // namespace vantor::test
