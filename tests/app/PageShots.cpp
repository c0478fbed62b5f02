// Pictures of every page of the main window, for looking at the layout on a real display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" app_page_shots OUTDIR [SAVESTATE]
// Not a test: it only writes OUTDIR/page-NN.png, one per page, grabbed from the screen.
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "app/VantorMain.h"
#include "pages/QtDialogs.h"
#include "widgets/PageControl.h"

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
  window.move(0, 0);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  if (argc > 2) window.OpenSavestate(QString::fromLocal8Bit(argv[2]));

  int shot = 0;
  const auto grab = [&] {
    QTest::qWait(200);
    const QPixmap picture = window.screen()->grabWindow(0, 0, 0, window.frameGeometry().width(),
                                                        window.frameGeometry().height());
    picture.save(QStringLiteral("%1/page-%2.png").arg(out).arg(shot++, 2, 10, QLatin1Char('0')));
  };
  for (int main = 0; main < 2; ++main) {
    window.pcMain()->setCurrentIndex(main);
    auto* sub = main == 0 ? window.pcMainCPU() : window.pcSubCPU();
    for (int page = 0; page < sub->count(); ++page) {
      sub->setCurrentIndex(page);
      grab();
    }
  }
  window.pcMain()->setCurrentIndex(2);
  for (int page = 0; page < window.pcVDP()->count(); ++page) {
    window.pcVDP()->setCurrentIndex(page);
    grab();
  }
  return 0;
}
