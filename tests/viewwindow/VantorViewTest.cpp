#include "VantorViewTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "vdp/VDPPictures.h"

namespace vantor {

namespace {

// Register 12: bit 7 and bit 0 select 40 cells; bits 2-1 = 3 is interlace mode 2 (8 x 16 cells).
constexpr uint8_t kH40 = 0x81;
constexpr uint8_t kInterlace2 = 0x06;
constexpr char kBitmapFilter[] = "Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*";

uint16_t le16(const QByteArray& bytes, int at) {
  return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}
int32_t le32(const QByteArray& bytes, int at) {
  return int32_t(uint32_t(le16(bytes, at)) | uint32_t(le16(bytes, at + 2)) << 16);
}

// Patterns whose every byte is the pattern number's low byte: pattern n shows colour n % 16
// (both nibbles the same when n < 16).
std::vector<uint8_t> patternSource(std::size_t size) {
  std::vector<uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i)
    data[i] = uint8_t(((i / 32) & 0x0F) * 0x11);
  return data;
}

}  // namespace

void VantorViewTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  m_vdp = std::make_unique<TMegaDriveVDP>();
  for (int i = 0; i < 64; ++i)
    m_vdp->SetColor(uint8_t(i), uint16_t((i * 0x123) & 0x0EEE));
  m_view = std::make_unique<TfrmView>();
  m_heldModifiers = Qt::NoModifier;
  m_dialogs = test::TScriptedDialogs();
  m_sdlgBmp = TFileDialog();
  m_sdlgBmp.Filter = QString::fromLatin1(kBitmapFilter);
  m_sdlgBmp.OverwritePrompt = true;
  m_view->SetModifierQuery([this] { return m_heldModifiers; });
  m_view->SetDialogs(&m_dialogs, &m_sdlgBmp);
}

void VantorViewTest::cleanup() {
  m_view.reset();
  m_vdp.reset();
  m_dir.reset();
}

void VantorViewTest::press(const QString& text, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(m_view.get(), &event);
}

void VantorViewTest::wheel(int delta, Qt::KeyboardModifiers eventModifiers) {
  QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                    eventModifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(m_view.get(), &event);
  QVERIFY(event.isAccepted());
}

