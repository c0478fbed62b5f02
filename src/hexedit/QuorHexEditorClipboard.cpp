// The system clipboard and drag and drop.
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>

#include "hexedit/QuorHDataObject.h"
#include "hexedit/QuorHexEditorEx.h"

namespace vantor {
namespace {

// The hourglass while a long copy or paste runs.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Inside the editor a drag moves its selection; Ctrl makes it a copy.
Qt::DropAction OwnDropAction(const QDropEvent& event) {
  return (event.modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

}  // namespace

void TQuorHexEditorEx::CopyToClipboard() {
  if (!CanCopy()) return;
  WaitCursor wait;
  QMimeData* mime = NewDataObject();
  QGuiApplication::clipboard()->setMimeData(mime);
  m_clipboardObject = mime;
}

QMimeData* TQuorHexEditorEx::NewDataObject() {
  return new TQuorHDataObject(m_model.SelectedBytes(), QString::fromStdString(m_model.FileName()),
                              m_model.ClipboardAsHexText(), m_model.SwapNibbles(),
                              m_model.HexLowerCase(), this);
}

bool TQuorHexEditorEx::CanPaste() const {
  if (ReadOnlyView() || (NoSizeChange() && DataSize() == 0)) return false;
  return !PasteCandidates(QGuiApplication::clipboard()->mimeData()).empty();
}

void TQuorHexEditorEx::PasteFromClipboard() {
  if (!CanPaste()) return;
  WaitCursor wait;
  PasteFrom(QGuiApplication::clipboard()->mimeData());
}

int64_t TQuorHexEditorEx::PasteFrom(const QMimeData* mime) {
  if (ReadOnlyView() || DataSize() == 0) return 0;
  const std::vector<uint8_t> bytes =
      BytesToPaste(mime, static_cast<size_t>(DataSize()), false, nullptr);
  int64_t written = 0;
  Track([&] { written = m_model.PasteBytes(bytes); });
  return written;
}

std::vector<uint8_t> TQuorHexEditorEx::BytesToPaste(const QMimeData* mime, size_t maxBytes,
                                                    bool linkDrop, bool* chosen) {
  if (chosen) *chosen = false;
  const std::vector<TPasteCandidate> candidates = PasteCandidates(mime);
  if (candidates.empty()) return {};
  size_t index = 0;
  bool hexText = false;
  const TPasteKind first = candidates.front().kind;
  if (first != TPasteKind::pkPrivate && first != TPasteKind::pkFileList && candidates.size() > 1) {
    QStringList names;
    for (const TPasteCandidate& candidate : candidates)
      names << candidate.name;
    const int preselected = std::max<int>(0, static_cast<int>(names.indexOf(m_lastFormat)));
    const std::optional<TFormatChoice> choice =
        m_formatChooser ? m_formatChooser(this, names, preselected, m_hexTextChoice)
                        : std::optional<TFormatChoice>(TFormatChoice{preselected, false});
    if (!choice || choice->index < 0 || choice->index >= static_cast<int>(names.size())) {
      return {};
    }
    index = static_cast<size_t>(choice->index);
    m_hexTextChoice = choice->hexText;
    m_lastFormat = names[choice->index];
    hexText = choice->hexText && CanReadAsHexText(m_lastFormat);
  }
  TPasteRequest request;
  request.hexText = hexText;
  request.swapNibbles = m_model.SwapNibbles();
  request.linkDrop = linkDrop;
  request.maxBytes = maxBytes;
  std::optional<std::vector<uint8_t>> bytes = BytesOfCandidate(mime, candidates[index], request);
  if (chosen) *chosen = true;
  return bytes.value_or(std::vector<uint8_t>{});
}

void TQuorHexEditorEx::StartDrag() {
  if (!m_model.HasSelection()) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(NewDataObject());
  const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  // Another program that took the bytes as a move cannot shorten a fixed-size editor: the
  // bytes stay. A resizable editor gives them up.
  if (action == Qt::MoveAction && drag->target() != viewport() && !NoSizeChange()) {
    Track([&] { m_model.DeleteSelection(); });
  }
}

// The data object names the editor it came from; a drag inside one program hands the drop
// the very object the drag was started with.
bool TQuorHexEditorEx::IsOwnDrag(const QDropEvent& event) const {
  const auto* dragged = qobject_cast<const TQuorHDataObject*>(event.mimeData());
  return dragged != nullptr && dragged->Origin() == this;
}

TQuorHexEditorEx::CellHit TQuorHexEditorEx::DropTarget(const QDropEvent& event) const {
  const CellHit hit = HitTest(event.position().toPoint(), false);
  if (hit.valid && IsOwnDrag(event) && m_model.IsSelected(hit.pos)) return {};
  return hit;
}

void TQuorHexEditorEx::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_oleDragDrop || ReadOnlyView() || DataSize() == 0 ||
      PasteCandidates(event->mimeData()).empty()) {
    event->ignore();
    return;
  }
  if (IsOwnDrag(*event)) {
    event->setDropAction(OwnDropAction(*event));
    event->accept();
  } else {
    event->acceptProposedAction();
  }
}

void TQuorHexEditorEx::dragMoveEvent(QDragMoveEvent* event) {
  if (!DropTarget(*event).valid) {
    event->ignore();
    return;
  }
  if (IsOwnDrag(*event)) {
    event->setDropAction(OwnDropAction(*event));
    event->accept();
  } else {
    event->acceptProposedAction();
  }
}

void TQuorHexEditorEx::dropEvent(QDropEvent* event) {
  const CellHit hit = DropTarget(*event);
  if (!hit.valid || ReadOnlyView()) {
    event->ignore();
    return;
  }
  if (IsOwnDrag(*event) && OwnDropAction(*event) == Qt::MoveAction) {
    Track([&] { m_model.MoveSelectionTo(hit.pos); });
    event->setDropAction(Qt::MoveAction);
    event->accept();
    return;
  }
  const bool link = event->dropAction() == Qt::LinkAction;
  const std::vector<uint8_t> bytes =
      BytesToPaste(event->mimeData(), static_cast<size_t>(DataSize()), link, nullptr);
  Track([&] { m_model.DropBytes(bytes, hit.pos); });
  event->acceptProposedAction();
}

}  // namespace vantor
