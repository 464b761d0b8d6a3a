#pragma once
// Small helpers both end-to-end programs use to look at what the day left behind.
#include <QString>
#include <fstream>
#include <iterator>
#include <string>

#include "ground/grid.h"
#include "ground/platform.h"

namespace quorvin::test {

// A file's bytes as Latin-1 text, or "<missing>"; the name is UTF-8.
inline QString ReadFile(const std::string& path) {
  std::ifstream in(platform::PathOf(path), std::ios::binary);
  if (!in) return "<missing>";
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

inline QString CellText(const Grid& g, int row, int col) {
  return QString::fromStdString(g.Text(row, col));
}

}  // namespace quorvin::test