void VantorViewTest::showAndWait() {
  m_view->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

// --- Pictures ------------------------------------------------------------------------------

void VantorViewTest::startsHiddenWithItsDefaults() {
  QVERIFY(!m_view->isVisible());
  QCOMPARE(m_view->ViewMode(), vmScreen);
  QCOMPARE(m_view->Zoom(), 1);
  QCOMPARE(m_view->Alpha(), 255);
  QCOMPARE(m_view->PalLine(), 0);
  QVERIFY(!m_view->Halftone());
  QCOMPARE(m_view->ViewBitmap().Width(), 1);
  QCOMPARE(m_view->ViewBitmap().BitsPerPixel(), 8);
  QVERIFY(m_view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QCOMPARE(m_view->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
}

void VantorViewTest::picturesHaveTheirSizes_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<int>("reg12");
  QTest::addColumn<QSize>("size");
  QTest::newRow("screen, 32 cells") << int(vmScreen) << 0 << QSize(256, 224);
  QTest::newRow("screen, 40 cells") << int(vmScreen) << int(kH40) << QSize(320, 224);
  QTest::newRow("patterns, 8 x 8") << int(vmPatterns) << 0 << QSize(512, 256);
  QTest::newRow("patterns, 8 x 16") << int(vmPatterns) << int(kInterlace2) << QSize(512, 256);
  QTest::newRow("sprites, 32 cells") << int(vmSprites) << 0 << QSize(256, 256);
  // The 80 entries of an H40 table, 16 to a row.
  QTest::newRow("sprites, 40 cells") << int(vmSprites) << int(kH40) << QSize(512, 160);
}

void VantorViewTest::picturesHaveTheirSizes() {
  QFETCH(int, mode);
  QFETCH(int, reg12);
  QFETCH(QSize, size);
  m_vdp->SetReg(12, uint8_t(reg12));
  const std::vector<uint8_t> source = patternSource(65536);
  press(QStringLiteral("*"));  // zoom 2: the client area follows the picture at its zoom
  switch (mode) {
    case vmScreen:
      m_view->ShowScreen(*m_vdp, kRenderAllLayers);
      break;
    case vmPatterns:
      m_view->ShowPatterns(*m_vdp, source);
      break;
    default:
      m_view->ShowSprites(*m_vdp);
  }
  QCOMPARE(int(m_view->ViewMode()), mode);
  const TIndexedBitmap& bitmap = m_view->ViewBitmap();
  QCOMPARE(QSize(bitmap.Width(), bitmap.Height()), size);
  QCOMPARE(bitmap.BitsPerPixel(), 8);
  QCOMPARE(m_view->size(), size * 2);
  // All 256 colours: line 0 of the colour RAM, then its highlight and shadow forms.
  TIndexedBitmap expected(1, 1, 8);
  m_vdp->SetBitmapPalette(expected, 0, -1, 0);
  QVERIFY(bitmap.Colors() == expected.Colors());
}

void VantorViewTest::showOperationsKeepTheWindowHidden() {
  m_view->ShowSprites(*m_vdp);
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  QVERIFY(!m_view->isVisible());
  QCOMPARE(m_view->BuildCount(), 2);
}

void VantorViewTest::captionsFollowModeZoomAlphaAndLine() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  QCOMPARE(m_view->windowTitle(), QStringLiteral(" Screen - Zoom=x1, Alpha=255"));
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  press(QStringLiteral("2"));
  press(QStringLiteral("*"));
  press(QStringLiteral("-"));
  QCOMPARE(m_view->windowTitle(), QStringLiteral(" Patterns - Zoom=x2, Alpha=254, PalLine=2"));
  m_view->ShowSprites(*m_vdp);
  QCOMPARE(m_view->windowTitle(), QStringLiteral(" Sprites - Zoom=x2, Alpha=254"));
}

// --- Keys ------------------------------------------------------------------------------------

void VantorViewTest::zoomKeysResizeAndClamp() {
  m_vdp->SetReg(12, kH40);
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  for (int zoom : {2, 3, 4, 4}) {
    press(QStringLiteral("*"));
    QCOMPARE(m_view->Zoom(), zoom);
    QCOMPARE(m_view->size(), QSize(320, 224) * zoom);
  }
  for (int zoom : {3, 2, 1, 1}) {
    press(QStringLiteral("/"));
    QCOMPARE(m_view->Zoom(), zoom);
    QCOMPARE(m_view->size(), QSize(320, 224) * zoom);
  }
}

void VantorViewTest::alphaKeysClamp() {
  press(QStringLiteral("+"));
  QCOMPARE(m_view->Alpha(), 255);
  for (int i = 0; i < 250; ++i)
    press(QStringLiteral("-"));
  QCOMPARE(m_view->Alpha(), 32);
  QCOMPARE(m_view->windowOpacity(), 32 / 255.0);
  press(QStringLiteral("+"));
  QCOMPARE(m_view->Alpha(), 33);
}

void VantorViewTest::spaceAndMiddleButtonToggleHalftone() {
  press(QStringLiteral(" "), Qt::Key_Space);
  QVERIFY(m_view->Halftone());
  auto* panel = m_view->findChild<TPaintPanel*>();
  QVERIFY(panel != nullptr);
  QTest::mousePress(panel, Qt::MiddleButton, Qt::NoModifier, QPoint(3, 3));
  QVERIFY(!m_view->Halftone());
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  QVERIFY(!m_view->Halftone());
}

void VantorViewTest::repaintOnlyChangesDoNotRebuild() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  const int builds = m_view->BuildCount();
  const int invalidates = m_view->InvalidateCount();
  for (const char* key : {"*", "/", "+", "-", " ", "1"})
    press(QString::fromLatin1(key));
  m_heldModifiers = Qt::ControlModifier;
  wheel(120);
  m_heldModifiers = Qt::NoModifier;
  wheel(120);
  QCOMPARE(m_view->BuildCount(), builds);
  QCOMPARE(m_view->InvalidateCount(), invalidates + 8);
}

void VantorViewTest::digitsSwitchThePaletteLine() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  const TIndexedBitmap& bitmap = m_view->ViewBitmap();
  QCOMPARE(bitmap.Pixel(8 * 5, 0), 0x05u);  // pattern 5, colour 5 of line 0
  press(QStringLiteral("3"));
  QCOMPARE(m_view->PalLine(), 3);
  QCOMPARE(bitmap.Pixel(8 * 5, 0), 0x35u);
  QCOMPARE(bitmap.Pixel(511, 255), 0x3Fu);  // the last pattern, 2047: colour 15
  press(QStringLiteral("0"));
  QCOMPARE(bitmap.Pixel(8 * 5, 0), 0x05u);
}

