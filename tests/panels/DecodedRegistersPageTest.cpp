#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "FakePageHost.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/DecodedRegistersPage.h"
#include "panels/LinkLabel.h"

using namespace vantor;
using vantor::test::TFakePageHost;

class DecodedRegistersPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void h40CountsEitherBitAndSetsBoth();
  void windowHPositionIsShownDoubled();
  void editsMaskParseAndRestore();
  void dmaSourceFollowsTheMode();
  void scrollListsUseTheCodeTables();
  void linksJumpByTheValue();
  void dmaLinkTargetsByMode();
  void linkClickCommitsThePendingEdit();
  void leavingThePageWritesTheRegisters();
  void pendingEditReachesAnImmediateSave();
  void tabOrderIsAsTabled();
  void readsWellAtTheSmallestWindow();

 private:
  void showRegisters(std::initializer_list<std::pair<int, uint8_t>> registers);
  template <typename T>
  T* control(const char* name) {
    T* w = m_page->findChild<T*>(name);
    if (!w) qFatal("no control %s", name);
    return w;
  }
  // Focuses the edit, replaces its text by typing and leaves it with Tab.
  void typeAndLeave(const char* name, const QString& text);
  void clickLink(const char* editName);
  // Clicks a check box on its indicator.
  void clickBox(const char* name);
  // The byte's row is the top row and the caret stands on its first hex digit, with the focus.
  void verifyCaretOn(TQuorHexEditorEx* editor, int offset);

  std::unique_ptr<TFakePageHost> m_host;
  TDecodedRegistersPage* m_page = nullptr;
};

void DecodedRegistersPageTest::init() {
  m_host = std::make_unique<TFakePageHost>();
  m_page = CreateDecodedRegistersPage(*m_host);
  QVERIFY(m_host->ShowWindow());
  m_page->PageShow();
}

void DecodedRegistersPageTest::cleanup() {
  m_host.reset();
  m_page = nullptr;
}

void DecodedRegistersPageTest::showRegisters(
    std::initializer_list<std::pair<int, uint8_t>> registers) {
  for (auto [r, value] : registers)
    m_host->VDP().SetReg(uint8_t(r), value);
  m_page->PageShow();
}

void DecodedRegistersPageTest::typeAndLeave(const char* name, const QString& text) {
  auto* edit = control<QLineEdit>(name);
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Tab);
  QVERIFY(!edit->hasFocus());
}

void DecodedRegistersPageTest::clickLink(const char* editName) {
  auto* label = control<TLinkLabel>((QString(editName) + "Label").toLatin1().constData());
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
}

