// Helpers of the main window tests: scripted dialogs and a window whose layout file lives in a
// temporary folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

#include "TestData.h"
#include "app/RegisterGrid.h"
#include "app/VantorMain.h"
#include "document/FieldValues.h"

namespace vantor::test {

struct TShownMessage {
  TMsgDlgType Type;
  QString Text;
  TMsgDlgButtons Buttons;
};

// Answers every dialog from queues the test fills; records what was shown.
class TScriptedDialogs : public TDialogs {
 public:
  std::deque<QString> FileAnswers;  // empty string: cancelled
  std::deque<int> FilterAnswers;    // the filter chosen with the next file; none: left as is
  std::deque<TMsgDlgBtn> MessageAnswers;
  std::vector<TShownMessage> Messages;
  std::vector<TFileDialog> FileDialogs;  // as they were when shown
  int Beeps = 0;

  bool GetOpenFileName(TFileDialog& dialog) override { return answer(dialog); }
  bool GetSaveFileName(TFileDialog& dialog) override { return answer(dialog); }
  TMsgDlgBtn ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) override {
    Messages.push_back({type, text, buttons});
    if (MessageAnswers.empty()) return mbOK;
    const TMsgDlgBtn result = MessageAnswers.front();
    MessageAnswers.pop_front();
    return result;
  }
  std::optional<QColor> ChooseColor(const QColor&) override { return std::nullopt; }
  void Beep() override { ++Beeps; }

 private:
  bool answer(TFileDialog& dialog) {
    FileDialogs.push_back(dialog);
    QString file;
    if (!FileAnswers.empty()) {
      file = FileAnswers.front();
      FileAnswers.pop_front();
    }
    if (file.isEmpty()) return false;
    dialog.FileName = file;
    if (!FilterAnswers.empty()) {
      dialog.FilterIndex = FilterAnswers.front();
      FilterAnswers.pop_front();
    }
    return true;
  }
};

// A main window on its own folders: System, Program and User under one temporary folder.
class TWindowKit {
 public:
  TWindowKit() {
    for (const char* sub : {"system", "program", "user"})
      QDir(m_dir.path()).mkpath(sub);
    m_where.FileName = "vantor.ini";
    m_where.SystemDir = Path("system").toStdString();
    m_where.ProgramDir = Path("program").toStdString();
    m_where.UserDir = Path("user").toStdString();
  }

  QString Path(const QString& name) const { return m_dir.filePath(name); }
  const TLayoutLocations& Where() const { return m_where; }

  // Writes a layout file into the program folder before the window starts.
  void WriteLayout(const QByteArray& text) {
    QFile file(Path("program/vantor.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  TfrmMain& Start() {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Dialogs = dialogs.get();
    Window = std::make_unique<TfrmMain>(m_where, std::move(dialogs));
    return *Window;
  }

  // Shows the window and makes it the active one, so that focus moves work as on a desktop.
  void ShowActive() {
    Window->show();
    QApplication::setActiveWindow(Window.get());
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
  }

  QByteArray WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(bytes);
    return bytes;
  }

  TScriptedDialogs* Dialogs = nullptr;
  std::unique_ptr<TfrmMain> Window;

 private:
  QTemporaryDir m_dir;
  TLayoutLocations m_where;
};

// Value columns of the register grids.
inline constexpr int kHex = 1;
inline constexpr int kDec = 2;

// A file of the repository's test data (tests/data), such as "emulator-h40/state.gs0".
inline QString FixturePath(const char* name) {
  return QString::fromStdString(testdata::TestDataPath(name));
}

inline QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline int64_t field(TfrmMain& window, const char* section, const std::string& key) {
  return ReadField(window.Layout(), window.Document().Image(), section, key).Value;
}

// Types text into a value cell, as keys into the cell's editor.
inline void typeInto(TRegisterGrid* grid, int col, int row, const QString& text) {
  grid->setFocus();
  grid->SelectCell(col, row);
  QVERIFY(grid->Editor());
  QTest::keyClicks(grid->Editor(), text);
}

// Moves one row down with the Down key, which commits the cell being left.
inline void pressDown(TRegisterGrid* grid) {
  QWidget* target = grid->Editor() ? static_cast<QWidget*>(grid->Editor()) : grid;
  QTest::keyClick(target, Qt::Key_Down);
}

}  // namespace vantor::test
