// One set of checks of the page contract, run against the fake main window that every page test
// uses (tests/support) and against the real main window: what the fake answers a page is what
// the page gets in the program.
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <utility>

#include "app/AppTestKit.h"
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/VantorMain.h"
#include "document/FieldValues.h"
#include "hexedit/QuorHexEditorEx.h"
#include "pages/VDPPage.h"
#include "pages/vdp/PatternsSpritesPage.h"
#include "support/FakePageHost.h"
#include "support/ScriptedDialogs.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/CellStrip.h"
#include "widgets/PageControl.h"

namespace vantor::test {
namespace {

// A page that states its intents when the test tells it to, with a box to type into.
class TProbePage : public TVDPPage {
 public:
  TProbePage() : Box(new QLineEdit(this)) {}
  QLineEdit* Box;
  void JumpToMemory(THexPageId page, int64_t offset) { emit jumpToMemory(page, offset); }
  void ChooseColorEntry(int entry) { emit colorEntryChosen(entry); }
  void ShowPattern(int pattern, int line) { emit showPattern(pattern, line); }
  void ShowSprite(int sprite) { emit showSprite(sprite); }
  void ShowStatus(const QString& text) { emit statusText(text); }
  void WriteMemory(THexPageId page) { emit memoryWritten(page); }
};

// A host under test, with the few things the checks must reach that the contract does not
// name: its window and pcVDP, the memory editors, the status text and the chosen colour.
class THostUnderTest {
 public:
  virtual ~THostUnderTest() = default;
  virtual TPageHost& Host() = 0;
  virtual TScriptedDialogs& Dialogs() = 0;
  virtual QWidget& Window() = 0;
  virtual QWidget& pcVDP() = 0;
  // The probe becomes page `id`, which is then the selected VDP page.
  virtual TProbePage& ShowProbe(TVDPPageId id) = 0;
  virtual TQuorHexEditorEx* HexEditor(THexPageId page) = 0;
  virtual QString StatusText() = 0;
  virtual int ChosenColorEntry() = 0;
  virtual TVDPPageId CurrentVDPPage() = 0;
  // The pattern current on "Patterns && Sprites" with the palette line it is shown in, and
  // the sprite current there; (-1, -1) and -1 before any was shown.
  virtual std::pair<int, int> ShownPattern() = 0;
  virtual int ShownSprite() = 0;
};

class TFakeUnderTest : public THostUnderTest {
 public:
  TPageHost& Host() override { return m_host; }
  TScriptedDialogs& Dialogs() override { return m_host.ScriptedDialogs; }
  QWidget& Window() override { return m_host.Window(); }
  QWidget& pcVDP() override { return m_host.pcVDP(); }
  TProbePage& ShowProbe(TVDPPageId id) override {
    auto* probe = new TProbePage;
    m_host.Install(id, probe);
    return *probe;
  }
  TQuorHexEditorEx* HexEditor(THexPageId page) override { return m_host.HexEditor(page); }
  QString StatusText() override { return m_host.Status(); }
  int ChosenColorEntry() override {
    return m_host.ColorEntriesChosen.empty() ? -1 : m_host.ColorEntriesChosen.back();
  }
  TVDPPageId CurrentVDPPage() override { return m_host.CurrentVDPPage(); }
  std::pair<int, int> ShownPattern() override {
    return m_host.PatternsShown.empty() ? std::pair(-1, -1) : m_host.PatternsShown.back();
  }
  int ShownSprite() override {
    return m_host.SpritesShown.empty() ? -1 : m_host.SpritesShown.back();
  }

 private:
  TFakePageHost m_host;
};

class TMainWindowUnderTest : public THostUnderTest {
 public:
  TMainWindowUnderTest() : m_window(m_kit.Start()) {}
  ~TMainWindowUnderTest() override { m_kit.Window.reset(); }
  TPageHost& Host() override { return m_window; }
  TScriptedDialogs& Dialogs() override { return *m_kit.Dialogs; }
  QWidget& Window() override { return m_window; }
  QWidget& pcVDP() override { return *m_window.pcVDP(); }
  TProbePage& ShowProbe(TVDPPageId id) override {
    // On the page beside the window's own content; the window owns it.
    auto* probe = new TProbePage;
    m_window.pcVDP()->widget(int(id))->layout()->addWidget(probe);
    m_window.SetVDPPage(id, probe);
    m_window.ShowVDPPage(id);
    return *probe;
  }
  TQuorHexEditorEx* HexEditor(THexPageId page) override { return m_window.HexEditor(page); }
  QString StatusText() override { return m_window.StatusText(); }
  int ChosenColorEntry() override {
    return m_window.Grid(TGridId::sgCRAM)->Row() - TRegisterGrid::kFixedRows;
  }
  TVDPPageId CurrentVDPPage() override { return m_window.CurrentVDPPage(); }
  std::pair<int, int> ShownPattern() override {
    const TPatternsSpritesPage& page = patterns();
    return {page.dgPatterns()->CurrentColumn(), page.cbPalLine()->currentIndex()};
  }
  int ShownSprite() override { return patterns().dgSprites()->CurrentColumn(); }