void DecodedRegistersPageTest::clickBox(const char* name) {
  auto* box = control<QCheckBox>(name);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void DecodedRegistersPageTest::verifyCaretOn(TQuorHexEditorEx* editor, int offset) {
  QVERIFY(editor->isVisible());
  QVERIFY(editor->hasFocus());
  const int perRow = editor->BytesPerRow();
  QCOMPARE(editor->TopRow(), offset / perRow + 2);
  QCOMPARE(editor->Row(), offset / perRow + 2);
  QCOMPARE(editor->Col(), offset % perRow * 2 + 2);
  QCOMPARE(editor->Model().CursorPos(), offset);
  QVERIFY(!editor->Model().LowNibble());
}

void DecodedRegistersPageTest::h40CountsEitherBitAndSetsBoth() {
  auto* h40 = control<QCheckBox>("chkH40Cell");
  auto* dim = control<QLabel>("lblDisplayDim");
  for (uint8_t reg12 : {0x01, 0x80, 0x81}) {
    showRegisters({{12, reg12}});
    QVERIFY2(h40->isChecked(), qPrintable(QString::number(reg12)));
    QCOMPARE(dim->text(), QString("--> Display is 320 x 224 Pixels"));
  }

  showRegisters({{12, 0x08 | 0x01}});
  clickBox("chkH40Cell");
  QCOMPARE(m_host->VDP().GetReg(12), uint8_t(0x08));  // both bits clear, shadow bit kept
  QVERIFY(!h40->isChecked());
  QCOMPARE(dim->text(), QString("--> Display is 256 x 224 Pixels"));
  QCOMPARE(m_host->ModifiedCalls, 1);

  QTest::keyClick(h40, Qt::Key_Space);
  QCOMPARE(m_host->VDP().GetReg(12), uint8_t(0x89));
  QCOMPARE(control<QLabel>("lblInfos")->text(),
           QString("Cell Dim = 8 x 8 Pixels --> Scroll Planes are 256 x 256 Pixels;  Window is "
                   "512 x 256 Pixels"));
  QCOMPARE(m_host->ModifiedCalls, 2);
}

void DecodedRegistersPageTest::windowHPositionIsShownDoubled() {
  showRegisters({{17, 0x80}});
  typeAndLeave("edWinHPos", "5");
  QCOMPARE(m_host->VDP().GetReg(17), uint8_t(0x82));  // window side bit kept
  QCOMPARE(control<QLineEdit>("edWinHPos")->text(), QString("4"));

  typeAndLeave("lbledWinVPos", "$3F");  // 5 bits: 0x1F, window-at-bottom bit untouched
  QCOMPARE(m_host->VDP().GetReg(18), uint8_t(0x1F));
  QCOMPARE(control<QLineEdit>("lbledWinVPos")->text(), QString("31"));
}

void DecodedRegistersPageTest::editsMaskParseAndRestore() {
  showRegisters({{2, 0x08}});
  auto* scrollA = control<QLineEdit>("lbledPNTScrollA");
  QCOMPARE(scrollA->text(), QString("$2000"));
  QCOMPARE(scrollA->maxLength(), 6);

  typeAndLeave("lbledPNTScrollA", "$1C000");
  QCOMPARE(m_host->VDP().GetReg(2), uint8_t(0x30));
  QCOMPARE(scrollA->text(), QString("$C000"));
  QCOMPARE(m_host->ModifiedCalls, 1);

  // Not a number: nothing changes, nothing is marked, the old value comes back.
  typeAndLeave("lbledPNTScrollA", "abc");
  QCOMPARE(m_host->VDP().GetReg(2), uint8_t(0x30));
  QCOMPARE(scrollA->text(), QString("$C000"));
  QCOMPARE(m_host->ModifiedCalls, 1);

  // The same value again changes no register and marks nothing either.
  typeAndLeave("lbledPNTScrollA", "49152");
  QCOMPARE(m_host->ModifiedCalls, 1);

  for (const char* text : {"x2000", "0X2000", " $2000", "+8192"}) {
    typeAndLeave("lbledPNTScrollA", "$C000");
    typeAndLeave("lbledPNTScrollA", text);
    QVERIFY2(m_host->VDP().GetReg(2) == 0x08, text);
  }
  typeAndLeave("lbledPNTScrollA", "$2000 ");  // nothing may follow the digits
  QCOMPARE(scrollA->text(), QString("$2000"));

  typeAndLeave("lbledBgColor", "$65");
  QCOMPARE(m_host->VDP().GetReg(7), uint8_t(0x25));
  QCOMPARE(control<QLineEdit>("lbledBgColor")->text(), QString("$25"));
  QCOMPARE(control<QLineEdit>("lbledBgColor")->toolTip(),
           QString("High Nibble = Palette Line, Low Nibble = Index"));

  typeAndLeave("lbledHIRQTiming", "300");  // 300 & 0xFF
  QCOMPARE(control<QLineEdit>("lbledHIRQTiming")->text(), QString("44"));
  typeAndLeave("lbledDMALen", "$1234");
  QCOMPARE(m_host->VDP().GetReg(19), uint8_t(0x34));
  QCOMPARE(m_host->VDP().GetReg(20), uint8_t(0x12));
  QCOMPARE(control<QLineEdit>("lbledDMALen")->text(), QString("4660"));
}

void DecodedRegistersPageTest::dmaSourceFollowsTheMode() {
  showRegisters({{23, 0x00}});
  typeAndLeave("lbledDMASrc", "$123456");
  QCOMPARE(m_host->VDP().GetReg(21), uint8_t(0x2B));
  QCOMPARE(m_host->VDP().GetReg(22), uint8_t(0x1A));
  QCOMPARE(m_host->VDP().GetReg(23), uint8_t(0x09));
  QCOMPARE(control<QLineEdit>("lbledDMASrc")->text(), QString("$123456"));

  // Fill: the low 16 bits only, register 23 untouched.
  showRegisters({{23, 0x80}});
  QCOMPARE(control<QComboBox>("cbDMAMode")->currentIndex(), 1);
  typeAndLeave("lbledDMASrc", "$ABCDEF");
  QCOMPARE(m_host->VDP().GetReg(21), uint8_t(0xEF));
  QCOMPARE(m_host->VDP().GetReg(22), uint8_t(0xCD));
  QCOMPARE(m_host->VDP().GetReg(23), uint8_t(0x80));
  QCOMPARE(control<QLineEdit>("lbledDMASrc")->text(), QString("$00CDEF"));
}

void DecodedRegistersPageTest::scrollListsUseTheCodeTables() {
  auto* size = control<QComboBox>("cbScrollSize");
  showRegisters({{16, 0x20}});
  QCOMPARE(size->currentIndex(), -1);
  // From no selection, Down walks to "32 x 32", "32 x 64" and "32 x 128 Cells".
  for (int i = 0; i < 3; ++i)
    QTest::keyClick(size, Qt::Key_Down);
  QCOMPARE(size->currentText(), QString("32 x 128 Cells"));
  QCOMPARE(m_host->VDP().GetReg(16), uint8_t(0x30));
  QCOMPARE(m_host->ModifiedCalls, 3);

  showRegisters({{16, 0x03}});
  QCOMPARE(size->currentText(), QString("128 x 32 Cells"));

  auto* mode = control<QComboBox>("cbScrollMode");
  showRegisters({{11, 0x01}});  // horizontal mode 1 has no item
  QCOMPARE(mode->currentIndex(), -1);
  showRegisters({{11, 0x08 | 0x07}});
  QCOMPARE(mode->currentIndex(), 5);
  QTest::keyClick(mode, Qt::Key_Up);  // "H: per pixel line,  V: Full Scroll": code 6
  QCOMPARE(m_host->VDP().GetReg(11), uint8_t(0x08 | 0x03));

  auto* interlace = control<QComboBox>("cbInterlaceMode");
  showRegisters({{12, 0x04}});  // raw bits 2
  QCOMPARE(interlace->currentIndex(), 2);
  QTest::keyClick(interlace, Qt::Key_Up);
  QCOMPARE(m_host->VDP().GetReg(12), uint8_t(0x02));
  QTest::keyClick(interlace, Qt::Key_Down);
  QCOMPARE(m_host->VDP().GetReg(12), uint8_t(0x06));
  QCOMPARE(control<QLabel>("lblInfos")->text().left(25), QString("Cell Dim = 8 x 16 Pixels "));

  auto* align = control<QComboBox>("cbWndAlign");
  QTest::keyClick(align, Qt::Key_End);
  QCOMPARE(m_host->VDP().GetReg(17) & 0x80, 0x80);
  QCOMPARE(m_host->VDP().GetReg(18) & 0x80, 0x80);

  // Filling the page is not a change.
  const int before = m_host->ModifiedCalls;
  showRegisters({{16, 0x11}, {11, 0}, {12, 0}});
  QCOMPARE(m_host->ModifiedCalls, before);
}

void DecodedRegistersPageTest::linksJumpByTheValue() {
  showRegisters({{2, 0x30}, {7, 0x25}});
  clickLink("lbledPNTScrollA");
  QCOMPARE(m_host->pcVDPChangingCalls, 2);  // the click itself, then the page change
  QCOMPARE(m_host->PagesShown, std::vector<TVDPPageId>{TVDPPageId::vpVideoRAM});
  verifyCaretOn(m_host->VideoRAMEditor, 0xC000);
  m_host->ShowVDPPage(TVDPPageId::vpDecoded);

  showRegisters({{5, 0x7F}});  // sprite table at $FE00: the last rows cannot all be on top
  clickLink("lbledSAT");
  QCOMPARE(m_host->VideoRAMEditor->Model().CursorPos(), 0xFE00);
  QVERIFY(m_host->VideoRAMEditor->hasFocus());
  m_host->ShowVDPPage(TVDPPageId::vpDecoded);

  clickLink("lbledBgColor");
  QCOMPARE(m_host->CRAMRowsSelected, std::vector<int>{0x25});
  QCOMPARE(m_host->ScriptedDialogs.Beeps, 0);

  // Labels without a link, and other buttons, do nothing.
  QTest::mouseClick(control<TLinkLabel>("lbledBgColorLabel"), Qt::RightButton, {}, QPoint(3, 3));
  QCOMPARE(m_host->CRAMRowsSelected.size(), std::size_t(1));
  QVERIFY(!qobject_cast<TLinkLabel*>(control<QLabel>("lbledAutoIncLabel")));
}

void DecodedRegistersPageTest::dmaLinkTargetsByMode() {
  showRegisters({{23, 0x80}});  // fill: no source
  clickLink("lbledDMASrc");
  QCOMPARE(m_host->ScriptedDialogs.Beeps, 1);
  QCOMPARE(m_host->ShowMainCPURAMCalls, 0);
  QCOMPARE(m_host->pcVDPChangingCalls, 1);

  showRegisters({{21, 0x00}, {22, 0x00}, {23, 0x01}});  // $020000: outside main RAM
  QCOMPARE(control<QLineEdit>("lbledDMASrc")->text(), QString("$020000"));
  clickLink("lbledDMASrc");
  QCOMPARE(m_host->ScriptedDialogs.Beeps, 2);
  QCOMPARE(m_host->ShowMainCPURAMCalls, 0);

  showRegisters({{21, 0x00}, {22, 0xC0}, {23, 0x7F}});
  QCOMPARE(control<QLineEdit>("lbledDMASrc")->text(), QString("$FF8000"));
  clickLink("lbledDMASrc");
  QCOMPARE(m_host->ShowMainCPURAMCalls, 1);
  verifyCaretOn(m_host->MainRAMEditor, 0x8000);
  QCOMPARE(m_host->ScriptedDialogs.Beeps, 2);
  m_host->ShowVDPPage(TVDPPageId::vpDecoded);

  showRegisters({{21, 0x34}, {22, 0x12}, {23, 0xC0}});  // copy: a Video RAM address
  clickLink("lbledDMASrc");
  QCOMPARE(m_host->PagesShown.back(), TVDPPageId::vpVideoRAM);
  verifyCaretOn(m_host->VideoRAMEditor, 0x1234);
}

void DecodedRegistersPageTest::linkClickCommitsThePendingEdit() {
  auto* edit = control<QLineEdit>("lbledBgColor");
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  QTest::keyClicks(edit, "$31");
  clickLink("lbledBgColor");
  QCOMPARE(m_host->VDP().GetReg(7), uint8_t(0x31));
  QCOMPARE(m_host->ImageRegister(7), uint8_t(0x31));  // the model went into the image
  QCOMPARE(m_host->CRAMRowsSelected, std::vector<int>{0x31});
}

void DecodedRegistersPageTest::leavingThePageWritesTheRegisters() {
  clickBox("chkDisplayEnabled");
  QCOMPARE(m_host->ImageRegister(1), uint8_t(0x00));  // not yet: the model is the working copy
  m_host->ShowVDPPage(TVDPPageId::vpRegisters);
  QCOMPARE(m_host->ImageRegister(1), uint8_t(0x40));

  // Coming back shows what the image holds.
  m_host->SetImageRegister(12, 0x81);
  m_host->ShowVDPPage(TVDPPageId::vpDecoded);
  QVERIFY(control<QCheckBox>("chkH40Cell")->isChecked());
}

// What the main window's save does first: the focus goes to the page control (the edit being
// typed in commits), then the model goes into the image.
void DecodedRegistersPageTest::pendingEditReachesAnImmediateSave() {
  auto* edit = control<QLineEdit>("lbledAutoInc");
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  QTest::keyClicks(edit, "2");
  m_host->pcVDP().setFocus(Qt::OtherFocusReason);
  m_host->VDPToImage();
  QCOMPARE(m_host->ImageRegister(15), uint8_t(2));
  QVERIFY(m_host->Document().Modified());
}

void DecodedRegistersPageTest::tabOrderIsAsTabled() {
  const QStringList expected = {
      "chkVIRQEnabled",    "chkHIRQEnabled",  "chkXIRQEnabled", "chkHVCounter", "chkDMAEnabled",
      "chkDisplayEnabled", "chkShdwHilite",   "chkH40Cell",     "chkV30Cell",   "lbledPNTScrollA",
      "lbledPNTWindow",    "lbledPNTScrollB", "lbledSAT",       "lbledHSRAM",   "lbledBgColor",
      "lbledHIRQTiming",   "lbledAutoInc",    "lbledDMALen",    "lbledDMASrc",  "cbInterlaceMode",
      "cbDMAMode",         "cbScrollMode",    "cbScrollSize",   "edWinHPos",    "lbledWinVPos",
      "cbWndAlign"};
  control<QCheckBox>("chkVIRQEnabled")->setFocus(Qt::TabFocusReason);
  QStringList visited;
  for (int i = 0; i < expected.size(); ++i) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    visited << focus->objectName();
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  QCOMPARE(visited, expected);
}

void DecodedRegistersPageTest::readsWellAtTheSmallestWindow() {
  // A busy state: the widest values every field can show.
  showRegisters({{12, 0x81}, {16, 0x03}, {23, 0x7F}, {22, 0xFF}, {21, 0xFF}, {5, 0x7D}, {3, 0x2A}});
  QCOMPARE(m_page->size(), QSize(560, 380));
  QVector<QWidget*> shown;
  for (QWidget* w : m_page->findChildren<QWidget*>()) {
    if (!w->isVisible() || w->parentWidget() != m_page) continue;
    const QRect r = w->geometry();
    QVERIFY2(m_page->rect().contains(r), qPrintable(w->objectName()));
    QVERIFY2(r.width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
      QVERIFY2(r.width() >= label->sizeHint().width(), qPrintable(label->text()));
    for (QWidget* other : shown)
      QVERIFY2(!r.intersects(other->geometry()),
               qPrintable(w->objectName() + " / " + other->objectName()));
    shown << w;
  }
  QVERIFY(shown.size() > 40);
}

QTEST_MAIN(DecodedRegistersPageTest)
#include "DecodedRegistersPageTest.moc"
