// The pixel inspector, the overlays and the Video RAM map in the main window, on the emulator's
// savestate: from a pixel to the exact byte in the Video RAM editor in two clicks, from the view
// window's picture at its zoom to the sprite, the pattern and the colour, overlays drawn over
// the picture but not into a saved one, and a click on the map to its block's first byte.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QtTest>
#include <optional>

#include "app/AppTestKit.h"
#include "app/RegisterGridSet.h"
#include "hexedit/QuorHexEditorEx.h"
#include "pages/PixelAccountPanel.h"
#include "pages/vdp/PatternsSpritesPage.h"
#include "pages/vdp/ScreenPage.h"
#include "pages/vdp/VRAMMapPage.h"
#include "pictureio/PictureIO.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PixelInspector.h"
#include "vdp/VRAMMap.h"
#include "viewwindow/VantorView.h"
#include "widgets/CellStrip.h"
#include "widgets/LinkLabel.h"

using namespace vantor;
using vantor::test::TWindowKit;

namespace {

const QString kFixture = vantor::test::FixturePath("emulator-h40/state.gs0");

// The first pixel (on a 3-pixel raster) that the given layer wins, as the core accounts for it.
std::optional<TPixelAccount> firstWonBy(const TMegaDriveVDP& vdp, uint16_t options,
                                        TPixelLayer layer) {
  const TPixelInspector inspector(vdp, options);
  const TScreenGeometry& g = inspector.Geometry();
  for (int32_t y = 1; y < g.Height; y += 3) {
    for (int32_t x = 1; x < g.Width; x += 3) {
      TPixelAccount account = inspector.Inspect(x, y);
      if (account.Winner == layer) return account;
    }
  }
  return std::nullopt;
}

const TCellAccount& cellOf(const TPixelAccount& account, TPixelLayer layer) {
  return layer == TPixelLayer::plPlaneA   ? account.PlaneA
         : layer == TPixelLayer::plPlaneB ? account.PlaneB
                                          : account.Window;
}

QString summary(const TPixelAccount& account) {
  return QString::fromStdString(PixelSummary(account));
}

// A press and a release of the left button, as the user clicks.
void click(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

TLinkLabel* link(QWidget& panel, const QString& name) {
  auto* label = panel.findChild<TLinkLabel*>(name);
  if (label == nullptr) qWarning("no link %s", qPrintable(name));
  return label;
}

QImage rgb(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class PixelInspectorTest : public QObject {
  Q_OBJECT

 private:
  TWindowKit m_kit;
  std::unique_ptr<TfrmView> m_view;

  TfrmMain& open() {
    TfrmMain& window = m_kit.Start();
    m_view = std::make_unique<TfrmView>(&window);
    window.AttachViewWindow(m_view.get());
    window.resize(760, 560);
    m_kit.ShowActive();
    window.RunCommand([&] { window.OpenSavestate(kFixture); });
    return window;
  }

  TScreenPage& screenPage(TfrmMain& window) {
    window.ShowVDPPage(TVDPPageId::vpScreen);
    return *window.findChild<TScreenPage*>();
  }

 private slots:
  void cleanup() {
    m_view.reset();
    m_kit.Window.reset();
  }

  // Hover a pixel won by plane A, plane B or the window: the status bar names it as the core
  // does; click it, then the name table link of its layer: the Video RAM page is in front with
  // the caret on that entry's first byte.
  void pixelToVideoRAMByteInTwoClicks() {
    TfrmMain& window = open();
    QVERIFY(m_kit.Dialogs->Messages.empty());
    const std::pair<TPixelLayer, QString> layers[] = {{TPixelLayer::plPlaneA, "PlaneA"},
                                                      {TPixelLayer::plPlaneB, "PlaneB"},
                                                      {TPixelLayer::plWindow, "Window"}};
    for (const auto& [layer, name] : layers) {
      TScreenPage& page = screenPage(window);
      // Back from the editor, the account pinned before is shown whole: every link in view.
      if (!page.AccountPanel()->isHidden()) {
        for (TLinkLabel* label : page.AccountPanel()->findChildren<TLinkLabel*>())
          QVERIFY2(!label->visibleRegion().isEmpty(), qPrintable(label->objectName()));
      }
      const std::optional<TPixelAccount> pixel =
          firstWonBy(window.VDP(), page.ScreenOptions(), layer);
      QVERIFY2(pixel.has_value(), qPrintable(name));
      const QPoint at(pixel->X, pixel->Y);
      QTest::mouseMove(page.pbScreen(), at);
      QCOMPARE(window.StatusText(), summary(*pixel));

      click(page.pbScreen(), at);
      QVERIFY(page.AccountPanel()->isVisible());
      QCOMPARE(page.AccountPanel()->Pixel(), at);
      TLinkLabel* nameLink = link(*page.AccountPanel(), "lnk" + name + "Name");
      QVERIFY(nameLink != nullptr);
      click(nameLink, nameLink->rect().center());

      QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpVideoRAM);
      TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpVideoRAM);
      QVERIFY(editor->isVisible());
      QVERIFY(editor->hasFocus());
      QCOMPARE(editor->Model().CursorPos(), int64_t(cellOf(*pixel, layer).NameAddress));
    }
    QCOMPARE(m_kit.Dialogs->Beeps, 0);
  }

  // The view window at zoom 2: the pixel under the mouse is the picture pixel half the
  // position; a click pins it, and its links reach the sprite's attributes, its pattern in its
  // palette line and its colour.
  void viewWindowPixelLinksReachTheirPages() {
    TfrmMain& window = open();
    window.ViewMenuItem(vmiScreen)->trigger();
    QVERIFY(m_view->isVisible());
    QTest::keyClick(m_view.get(), '*');
    QCOMPARE(m_view->Zoom(), 2);
    // Beside the main window: the pointer is over the view window's picture alone.
    m_view->move(window.frameGeometry().topRight() + QPoint(20, 0));
    QApplication::processEvents();
    const std::optional<TPixelAccount> pixel =
        firstWonBy(window.VDP(), kRenderAllLayers, TPixelLayer::plSprite);
    QVERIFY(pixel.has_value());
    QWidget* picture = m_view->findChild<TPaintPanel*>();
    const QPoint at(2 * pixel->X + 1, 2 * pixel->Y + 1);
    QTest::mouseMove(picture, at);
    QCOMPARE(window.StatusText(), summary(*pixel));

    const auto pinAndFollow = [&](const char* name) {
      click(picture, at);
      TPixelAccountPanel* panel = m_view->AccountPanel();
      QVERIFY(panel->isVisible());
      QCOMPARE(panel->Pixel(), QPoint(pixel->X, pixel->Y));
      TLinkLabel* label = link(*panel, name);
      QVERIFY(label != nullptr);
      // Also when the panel was already shown: its rows take the room they need.
      QVERIFY(!label->visibleRegion().isEmpty());
      click(label, label->rect().center());
    };
    auto* patterns = window.findChild<TPatternsSpritesPage*>();
    pinAndFollow("lnkSprite");
    QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpPatterns);
    QCOMPARE(patterns->dgSprites()->CurrentColumn(), pixel->Sprite.Number);
    QCOMPARE(patterns->lbledSpriteHPos()->text(), QString::number(pixel->Sprite.Entry.X));

    patterns->cbPatternSrc()->setCurrentIndex(int(TPatternSource::psMainRAM));
    pinAndFollow("lnkSpritePattern");
    QCOMPARE(patterns->dgPatterns()->CurrentColumn(), int(pixel->Sprite.Pixel.Pattern));
    QCOMPARE(patterns->cbPalLine()->currentIndex(), int(pixel->Sprite.Pixel.PaletteLine));
    QCOMPARE(patterns->cbPatternSrc()->currentIndex(), int(TPatternSource::psVideoRAM));

    pinAndFollow("lnkCRAM");
    QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpColorRAM);
    QCOMPARE(window.Grid(TGridId::sgCRAM)->Row() - TRegisterGrid::kFixedRows,
             int(pixel->CramIndex));
  }

  // Every overlay on: the page shows them over the picture; "Save to Bitmap..." writes the
  // picture alone, "Save with overlays..." what the page shows. The view window's own save
  // leaves them out as well.
  void overlaysAreNotInASavedPictureUnlessAsked() {
    TfrmMain& window = open();
    TScreenPage& page = screenPage(window);
    TScreenPaintBox* box = page.pbScreen();
    const QImage picture = rgb(ToQImage(page.ScreenBitmap()));
    const QRect area(QPoint(0, 0), picture.size());
    QCOMPARE(rgb(box->grab(area).toImage()), picture);

    for (const TScreenOverlayItem& item : kScreenOverlayItems) {
      auto* check = page.findChild<QCheckBox*>(QStringLiteral("chkScrn") + item.Name);
      QVERIFY(check != nullptr);
      click(check, check->rect().center());
      QVERIFY(check->isChecked());
    }
    const QImage shown = rgb(box->grab(area).toImage());
    QVERIFY(shown != picture);

    m_kit.Dialogs->FileAnswers = {m_kit.Path("plain.png"), m_kit.Path("overlays.png")};
    page.findChild<QAction*>("pmiScreenSaveBmp")->trigger();
    page.findChild<QAction*>("pmiScreenSaveOverlays")->trigger();
    QVERIFY(m_kit.Dialogs->Messages.empty());
    QCOMPARE(rgb(QImage(m_kit.Path("plain.png"))), picture);
    QCOMPARE(rgb(QImage(m_kit.Path("overlays.png"))), shown);

    // The view window's keys G, R, W, B and D.
    window.ViewMenuItem(vmiScreen)->trigger();
    QApplication::setActiveWindow(m_view.get());
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    QTest::keyClicks(m_view.get(), "grwbd");
    QCOMPARE(m_view->Overlays(), uint8_t(0x1F));
    QWidget* viewPicture = m_view->findChild<TPaintPanel*>();
    QVERIFY(rgb(viewPicture->grab(area).toImage()) != picture);
    m_kit.Dialogs->FileAnswers = {m_kit.Path("view.png")};
    m_view->pmiSaveBmp()->trigger();
    QCOMPARE(rgb(QImage(m_kit.Path("view.png"))), picture);
  }

  // The map at zoom 2: hovering a pixel inside a block of plane B's name table names the
  // block and its use; a click opens the Video RAM editor on the block's first byte.
  void mapClickOpensTheEditorAtTheBlock() {
    TfrmMain& window = open();
    window.resize(1200, 900);
    window.ShowVDPPage(TVDPPageId::vpVRAMMap);
    auto* page = window.findChild<TVRAMMapPage*>();
    TVRAMMapBox* box = page->pbVRAMMap();
    QTRY_COMPARE(box->Zoom(), 2);
    QApplication::processEvents();  // the page laid out at the window's new size
    const TVRAMMap map = BuildVRAMMap(window.VDP());
    // Picture pixel (5, 3) of a block's square, not its top-left: the block of $E5A0, in
    // plane B's table ($E000-$EFFF in this savestate).
    constexpr uint32_t kBlock = 0xE5A0;
    QPoint pixel(-1, -1);
    for (int y = 0; y < 256 && pixel.x() < 0; ++y)
      for (int x = 0; x < 512 && pixel.x() < 0; ++x)
        if (VRAMMapAddressAt(map, x, y) == int32_t(kBlock)) pixel = QPoint(x + 5, y + 3);
    QVERIFY(pixel.x() >= 0);
    QCOMPARE(uint32_t(VRAMMapAddressAt(map, pixel.x(), pixel.y())) / 32, kBlock / 32);
    const QPoint at = pixel * 2 + QPoint(1, 1);
    QTest::mouseMove(box, at);
    QVERIFY2(window.StatusText().startsWith("Video RAM $E5A0-$E5BF"),
             qPrintable(window.StatusText()));
    QVERIFY2(window.StatusText().contains("plane B table"), qPrintable(window.StatusText()));

    click(box, at);
    QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpVideoRAM);
    TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpVideoRAM);
    QVERIFY(editor->hasFocus());
    QCOMPARE(editor->Model().CursorPos(), int64_t(kBlock));
  }
};

QTEST_MAIN(PixelInspectorTest)
#include "PixelInspectorTest.moc"
