#include "pages/PixelAccountPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "vdp/PixelInspector.h"
#include "widgets/FlowLayout.h"
#include "widgets/LinkLabel.h"

namespace vantor {
namespace {

QString hex(uint32_t value, int digits) {
  return QStringLiteral("$%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString level(bool high) {
  return high ? QStringLiteral("high") : QStringLiteral("low");
}

QString flips(const TPatternPixel& p) {
  if (p.HFlip && p.VFlip) return QStringLiteral("H+V flip");
  if (p.HFlip) return QStringLiteral("H flip");
  if (p.VFlip) return QStringLiteral("V flip");
  return QStringLiteral("no flip");
}

// A 10-bit scroll value, with its negative reading from 512 on.
QString scrollText(int value) {
  return value >= 512 ? QString::number(value - 1024) : QString::number(value);
}

QString marksText(const TMarkAccount& m) {
  QStringList facts;
  if (m.NoHighPlane) facts << QStringLiteral("no high plane: shadow");
  if (m.HighlightSprite) facts << QStringLiteral("sprite is the highlight operator");
  if (m.ShadowSprite) facts << QStringLiteral("sprite is the shadow operator");
  if (m.Cancelled) facts << QStringLiteral("shadow and highlight cancel");
  if (m.Colour14) facts << QStringLiteral("sprite colour 14 unmarked");
  return facts.isEmpty() ? QStringLiteral("on") : QStringLiteral("on: ") + facts.join(u"; ");
}

QString lineFacts(const TSpriteAccount& s) {
  const TSpriteLineFacts& line = s.Line;
  QString text = QStringLiteral("this line: %1 of %2 sprites drawn, %3 cells")
                     .arg(line.Sprites)
                     .arg(line.Covering)
                     .arg(line.Cells);
  if (line.Drop != TSpriteDrop::sdNone) {
    text += QStringLiteral("; missing from sprite %1 on (%2)")
                .arg(line.FirstMissing)
                .arg(QString::fromLatin1(SpriteDropName(line.Drop)));
  }
  if (!s.Limits) text += QStringLiteral("; all sprites drawn here");
  return text;
}

}  // namespace

// One line of the account: its caption, then pieces of text and links that wrap.
class TPixelAccountPanel::TRow : public QWidget {
 public:
  TRow(const QString& caption, bool bold, QWidget* parent) : QWidget(parent) {
    m_flow = new TFlowLayout(this, 4, 1);
    m_flow->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption + u':', this);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    m_flow->addWidget(label);
  }
  // Word by word, so that long texts wrap with the row.
  void Text(const QString& text) {
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
      m_flow->addWidget(new QLabel(word, this));
  }
  void Widget(QWidget* widget) { m_flow->addWidget(widget); }

 private:
  TFlowLayout* m_flow;
};

TPixelAccountPanel::TPixelAccountPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pnlPixelAccount"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  setFixedWidth(kWidth);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->setSpacing(3);
  auto* header = new QHBoxLayout;
  m_title = new QLabel(this);
  m_title->setObjectName(QStringLiteral("lblPixelAccountTitle"));
  m_title->setWordWrap(true);
  header->addWidget(m_title, 1);
  auto* close = new QToolButton(this);
  close->setObjectName(QStringLiteral("btnPixelAccountClose"));
  close->setText(QStringLiteral("\u00D7"));
  close->setAutoRaise(true);
  close->setToolTip(QStringLiteral("Close the account"));
  header->addWidget(close);
  connect(close, &QToolButton::clicked, this, &TPixelAccountPanel::closeRequested);
  m_rows = new QVBoxLayout;
  m_rows->setSpacing(3);
  layout->addLayout(header);
  layout->addLayout(m_rows);
  layout->addStretch(1);
}

void TPixelAccountPanel::clearRows() {
  while (QLayoutItem* item = m_rows->takeAt(0)) {
    delete item->widget();
    delete item;
  }
}

