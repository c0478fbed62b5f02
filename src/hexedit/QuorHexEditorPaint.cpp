// Painting: every visible cell from the model, glyphs copied from a per-colour strip.
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "hexedit/HexCodePage.h"
#include "hexedit/QuorHexEditorEx.h"

namespace vantor {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kHexDigitsLower[] = "0123456789abcdef";
constexpr int kIconSize = 10;
constexpr uint8_t kMaskChar = '.';

QColor Inverted(const QColor& color) {
  return QColor::fromRgb(color.rgb() ^ 0x00FFFFFF);
}

}  // namespace

// A strip of the 256 character cells in one text colour on one ground. Opaque strips are
// copied without blending, which keeps a full repaint cheap.
const QPixmap& TQuorHexEditorEx::Glyphs(const QColor& color, const QColor& ground) {
  const quint64 key = quint64{color.rgb()} | quint64{ground.rgb()} << 32;
  const auto found = m_glyphs.constFind(key);
  if (found != m_glyphs.constEnd()) return *found;
  QImage strip(256 * m_charWidth, m_rowHeight, QImage::Format_RGB32);
  strip.fill(ground);
  QPainter painter(&strip);
  painter.setFont(m_font);
  painter.setPen(color);
  for (int byte = 0x20; byte < 256; ++byte) {
    if (!IsPrintableByte(static_cast<uint8_t>(byte))) continue;
    const QRect cell(byte * m_charWidth, 0, m_charWidth, m_rowHeight);
    painter.setClipRect(cell);
    painter.drawText(cell.left(), 1 + m_ascent,
                     QString(QChar(static_cast<char16_t>(CharOfByte(static_cast<uint8_t>(byte))))));
  }
  painter.end();
  return *m_glyphs.insert(key, QPixmap::fromImage(strip));
}

// The 256 two-digit texts of the bytes in one colour: the first nibble cell of a byte is
// always one character wide, so both digits are copied in one go.
const QPixmap& TQuorHexEditorEx::HexPairs(const QColor& color, const QColor& ground) {
  const bool lower = m_model.HexLowerCase();
  const bool swap = m_model.SwapNibbles();
  // RGB values use 24 bits: the flags go into the top byte of the ground.
  const quint64 key = quint64{color.rgb() & 0xFFFFFF} | quint64{ground.rgb() & 0xFFFFFF} << 24 |
                      quint64{lower} << 48 | quint64{swap} << 49;
  const auto found = m_hexPairs.constFind(key);
  if (found != m_hexPairs.constEnd()) return *found;
  const QPixmap& glyphs = Glyphs(color, ground);
  const char* digits = lower ? kHexDigitsLower : kHexDigits;
  QImage image(256 * 2 * m_charWidth, m_rowHeight, QImage::Format_RGB32);
  image.fill(ground);
  QPainter painter(&image);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (int byte = 0; byte < 256; ++byte) {
    const int first = swap ? byte & 15 : byte >> 4;
    const int second = swap ? byte >> 4 : byte & 15;
    const int x = byte * 2 * m_charWidth;
    painter.drawPixmap(x, 0, glyphs, static_cast<uint8_t>(digits[first]) * m_charWidth, 0,
                       m_charWidth, m_rowHeight);
    painter.drawPixmap(x + m_charWidth, 0, glyphs,
                       static_cast<uint8_t>(digits[second]) * m_charWidth, 0, m_charWidth,
                       m_rowHeight);
  }
  painter.end();
  return *m_hexPairs.insert(key, QPixmap::fromImage(image));
}

void TQuorHexEditorEx::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  for (const QRect& rect : event->region())
    PaintTo(painter, rect);
  m_paintedRegion += event->region();
}

void TQuorHexEditorEx::PaintTo(QPainter& painter, const QRect& region) {
  painter.setClipRect(region);
  painter.fillRect(region, m_colors.Background);
  const int64_t lastRow = GridRowCount(DataSize(), BytesPerRow()) - 1;
  const int64_t firstVisible = m_topRow + std::max(0, (region.top() - RulerHeight())) / m_rowHeight;
  const int64_t lastVisible =
      std::min(lastRow, m_topRow + std::max(0, region.bottom() - RulerHeight()) / m_rowHeight);
  for (int64_t row = firstVisible; row <= lastVisible; ++row)
    PaintRow(painter, row, region);
  PaintGutter(painter, region);
  if (m_showRuler) PaintRuler(painter, region);
}