void VantorViewTest::currentDigitRedrawsNothing() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  press(QStringLiteral("2"));
  const int invalidates = m_view->InvalidateCount();
  QKeyEvent event(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
  QApplication::sendEvent(m_view.get(), &event);
  QVERIFY(event.isAccepted());
  QCOMPARE(m_view->InvalidateCount(), invalidates);
  QCOMPARE(m_view->PalLine(), 2);
}

void VantorViewTest::digitsOutsidePatternsAreSwallowed() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  const uint32_t before = m_view->ViewBitmap().Pixel(0, 0);
  QKeyEvent event(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
  QApplication::sendEvent(m_view.get(), &event);
  QVERIFY(event.isAccepted());
  QCOMPARE(m_view->PalLine(), 0);
  QCOMPARE(m_view->ViewBitmap().Pixel(0, 0), before);
}

void VantorViewTest::otherKeysArePassedOn() {
  for (const char* key : {"a", "4", "9", "="}) {
    QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromLatin1(key));
    QApplication::sendEvent(m_view.get(), &event);
    QVERIFY2(!event.isAccepted(), key);
  }
  QCOMPARE(m_view->Zoom(), 1);
  QCOMPARE(m_view->Alpha(), 255);
}

void VantorViewTest::escapeClosesAndKeepsTheMode() {
  m_view->ShowSprites(*m_vdp);
  showAndWait();
  QSignalSpy closed(m_view.get(), &TfrmView::closed);
  press(QString(QChar(27)), Qt::Key_Escape);
  QVERIFY(!m_view->isVisible());
  QCOMPARE(closed.count(), 1);
  QCOMPARE(m_view->ViewMode(), vmSprites);
}

// --- Wheel -----------------------------------------------------------------------------------

void VantorViewTest::ctrlWheelZoomsAndClamps() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  m_heldModifiers = Qt::ControlModifier;
  for (int zoom : {2, 3, 4, 4}) {
    wheel(120);
    QCOMPARE(m_view->Zoom(), zoom);
  }
  QCOMPARE(m_view->size(), QSize(256, 224) * 4);
  for (int zoom : {3, 2, 1, 1}) {
    wheel(-15);  // a fine-grained wheel counts as much as a whole notch
    QCOMPARE(m_view->Zoom(), zoom);
  }
  QCOMPARE(m_view->size(), QSize(256, 224));
}

void VantorViewTest::wheelWrapsThePaletteLine() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  wheel(-120);
  QCOMPARE(m_view->PalLine(), 3);
  QCOMPARE(m_view->ViewBitmap().Pixel(8 * 5, 0), 0x35u);
  wheel(120);
  QCOMPARE(m_view->PalLine(), 0);
  wheel(120);
  wheel(120);
  QCOMPARE(m_view->PalLine(), 2);
  QCOMPARE(m_view->ViewBitmap().Pixel(8 * 5, 0), 0x25u);
  QCOMPARE(m_view->Zoom(), 1);
}

void VantorViewTest::wheelReadsCtrlAtThatMoment() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  // Ctrl recorded in the event but already released: the palette line turns.
  wheel(120, Qt::ControlModifier);
  QCOMPARE(m_view->PalLine(), 1);
  QCOMPARE(m_view->Zoom(), 1);
  // Ctrl held now though the event does not say so: the zoom changes.
  m_heldModifiers = Qt::ControlModifier;
  wheel(120);
  QCOMPARE(m_view->PalLine(), 1);
  QCOMPARE(m_view->Zoom(), 2);
}

void VantorViewTest::plainWheelOutsidePatternsDoesNothing() {
  for (bool sprites : {false, true}) {
    if (sprites) {
      m_view->ShowSprites(*m_vdp);
    } else {
      m_view->ShowScreen(*m_vdp, kRenderAllLayers);
    }
    const int invalidates = m_view->InvalidateCount();
    const uint32_t before = m_view->ViewBitmap().Pixel(0, 0);
    wheel(120);
    wheel(-120);
    QCOMPARE(m_view->PalLine(), 0);
    QCOMPARE(m_view->Zoom(), 1);
    QCOMPARE(m_view->ViewBitmap().Pixel(0, 0), before);
    QCOMPARE(m_view->InvalidateCount(), invalidates);
  }
}

// --- Resizing --------------------------------------------------------------------------------

void VantorViewTest::userResizeSnapsToAZoom() {
  m_vdp->SetReg(12, kH40);
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  showAndWait();
  m_view->resize(500, 350);
  QCOMPARE(m_view->Zoom(), 2);
  QCOMPARE(m_view->size(), QSize(640, 448));
  m_view->resize(400, 300);
  QCOMPARE(m_view->Zoom(), 1);
  QCOMPARE(m_view->size(), QSize(320, 224));
  QVERIFY(m_view->windowTitle().contains(QStringLiteral("Zoom=x1")));
}

