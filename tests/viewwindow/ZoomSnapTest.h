#pragma once

#include <QObject>

namespace vantor {

class ZoomSnapTest : public QObject {
  Q_OBJECT

 private slots:
  void snapsDraggedSizes_data();
  void snapsDraggedSizes();
  void emptyPictureKeepsZoomOne();
};

}  // namespace vantor
