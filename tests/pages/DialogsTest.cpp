// The layout file's dialog filters in this platform's form.
#include <QTest>

#include "pages/QtDialogs.h"

namespace vantor::test {

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void filtersBecomeNameFilters() {
    QCOMPARE(
        QtNameFilters(QStringLiteral("Genecyst type savestates (*.gs?)|*.gs?|All files (*.*)|*.*")),
        QStringList(
            {QStringLiteral("Genecyst type savestates (*.gs?)"), QStringLiteral("All files (*)")}));
    QCOMPARE(QtNameFilters(QStringLiteral("Bitmap files (*.bmp; *.dib)|*.bmp;*.dib")),
             QStringList({QStringLiteral("Bitmap files (*.bmp *.dib)")}));
    QCOMPARE(QtNameFilters(QStringLiteral("Dumps|*.bin")),
             QStringList({QStringLiteral("Dumps (*.bin)")}));
  }

  void emptyFilterGivesNoList() { QVERIFY(QtNameFilters(QString()).isEmpty()); }

  void descriptionWithoutPatternMatchesAll() {
    QCOMPARE(QtNameFilters(QStringLiteral("Anything")),
             QStringList({QStringLiteral("Anything (*)")}));
  }

  void titlesAreFixed() {
    QCOMPARE(MessageTitle(TMsgDlgType::mtError), QStringLiteral("Error"));
    QCOMPARE(MessageTitle(TMsgDlgType::mtInformation), QStringLiteral("Information"));
    QCOMPARE(MessageTitle(TMsgDlgType::mtConfirmation), QStringLiteral("Confirm"));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::DialogsTest)
#include "DialogsTest.moc"