 private:
  TPatternsSpritesPage& patterns() { return *m_window.findChild<TPatternsSpritesPage*>(); }

  TWindowKit m_kit;
  TfrmMain& m_window;
};

std::unique_ptr<THostUnderTest> makeHost(const QString& kind) {
  if (kind == "fake") return std::make_unique<TFakeUnderTest>();
  return std::make_unique<TMainWindowUnderTest>();
}

bool showActive(QWidget& window) {
  window.resize(640, 480);
  window.show();
  QApplication::setActiveWindow(&window);
  return QTest::qWaitForWindowActive(&window);
}

int64_t imageField(TPageHost& host, const char* key) {
  return ReadField(host.Layout(), host.Document().Image(), "VDP", key).Value;
}

// The byte at offset of a section's "RAM" block in the image.
int64_t imageByte(TPageHost& host, const char* section, int64_t offset) {
  int64_t value = -1;
  ReadFieldValueAt(host.Layout(), host.Document().Image(), section, "RAM", offset, 1, value);
  return value;
}

}  // namespace

class PageContractTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<THostUnderTest> m_subject;

  void hosts() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("fake") << "fake";
    QTest::newRow("main window") << "main window";
  }
  THostUnderTest& subject() {
    QFETCH(QString, kind);
    m_subject = makeHost(kind);
    return *m_subject;
  }

 private slots:
  void cleanup() { m_subject.reset(); }

  void updateLockIsLoweredAndScopesNest_data() { hosts(); }
  void updateLockIsLoweredAndScopesNest() {
    TPageHost& host = subject().Host();
    TUpdateLock& lock = host.UpdateLock();
    QVERIFY(!lock.Raised());  // after the start-up refresh
    {
      const TUpdateLock::TScope outer(lock);
      {
        const TUpdateLock::TScope inner(lock);
        QVERIFY(lock.Raised());
      }
      QVERIFY(lock.Raised());
    }
    QVERIFY(!lock.Raised());
    try {
      const TUpdateLock::TScope scope(lock);
      throw std::runtime_error("fill failed");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(!lock.Raised());
  }

  void setModifiedMarksTheDocument_data() { hosts(); }
  void setModifiedMarksTheDocument() {
    TPageHost& host = subject().Host();
    QVERIFY(!host.Document().Modified());
    host.SetModified(true);
    QVERIFY(host.Document().Modified());
    host.SetModified(false);
    QVERIFY(!host.Document().Modified());
  }

  void imageToVDPLoadsTheModel_data() { hosts(); }
  void imageToVDPLoadsTheModel() {
    TPageHost& host = subject().Host();
    SavestateImage& image = host.Document().Image();
    QVERIFY(WriteField(host.Layout(), image, "VDP", "Line012", 0x81));
    QVERIFY(WriteFieldValueAt(host.Layout(), image, "VDP", "CRAM", 5 * 2, 0x00E0, 2));
    QVERIFY(WriteFieldValueAt(host.Layout(), image, "VDP", "RAM", 0x20, 0x5A, 1));
    host.ImageToVDP();
    QCOMPARE(host.VDP().GetReg(12), uint8_t(0x81));
    QCOMPARE(host.VDP().GetColor(5), uint16_t(0x00E0));
    QCOMPARE(host.VDP().VRAMData()[0x20], uint8_t(0x5A));
    QVERIFY(!host.VDPStale());
  }

  void pageChangeRuleStoresTheModelOfAModelPage_data() { hosts(); }
  void pageChangeRuleStoresTheModelOfAModelPage() {
    THostUnderTest& subject = this->subject();
    QVERIFY(showActive(subject.Window()));
    TPageHost& host = subject.Host();
    TProbePage& probe = subject.ShowProbe(TVDPPageId::vpDecoded);
    probe.Box->setFocus();
    QVERIFY(probe.Box->hasFocus());
    host.VDP().SetReg(1, 0x74);
    QCOMPARE(imageField(host, "Line001"), 0);  // the model is the working copy
    host.pcVDPChanging();
    QCOMPARE(imageField(host, "Line001"), 0x74);
    QVERIFY(host.Document().Modified());
    QVERIFY(subject.pcVDP().hasFocus());  // an edit in progress ended
  }

  void pageChangeRuleReloadsTheModelElsewhere_data() { hosts(); }
  void pageChangeRuleReloadsTheModelElsewhere() {
    THostUnderTest& subject = this->subject();
    TPageHost& host = subject.Host();
    subject.ShowProbe(TVDPPageId::vpScreen);
    host.VDP().SetReg(1, 0x74);  // not an edit: the image is the working copy here
    host.pcVDPChanging();
    QCOMPARE(host.VDP().GetReg(1), uint8_t(0));
    QCOMPARE(imageField(host, "Line001"), 0);
  }

  void jumpToMemoryPutsTheCaretOnTheByteOrBeeps_data() { hosts(); }
  void jumpToMemoryPutsTheCaretOnTheByteOrBeeps() {
    THostUnderTest& subject = this->subject();
    QVERIFY(showActive(subject.Window()));
    TProbePage& probe = subject.ShowProbe(TVDPPageId::vpDecoded);
    probe.JumpToMemory(THexPageId::hpVideoRAM, 0x1234);
    TQuorHexEditorEx* vram = subject.HexEditor(THexPageId::hpVideoRAM);
    QVERIFY(vram->isVisible());
    QVERIFY(vram->hasFocus());
    QCOMPARE(vram->Model().CursorPos(), int64_t(0x1234));
    QCOMPARE(vram->TopRow(), vram->Row());

    probe.JumpToMemory(THexPageId::hpMainRAM, 0x8000);
    TQuorHexEditorEx* ram = subject.HexEditor(THexPageId::hpMainRAM);
    QVERIFY(ram->isVisible());
    QVERIFY(ram->hasFocus());
    QCOMPARE(ram->Model().CursorPos(), int64_t(0x8000));
    QCOMPARE(subject.Dialogs().Beeps, 0);

    probe.JumpToMemory(THexPageId::hpVideoRAM, 0x10000);  // past the block
    QCOMPARE(subject.Dialogs().Beeps, 1);
    QCOMPARE(vram->Model().CursorPos(), int64_t(0x1234));
  }

  // Video RAM written into the model, the working copy while "Patterns && Sprites" is shown,
  // reaches the image and its memory page; main CPU RAM written into the image reaches its
  // memory page.
  void memoryWrittenReachesTheImageAndTheMemoryPage_data() { hosts(); }
  void memoryWrittenReachesTheImageAndTheMemoryPage() {
    THostUnderTest& subject = this->subject();
    TPageHost& host = subject.Host();
    TProbePage& probe = subject.ShowProbe(TVDPPageId::vpPatterns);
    host.VDP().VRAMData()[0x40] = 0x5A;
    probe.WriteMemory(THexPageId::hpVideoRAM);
    QCOMPARE(imageByte(host, "VDP", 0x40), int64_t(0x5A));
    QCOMPARE(subject.HexEditor(THexPageId::hpVideoRAM)->Model().ByteAt(0x40), uint8_t(0x5A));
    QVERIFY(host.Document().Modified());

    SavestateImage& image = host.Document().Image();
    QVERIFY(WriteFieldValueAt(host.Layout(), image, "CPU MC68000", "RAM", 0x100, 0xA5, 1));
    probe.WriteMemory(THexPageId::hpMainRAM);
    QCOMPARE(subject.HexEditor(THexPageId::hpMainRAM)->Model().ByteAt(0x100), uint8_t(0xA5));
  }

  void statusTextAndColorEntryReachTheWindow_data() { hosts(); }
  void statusTextAndColorEntryReachTheWindow() {
    THostUnderTest& subject = this->subject();
    TProbePage& probe = subject.ShowProbe(TVDPPageId::vpDecoded);
    probe.ShowStatus("Pattern 5, Address $00A0");
    QCOMPARE(subject.StatusText(), QString("Pattern 5, Address $00A0"));
    probe.ChooseColorEntry(37);
    QCOMPARE(subject.ChosenColorEntry(), 37);
  }

  // The pixel inspector's links to a pattern and to a sprite: "Patterns && Sprites" in front
  // with that pattern current in its palette line, or that sprite current.
  void patternAndSpriteReachTheirPage_data() { hosts(); }
  void patternAndSpriteReachTheirPage() {
    THostUnderTest& subject = this->subject();
    QVERIFY(showActive(subject.Window()));
    TProbePage& probe = subject.ShowProbe(TVDPPageId::vpScreen);
    probe.ShowPattern(70, 2);
    QCOMPARE(subject.CurrentVDPPage(), TVDPPageId::vpPatterns);
    QCOMPARE(subject.ShownPattern(), std::pair(70, 2));
    subject.ShowProbe(TVDPPageId::vpScreen).ShowSprite(5);
    QCOMPARE(subject.CurrentVDPPage(), TVDPPageId::vpPatterns);
    QCOMPARE(subject.ShownSprite(), 5);
  }

  void sharedStateIsKept_data() { hosts(); }
  void sharedStateIsKept() {
    THostUnderTest& subject = this->subject();
    TPageHost& host = subject.Host();
    host.SetPatternSource(TPatternSource::psMainRAM);
    QCOMPARE(host.PatternSource(), TPatternSource::psMainRAM);
    host.FileDialogs().sdlgMisc.FileName = "colours.pal";
    QCOMPARE(host.FileDialogs().sdlgMisc.FileName, QString("colours.pal"));
    QVERIFY(host.FileDialogs().sdlgMisc.OverwritePrompt);
    QCOMPARE(&host.Dialogs(), static_cast<TDialogs*>(&subject.Dialogs()));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::PageContractTest)
#include "PageContractTest.moc"
