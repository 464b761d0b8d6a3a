#pragma once
// The program's name and version, as the captions and the reports show them.
#include <string>

#include "build_config.h"

namespace quorvin {

inline constexpr const char* kAppTitle = "Quorvin";
inline constexpr int kVersionMajor = QUORVIN_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUORVIN_VERSION_MINOR;
inline constexpr int kVersionRevision = QUORVIN_VERSION_REVISION;

// "Quorvin v1.3" + suffix: the minor number is never shown, only major and revision.
inline std::string WindowCaption(int major, int revision, const std::string& suffix) {
  return std::string(kAppTitle) + " v" + std::to_string(major) + "." + std::to_string(revision) +
         suffix;
}
inline std::string WindowCaption(const std::string& suffix) {
  return WindowCaption(kVersionMajor, kVersionRevision, suffix);
}

}  // namespace quorvin
