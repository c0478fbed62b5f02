// The seam through which every window of the program asks the user: file dialogs, message
// boxes, the colour dialog and the beep. The program uses the desktop's dialogs; tests install
// a scripted answerer.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

namespace vantor {

// Message box kinds with their fixed titles "Error", "Information" and "Confirm".
enum class TMsgDlgType { mtError, mtInformation, mtConfirmation };

// Buttons of a message box; a set is an OR of these.
enum TMsgDlgBtn : unsigned { mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;

// One file dialog of a window with the state it keeps between uses (the last filter and file
// name), like the main window's savestate, misc and bitmap dialogs.
struct TFileDialog {
  // Alternating descriptions and patterns separated by "|", e.g.
  // "Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*". Empty: no filter list.
  QString Filter;
  QString FileName;              // proposed before, chosen after a successful Execute
  QString DefaultExt;            // without the dot; empty: none
  bool OverwritePrompt = false;  // save dialogs: ask before replacing a file
  // The filter offered first, counted from 1 in the order of Filter; after a successful
  // Execute, the filter the user chose.
  int FilterIndex = 1;
};

class TDialogs {
 public:
  virtual ~TDialogs() = default;

  // True when the user chose a file; its path is then in dialog.FileName.
  virtual bool GetOpenFileName(TFileDialog& dialog) = 0;
  virtual bool GetSaveFileName(TFileDialog& dialog) = 0;
  // The button that closed the box (mbCancel when closed otherwise and Cancel is offered).
  virtual TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) = 0;
  // The chosen colour, or nothing when cancelled.
  virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
  virtual void Beep() = 0;
};

// The one report of errors the user must read: text in an "Error" box with an OK button.
void ReportError(TDialogs& dialogs, const QString& text);
// Runs a command of the user. A failure - any std::exception, such as a file error with its
// message - ends the command and is reported with its text; what the command changed before
// the failure stays changed. No exception leaves the command for the event loop.
void RunCommand(TDialogs& dialogs, const std::function<void()>& command);

}  // namespace vantor
