#pragma once
// Real Qt dialogs behind the core's Dialogs port.
#include <QPointer>
#include <QWidget>

#include "ground/ports.h"

namespace quorvin::gui {

class QtDialogs : public Dialogs {
 public:
  // Dialogs are owned by the active window, or by `fallbackParent` when none is active.
  void SetFallbackParent(QWidget* parent) { fallbackParent_ = parent; }

  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override;
  MsgAnswer MessageWithDetails(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons, const std::string& details) override;
  std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                      int filterIndex, const std::string& startFolder) override;
  std::string BrowseFolder(const std::string& title, const std::string& startFolder) override;
  void ViewTextFile(const std::string& path) override;

 private:
  QWidget* Owner() const;
  QPointer<QWidget> fallbackParent_;
};

// "Label|*.X|Label|*.*" as Qt name filters; extension patterns also match lower case.
QStringList ToQtNameFilters(const std::string& filter);

}  // namespace quorvin::gui
