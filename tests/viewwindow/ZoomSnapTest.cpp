#include "ZoomSnapTest.h"

#include <QTest>

#include "viewwindow/ZoomSnap.h"

namespace vantor {

void ZoomSnapTest::snapsDraggedSizes_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::addColumn<int>("zoom");
  // A 320 x 224 picture throughout.
  QTest::newRow("500x350: 15 and 15 tenths") << 500 << 350 << 2;
  QTest::newRow("400x300: 12 and 13 tenths") << 400 << 300 << 1;
  QTest::newRow("unchanged") << 320 << 224 << 1;
  QTest::newRow("mean 14") << 464 << 314 << 1;  // 14 and 14
  QTest::newRow("mean 15 from 14 and 16") << 448 << 359 << 2;
  QTest::newRow("mean 24") << 780 << 538 << 2;  // 24 and 24
  QTest::newRow("mean 25") << 800 << 560 << 3;
  QTest::newRow("mean 34") << 1100 << 762 << 3;  // 34 and 34
  QTest::newRow("mean 35") << 1120 << 784 << 4;
  QTest::newRow("far larger") << 5000 << 5000 << 4;
  QTest::newRow("collapsed") << 0 << 0 << 1;
  QTest::newRow("negative") << -40 << -40 << 1;
}

void ZoomSnapTest::snapsDraggedSizes() {
  QFETCH(int, width);
  QFETCH(int, height);
  QFETCH(int, zoom);
  QCOMPARE(SnapZoom(width, height, 320, 224), zoom);
}

void ZoomSnapTest::emptyPictureKeepsZoomOne() {
  QCOMPARE(SnapZoom(500, 350, 0, 224), 1);
  QCOMPARE(SnapZoom(500, 350, 320, 0), 1);
}

}  // namespace vantor
