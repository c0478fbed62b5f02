#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "pages/vdp/ScreenPage.h"
#include "pictureio/PictureIO.h"
#include "support/FakePageHost.h"

using namespace vantor;
using vantor::test::TFakePageHost;

class ScreenPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startsWithAllLayersAndNoOptions();
  void allLayersOffShowsOnlyTheBackdrop();
  void toggleInvertsEachBoxAndRendersOnce();
  void h32PictureAndSaveAre256By224();
  void virtualScreenOfA64By32Plane();
  void savingAfterShrinkingWritesTheWholePicture();
  void saveAsPngAndSaveErrors();
  void paintsUnscaledFromTheTopLeft();
  void rendersOnlyWhenSeen();

 private:
  QCheckBox* box(const char* name) { return m_page->findChild<QCheckBox*>(name); }
  QPushButton* button(const char* name) { return m_page->findChild<QPushButton*>(name); }
  void clickBox(const char* name) {
    QTest::mouseClick(box(name), Qt::LeftButton, {}, QPoint(6, box(name)->height() / 2));
  }
  // Right-click on the paint box and choose "&Save to Bitmap...".
  void saveThroughTheMenu(const QString& path);

  std::unique_ptr<TFakePageHost> m_host;
  TScreenPage* m_page = nullptr;
  QTemporaryDir m_dir;
};

namespace {

constexpr uint8_t kPlaneColor = 3;
constexpr uint8_t kBackdrop = 5;

// H40, V28, 64 x 32 planes; plane A at $E000 fills the screen with pattern 1, whose every
// pixel has colour 3; the background colour is 5. Window and sprites show nothing.
void setUpScene(TMegaDriveVDP& vdp) {
  vdp.SetReg(1, 0x40);
  vdp.SetReg(2, 0x38);
  vdp.SetReg(4, 0x06);
  vdp.SetReg(5, 0x7F);
  vdp.SetReg(7, kBackdrop);
  vdp.SetReg(12, 0x81);
  vdp.SetReg(13, 0x3E);
  vdp.SetReg(16, 0x01);
  uint8_t* vram = vdp.VRAMData();
  std::fill(vram + 0x20, vram + 0x40, uint8_t(kPlaneColor << 4 | kPlaneColor));
  for (int cell = 0; cell < 64 * 32; ++cell)
    vdp.WriteVRAMWord(0xE000 + 2 * cell, 0x0001);
  vdp.SetColor(kPlaneColor, 0x000E);
  vdp.SetColor(kBackdrop, 0x0E00);
}

bool allPixelsAre(const TIndexedBitmap& bitmap, uint32_t value) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) != value) return false;
  return true;
}

struct TBmpHeader {
  int Width = 0, Height = 0, BitsPerPixel = 0;
  qint64 FileSize = 0;
};

TBmpHeader readBmpHeader(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = file.read(54);
  auto le32 = [&](int at) { return qFromLittleEndian<qint32>(head.constData() + at); };
  auto le16 = [&](int at) { return int(qFromLittleEndian<quint16>(head.constData() + at)); };
  if (head.size() < 54 || !head.startsWith("BM")) return {};
  return {le32(18), le32(22), le16(28), file.size()};
}

// File header, info header, 256 colours, rows padded to 4 bytes.
qint64 bmp8Size(int width, int height) {
  return 14 + 40 + 1024 + qint64(width + 3) / 4 * 4 * height;
}

}  // namespace

void ScreenPageTest::init() {
  QVERIFY(m_dir.isValid());
  m_host = std::make_unique<TFakePageHost>();
  setUpScene(m_host->VDP());
  m_page = new TScreenPage(*m_host);
  m_host->Install(TVDPPageId::vpScreen, m_page);
  QVERIFY(m_host->ShowWindow());
  m_page->PageShow();
}

void ScreenPageTest::cleanup() {
  m_host.reset();
  m_page = nullptr;
}