void TQuorHexEditorEx::PaintRow(QPainter& painter, int64_t row, const QRect& region) {
  const int bytesPerRow = BytesPerRow();
  const int bytesPerColumn = BytesPerColumn();
  const int y = RowTop(row);
  const int gutter = m_layout.ColumnWidth(0);
  const QRect area = region & QRect(gutter, y, viewport()->width() - gutter, m_rowHeight);
  if (area.isEmpty()) return;
  painter.setClipRect(area);
  const int64_t rowStart = FirstByteOfGridRow(row, bytesPerRow);
  const int count = static_cast<int>(std::clamp<int64_t>(DataSize() - rowStart, 0, bytesPerRow));
  const uint8_t* bytes = m_model.DataBuffer();
  const QColor fontColor = palette().color(QPalette::Text);
  const int scroll = horizontalScrollBar()->value();

  for (int i = 0; i < count; ++i) {
    const int64_t pos = rowStart + i;
    const int hexCol = GridHexColumn(i, bytesPerRow);
    const int charCol = GridCharColumn(i, bytesPerRow);
    const int hexX = m_layout.ColumnLeft(hexCol) - scroll;
    const int charX = m_layout.ColumnLeft(charCol) - scroll;
    const int hexWidth = m_layout.ColumnWidth(hexCol) + m_layout.ColumnWidth(hexCol + 1);
    const bool hexVisible = hexX < area.right() + 1 && hexX + hexWidth > area.left();
    const bool charVisible = charX < area.right() + 1 && charX + m_charWidth * 2 > area.left();
    if (!hexVisible && !charVisible) continue;

    const bool marked = m_model.IsMarked(pos);
    const bool selected = m_model.IsSelected(pos);
    QColor ground = marked ? m_colors.ChangedBackground : m_colors.Background;
    QColor hexText =
        marked ? m_colors.ChangedText
               : ((i / bytesPerColumn) % 2 == 0 ? m_colors.OddColumn : m_colors.EvenColumn);
    QColor charText = marked ? m_colors.ChangedText : fontColor;
    if (selected) {
      ground = Inverted(ground);
      hexText = Inverted(hexText);
      charText = Inverted(charText);
    }
    const uint8_t byte = bytes[pos];
    if (hexVisible) {
      if (ground != m_colors.Background) painter.fillRect(hexX, y, hexWidth, m_rowHeight, ground);
      painter.drawPixmap(hexX, y, HexPairs(hexText, ground), byte * 2 * m_charWidth, 0,
                         2 * m_charWidth, m_rowHeight);
    }
    if (charVisible) {
      const int charWidth = m_layout.ColumnWidth(charCol);
      if (ground != m_colors.Background) painter.fillRect(charX, y, charWidth, m_rowHeight, ground);
      const uint8_t shown = IsPrintableByte(byte) ? byte : kMaskChar;
      painter.drawPixmap(charX, y, Glyphs(charText, ground), shown * m_charWidth, 0, m_charWidth,
                         m_rowHeight);
    }
  }

  if (m_drawGridLines) {
    painter.setPen(m_colors.Grid);
    painter.drawLine(area.left(), y + m_rowHeight - 1, area.right(), y + m_rowHeight - 1);
    for (int col = GridHexColumn(0, bytesPerRow); col < m_layout.ColumnCount(); ++col) {
      const GridColumnInfo info = GridColumnOf(col, bytesPerRow);
      const bool groupEnd =
          info.area == TGridArea::gaHex && info.lowNibble &&
          ((info.byteInRow + 1) % bytesPerColumn == 0 || info.byteInRow == bytesPerRow - 1);
      if (groupEnd || info.area == TGridArea::gaSeparator || col == m_layout.ColumnCount() - 1) {
        const int x = ColumnX(col) + m_layout.ColumnWidth(col) - 1;
        painter.drawLine(x, y, x, y + m_rowHeight - 1);
      }
    }
  }

  if (row != Row() || DataSize() == 0) return;
  const int64_t pos = m_model.CursorPos();
  const int cursorCol = Col();
  const int twinCol =
      m_model.InCharField() ? GridHexColumn(pos, bytesPerRow) : GridCharColumn(pos, bytesPerRow);
  QRect cursor = CellRect(row, cursorCol);
  cursor.setWidth(m_model.InCharField() ? m_charWidth + 1 : m_charWidth);
  QRect twin = CellRect(row, twinCol);
  twin.setWidth(m_model.InCharField() ? 2 * m_charWidth : m_charWidth + 1);
  if (hasFocus()) {
    // The caret: the cursor cell inverted (a full block while overwriting).
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(cursor, Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_focusFrame) {
      painter.setPen(QPen(fontColor, 1, Qt::DotLine));
    } else {
      painter.setPen(m_colors.CursorFrame);
    }
    painter.drawRect(twin.adjusted(0, 0, -1, -1));
  } else {
    painter.setPen(m_colors.NonFocusCursorFrame);
    painter.drawRect(cursor.adjusted(0, 0, -1, -1));
    painter.drawRect(twin.adjusted(0, 0, -1, -1));
  }
}

