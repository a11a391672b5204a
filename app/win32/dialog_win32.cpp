// The Win32 side of the Main dialog: DialogWindow as one-liners over the
// dialog's controls, the worker thread of a job, and the dialog procedure.
#include "dialog_win32.h"

#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "app/cancellable_file_system.h"
#include "app/generation_job.h"
#include "app/main_dialog.h"
#include "install/custom_scripts.h"
#include "install/folder_picker.h"
#include "platform/dialog_window.h"
#include "platform/file_system.h"
#include "platform/folder_browser.h"
#include "platform/registry.h"
#include "resource.h"

namespace tolvenek {

static_assert(IDC_GENERATE == kGenerateButtonId && IDC_EXIT == kExitButtonId);
static_assert(IDC_FIRST_MAP_BOX == kFirstMapBoxId &&
              IDC_LAST_MAP_BOX == kFirstMapBoxId + kBuiltinMapCount - 1);
static_assert(IDC_CHECK_BLIND_RANDOM == kCheckBlindRandomId && IDC_CHECK_LOCALE == kCheckLocaleId);
static_assert(IDC_CUSTOM_LIST == kCustomScriptListId && IDC_SCRIPT_CHOOSER == kScriptChooserId);
static_assert(IDC_ADD == kAddButtonId && IDC_BROWSE == kBrowseButtonId);
static_assert(IDC_GAME_FOLDER == kGameFolderFieldId && IDC_OUTPUT_NAME == kOutputNameFieldId);

namespace {

// WM_APP + 1: a job's outcome, a heap JobOutcome in lParam, freed here on the
// UI thread (WM_USER values may be taken by the dialog class itself).
constexpr UINT kJobFinishedMessage = WM_APP + 1;

class Win32DialogWindow : public DialogWindow {
 public:
  explicit Win32DialogWindow(HWND dialog) : dialog_(dialog) {}

  std::string GetItemText(int id) override {
    char text[256] = {};
    GetDlgItemTextA(dialog_, id, text, 255);
    return text;
  }
  void SetItemText(int id, std::string_view text) override {
    SetDlgItemTextA(dialog_, id, std::string(text).c_str());
  }
  bool IsChecked(int id) override { return IsDlgButtonChecked(dialog_, id) != 0; }
  void SetChecked(int id, bool checked) override {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  void EnableItem(int id, bool enabled) override { EnableWindow(Item(id), enabled); }
  bool IsItemEnabled(int id) override { return IsWindowEnabled(Item(id)) != 0; }

  int ListCount(int id) override {
    return int(Send(id, IsCombo(id) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  }
  std::string ListString(int id, int index) override {
    const LRESULT length = Send(id, IsCombo(id) ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0) return "";
    std::string text(size_t(length) + 1, '\0');
    const LRESULT got = Send(id, IsCombo(id) ? CB_GETLBTEXT : LB_GETTEXT, index,
                             reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : size_t(got));
    return text;
  }
  void AddListString(int id, std::string_view text) override {
    const std::string name(text);
    Send(id, IsCombo(id) ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  void DeleteListString(int id, int index) override {
    Send(id, IsCombo(id) ? CB_DELETESTRING : LB_DELETESTRING, index, 0);
  }

  void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                   bool owned) override {
    const UINT icon_flag = icon == MessageIcon::kError     ? MB_ICONERROR
                           : icon == MessageIcon::kWarning ? MB_ICONWARNING
                                                           : MB_ICONINFORMATION;
    MessageBoxA(owned ? dialog_ : nullptr, std::string(text).c_str(), std::string(caption).c_str(),
                MB_OK | icon_flag);
  }

  void EndDialog() override { ::EndDialog(dialog_, 0); }

 private:
  static bool IsCombo(int id) { return id == IDC_SCRIPT_CHOOSER; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  LRESULT Send(int id, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendDlgItemMessageA(dialog_, id, message, wparam, lparam);
  }

  HWND dialog_;
};

// Each job on a new, detached thread; the outcome goes back by PostMessage.
class ThreadJobStarter : public JobStarter {
 public:
  ThreadJobStarter(HWND dialog, FileSystem& fs) : dialog_(dialog), fs_(fs) {}

  bool StartJob(JobInputs inputs) override {
    try {
      auto job_fs = std::make_shared<CancellableFileSystem>(fs_);
      std::thread(&ThreadJobStarter::RunJob, dialog_, job_fs, std::move(inputs)).detach();
      current_ = std::move(job_fs);
      return true;
    } catch (const std::system_error&) {
      return false;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

  void AbandonJob() override {
    if (current_) current_->Cancel();
  }

 private:
  // The thread's entry: nothing may escape it.
  static void RunJob(HWND dialog, std::shared_ptr<CancellableFileSystem> fs,
                     JobInputs inputs) noexcept {
    JobOutcome* outcome = nullptr;
    try {
      outcome = new JobOutcome(RunGenerationJob(*fs, inputs));
    } catch (...) {
      outcome = new (std::nothrow) JobOutcome{true, "Out of memory", ""};
    }
    if (!outcome) return;  // nothing to tell; the button stays disarmed
    // Fails only when the dialog has gone: then nobody is left to tell.
    if (!PostMessageA(dialog, kJobFinishedMessage, 0, reinterpret_cast<LPARAM>(outcome))) {
      delete outcome;
    }
  }

  HWND dialog_;
  FileSystem& fs_;
  std::shared_ptr<CancellableFileSystem> current_;  // the last job's
};

// Everything one dialog needs, made at WM_INITDIALOG, gone at WM_NCDESTROY.
struct DialogState {
  explicit DialogState(HWND dialog)
      : window(dialog),
        jobs(dialog, SystemFileSystem()),
        logic(DialogSeams{window, SystemFileSystem(), SystemRegistry(), SystemFolderBrowser(), jobs,
                          dialog}) {}
  Win32DialogWindow window;
  ThreadJobStarter jobs;
  MainDialog logic;
};

DialogState* StateOf(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = new DialogState(dialog);
      SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      state->logic.Initialise();
      return TRUE;  // the focus goes to "Generate script"
    }
    case WM_COMMAND:
      if (DialogState* state = StateOf(dialog)) {
        return state->logic.Command(LOWORD(wparam), HIWORD(wparam));
      }
      return 0;
    case WM_CLOSE:
      if (DialogState* state = StateOf(dialog)) state->logic.Close();
      return TRUE;
    case kJobFinishedMessage: {
      std::unique_ptr<JobOutcome> outcome(reinterpret_cast<JobOutcome*>(lparam));
      if (DialogState* state = StateOf(dialog)) state->logic.FinishJob(*outcome);
      return TRUE;
    }
    case WM_NCDESTROY:
      delete StateOf(dialog);
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

INT_PTR CALLBACK MainDialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return HandleMessage(dialog, message, wparam, lparam);
  } catch (...) {
    return 0;  // an exception must not unwind through the dialog manager
  }
}

}  // namespace tolvenek
