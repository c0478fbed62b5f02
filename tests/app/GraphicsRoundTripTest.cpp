// The graphics round trip in the main window: patterns loaded from a picture on "Patterns &&
// Sprites", palettes in every format on "Color RAM", plane maps saved from "Screen"; each edit
// then saved with the savestate.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QtTest>

#include "app/AppTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/CellStrip.h"
#include "widgets/ColorGrid.h"
#include "widgets/PageControl.h"

using namespace vantor;
using vantor::test::readAll;
using vantor::test::TWindowKit;

namespace {

const QString kFixture = vantor::test::FixturePath("emulator-h40/state.gs0");
// Offsets in the built-in layout.
constexpr int kVramOffset = 0x12478;
constexpr int kMainRamOffset = 0x2478;
constexpr int kCramOffset = 0x112;

template <typename T>
T* control(QObject& window, const char* name) {
  T* found = window.findChild<T*>(name);
  if (!found) qFatal("no control %s", name);
  return found;
}

// Two cells side by side, indexed with a colour table of the user's own: pattern pixels 1 and
// 2, one pixel 0xC in the second cell.
QImage TwoCells() {
  QImage picture(16, 8, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (int i = 0; i < 16; ++i)
    table << qRgb(i * 16, 200, 255 - i * 16);
  picture.setColorTable(table);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      picture.setPixel(x, y, x < 8 ? 1 : 2);
  picture.setPixel(9, 0, 0x0C);
  return picture;
}

// The bytes the two cells become.
QByteArray TwoPatterns() {
  QByteArray bytes(64, 0);
  bytes.fill(0x11, 32);
  bytes.replace(32, 32, QByteArray(32, 0x22));
  bytes[32] = 0x2C;
  return bytes;
}

}  // namespace

class GraphicsRoundTripTest : public QObject {
  Q_OBJECT

 private:
  // A window on the emulator's savestate, on the "Patterns && Sprites" page with pattern
  // `first` current.
  void OpenOnPatterns(TWindowKit& kit, int first) {
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.RunCommand([&] { window.OpenSavestate(kFixture); });
    QVERIFY(kit.Dialogs->Messages.empty());
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    control<TCellStrip>(window, "dgPatterns")->SelectColumn(first);
  }

  QByteArray SaveAs(TWindowKit& kit, const QString& name) {
    kit.Dialogs->FileAnswers = {kit.Path(name)};
    kit.Window->RunCommand([&] { kit.Window->SaveSavestateAs(); });
    return readAll(kit.Path(name));
  }

 private slots:
  // Loaded into video RAM at the current pattern: the strip, the model and the image have the
  // bytes at once, the document is modified, and the save keeps them.
  void loadFromBitmapIntoVideoRAM() {
    TWindowKit kit;
    OpenOnPatterns(kit, 300);
    TfrmMain& window = *kit.Window;
    QVERIFY(TwoCells().save(kit.Path("cells.png")));
    kit.Dialogs->FileAnswers = {kit.Path("cells.png")};
    control<QAction>(window, "pmiPatSprLoad")->trigger();
    QVERIFY(kit.Dialogs->Messages.empty());

    const QByteArray expected = TwoPatterns();
    const auto* vram = reinterpret_cast<const char*>(window.VDP().VRAMData());
    QCOMPARE(QByteArray(vram + 300 * 32, 64), expected);
    const auto shown = window.Document().PatternSourceData(TPatternSource::psVideoRAM);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(shown.data()) + 300 * 32, 64), expected);
    QVERIFY(window.windowTitle().endsWith("*"));