void TQuorHexEditorEx::PaintGutter(QPainter& painter, const QRect& region) {
  const int gutter = m_layout.ColumnWidth(0);
  const QRect area = region & QRect(0, RulerHeight(), gutter, viewport()->height());
  if (area.isEmpty()) return;
  painter.setClipRect(area);
  painter.fillRect(area, m_colors.OffsetBackGround);
  const int64_t lastRow = GridRowCount(DataSize(), BytesPerRow()) - 1;
  const int64_t cursorRow = Row();
  for (int64_t row = m_topRow; row <= std::min(lastRow, m_topRow + VisibleRows()); ++row) {
    const int y = RowTop(row);
    if (y > area.bottom() || y + m_rowHeight <= area.top()) continue;
    const bool current = row == cursorRow;
    if (current) painter.fillRect(0, y, gutter, m_rowHeight, m_colors.CurrentOffsetBackground);
    const QPixmap& glyphs = current
                                ? Glyphs(m_colors.CurrentOffset, m_colors.CurrentOffsetBackground)
                                : Glyphs(m_colors.Offset, m_colors.OffsetBackGround);
    const std::string text = m_model.OffsetText(FirstByteOfGridRow(row, BytesPerRow()));
    int x = kIconSize + 8;
    for (char c : text) {
      painter.drawPixmap(x, y, glyphs, static_cast<uint8_t>(c) * m_charWidth, 0, m_charWidth,
                         m_rowHeight);
      x += m_charWidth;
    }
    for (int index = 0; index < kBookmarkCount; ++index) {
      const HexBookmark mark = m_model.Bookmark(index);
      if (mark.pos >= 0 && GridRowOfByte(mark.pos, BytesPerRow()) == row) {
        PaintBookmark(painter, 3, y + (m_rowHeight - kIconSize) / 2, index, mark.inCharField);
      }
    }
  }
  painter.setPen(m_drawGridLines ? m_colors.Grid : m_colors.OffsetBackGround.darker(130));
  painter.drawLine(gutter - 1, area.top(), gutter - 1, area.bottom());
}

// A bookmark icon, 10 x 10: a rounded tag with the bookmark's digit, blue for one set in the
// hexadecimal field, green for one set in the character field.
void TQuorHexEditorEx::PaintBookmark(QPainter& painter, int x, int y, int index,
                                     bool inCharField) const {
  const QColor fill = inCharField ? QColor(0, 128, 0) : QColor(0, 64, 192);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(fill.darker(150));
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(x + 0.5, y + 0.5, kIconSize - 1, kIconSize - 1), 2, 2);
  QFont font = m_font;
  font.setPixelSize(9);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(x, y, kIconSize, kIconSize), Qt::AlignCenter, QString::number(index));
  painter.restore();
}

void TQuorHexEditorEx::PaintRuler(QPainter& painter, const QRect& region) {
  const int height = RulerHeight();
  const QRect area = region & QRect(0, 0, viewport()->width(), height);
  if (area.isEmpty()) return;
  painter.setClipRect(area);
  painter.fillRect(area, m_colors.OffsetBackGround);
  const int bytesPerRow = BytesPerRow();
  const int cursorCol = DataSize() > 0 ? Col() : -1;
  const int gutter = m_layout.ColumnWidth(0);
  painter.setClipRect(area & QRect(gutter, 0, viewport()->width() - gutter, height));
  auto cell = [&](int col, char c) {
    const int x = ColumnX(col);
    const bool current = col == cursorCol;
    if (current) {
      painter.fillRect(x, 0, m_layout.ColumnWidth(col), height, m_colors.CurrentOffsetBackground);
    }
    if (c == ' ') return;
    painter.drawPixmap(x, 1,
                       current ? Glyphs(m_colors.CurrentOffset, m_colors.CurrentOffsetBackground)
                               : Glyphs(m_colors.Offset, m_colors.OffsetBackGround),
                       static_cast<uint8_t>(c) * m_charWidth, 0, m_charWidth, m_rowHeight);
  };
  for (int i = 0; i < bytesPerRow; ++i) {
    cell(GridHexColumn(i, bytesPerRow), m_rulerHex[2 * i]);
    cell(GridHexColumn(i, bytesPerRow) + 1, m_rulerHex[2 * i + 1]);
    cell(GridCharColumn(i, bytesPerRow), m_rulerChars[i]);
  }
  painter.setClipRect(area);
  painter.setPen(m_drawGridLines ? m_colors.Grid : m_colors.OffsetBackGround.darker(130));
  painter.drawLine(area.left(), height - 1, area.right(), height - 1);
}

}  // namespace vantor
