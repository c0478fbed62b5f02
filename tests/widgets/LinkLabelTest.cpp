#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QtTest>

#include "widgets/LinkLabel.h"

using vantor::TLinkLabel;

class LinkLabelTest : public QObject {
  Q_OBJECT

 private slots:
  void hoverLookComesAndGoes();
  void clickNeedsPressAndReleaseOverTheLabel();
};

namespace {

void sendEnter(QWidget& w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&w, &e);
}

void sendLeave(QWidget& w) {
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(&w, &e);
}

}  // namespace

void LinkLabelTest::hoverLookComesAndGoes() {
  TLinkLabel label("Background Color");
  label.show();
  const QColor normal = label.palette().color(QPalette::WindowText);
  const QColor highlight = label.palette().color(QPalette::Highlight);
  QVERIFY(normal != highlight);

  sendEnter(label);
  QVERIFY(label.IsHot());
  QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(label.palette().color(QPalette::WindowText), highlight);
  QVERIFY(label.font().underline());

  sendLeave(label);
  QVERIFY(!label.IsHot());
  QCOMPARE(label.cursor().shape(), Qt::ArrowCursor);
  QCOMPARE(label.palette().color(QPalette::WindowText), normal);
  QVERIFY(!label.font().underline());
}

void LinkLabelTest::clickNeedsPressAndReleaseOverTheLabel() {
  TLinkLabel label("DMA Source Address");
  label.resize(150, 20);
  label.show();
  QSignalSpy spy(&label, &TLinkLabel::clicked);

  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(spy.count(), 1);
  QCOMPARE(spy.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);

  QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
  QCOMPARE(spy.count(), 2);
  QCOMPARE(spy.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);

  // Let go outside: no click.
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(500, 5));
  QCOMPARE(spy.count(), 2);

  // A release without its press (the press went to another widget): no click.
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(LinkLabelTest)
#include "LinkLabelTest.moc"