void ScreenPageTest::saveThroughTheMenu(const QString& path) {
  m_host->ScriptedDialogs.FileAnswers.push_back(path);
  auto* paintBox = m_page->findChild<QWidget*>("pbScreen");
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                          paintBox->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(paintBox, &event);
  auto* menu = m_page->findChild<QMenu*>("pmScreen");
  QTRY_VERIFY(menu->isVisible());
  QCOMPARE(menu->actions().size(), 3);
  QCOMPARE(menu->actions().front()->text(), QString("&Save to Bitmap..."));
  QCOMPARE(menu->actions().at(1)->text(), QString("Save with &overlays..."));
  QCOMPARE(menu->actions().back()->text(), QString("Save plane &map"));
  menu->actions().front()->trigger();
  menu->hide();
}

void ScreenPageTest::startsWithAllLayersAndNoOptions() {
  QCOMPARE(m_page->ScreenOptions(), uint16_t(0x01FF));
  QVERIFY(!box("chkScrnShowVirtual")->isChecked());
  QCOMPARE(box("chkScrnNoShdwHilite")->text(), QString("Ignore &Shadow/Highlight"));
  QCOMPARE(m_page->findChild<QWidget*>("pbScreen")->toolTip(), QString("right-click to save"));
  QVERIFY(allPixelsAre(m_page->ScreenBitmap(), kPlaneColor));

  clickBox("chkScrnNoHScroll");
  clickBox("chkScrnNoShdwHilite");
  QCOMPARE(m_page->ScreenOptions(), uint16_t(0x01FF | 0x0200 | 0x0800));
}

void ScreenPageTest::allLayersOffShowsOnlyTheBackdrop() {
  QSignalSpy rendered(m_page, &TScreenPage::pictureRendered);
  for (const char* name :
       {"chkScrnSpritesLo", "chkScrnSpritesHi", "chkScrnWindowLo", "chkScrnWindowHi",
        "chkScrnScrollALo", "chkScrnScrollAHi", "chkScrnScrollBLo", "chkScrnScrollBHi"})
    clickBox(name);
  QCOMPARE(rendered.count(), 8);
  QCOMPARE(m_page->ScreenOptions(), uint16_t(0x0001));
  QCOMPARE(m_page->ScreenBitmap().Width(), 320);
  QVERIFY(allPixelsAre(m_page->ScreenBitmap(), kBackdrop));
}

void ScreenPageTest::toggleInvertsEachBoxAndRendersOnce() {
  clickBox("chkScrnSpritesHi");
  QSignalSpy rendered(m_page, &TScreenPage::pictureRendered);
  QTest::mouseClick(button("btnScrnToggleSprites"), Qt::LeftButton);
  QVERIFY(!box("chkScrnSpritesLo")->isChecked());
  QVERIFY(box("chkScrnSpritesHi")->isChecked());
  QCOMPARE(rendered.count(), 1);
  QCOMPARE(m_page->ScreenOptions() & 0x0180, 0x0100);

  QTest::mouseClick(button("btnScrnToggleHVScroll"), Qt::LeftButton);
  QCOMPARE(m_page->ScreenOptions() & 0x0600, 0x0600);
  QTest::mouseClick(button("btnScrnToggleScrollA"), Qt::LeftButton);
  QCOMPARE(m_page->ScreenOptions() & 0x0018, 0);
  QCOMPARE(rendered.count(), 3);
  QVERIFY(!m_host->UpdateLock().Raised());
}

void ScreenPageTest::h32PictureAndSaveAre256By224() {
  m_host->VDP().SetReg(12, 0x00);
  m_page->PageShow();
  QCOMPARE(m_page->ScreenBitmap().Width(), 256);
  QCOMPARE(m_page->ScreenBitmap().Height(), 224);
  QCOMPARE(m_page->ScreenBitmap().BitsPerPixel(), uint8_t(8));

  const QString path = m_dir.filePath("screen.bmp");
  saveThroughTheMenu(path);
  const TBmpHeader bmp = readBmpHeader(path);
  QCOMPARE(bmp.Width, 256);
  QCOMPARE(bmp.Height, 224);
  QCOMPARE(bmp.BitsPerPixel, 8);
  QCOMPARE(bmp.FileSize, bmp8Size(256, 224));

  const TFileDialog& shown = m_host->ScriptedDialogs.FileDialogs.back();
  QCOMPARE(shown.Filter, QString("Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*|"
                                 "PNG files (*.png)|*.png"));
  QVERIFY(shown.OverwritePrompt);
  QVERIFY(shown.DefaultExt.isEmpty());
  QVERIFY(m_host->ScriptedDialogs.Messages.empty());
}

