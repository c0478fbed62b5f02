#include "support/ScriptedDialogs.h"

namespace vantor::test {

QStringList TScriptedDialogs::MessageTexts() const {
  QStringList texts;
  for (const TShownMessage& message : Messages)
    texts << message.Text;
  return texts;
}

QStringList TScriptedDialogs::ErrorTexts() const {
  QStringList texts;
  for (const TShownMessage& message : Messages) {
    if (message.Type == TMsgDlgType::mtError) texts << message.Text;
  }
  return texts;
}

bool TScriptedDialogs::GetOpenFileName(TFileDialog& dialog) {
  return answerFileDialog(dialog);
}

bool TScriptedDialogs::GetSaveFileName(TFileDialog& dialog) {
  return answerFileDialog(dialog);
}

bool TScriptedDialogs::answerFileDialog(TFileDialog& dialog) {
  FileDialogs.push_back(dialog);
  QString name;
  if (!FileAnswers.empty()) {
    name = FileAnswers.front();
    FileAnswers.pop_front();
  }
  if (name.isEmpty()) return false;
  dialog.FileName = name;
  if (!FilterAnswers.empty()) {
    dialog.FilterIndex = FilterAnswers.front();
    FilterAnswers.pop_front();
  }
  return true;
}

TMsgDlgBtn TScriptedDialogs::ShowMessage(TMsgDlgType type, const QString& text,
                                         TMsgDlgButtons buttons) {
  Messages.push_back({type, text, buttons});
  if (MessageAnswers.empty()) return DefaultAnswer;
  const TMsgDlgBtn answer = MessageAnswers.front();
  MessageAnswers.pop_front();
  return answer;
}

std::optional<QColor> TScriptedDialogs::ChooseColor(const QColor& initial) {
  LastInitialColor = initial;
  if (ColorAnswers.empty()) return std::nullopt;
  const std::optional<QColor> color = ColorAnswers.front();
  ColorAnswers.pop_front();
  return color;
}

void TScriptedDialogs::Beep() {
  ++Beeps;
}

}  // namespace vantor::test
