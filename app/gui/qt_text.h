#pragma once
// Cells and files are raw 8-bit text; the screen gets them through Latin-1,
// which maps every byte to one character and back, so nothing is lost.
#include <QString>
#include <string>

namespace quorvin::gui {

inline QString Q(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string S(const QString& text) {
  QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
// For message boxes and labels: CR LF shows as one line break.
inline QString QDisplay(const std::string& bytes) {
  return Q(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace quorvin::gui
