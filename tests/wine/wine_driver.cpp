// Drives a running tolvenek.exe from outside, as a player would, through
// window messages sent by control id, and checks what the dialog shows.
//
//   tolvenek_wine_driver ACTION [ARG...] [ACTION [ARG...]]...
//
// Every check prints one line, "ok - what" or "not ok - what: why"; the exit
// code is the number of failed checks (or 100 when the arguments are wrong).
// Every wait is bounded (TOLVENEK_WAIT_SECONDS, default 60).
//
// Actions (ids are decimal control ids; lists are separated by '|'):
//   find                       wait for the dialog "Tolvenek" (the first action)
//   expect-controls N          the dialog has N child controls
//   expect-text ID TEXT        the control's text
//   expect-text-prefix ID TEXT the control's text starts so
//   expect-focus ID            the keyboard focus is on the control
//   expect-checked FIRST LAST 0|1   boxes FIRST..LAST are (un)checked
//   expect-entries ID A|B|C    the combo or list box holds exactly these, in order
//   expect-enabled ID 0|1
//   expect-running             button 1 still disabled with "Generating..."
//   set ID TEXT                WM_SETTEXT (the chooser's text for 1049)
//   check ID                   ticks a box with BM_CLICK if unticked
//   click ID                   BM_CLICK, posted (so a box it opens can't block us)
//   generate                   click 1 and watch it: disabled with "Generating..."
//   expect-box CAPTION TEXT    wait for a message box, check it, press OK
//   expect-no-box MS           no message box appears within MS milliseconds
//   browse-cancel | browse-ok  click "Browse", wait for the folder browser, close it
//   close                      WM_SYSCOMMAND SC_CLOSE (the close box)
//   escape                     the Escape key on the focused control
//   wait-gone                  wait until the dialog window is gone
//   sleep MS
#include "platform/win32_headers.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"

namespace {

int failures = 0;
HWND dialog = nullptr;
DWORD dialog_process = 0;
DWORD dialog_thread = 0;

DWORD WaitMilliseconds() {
  const char* seconds = std::getenv("TOLVENEK_WAIT_SECONDS");
  return DWORD(seconds ? std::atoi(seconds) : 60) * 1000;
}

void Report(bool good, const std::string& what, const std::string& why = "") {
  if (good) {
    std::printf("ok - %s\n", what.c_str());
  } else {
    ++failures;
    std::printf("not ok - %s%s%s\n", what.c_str(), why.empty() ? "" : ": ", why.c_str());
  }
  std::fflush(stdout);
}

std::string Text(HWND window) {
  char text[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &got);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND Item(int id) { return GetDlgItem(dialog, id); }

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? "|" : "") + parts[i];
  return text;
}

template <typename Done>
bool WaitFor(Done done, DWORD milliseconds = WaitMilliseconds()) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(2);
  }
  return true;
}

// A top-level window of the dialog's process, other than the dialog.
struct OtherWindow {
  std::string class_name;
  HWND found = nullptr;
};

