// Runs every test class of the view window in one program.
#include <QApplication>
#include <QTest>

#include "VantorViewTest.h"
#include "ZoomSnapTest.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  {
    vantor::ZoomSnapTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    vantor::VantorViewTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
