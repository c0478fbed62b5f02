// vantor: the desktop program.
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>
#include <exception>

#include "app/VantorMain.h"
#include "pages/QtDialogs.h"
#include "viewwindow/VantorView.h"

namespace {

// The last line of defence: a failure that escaped a command's own report is shown instead
// of ending the program.
class TVantorApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      vantor::TQtDialogs dialogs(activeWindow());
      vantor::ReportError(dialogs, QString::fromUtf8(error.what()));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  TVantorApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Palavex"));
  // The installed icon and desktop entry, so the desktop shows the program as Palavex.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.palavex.Palavex"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("palavex")));
  QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));

  vantor::TfrmMain frmMain(vantor::TLayoutLocations::FromEnvironment(
      QCoreApplication::applicationFilePath().toStdString()));
  frmMain.show();
  // The floating view window, hidden until the View menu shows it; it stays above frmMain.
  vantor::TfrmView frmView(&frmMain);
  frmMain.AttachViewWindow(&frmView);

  const QStringList args = QCoreApplication::arguments();
  if (args.size() > 1) {
    const QString path = args.at(1);
    QTimer::singleShot(0, &frmMain, [&frmMain, path] {
      frmMain.RunCommand([&] { frmMain.OpenSavestate(path); });
    });
  }
  return QApplication::exec();
}