void VantorViewTest::hiddenResizeIsNotSnapped() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  m_view->resize(500, 350);
  QCOMPARE(m_view->Zoom(), 1);
  QCOMPARE(m_view->size(), QSize(500, 350));
  // The window's own resizes while shown are not snapped either: zoom 3 stays zoom 3.
  showAndWait();
  press(QStringLiteral("*"));
  press(QStringLiteral("*"));
  QCOMPARE(m_view->Zoom(), 3);
  QCOMPARE(m_view->size(), QSize(256, 224) * 3);
}

// --- Patterns and sprites ------------------------------------------------------------------

void VantorViewTest::patternsReadOnlyTheGivenBytes() {
  // One and a half patterns of colour 15 (the source ends in the middle of pattern 1's row 4),
  // then nothing: the rest shows colour 0 of the line.
  const std::vector<uint8_t> source(48, 0xFF);
  press(QStringLiteral("1"));  // swallowed in the Screen picture
  m_view->ShowPatterns(*m_vdp, source);
  press(QStringLiteral("2"));
  const TIndexedBitmap& bitmap = m_view->ViewBitmap();
  QCOMPARE(bitmap.Pixel(0, 7), 0x2Fu);
  QCOMPARE(bitmap.Pixel(15, 3), 0x2Fu);
  QCOMPARE(bitmap.Pixel(8, 4), 0x20u);
  QCOMPARE(bitmap.Pixel(16, 0), 0x20u);
  QCOMPARE(bitmap.Pixel(511, 255), 0x20u);
  m_view->ShowPatterns(*m_vdp, {});
  QCOMPARE(m_view->ViewBitmap().Pixel(0, 0), 0x20u);
}

void VantorViewTest::reopenedPatternsKeepThePaletteLine() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  press(QStringLiteral("3"));
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  QCOMPARE(m_view->PalLine(), 3);
  QCOMPARE(m_view->ViewBitmap().Pixel(8 * 5, 0), 0x35u);
}

void VantorViewTest::spritesShowTheBackdropBehind() {
  m_vdp->SetReg(7, 0x25);  // backdrop: line 2, colour 5
  m_view->ShowSprites(*m_vdp);
  QCOMPARE(m_view->ViewBitmap().Pixel(0, 0), 0x25u);
  QCOMPARE(m_view->ViewBitmap().Pixel(255, 255), 0x25u);
}

// --- Save and copy -------------------------------------------------------------------------

void VantorViewTest::savesTheZoomedPictureAsBmp() {
  m_view->ShowPatterns(*m_vdp, patternSource(65536));
  press(QStringLiteral("1"));
  press(QStringLiteral("*"));
  press(QStringLiteral("*"));
  press(QStringLiteral(" "), Qt::Key_Space);  // smoothing on screen only
  const QString saved = m_dir->filePath(QStringLiteral("zoom3.bmp"));
  m_dialogs.FileAnswers = {saved};
  m_view->pmiSaveBmp()->trigger();
  QVERIFY(m_dialogs.Messages.empty());

  QFile file(saved);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  QCOMPARE(bytes.left(2), QByteArray("BM"));
  QCOMPARE(le32(bytes, 18), 512 * 3);
  QCOMPARE(le32(bytes, 22), 256 * 3);
  QCOMPARE(le16(bytes, 28), 8);
  const int pixels = le32(bytes, 10);
  const TIndexedBitmap& bitmap = m_view->ViewBitmap();
  for (int i = 0; i < 256; ++i) {
    const uint32_t entry = uint32_t(le32(bytes, 54 + 4 * i)) & 0xFFFFFF;
    QCOMPARE(entry, bitmap.Color(i) & 0xFFFFFF);
  }
  // Rows are stored bottom-up: the file's top row is the picture's row 0, three times, each
  // source pixel three times. Pattern 5 starts at x = 40 (colour 5 of line 1).
  const int stride = 512 * 3;
  for (int y : {256 * 3 - 1, 256 * 3 - 3}) {
    const int row = pixels + y * stride;
    QCOMPARE(uint8_t(bytes[row + 40 * 3 - 1]), uint8_t(0x14));
    QCOMPARE(uint8_t(bytes[row + 40 * 3]), uint8_t(0x15));
    QCOMPARE(uint8_t(bytes[row + 40 * 3 + 2]), uint8_t(0x15));
  }
}

