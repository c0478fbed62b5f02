#include "pages/vdp/VRAMMapPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>

#include "pictureio/PictureIO.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/FlowLayout.h"
#include "widgets/LinkLabel.h"

namespace vantor {
namespace {

QString hex(uint32_t value, int digits) {
  return QStringLiteral("$%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// "plane A table, plane B patterns" from use bits; "free" for none.
QString usesText(uint16_t uses) {
  QStringList names;
  for (int bit = 0; bit < kVRAMUseCount; ++bit)
    if (uses & (1u << bit)) names << QString::fromLatin1(VRAMUseText(bit));
  return names.isEmpty() ? QStringLiteral("free") : names.join(QStringLiteral(", "));
}

QLabel* swatch(QRgb color, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFixedSize(14, 14);
  label->setStyleSheet(QStringLiteral("background: #%1; border: 1px solid #404040;")
                           .arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0')));
  return label;
}

}  // namespace

// --- TVRAMMapBox --------------------------------------------------------------------------

TVRAMMapBox::TVRAMMapBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
}

void TVRAMMapBox::SetPicture(const QPixmap& picture) {
  m_picture = picture;
  updateGeometry();
  update();
}

int TVRAMMapBox::Zoom() const {
  if (m_picture.isNull()) return 1;
  return std::max(1, std::min(width() / m_picture.width(), height() / m_picture.height()));
}

QPoint TVRAMMapBox::PixelAt(QPoint at) const {
  const int zoom = Zoom();
  const QPoint pixel(at.x() / zoom, at.y() / zoom);
  if (at.x() < 0 || at.y() < 0 || !m_picture.rect().contains(pixel)) return QPoint(-1, -1);
  return pixel;
}

void TVRAMMapBox::paintEvent(QPaintEvent*) {
  if (m_picture.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(QRect(QPoint(0, 0), m_picture.size() * Zoom()), m_picture);
}

void TVRAMMapBox::mouseMoveEvent(QMouseEvent* event) {
  emit hovered(PixelAt(event->position().toPoint()));
}

void TVRAMMapBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pixel = PixelAt(event->position().toPoint());
  if (pixel.x() >= 0) emit clicked(pixel);
}

// --- TVRAMMapPage -------------------------------------------------------------------------

TVRAMMapPage::TVRAMMapPage(TPageHost& host, QWidget* parent) : TVDPPage(parent), m_host(host) {
  setObjectName(QStringLiteral("tsVRAMMap"));
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->setSpacing(6);
  // The legend and the tables on top, the map below them taking the rest of the page.
  buildLegend(page);
  m_tables = new QWidget(this);
  new TFlowLayout(m_tables, 12, 2);
  m_tables->layout()->setContentsMargins(0, 0, 0, 0);
  page->addWidget(m_tables);
  m_box = new TVRAMMapBox(this);
  m_box->setObjectName(QStringLiteral("pbVRAMMap"));
  m_box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  page->addWidget(m_box, 1);
  connect(m_box, &TVRAMMapBox::hovered, this, [this](QPoint pixel) {
    const QString text = BlockText(pixel);
    if (!text.isEmpty()) emit statusText(text);
  });
  connect(m_box, &TVRAMMapBox::clicked, this, &TVRAMMapPage::OpenBlock);
}

void TVRAMMapPage::buildLegend(QVBoxLayout* page) {
  auto* legend = new QWidget(this);
  auto* flow = new TFlowLayout(legend, 10, 2);
  flow->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < kVRAMClassCount; ++i) {
    const TVRAMLegendEntry& entry = VRAMLegend(TVRAMClass(i));
    auto* item = new QWidget(legend);
    auto* row = new QHBoxLayout(item);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(swatch(entry.Color, item));
    row->addWidget(new QLabel(QString::fromLatin1(entry.Caption), item));
    flow->addWidget(item);
  }
  page->addWidget(legend);
}

void TVRAMMapPage::PageShow() {
  m_map = BuildVRAMMap(m_host.VDP());
  BuildVRAMMapPicture(m_map, m_picture);
  m_box->SetPicture(QPixmap::fromImage(IndexedView(m_picture)));
  fillTables();
}

void TVRAMMapPage::ModelReloaded() {
  if (isVisible()) PageShow();
}

// The tables as the display reads them, each a link to its first byte.
void TVRAMMapPage::fillTables() {
  QLayout* flow = m_tables->layout();
  while (QLayoutItem* item = flow->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (const TVRAMTable& table : m_map.Tables) {
    if (table.Span == 0) continue;
    const int bit = std::countr_zero(unsigned(table.Use));
    const uint32_t last = (table.Start + table.Span - 1) & 0xFFFF;
    auto* link = new TLinkLabel(
        QStringLiteral("%1 %2-%3")
            .arg(QString::fromLatin1(VRAMUseText(bit)), hex(table.Start, 4), hex(last, 4)),
        m_tables);
    link->setObjectName(QStringLiteral("lnkTable%1").arg(bit));
    link->SetLinkLook(true);
    const int64_t start = table.Start;
    connect(link, &TLinkLabel::clicked, this, [this, start](Qt::MouseButton button) {
      if (button != Qt::LeftButton) return;
      m_host.pcVDPChanging();
      emit jumpToMemory(THexPageId::hpVideoRAM, start);
    });
    flow->addWidget(link);
  }
}

int32_t TVRAMMapPage::blockAt(QPoint pixel) const {
  const int32_t address = VRAMMapAddressAt(m_map, pixel.x(), pixel.y());
  return address < 0 ? -1 : address - address % int32_t(kVRAMBlockBytes);
}

QString TVRAMMapPage::BlockText(QPoint pixel) const {
  const int32_t block = blockAt(pixel);
  if (block < 0) return QString();
  const int index = block / int(kVRAMBlockBytes);
  QString text = QStringLiteral("Video RAM %1-%2, pattern %3: %4")
                     .arg(hex(uint32_t(block), 4), hex(uint32_t(block) + kVRAMBlockBytes - 1, 4),
                          hex(uint32_t(block / m_map.PatternBytes), 3),
                          usesText(m_map.Blocks[std::size_t(index)]));
  if (m_map.IsOverlap(index)) text += QStringLiteral(" (overlap)");
  return text;
}

void TVRAMMapPage::OpenBlock(QPoint pixel) {
  const int32_t block = blockAt(pixel);
  if (block < 0) return;
  m_host.pcVDPChanging();
  emit jumpToMemory(THexPageId::hpVideoRAM, block);
}

}  // namespace vantor
