#include "pages/Dialogs.h"

#include <exception>

namespace vantor {

void ReportError(TDialogs& dialogs, const QString& text) {
  dialogs.ShowMessage(TMsgDlgType::mtError, text, mbOK);
}

void RunCommand(TDialogs& dialogs, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    ReportError(dialogs, QString::fromUtf8(error.what()));
  }
}

}  // namespace vantor
