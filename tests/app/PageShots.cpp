// Pictures of every page of the main window and of the view window in each of its modes, for
// looking at them on a real display and for the README (docs/make-shots):
//   xvfb-run -a -s "-screen 0 1280x1024x24" app_page_shots OUTDIR [SAVESTATE]
// Not a test: it writes OUTDIR/<page>.png for every page (main-cpu-registers.png ...
// vdp-vram-map.png), then OUTDIR/view-screen.png, view-patterns.png and view-sprites.png, the
// view window over the main window after each View menu item (and a key in the view window),
// and last OUTDIR/vdp-screen-overlays.png: the Screen page in a larger window with the plane A
// grid, the sprite boxes and the sprite drop marks on and a pixel's account pinned. For the drop
// marks, sprites are added to the savestate's chain in two bands of lines, one over the
// console's sprite limit and one over its cell limit.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <QCheckBox>

#include "app/VantorMain.h"
#include "pages/vdp/ScreenPage.h"
#include "pictureio/ScreenOverlayPainter.h"
#include "vdp/MegaDriveVDP.h"
#include "viewwindow/VantorView.h"
#include "widgets/PageControl.h"

namespace {

// The sub-pages of "Main CPU (MC68000)", "Z80 / YM2612 / PSG" and "VDP", in tab order.
constexpr const char* kProcessorPages[2][2] = {{"main-cpu-registers", "main-cpu-ram"},
                                               {"z80-registers", "z80-ram"}};
constexpr const char* kVDPPages[] = {"vdp-registers",  "vdp-decoded",   "vdp-color-ram",
                                     "vdp-scroll-ram", "vdp-video-ram", "vdp-patterns",
                                     "vdp-screen",     "vdp-vram-map"};

struct TViewShot {
  int MenuItem;  // of the View menu
  const char* Name;
  const char* Keys;  // typed into the view window before the picture is taken
};
constexpr TViewShot kViewShots[] = {{vantor::vmiScreen, "view-screen", ""},
                                    {vantor::vmiPatterns, "view-patterns", "2"},
                                    {vantor::vmiSprites, "view-sprites", ""}};

// The part of the screen that shows the windows, saved as OUTDIR/name.png.
void grab(const QString& out, const char* name, QRect area) {
  QTest::qWait(200);
  QScreen* screen = QGuiApplication::primaryScreen();
  area &= screen->geometry();
  screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(QStringLiteral("%1/%2.png").arg(out, QLatin1String(name)));
}

// Sprites appended to the chain after its last one: 22 one-cell sprites side by side on the
// same eight lines (over the limit of 20 sprites a line), then 12 sprites four cells wide on
// eight lines further down (48 cells, over the limit of 40).
void AddDroppingSprites(vantor::TMegaDriveVDP& vdp) {
  int last = 0;
  vdp.ForEachChainedSprite([&](int index) { last = index; });
  const int count = vdp.GetMetric(vantor::mkSpriteCount);
  int next = count - 34;
  const auto append = [&](uint16_t x, uint16_t y, uint8_t size) {
    vantor::TSpriteEntry tail = vdp.GetSprite(uint8_t(last));
    tail.Link = uint8_t(next);
    vdp.SetSprite(uint8_t(last), tail);
    vantor::TSpriteEntry entry = vdp.GetSprite(uint8_t(next));
    entry.X = x;
    entry.Y = y;
    entry.Size = size;
    entry.Link = 0;
    vdp.SetSprite(uint8_t(next), entry);
    last = next++;
  };
  for (int i = 0; i < 22; ++i)
    append(uint16_t(128 + 8 + i * 12), 128 + 150, 0x0);
  for (int i = 0; i < 12; ++i)
    append(uint16_t(128 + 8 + i * 25), 128 + 190, 0xC);
}

// The Screen page with overlays and a pinned pixel, in a window large enough for both.
void ScreenWithOverlays(vantor::TfrmMain& window, const QString& out) {
  AddDroppingSprites(window.VDP());
  window.VDPToImage();
  window.resize(900, 560);
  window.ShowVDPPage(vantor::TVDPPageId::vpScreen);
  auto* page = window.findChild<vantor::TScreenPage*>();
  for (const char* name : {"chkScrnGridA", "chkScrnSpriteBoxes", "chkScrnSpriteDrops"})
    page->findChild<QCheckBox*>(name)->click();
  page->PinPixel(QPoint(147, 18));
  QTest::mouseMove(page->pbScreen(), QPoint(147, 18));
  grab(out, "vdp-screen-overlays", window.frameGeometry());
}

}  // namespace

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
  vantor::TfrmView view(&window);
  window.AttachViewWindow(&view);
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  if (argc > 2) window.OpenSavestate(QString::fromLocal8Bit(argv[2]));

  for (int main = 0; main < 2; ++main) {
    window.pcMain()->setCurrentIndex(main);
    auto* sub = main == 0 ? window.pcMainCPU() : window.pcSubCPU();
    for (int page = 0; page < sub->count(); ++page) {
      sub->setCurrentIndex(page);
      grab(out, kProcessorPages[main][page], window.frameGeometry());
    }
  }
  window.pcMain()->setCurrentIndex(2);
  for (int page = 0; page < window.pcVDP()->count(); ++page) {
    window.pcVDP()->setCurrentIndex(page);
    // The map names the block under the mouse in the status bar: one of plane B's table.
    if (page == int(vantor::TVDPPageId::vpVRAMMap)) {
      QTest::qWait(100);
      QTest::mouseMove(window.findChild<QWidget*>("pbVRAMMap"), QPoint(300, 228));
    }
    grab(out, kVDPPages[page], window.frameGeometry());
  }

  // The view window over a page the user edits.
  window.pcVDP()->setCurrentIndex(int(vantor::TVDPPageId::vpDecoded));
  for (const TViewShot& shot : kViewShots) {
    window.ViewMenuItem(shot.MenuItem)->trigger();
    for (const char* k = shot.Keys; *k != 0; ++k)
      QTest::keyClick(&view, *k);
    QTest::qWait(300);
    grab(out, shot.Name, window.frameGeometry().united(view.frameGeometry()));
  }
  view.close();
  if (argc > 2) ScreenWithOverlays(window, out);
  return 0;
}
