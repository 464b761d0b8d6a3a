#pragma once
// The interfaces through which the core reaches the screen and the clock. The
// Qt layer implements them with real windows; tests implement them with
// scripted fakes.
#include <exception>
#include <limits>
#include <optional>
#include <string>

#include "ground/dates.h"

namespace quorvin {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// YesNoDefaultNo: a question whose Enter must not do the irreversible thing.
enum class MsgButtons { Ok, YesNo, YesNoDefaultNo };
enum class MsgAnswer { Ok, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                            MsgButtons buttons) = 0;
  // The same box with the words that decided it (a server's reply, the system's
  // error) under its fixed text, as the box's details. Without a place to show
  // them the box is shown as it stands.
  virtual MsgAnswer MessageWithDetails(const std::string& text, const std::string& title,
                                       MsgIcon icon, MsgButtons buttons,
                                       const std::string& details) {
    (void)details;
    return Message(text, title, icon, buttons);
  }
  // Open-file dialog, opened in startFolder (when given; a file's path opens
  // on that file, chosen for the clerk to confirm); nullopt when the
  // clerk cancels. filter is "Label|*.X|Label|*.*", filterIndex counts from 1.
  virtual std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                              int filterIndex, const std::string& startFolder) = 0;
  // Folder browser; an empty text when the clerk cancels.
  virtual std::string BrowseFolder(const std::string& title, const std::string& startFolder) = 0;
  // Opens the text viewer on a file and does not wait for it.
  virtual void ViewTextFile(const std::string& path) = 0;
};

// The window a long handler runs in.
class WindowPort {
 public:
  virtual ~WindowPort() = default;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetWaitCursor(bool wait) = 0;
  virtual void ProcessPendingEvents() = 0;
};

// Text width in twips in the font of the window that holds a grid.
class TextMeasure {
 public:
  static constexpr int kMaxTwips = std::numeric_limits<int>::max();

  virtual ~TextMeasure() = default;
  virtual int WidthTwips(std::string_view text) const = 0;
  // No byte is wider than this; lets widening skip measuring texts that cannot widen.
  virtual int MaxCharWidthTwips() const = 0;
};

// A measure for code without a screen: every byte 105 twips (7 pixels at 96 dpi).
class FixedTextMeasure : public TextMeasure {
 public:
  explicit FixedTextMeasure(int twipsPerChar = 105) : perChar_(twipsPerChar) {}
  int WidthTwips(std::string_view text) const override {
    // A cell of tens of millions of bytes would not fit an int: such a width
    // stops at the largest one.
    long long width = static_cast<long long>(text.size()) * perChar_;
    return width < kMaxTwips ? static_cast<int>(width) : kMaxTwips;
  }
  int MaxCharWidthTwips() const override { return perChar_; }

 private:
  int perChar_;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
  Date Today() const { return Now().date; }
};

class SystemClock : public Clock {
 public:
  DateTime Now() const override;
};

// Shows a plain message box: the description under the application title, no icon, OK.
void ShowErrorDescription(Dialogs& dialogs, const std::string& description);
// The same for a failure caught as an exception, in words: running out of
// memory says so rather than showing the library's name for it.
void ShowErrorDescription(Dialogs& dialogs, const std::exception& failure);
std::string DescribeFailure(const std::exception& failure);

}  // namespace quorvin
