#pragma once
// Cells and files are raw 8-bit text; the screen gets them through Latin-1,
// which maps every byte to one character and back, so nothing is lost.
// File and folder names are not contents: they are the system's, in the
// encoding it gives file names (UTF-8 here), and cross with QPath/SPath.
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <string>

namespace quorvin::gui {

inline QString Q(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string S(const QString& text) {
  QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
// The core takes names as UTF-8 on every system: on Windows the system's own
// 8-bit encoding would be the ANSI code page, which cannot hold every name.
inline QString QPath(const std::string& name) {
#ifdef Q_OS_WIN
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
#else
  return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
#endif
}
inline std::string SPath(const QString& name) {
#ifdef Q_OS_WIN
  return name.toUtf8().toStdString();
#else
  return QFile::encodeName(name).toStdString();
#endif
}
// For message boxes and labels: CR LF shows as one line break. A message may
// name a file: text that reads as UTF-8 (as a name in a folder called
// "Données" does) is shown as such; any other text is 8-bit as a cell.
inline QString QDisplay(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError()) text = Q(bytes);
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace quorvin::gui