BOOL CALLBACK FindOther(HWND window, LPARAM data) {
  auto* wanted = reinterpret_cast<OtherWindow*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == dialog_process && window != dialog && IsWindowVisible(window) &&
      (wanted->class_name.empty() || ClassOf(window) == wanted->class_name)) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND OtherTopWindow(const std::string& class_name = "#32770") {
  OtherWindow wanted{class_name};
  EnumWindows(FindOther, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

// The message text of a box: its static control with text.
BOOL CALLBACK FindBoxText(HWND child, LPARAM data) {
  if (ClassOf(child) == "Static" && !Text(child).empty()) {
    *reinterpret_cast<std::string*>(data) = Text(child);
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CountChild(HWND child, LPARAM data) {
  if (GetParent(child) == dialog) ++*reinterpret_cast<int*>(data);
  return TRUE;
}

std::vector<std::string> Entries(int id) {
  const bool combo = ClassOf(Item(id)) == "ComboBox";
  const LRESULT count = SendMessageA(Item(id), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::string> entries;
  for (LRESULT i = 0; i < count; ++i) {
    // Asked in UTF-16: across processes Wine hands an ANSI caller only the
    // first character of an entry.
    wchar_t wide[1024] = {};
    SendMessageW(Item(id), combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i),
                 reinterpret_cast<LPARAM>(wide));
    char text[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    entries.push_back(text);
  }
  return entries;
}

bool CloseBox(HWND box) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor([&] { return !IsWindow(box); }, 10000);
}

int Run(const std::vector<std::string>& args) {
  size_t i = 0;
  auto next = [&]() -> std::string {
    if (i >= args.size()) {
      std::printf("not ok - missing argument after %s\n", args.empty() ? "" : args.back().c_str());
      std::exit(100);
    }
    return args[i++];
  };
  auto next_int = [&]() { return std::atoi(next().c_str()); };

  while (i < args.size()) {
    const std::string action = next();
    if (action == "find") {
      const bool found = WaitFor([] {
        dialog = FindWindowA("#32770", "Tolvenek");
        return dialog && IsWindowVisible(dialog);
      });
      if (found) dialog_thread = GetWindowThreadProcessId(dialog, &dialog_process);
      Report(found, "the dialog \"Tolvenek\" appears");
      if (!found) return failures;
    } else if (action == "expect-controls") {
      const int expected = next_int();
      int count = 0;
      EnumChildWindows(dialog, CountChild, reinterpret_cast<LPARAM>(&count));
      Report(count == expected, "the dialog has " + std::to_string(expected) + " controls",
             "it has " + std::to_string(count));
    } else if (action == "expect-text" || action == "expect-text-prefix") {
      const int id = next_int();
      const std::string expected = next();
      const std::string text = Text(Item(id));
      const bool good = action == "expect-text" ? text == expected : text.rfind(expected, 0) == 0;
      Report(good, "control " + std::to_string(id) + " reads \"" + expected + "\"",
             "it reads \"" + text + "\"");
    } else if (action == "expect-focus") {
      const int id = next_int();
      GUITHREADINFO info = {};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(dialog_thread, &info);
      Report(info.hwndFocus == Item(id), "the focus is on control " + std::to_string(id),
             "it is on id " + std::to_string(GetDlgCtrlID(info.hwndFocus)));
    } else if (action == "expect-checked") {
      const int first = next_int();
      const int last = next_int();
      const bool checked = next_int() != 0;
      std::string wrong;
      for (int id = first; id <= last; ++id) {
        const bool is = SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (is != checked) wrong += " " + std::to_string(id);
      }
      Report(wrong.empty(),
             "boxes " + std::to_string(first) + ".." + std::to_string(last) +
                 (checked ? " checked" : " unchecked"),
             "not so:" + wrong);
    } else if (action == "expect-entries") {
      const int id = next_int();
      const std::string expected = next();
      const std::string entries = Join(Entries(id));
      Report(entries == expected, "control " + std::to_string(id) + " lists \"" + expected + "\"",
             "it lists \"" + entries + "\"");
    } else if (action == "expect-enabled") {
      const int id = next_int();
      const bool enabled = next_int() != 0;
      Report((IsWindowEnabled(Item(id)) != 0) == enabled,
             "control " + std::to_string(id) + (enabled ? " enabled" : " disabled"));
    } else if (action == "expect-running") {
      HWND button = Item(IDC_GENERATE);
      Report(!IsWindowEnabled(button) && Text(button) == "Generating...",
             "the job is still running (button 1 disabled, \"Generating...\")",
             "button 1 reads \"" + Text(button) + "\"");
    } else if (action == "set") {
      const int id = next_int();
      const std::string text = next();
      SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else if (action == "check") {
      const int id = next_int();
      if (SendMessageA(Item(id), BM_GETCHECK, 0, 0) != BST_CHECKED) {
        PostMessageA(Item(id), BM_CLICK, 0, 0);
        WaitFor([&] { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000);
      }
    } else if (action == "click") {
      const int id = next_int();
      PostMessageA(Item(id), BM_CLICK, 0, 0);
      // Let the dialog take it before the next action looks.
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    } else if (action == "generate") {
      HWND button = Item(IDC_GENERATE);
      PostMessageA(button, BM_CLICK, 0, 0);
      const bool running = WaitFor(
          [&] { return !IsWindowEnabled(button) && Text(button) == "Generating..."; }, 10000);
      Report(running, "button 1 is disabled and reads \"Generating...\" while the job runs",
             "seen: " + std::string(IsWindowEnabled(button) ? "enabled" : "disabled") + ", \"" +
                 Text(button) + "\"");
    } else if (action == "expect-box") {
      const std::string caption = next();
      const std::string expected = next();
      HWND box = nullptr;
      const bool shown = WaitFor([&] { return (box = OtherTopWindow()) != nullptr; });
      if (!shown) {
        Report(false, "a box \"" + expected + "\" appears", "none within the time");
        continue;
      }
      std::string text;
      EnumChildWindows(box, FindBoxText, reinterpret_cast<LPARAM>(&text));
      Report(Text(box) == caption, "the box's caption is \"" + caption + "\"",
             "it is \"" + Text(box) + "\"");
      Report(text == expected, "the box says \"" + expected + "\"", "it says \"" + text + "\"");
      if (caption != "Warning") {
        Report(GetWindow(box, GW_OWNER) == dialog, "the box is owned by the dialog");
        // While a report box is open, button 1 is armed again (Reporting).
        if (caption == "Tolvenek" || caption == "Error") {
          Report(
              IsWindowEnabled(Item(IDC_GENERATE)) && Text(Item(IDC_GENERATE)) == "Generate script",
              "button 1 is enabled and reads \"Generate script\" again");
        }
      } else {
        Report(GetWindow(box, GW_OWNER) == nullptr, "the warning has no owner window");
      }
      Report(CloseBox(box), "the box closes with OK");
    } else if (action == "expect-no-box") {
      const int milliseconds = next_int();
      HWND box = nullptr;
      const bool appeared =
          WaitFor([&] { return (box = OtherTopWindow()) != nullptr; }, DWORD(milliseconds));
      Report(!appeared, "no message box", appeared ? "\"" + Text(box) + "\" appeared" : "");
      if (appeared) CloseBox(box);
    } else if (action == "browse-cancel" || action == "browse-ok") {
      PostMessageA(Item(IDC_BROWSE), BM_CLICK, 0, 0);
      HWND browser = nullptr;
      const bool shown = WaitFor([&] { return (browser = OtherTopWindow()) != nullptr; });
      Report(shown, "the folder browser opens");
      if (!shown) continue;
      Report(GetWindow(browser, GW_OWNER) == dialog, "the folder browser is owned by the dialog");
      const int command = action == "browse-ok" ? IDOK : IDCANCEL;
      // Wine's browser goes on expanding its tree to the starting folder for
      // a while after it shows; OK before that confirms a folder on the way.
      Sleep(command == IDOK ? 2500 : 100);
      PostMessageA(browser, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(browser, command)));
      Report(WaitFor([&] { return !IsWindow(browser); }, 10000), "the folder browser closes");
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    } else if (action == "close") {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (action == "escape") {
      GUITHREADINFO info = {};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(dialog_thread, &info);
      HWND target = info.hwndFocus ? info.hwndFocus : dialog;
      PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    } else if (action == "wait-gone") {
      Report(WaitFor([] { return !IsWindow(dialog); }), "the dialog ends");
    } else if (action == "sleep") {
      Sleep(DWORD(next_int()));
    } else {
      std::printf("not ok - unknown action %s\n", action.c_str());
      return 100;
    }
  }
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return Run(args);
}
