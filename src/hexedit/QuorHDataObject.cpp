#include "hexedit/QuorHDataObject.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <array>
#include <atomic>

#include "hexedit/HexClipboardData.h"
#include "hexedit/HexCodePage.h"

namespace vantor {
namespace {

// Formats of other programs that have a name of their own in the format dialog.
struct NamedFormat {
  const char* mimeType;
  const char* name;
};
constexpr std::array<NamedFormat, 11> kNamedFormats = {{
    {"image/tiff", "Tagged Image File Format (TIFF) Picture"},
    {"image/x-wmf", "Metafile Picture"},
    {"image/wmf", "Metafile Picture"},
    {"audio/x-riff", "RIFF Audio Data"},
    {"audio/wav", "Wave Audio"},
    {"audio/x-wav", "Wave Audio"},
    {"image/emf", "Enhanced Metafile Picture"},
    {"image/x-emf", "Enhanced Metafile Picture"},
    {"application/x-sylk", "Microsoft Symbolic Link (SYLK) data"},
    {"application/x-dif", "Software Arts' Data Interchange Format"},
    {"application/x-regedit-hexdata", "RegEdit_HexData"},
}};

constexpr std::array<const char*, 3> kRichTextTypes = {"text/rtf", "text/richtext",
                                                       "application/rtf"};

// Where the dump files of copied bytes live until the program ends.
QTemporaryDir& DumpFolder() {
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/palavex-XXXXXX"));
  return folder;
}

QString WriteDumpFile(const std::vector<uint8_t>& bytes, const QString& editorFileName) {
  static std::atomic<int> serial{0};
  if (!DumpFolder().isValid()) return {};
  // One folder per copy, so that an older clipboard's file keeps its contents.
  const QString folder = DumpFolder().filePath(QString::number(++serial));
  if (!QDir().mkpath(folder)) return {};
  const std::string name = DumpFileName(editorFileName.toStdString());
  const QString path = folder + QLatin1Char('/') + QString::fromStdString(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return {};
  return path;
}

QString TextOfBytes(const std::string& bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    text.append(QChar(static_cast<char16_t>(CharOfByte(static_cast<uint8_t>(c)))));
  }
  return text;
}

bool IsInternal(const QString& mime) {
  return !mime.contains(QLatin1Char('/')) || mime.startsWith(QLatin1String("application/x-qt")) ||
         mime.startsWith(QLatin1String("text/plain")) || mime == QLatin1String(kUriListMimeType) ||
         mime == QLatin1String(kPrivateMimeType);
}

bool HasLocalFiles(const QMimeData* data) {
  if (!data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

std::vector<uint8_t> Cut(const QByteArray& bytes, size_t maxBytes) {
  const size_t count = std::min(static_cast<size_t>(bytes.size()), maxBytes);
  return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<qsizetype>(count));
}

std::vector<uint8_t> EightBitText(const QString& text, size_t maxBytes) {
  std::vector<uint8_t> bytes;
  for (QChar ch : text) {
    if (bytes.size() >= maxBytes || ch.unicode() == 0) break;
    bytes.push_back(ByteOfChar(ch.unicode()).value_or('?'));
  }
  return bytes;
}

std::vector<uint8_t> UnicodeText(const QString& text, size_t maxBytes) {
  std::vector<uint8_t> bytes;
  for (QChar ch : text) {
    if (bytes.size() + 2 > maxBytes || ch.unicode() == 0) break;
    bytes.push_back(static_cast<uint8_t>(ch.unicode() & 0xFF));
    bytes.push_back(static_cast<uint8_t>(ch.unicode() >> 8));
  }
  return bytes;
}

std::optional<std::vector<uint8_t>> FileListBytes(const QMimeData* data,
                                                  const TPasteRequest& request) {
  const QList<QUrl> urls = data->urls();
  if (request.linkDrop) {
    std::vector<std::string> names;
    for (const QUrl& url : urls) {
      names.push_back((url.isLocalFile() ? url.toLocalFile() : url.toString()).toStdString());
    }
    std::vector<uint8_t> list = FileNameList(names);
    list.resize(std::min(list.size(), request.maxBytes));
    return list;
  }
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const qint64 limit = static_cast<qint64>(std::min<size_t>(request.maxBytes, 1ULL << 40));
    return Cut(file.read(limit), request.maxBytes);
  }
  return std::nullopt;
}

std::vector<uint8_t> BitmapBytes(const QMimeData* data, size_t maxBytes) {
  if (data->hasFormat(QStringLiteral("image/bmp"))) {
    return Cut(data->data(QStringLiteral("image/bmp")), maxBytes);
  }
  const QImage image = qvariant_cast<QImage>(data->imageData());
  QByteArray file;
  QBuffer buffer(&file);
  buffer.open(QIODevice::WriteOnly);
  if (!image.isNull()) image.save(&buffer, "BMP");
  return Cut(file, maxBytes);
}

}  // namespace

TQuorHDataObject::TQuorHDataObject(const std::vector<uint8_t>& bytes, const QString& editorFileName,
                                   bool asHexText, bool swapNibbles, bool lowerCase,
                                   QObject* origin)
    : m_origin(origin) {
  const std::vector<uint8_t> block = EncodeClipboardBlock(bytes);
  setData(QLatin1String(kPrivateMimeType), QByteArray(reinterpret_cast<const char*>(block.data()),
                                                      static_cast<qsizetype>(block.size())));
  setText(TextOfBytes(ClipboardTextOf(bytes, asHexText, swapNibbles, lowerCase)));
  m_dumpPath = WriteDumpFile(bytes, editorFileName);
  if (!m_dumpPath.isEmpty()) setUrls({QUrl::fromLocalFile(m_dumpPath)});
  setData(QLatin1String(kOctetStreamMimeType),
          QByteArray(reinterpret_cast<const char*>(bytes.data()),
                     static_cast<qsizetype>(bytes.size())));
}

std::vector<TPasteCandidate> PasteCandidates(const QMimeData* data) {
  std::vector<TPasteCandidate> list;
  if (data == nullptr) return list;
  if (data->hasFormat(QLatin1String(kPrivateMimeType))) {
    list.push_back({TPasteKind::pkPrivate, QStringLiteral("Palavex Hex Data"),
                    QLatin1String(kPrivateMimeType)});
  }
  if (HasLocalFiles(data)) {
    list.push_back(
        {TPasteKind::pkFileList, QStringLiteral("File List"), QLatin1String(kUriListMimeType)});
  }
  if (!list.empty()) return list;

  QStringList taken;
  if (data->hasText()) {
    list.push_back({TPasteKind::pkText, QStringLiteral("Text"), QStringLiteral("text/plain")});
  }
  for (const char* type : kRichTextTypes) {
    if (data->hasFormat(QLatin1String(type))) {
      list.push_back(
          {TPasteKind::pkRichText, QStringLiteral("Rich Text Format"), QLatin1String(type)});
      taken << QLatin1String(type);
      break;
    }
  }
  if (data->hasText()) {
    list.push_back(
        {TPasteKind::pkUnicodeText, QStringLiteral("Unicode Text"), QStringLiteral("text/plain")});
  }
  if (data->hasImage() || data->hasFormat(QStringLiteral("image/bmp"))) {
    list.push_back(
        {TPasteKind::pkBitmap, QStringLiteral("Bitmap Picture"), QStringLiteral("image/bmp")});
    taken << QStringLiteral("image/bmp");
  }
  for (const NamedFormat& format : kNamedFormats) {
    const QString type = QLatin1String(format.mimeType);
    if (data->hasFormat(type)) {
      list.push_back({TPasteKind::pkRaw, QLatin1String(format.name), type});
      taken << type;
    }
  }
  const QStringList formats = data->formats();
  for (const QString& type : formats) {
    if (IsInternal(type) || taken.contains(type)) continue;
    list.push_back({TPasteKind::pkRaw, type, type});
    taken << type;
  }
  return list;
}

bool CanReadAsHexText(const QString& formatName) {
  return formatName == QLatin1String("Text") || formatName == QLatin1String("OEM Text");
}

std::optional<std::vector<uint8_t>> BytesOfCandidate(const QMimeData* data,
                                                     const TPasteCandidate& candidate,
                                                     const TPasteRequest& request) {
  if (data == nullptr) return std::nullopt;
  switch (candidate.kind) {
    case TPasteKind::pkPrivate: {
      const QByteArray block = data->data(candidate.mimeType);
      return DecodeClipboardBlock(
          {reinterpret_cast<const uint8_t*>(block.constData()), static_cast<size_t>(block.size())},
          request.maxBytes);
    }
    case TPasteKind::pkFileList:
      return FileListBytes(data, request);
    case TPasteKind::pkText:
      if (request.hexText) {
        // Hex text needs at most two digits per byte plus what it skips; read as Latin-1.
        return ReadHexText(data->text().toLatin1().toStdString(), request.swapNibbles,
                           request.maxBytes);
      }
      return EightBitText(data->text(), request.maxBytes);
    case TPasteKind::pkRichText: {
      const QByteArray rtf = data->data(candidate.mimeType);
      return BytesOfText(std::string_view(rtf.constData(), static_cast<size_t>(rtf.size())),
                         request.maxBytes);
    }
    case TPasteKind::pkUnicodeText:
      return UnicodeText(data->text(), request.maxBytes);
    case TPasteKind::pkBitmap:
      return BitmapBytes(data, request.maxBytes);
    case TPasteKind::pkRaw:
      break;
  }
  const QByteArray raw = data->data(candidate.mimeType);
  if (candidate.name == QLatin1String("RegEdit_HexData")) {
    return DecodeRegEditHexData(
        {reinterpret_cast<const uint8_t*>(raw.constData()), static_cast<size_t>(raw.size())},
        request.maxBytes);
  }
  return Cut(raw, request.maxBytes);
}

}  // namespace vantor
