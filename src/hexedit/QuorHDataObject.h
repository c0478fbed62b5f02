#pragma once

#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantor {

// MIME types of the formats the editor offers and accepts.
inline constexpr const char* kPrivateMimeType = "application/x-palavex-hexeditor";
inline constexpr const char* kOctetStreamMimeType = "application/octet-stream";
inline constexpr const char* kUriListMimeType = "text/uri-list";

// Clipboard and drag contents: the copied bytes captured at once and offered as
//   the private block ("QHXE" ...) under kPrivateMimeType,
//   text/plain (the bytes up to the first zero, or hex text),
//   text/uri-list naming a real temporary file "Dump of <name>.bin" (removed at program end),
//   application/octet-stream (the raw bytes).
// It remembers the editor it came from, so that a drop can tell a drag inside that editor (a
// move) from bytes that come from elsewhere.
class TQuorHDataObject : public QMimeData {
  Q_OBJECT
 public:
  TQuorHDataObject(const std::vector<uint8_t>& bytes, const QString& editorFileName, bool asHexText,
                   bool swapNibbles, bool lowerCase, QObject* origin = nullptr);
  // The temporary dump file, empty when it could not be written.
  const QString& DumpPath() const { return m_dumpPath; }
  // The editor whose bytes these are (null once it is gone, or when none was named).
  const QObject* Origin() const { return m_origin.data(); }

 private:
  QString m_dumpPath;
  QPointer<QObject> m_origin;
};

// One format found when pasting or dropping.
enum class TPasteKind : uint8_t {
  pkPrivate,
  pkFileList,
  pkText,
  pkRichText,
  pkUnicodeText,
  pkBitmap,
  pkRaw,
};

struct TPasteCandidate {
  TPasteKind kind = TPasteKind::pkRaw;
  QString name;  // as the "Select Data Format" dialog lists it
  QString mimeType;
};

// The accepted formats present, in order of preference. When the first is the private
// format or a file list it alone decides; otherwise all of them are choices.
std::vector<TPasteCandidate> PasteCandidates(const QMimeData* data);
// "Text" and "OEM Text" may be read as hex text.
bool CanReadAsHexText(const QString& formatName);

struct TPasteRequest {
  bool hexText = false;
  bool swapNibbles = false;
  bool linkDrop = false;  // file list dropped with the link effect: the names, not a file
  size_t maxBytes = SIZE_MAX;
};

// The bytes a format carries, at most maxBytes of them; nothing when it yields none
// (a malformed private block, an unreadable file).
std::optional<std::vector<uint8_t>> BytesOfCandidate(const QMimeData* data,
                                                     const TPasteCandidate& candidate,
                                                     const TPasteRequest& request);

}  // namespace vantor