    window.ShowVDPPage(TVDPPageId::vpScreen);
    QByteArray original = readAll(kFixture);
    original.replace(kVramOffset + 300 * 32, 64, expected);
    QCOMPARE(SaveAs(kit, "saved.gs0"), original);
  }

  // Into main CPU RAM: the RAM page, which keeps its own copy of the block, takes the bytes
  // too, so that the save does not write its old copy over them.
  void loadFromBitmapIntoMainRAM() {
    TWindowKit kit;
    OpenOnPatterns(kit, 5);
    TfrmMain& window = *kit.Window;
    window.ShowMainCPURAM();
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    control<QComboBox>(window, "cbPatternSrc")->setCurrentIndex(1);
    QVERIFY(TwoCells().save(kit.Path("cells.bmp")));
    kit.Dialogs->FileAnswers = {kit.Path("cells.bmp")};
    control<QAction>(window, "pmiPatSprLoad")->trigger();
    QVERIFY(kit.Dialogs->Messages.empty());

    QByteArray original = readAll(kFixture);
    original.replace(kMainRamOffset + 5 * 32, 64, TwoPatterns());
    QCOMPARE(SaveAs(kit, "saved.gs0"), original);
  }

  // A picture that does not fit: its reason in an error box, nothing changed.
  void aPictureThatDoesNotFitChangesNothing() {
    TWindowKit kit;
    OpenOnPatterns(kit, 2047);
    TfrmMain& window = *kit.Window;
    QVERIFY(TwoCells().save(kit.Path("cells.png")));
    QImage narrow = TwoCells().copy(0, 0, 12, 8);
    QVERIFY(narrow.save(kit.Path("narrow.png")));
    kit.Dialogs->FileAnswers = {kit.Path("cells.png"), kit.Path("narrow.png")};
    control<QAction>(window, "pmiPatSprLoad")->trigger();
    control<QAction>(window, "pmiPatSprLoad")->trigger();
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(2));
    QVERIFY(kit.Dialogs->Messages[0].Text.contains("room for 1 only"));
    QVERIFY(kit.Dialogs->Messages[1].Text.contains("12 pixels wide"));
    QCOMPARE(kit.Dialogs->Messages[1].Type, TMsgDlgType::mtError);
    QVERIFY(!window.Document().Modified());
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(window.Document().Image().Data()),
                        qsizetype(window.Document().Image().Size())),
             readAll(kFixture));
  }

  // The filter chosen in the dialog says the format of a name without extension.
  void palettesInEveryFormat() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.RunCommand([&] { window.OpenSavestate(kFixture); });
    window.ShowVDPPage(TVDPPageId::vpColorRAM);
    auto* grid = control<TColorGrid>(window, "dgCRAM");
    grid->SetCurrentCell(1, 0);
    grid->SetCurrentCell(1, 2, true);  // line 1, colours 0-2

    kit.Dialogs->FileAnswers = {kit.Path("colours")};
    kit.Dialogs->FilterAnswers = {2};
    control<QAction>(window, "pmiCRAMSavePal")->trigger();
    const QByteArray gimp = readAll(kit.Path("colours"));
    QVERIFY(gimp.startsWith("GIMP Palette\n"));
    QCOMPARE(gimp.count('\t'), 3);

    // An Adobe colour table of two colours: pure blue and white.
    QByteArray table(772, 0);
    table[2] = char(255);
    table[3] = table[4] = table[5] = char(255);
    table[769] = 2;
    table[770] = table[771] = char(0xFF);
    kit.WriteFile("table", table);
    const uint16_t third = window.VDP().GetColor(18);
    kit.Dialogs->FileAnswers = {kit.Path("table")};
    kit.Dialogs->FilterAnswers = {3};
    control<QAction>(window, "pmiCRAMLoadPal")->trigger();
    QVERIFY(kit.Dialogs->Messages.empty());
    QCOMPARE(window.VDP().GetColor(16), uint16_t(0x0E00));
    QCOMPARE(window.VDP().GetColor(17), uint16_t(0x0EEE));
    QCOMPARE(window.VDP().GetColor(18), third);
    QVERIFY(window.windowTitle().endsWith("*"));
    const QByteArray saved = SaveAs(kit, "saved.gs0");
    QCOMPARE(uint8_t(saved[kCramOffset + 32]), uint8_t(0x00));  // little-endian words
    QCOMPARE(uint8_t(saved[kCramOffset + 33]), uint8_t(0x0E));

    kit.WriteFile("broken.gpl", "GIMP Palette\nten 20 30\n");
    kit.Dialogs->FileAnswers = {kit.Path("broken.gpl")};
    control<QAction>(window, "pmiCRAMLoadPal")->trigger();
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QVERIFY(kit.Dialogs->Messages[0].Text.startsWith("Line 2 of the GIMP palette"));
  }

  void planeMapsFromTheScreenPage() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.RunCommand([&] { window.OpenSavestate(kFixture); });
    window.ShowVDPPage(TVDPPageId::vpScreen);

    kit.Dialogs->FileAnswers = {kit.Path("plane-a.tmx")};
    control<QAction>(window, "pmiScreenMapA")->trigger();
    const QByteArray tmx = readAll(kit.Path("plane-a.tmx"));
    QVERIFY(tmx.contains("<layer id=\"1\" name=\"Plane A\" width=\"64\" height=\"32\">"));
    QVERIFY(tmx.contains("<image source=\"plane-a.png\" width=\"512\" height=\"1024\"/>"));
    QCOMPARE(QImage(kit.Path("plane-a.png")).size(), QSize(512, 1024));

    kit.Dialogs->FileAnswers = {kit.Path("window")};
    kit.Dialogs->FilterAnswers = {2};
    control<QAction>(window, "pmiScreenMapWindow")->trigger();
    const QByteArray csv = readAll(kit.Path("window"));
    QCOMPARE(csv.count('\n'), 32);
    QCOMPARE(csv.left(csv.indexOf('\n')).count(','), 63);
    QVERIFY(kit.Dialogs->Messages.empty());
    QVERIFY(!window.Document().Modified());
  }
};

QTEST_MAIN(GraphicsRoundTripTest)
#include "GraphicsRoundTripTest.moc"