void ScreenPageTest::virtualScreenOfA64By32Plane() {
  clickBox("chkScrnShowVirtual");
  QCOMPARE(m_page->ScreenBitmap().Width(), 512 + 128);
  QCOMPARE(m_page->ScreenBitmap().Height(), 256 + 128);
  // The plane lies at 128, 128 of the virtual screen; around it only the backdrop.
  QCOMPARE(m_page->ScreenBitmap().Pixel(128, 128), uint32_t(kPlaneColor));
  QCOMPARE(m_page->ScreenBitmap().Pixel(127, 128), uint32_t(kBackdrop));
}

void ScreenPageTest::savingAfterShrinkingWritesTheWholePicture() {
  m_host->Window().resize(200, 150);
  QTest::qWait(0);
  const QString path = m_dir.filePath("small.bmp");
  saveThroughTheMenu(path);
  const TBmpHeader bmp = readBmpHeader(path);
  QCOMPARE(bmp.Width, 320);
  QCOMPARE(bmp.Height, 224);
  QCOMPARE(bmp.FileSize, bmp8Size(320, 224));
}

void ScreenPageTest::saveAsPngAndSaveErrors() {
  const QString png = m_dir.filePath("screen.png");
  saveThroughTheMenu(png);
  const QImage image(png);
  QCOMPARE(image.size(), QSize(320, 224));
  QCOMPARE(image.pixel(0, 0), ToQImage(m_page->ScreenBitmap()).pixel(0, 0));

  // A folder that does not exist: the error reaches the user as an "Error" box.
  saveThroughTheMenu(m_dir.filePath("missing/screen.bmp"));
  const QStringList errors = m_host->ScriptedDialogs.ErrorTexts();
  QCOMPARE(errors.size(), 1);
  QVERIFY2(errors.front().startsWith("Cannot create file \""), qPrintable(errors.front()));

  // Cancelled: nothing is written.
  const int files = int(QDir(m_dir.path()).entryList(QDir::Files).size());
  const int shown = int(m_host->ScriptedDialogs.FileDialogs.size());
  m_page->findChild<QAction*>("pmiScreenSaveBmp")->trigger();
  QCOMPARE(int(m_host->ScriptedDialogs.FileDialogs.size()), shown + 1);
  QCOMPARE(int(QDir(m_dir.path()).entryList(QDir::Files).size()), files);
}

void ScreenPageTest::paintsUnscaledFromTheTopLeft() {
  auto* paintBox = m_page->findChild<QWidget*>("pbScreen");
  QVERIFY(paintBox->width() > 320);
  const QImage shot = paintBox->grab().toImage();
  const QRgb plane = shot.pixel(0, 0);
  QCOMPARE(shot.pixel(319, 0), plane);
  QVERIFY(shot.pixel(320, 0) != plane);  // past the picture: the page's background
  QCOMPARE(QColor(shot.pixel(320, 0)), m_page->palette().color(QPalette::Window));
}

void ScreenPageTest::rendersOnlyWhenSeen() {
  m_host->Window().hide();
  QSignalSpy rendered(m_page, &TScreenPage::pictureRendered);
  m_host->VDP().SetReg(12, 0x00);
  m_page->PageShow();  // a load while the page is out of sight
  QCOMPARE(rendered.count(), 0);
  m_host->Window().show();
  QTRY_COMPARE(rendered.count(), 1);
  QCOMPARE(m_page->ScreenBitmap().Width(), 256);

  // Shown again and told so by the main window: one picture, not two.
  m_host->Window().hide();
  m_page->PageShow();
  m_host->Window().show();
  m_page->PageShow();
  QTest::qWait(20);
  QCOMPARE(rendered.count(), 2);

  // Nothing renders while the program fills controls.
  {
    const TUpdateLock::TScope lock(m_host->UpdateLock());
    m_page->ScreenSettingsChange();
  }
  QCOMPARE(rendered.count(), 2);
}

QTEST_MAIN(ScreenPageTest)
#include "ScreenPageTest.moc"