TPixelAccountPanel::TRow& TPixelAccountPanel::addRow(const QString& caption, bool winner) {
  auto* row = new TRow(caption, winner, this);
  m_rows->addWidget(row);
  return *row;
}

TLinkLabel* TPixelAccountPanel::link(TRow& row, const QString& name, const QString& text) {
  auto* label = new TLinkLabel(text, &row);
  label->setObjectName(name);
  label->SetLinkLook(true);
  row.Widget(label);
  return label;
}

void TPixelAccountPanel::addPattern(TRow& row, const QString& layer, const TPatternPixel& p,
                                    const QString& end) {
  const int pattern = p.Pattern;
  const int line = p.PaletteLine;
  connect(link(row, QStringLiteral("lnk%1Pattern").arg(layer),
               QStringLiteral("pattern %1").arg(hex(p.Pattern, 3))),
          &TLinkLabel::clicked, this, [this, pattern, line](Qt::MouseButton button) {
            if (button == Qt::LeftButton) emit showPattern(pattern, line);
          });
  row.Text(QStringLiteral("line %1, %2, %3;").arg(line).arg(level(p.Priority), flips(p)));
  row.Text(QStringLiteral("pixel %1,%2 in byte").arg(p.PatternColumn).arg(p.PatternRow));
  const int64_t byte = p.ByteAddress;
  connect(link(row, QStringLiteral("lnk%1Byte").arg(layer), hex(p.ByteAddress, 4)),
          &TLinkLabel::clicked, this, [this, byte](Qt::MouseButton button) {
            if (button == Qt::LeftButton) emit jumpToMemory(THexPageId::hpVideoRAM, byte);
          });
  row.Text(QStringLiteral("(%1): colour %2")
               .arg(p.HighNibble ? QStringLiteral("high") : QStringLiteral("low"))
               .arg(p.ColorIndex) +
           end);
}

void TPixelAccountPanel::addCell(const QString& caption, const QString& layer,
                                 const TCellAccount& cell, bool plane, bool winner) {
  TRow& row = addRow(caption, winner);
  if (!cell.InArea) {
    row.Text(plane ? QStringLiteral("outside the plane") : QStringLiteral("not here"));
    return;
  }
  row.Text(QStringLiteral("cell %1,%2,").arg(cell.Column).arg(cell.Row));
  if (plane) {
    row.Text(QStringLiteral("scroll H %1 V %2,")
                 .arg(scrollText(cell.HScroll), scrollText(cell.VScroll)));
  }
  row.Text(QStringLiteral("entry"));
  const int64_t name = cell.NameAddress;
  connect(link(row, QStringLiteral("lnk%1Name").arg(layer), hex(cell.NameAddress, 4)),
          &TLinkLabel::clicked, this, [this, name](Qt::MouseButton button) {
            if (button == Qt::LeftButton) emit jumpToMemory(THexPageId::hpVideoRAM, name);
          });
  row.Text(QStringLiteral("= %1:").arg(hex(cell.Pixel.Attr, 4)));
  addPattern(row, layer, cell.Pixel);
  if (!cell.TakesPart)
    row.Text(QStringLiteral("(its %1 half is off)").arg(level(cell.Pixel.Priority)));
}