void VantorViewTest::savesPngForAPngName() {
  m_view->ShowSprites(*m_vdp);
  press(QStringLiteral("*"));
  const QString saved = m_dir->filePath(QStringLiteral("sprites.PNG"));
  m_dialogs.FileAnswers = {saved};
  m_view->pmiSaveBmp()->trigger();
  QVERIFY(m_dialogs.Messages.empty());
  const QImage image(saved, "PNG");
  QCOMPARE(image.size(), QSize(512, 512));
  QCOMPARE(image.pixel(511, 511), m_view->ViewBitmap().Color(0));
}

void VantorViewTest::saveDialogOffersPngAfterTheBitmapEntries() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  const QString saved = m_dir->filePath(QStringLiteral("first.bmp"));
  m_dialogs.FileAnswers = {saved};
  m_view->pmiSaveBmp()->trigger();
  QCOMPARE(m_dialogs.FileDialogs.size(), std::size_t(1));
  const TFileDialog& asked = m_dialogs.FileDialogs[0];
  QCOMPARE(asked.Filter,
           QString::fromLatin1(kBitmapFilter) + QStringLiteral("|PNG files (*.png)|*.png"));
  QVERIFY(asked.OverwritePrompt);
  QVERIFY(asked.DefaultExt.isEmpty());
  // The shared dialog keeps its own filter and remembers the chosen name.
  QCOMPARE(m_sdlgBmp.Filter, QString::fromLatin1(kBitmapFilter));
  QCOMPARE(m_sdlgBmp.FileName, saved);
}

void VantorViewTest::cancelledSaveWritesNothing() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  m_view->pmiSaveBmp()->trigger();
  QVERIFY(m_dialogs.Messages.empty());
  QVERIFY(QDir(m_dir->path()).isEmpty());
}

void VantorViewTest::failedSaveReportsTheError() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  for (const char* name : {"missing/picture.bmp", "missing/picture.png"}) {
    m_dialogs.Messages.clear();
    const QString saved = m_dir->filePath(QString::fromLatin1(name));
    m_dialogs.FileAnswers = {saved};
    m_view->pmiSaveBmp()->trigger();
    QCOMPARE(m_dialogs.Messages.size(), std::size_t(1));
    QCOMPARE(m_dialogs.Messages[0].Type, TMsgDlgType::mtError);
    const QString& text = m_dialogs.Messages[0].Text;
    QVERIFY2(text.startsWith(QStringLiteral("Cannot create file \"") + saved), qPrintable(text));
  }
  QCOMPARE(m_view->BuildCount(), 1);
}

void VantorViewTest::copyPutsTheUnscaledPicture() {
  m_vdp->SetReg(12, kH40);
  m_vdp->SetReg(7, 0x03);
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  press(QStringLiteral("*"));
  m_view->pmiCopyToCB()->trigger();
  const QImage image = QGuiApplication::clipboard()->image();
  QCOMPARE(image.size(), QSize(320, 224));
  QCOMPARE(image.pixel(10, 10), m_view->ViewBitmap().Color(3));
}

void VantorViewTest::shortcutsReachTheMenuItems() {
  QCOMPARE(m_view->pmiSaveBmp()->text(), QStringLiteral("&Save to Bitmap..."));
  QCOMPARE(m_view->pmiCopyToCB()->text(), QStringLiteral("&Copy to Clipboard"));
  QCOMPARE(m_view->pmiAllSprites()->text(), QStringLiteral("&All sprites"));
  QVERIFY(m_view->pmiAllSprites()->isCheckable());
  QVERIFY(!m_view->AllSprites());
  // The two, a separator, All sprites, Overlays, Save with overlays.
  QCOMPARE(m_view->pmViewMain()->actions().size(), 6);
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  showAndWait();
  m_view->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(256, 224));
  const QString saved = m_dir->filePath(QStringLiteral("enter.bmp"));
  m_dialogs.FileAnswers = {saved};
  QTest::keyClick(m_view.get(), Qt::Key_Return);
  QVERIFY(QFile::exists(saved));
  QVERIFY(m_view->isVisible());
}

void VantorViewTest::rightClickOpensTheMenu() {
  m_view->ShowScreen(*m_vdp, kRenderAllLayers);
  showAndWait();
  auto* panel = m_view->findChild<TPaintPanel*>();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), panel->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(panel, &event);
  QVERIFY(m_view->pmViewMain()->isVisible());
  m_view->pmViewMain()->close();
}

}  // namespace vantor
