// Pictures of the view window over the main window in each of its modes, for looking at it on
// a real display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" view_shots OUTDIR [SAVESTATE]
// Not a test: it writes OUTDIR/view-screen.png, view-patterns.png and view-sprites.png, each
// grabbed from the whole screen after pressing F5, F6 or F7 in the main window.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "app/VantorMain.h"
#include "viewwindow/VantorView.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir dir;
  vantor::TLayoutLocations where;
  where.FileName = "vantor.ini";
  where.SystemDir = where.ProgramDir = where.UserDir = dir.path().toStdString();
  vantor::TfrmMain window(where);
  window.move(40, 40);
  window.show();
  vantor::TfrmView view(&window);
  window.AttachViewWindow(&view);
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  if (argc > 2) window.OpenSavestate(QString::fromLocal8Bit(argv[2]));

  const struct {
    Qt::Key Key;
    const char* Name;
    const char* Keys;  // typed into the view window before the picture is taken
  } shots[] = {
      {Qt::Key_F5, "screen", "*"}, {Qt::Key_F6, "patterns", "2"}, {Qt::Key_F7, "sprites", ""}};
  for (const auto& shot : shots) {
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) return 1;
    QTest::keyClick(&window, shot.Key);
    for (const char* k = shot.Keys; *k != 0; ++k)
      QTest::keyClick(&view, *k);
    QTest::qWait(300);
    window.screen()->grabWindow(0).save(QStringLiteral("%1/view-%2.png").arg(out, shot.Name));
  }
  return 0;
}
