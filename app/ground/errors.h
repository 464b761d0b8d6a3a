#pragma once
// Failures travel as exceptions carrying the description the clerk is shown;
// each handler catches them and reports them as the window's rules say.
#include <stdexcept>
#include <string>

namespace quorvin {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& description) : std::runtime_error(description) {}
  std::string Description() const { return what(); }
};

}  // namespace quorvin
