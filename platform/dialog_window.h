// The dialog seam: the main window's controls by id, and the message boxes.
// The dialog logic talks only to this; the Win32 implementation is one-liners
// over the control messages, and tests use an in-memory one.
//
// All calls come from the UI thread.
#pragma once

#include <string>
#include <string_view>

namespace tolvenek {

enum class MessageIcon { kInformation, kWarning, kError };

class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // A field's or caption's text, cut to its first 254 characters.
  virtual std::string GetItemText(int id) = 0;
  virtual void SetItemText(int id, std::string_view text) = 0;

  virtual bool IsChecked(int id) = 0;
  // Sets a check box's state; no click is reported.
  virtual void SetChecked(int id, bool checked) = 0;

  virtual void EnableItem(int id, bool enabled) = 0;
  virtual bool IsItemEnabled(int id) = 0;

  // The string lists of the chooser (1049) and the Custom script list (1048).
  // Both are sorted controls: AddListString puts the text at its sorted place.
  virtual int ListCount(int id) = 0;
  virtual std::string ListString(int id, int index) = 0;
  virtual void AddListString(int id, std::string_view text) = 0;
  virtual void DeleteListString(int id, int index) = 0;

  // A modal box with an OK button. `owned` makes the dialog its owner; the
  // enumeration's warnings have no owner window.
  virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                           bool owned) = 0;

  // Ends the modal loop after the current message.
  virtual void EndDialog() = 0;
};

}  // namespace tolvenek
