// An in-memory Main dialog: a map from control id to control state, with the
// 64 controls of template 101 (texts, kinds), sorted lists that insert where
// the Win32 controls do (SortedInsertPosition), and a record of every message
// box. A call on an id the template lacks, or on a control of the wrong kind,
// fails the test loudly.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/catalogue.h"
#include "install/custom_scripts.h"
#include "platform/dialog_window.h"

namespace tolvenek {

class FakeDialogWindow : public DialogWindow {
 public:
  enum class Kind { kButton, kCheckBox, kEdit, kComboBox, kListBox };

  struct Control {
    Kind kind = Kind::kButton;
    std::string text;
    bool checked = false;
    bool enabled = true;
    std::vector<std::string> entries;  // combo and list boxes, sorted
  };

  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool owned;
  };

  FakeDialogWindow() {
    Add(1, Kind::kButton, "Generate script");
    Add(2, Kind::kButton, "Exit");
    for (int i = 0; i < kBuiltinMapCount; ++i) {
      Add(kFirstMapBoxId + i, Kind::kCheckBox, std::string(BuiltinCatalogue()[size_t(i)].label));
    }
    Add(1047, Kind::kCheckBox, "Check/uncheck all");
    Add(1048, Kind::kListBox, "");
    Add(1049, Kind::kComboBox, "");
    Add(1050, Kind::kButton, "Add");
    Add(1051, Kind::kEdit, "");
    Add(1052, Kind::kEdit, "");
    Add(1054, Kind::kButton, "Browse");
    Add(1055, Kind::kCheckBox, "Check/uncheck all");
  }

  // The control with `id`, for tests to set up and inspect.
  Control& control(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) {
      ADD_FAILURE() << "the dialog has no control " << id;
      return scratch_;
    }
    return found->second;
  }
  const std::vector<std::string>& entries(int id) { return control(id).entries; }

  std::vector<Message> messages;
  bool ended = false;
  // Runs while a box is "open", before ShowMessage returns.
  std::function<void(const Message&)> on_message;

  // DialogWindow:
  std::string GetItemText(int id) override {
    Control& c = Expect(id, {Kind::kButton, Kind::kCheckBox, Kind::kEdit, Kind::kComboBox});
    return c.text.substr(0, 254);  // a read asks for at most 255 with the terminator
  }
  void SetItemText(int id, std::string_view text) override {
    Expect(id, {Kind::kButton, Kind::kCheckBox, Kind::kEdit, Kind::kComboBox}).text = text;
  }
  bool IsChecked(int id) override { return Expect(id, {Kind::kCheckBox}).checked; }
  void SetChecked(int id, bool checked) override {
    Expect(id, {Kind::kCheckBox}).checked = checked;
  }
  void EnableItem(int id, bool enabled) override { control(id).enabled = enabled; }
  bool IsItemEnabled(int id) override { return control(id).enabled; }

  int ListCount(int id) override { return int(List(id).entries.size()); }
  std::string ListString(int id, int index) override {
    Control& c = List(id);
    if (index < 0 || size_t(index) >= c.entries.size()) {
      ADD_FAILURE() << "control " << id << " has no entry " << index;
      return "";
    }
    return c.entries[size_t(index)];
  }
  void AddListString(int id, std::string_view text) override {
    Control& c = List(id);
    c.entries.insert(c.entries.begin() + long(SortedInsertPosition(c.entries, text)),
                     std::string(text));
  }
  void DeleteListString(int id, int index) override {
    Control& c = List(id);
    if (index < 0 || size_t(index) >= c.entries.size()) {
      ADD_FAILURE() << "control " << id << " has no entry " << index << " to delete";
      return;
    }
    c.entries.erase(c.entries.begin() + index);
  }

  void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                   bool owned) override {
    if (ended) ADD_FAILURE() << "a message box after the dialog ended: " << text;
    messages.push_back({std::string(text), std::string(caption), icon, owned});
    if (on_message) on_message(messages.back());
  }

  void EndDialog() override {
    if (ended) ADD_FAILURE() << "the dialog was ended twice";
    ended = true;
  }

 private:
  void Add(int id, Kind kind, std::string text) {
    Control c;
    c.kind = kind;
    c.text = std::move(text);
    controls_[id] = c;
  }

  Control& Expect(int id, std::initializer_list<Kind> kinds) {
    Control& c = control(id);
    for (Kind kind : kinds) {
      if (c.kind == kind) return c;
    }
    ADD_FAILURE() << "control " << id << " is not of the kind this call needs";
    return scratch_;
  }
  Control& List(int id) { return Expect(id, {Kind::kComboBox, Kind::kListBox}); }

  std::map<int, Control> controls_;
  Control scratch_;
};

}  // namespace tolvenek
