// What the memory pages (the hex editors over the three RAM blocks) may ask of the main window.
#pragma once

#include <functional>

namespace vantor {

class TDialogs;
class TQuorHexEditorEx;
struct TFileDialog;

class TMemoryPageHost {
 public:
  virtual ~TMemoryPageHost() = default;

  // The editor of the shown memory page: main CPU RAM, then Z80 RAM, then Video RAM, each
  // only when its page and its outer page are both shown; null otherwise.
  virtual TQuorHexEditorEx* ActiveHexEditor() = 0;
  virtual TDialogs& Dialogs() = 0;
  virtual TFileDialog& odlgMisc() = 0;
  virtual TFileDialog& sdlgMisc() = 0;
  virtual int UpdateLock() const = 0;
  virtual void SetModified(bool modified) = 0;
  // Runs a command; a failure (a file error, a refusal of the editor) is shown in one "Error"
  // box with its text.
  virtual void RunCommand(const std::function<void()>& command) = 0;
};

}  // namespace vantor