void TPixelAccountPanel::addSprite(const TPixelAccount& a) {
  const TSpriteAccount& s = a.Sprite;
  TRow& row = addRow(QStringLiteral("Sprite"), a.Winner == TPixelLayer::plSprite);
  if (s.Found) {
    const int number = s.Number;
    connect(link(row, QStringLiteral("lnkSprite"), QStringLiteral("sprite %1").arg(s.Number)),
            &TLinkLabel::clicked, this, [this, number](Qt::MouseButton button) {
              if (button == Qt::LeftButton) emit showSprite(number);
            });
    row.Text(QStringLiteral("(chain %1), entry").arg(s.Position));
    const int64_t entry = s.EntryAddress;
    connect(link(row, QStringLiteral("lnkSpriteEntry"), hex(s.EntryAddress, 4)),
            &TLinkLabel::clicked, this, [this, entry](Qt::MouseButton button) {
              if (button == Qt::LeftButton) emit jumpToMemory(THexPageId::hpVideoRAM, entry);
            });
    row.Text(QStringLiteral("X %1 Y %2, %3 x %4 cells; cell %5,%6:")
                 .arg(s.Entry.X)
                 .arg(s.Entry.Y)
                 .arg(s.Entry.CellsWide())
                 .arg(s.Entry.CellsHigh())
                 .arg(s.CellColumn)
                 .arg(s.CellRow));
    addPattern(row, QStringLiteral("Sprite"), s.Pixel, QStringLiteral(";"));
  } else {
    row.Text(s.Covering.empty() ? QStringLiteral("none here;")
                                : QStringLiteral("no sprite pixel here;"));
  }
  row.Text(lineFacts(s));
}

void TPixelAccountPanel::ShowAccount(const TPixelAccount& a) {
  setUpdatesEnabled(false);
  clearRows();
  m_pixel = QPoint(a.X, a.Y);
  m_title->setText(
      QStringLiteral("<b>Pixel %1,%2</b> %3")
          .arg(a.X)
          .arg(a.Y)
          .arg(a.Inside ? QStringLiteral("(sprite space %1,%2)").arg(a.SpriteX).arg(a.SpriteY)
                        : QStringLiteral("outside the picture")));
  if (a.Inside) {
    TRow& colour = addRow(QStringLiteral("Colour"), true);
    const int entry = a.CramIndex;
    connect(
        link(colour, QStringLiteral("lnkCRAM"), QStringLiteral("CRAM %1").arg(hex(a.CramIndex, 2))),
        &TLinkLabel::clicked, this, [this, entry](Qt::MouseButton button) {
          if (button == Qt::LeftButton) emit colorEntryChosen(entry);
        });
    auto* swatch = new QLabel(&colour);
    swatch->setFixedSize(12, 12);
    swatch->setStyleSheet(QStringLiteral("background: #%1; border: 1px solid black;")
                              .arg(a.Rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')));
    colour.Text(QStringLiteral("= %1").arg(hex(a.ColorWord, 4)));
    colour.Widget(swatch);
    const uint8_t marks = a.Marks.Marks;
    colour.Text(marks == 0x40   ? QStringLiteral("highlight")
                : marks == 0x80 ? QStringLiteral("shadow")
                                : QStringLiteral("normal"));
    if (!a.Written) colour.Text(QStringLiteral("(not written: the backdrop is off)"));
    addRow(QStringLiteral("Winner"), false).Text(QString::fromStdString(WinnerText(a)));
    addSprite(a);
    addCell(QStringLiteral("Window"), QStringLiteral("Window"), a.Window, false,
            a.Winner == TPixelLayer::plWindow);
    addCell(QStringLiteral("Plane A"), QStringLiteral("PlaneA"), a.PlaneA, true,
            a.Winner == TPixelLayer::plPlaneA);
    addCell(QStringLiteral("Plane B"), QStringLiteral("PlaneB"), a.PlaneB, true,
            a.Winner == TPixelLayer::plPlaneB);
    if (a.Marks.Active) addRow(QStringLiteral("Shadow/HL"), false).Text(marksText(a.Marks));
  }
  // The rows, built whole, are shown at once rather than when the layout gets round to it:
  // the panel's height for its width is asked for next.
  for (int i = 0; i < m_rows->count(); ++i)
    m_rows->itemAt(i)->widget()->show();
  setUpdatesEnabled(true);
  layout()->activate();
  // The height the rows need at the panel's fixed width (adjustSize would measure them at
  // their one-line width, and a page brought back would keep that height).
  updateGeometry();
  resize(kWidth, heightForWidth(kWidth));
}

}  // namespace vantor
