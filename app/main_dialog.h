// The Main dialog's logic: initialisation, the command dispatch,
// the six commands and the report of a finished job. Written against the
// seams only, so every command runs natively against fakes; app/win32/ wires
// it to the real dialog.
//
// Everything here runs on the UI thread. The one exception is what a
// JobStarter does on its worker, which sees nothing but the JobInputs value.
#pragma once

#include <string>
#include <string_view>

#include "app/generation_job.h"
#include "platform/dialog_window.h"
#include "platform/file_system.h"
#include "platform/folder_browser.h"
#include "platform/registry.h"

namespace tolvenek {

// Control ids; app/win32/resource.h names the same ids for the resource
// script (checked there at compile time). 1048, 1049 and 1051 are in
// install/custom_scripts.h and install/folder_picker.h.
constexpr int kGenerateButtonId = 1;
constexpr int kExitButtonId = 2;
constexpr int kCheckBlindRandomId = 1047;
constexpr int kAddButtonId = 1050;
constexpr int kOutputNameFieldId = 1052;
constexpr int kBrowseButtonId = 1054;
constexpr int kCheckLocaleId = 1055;
// The map boxes of the two "Check/uncheck all" groups.
constexpr int kBlindRandomFirst = 1001, kBlindRandomLast = 1023;
constexpr int kLocaleFirst = 1024, kLocaleLast = 1042;

inline constexpr std::string_view kGenerateCaption = "Generate script";
inline constexpr std::string_view kGeneratingCaption = "Generating...";
inline constexpr std::string_view kDefaultOutputName = "sample.rms";
inline constexpr std::string_view kCannotStartJob =
    "Cannot start the generation job. Please try again";

// The worker-start seam. StartJob runs RunGenerationJob on `inputs` on a new
// thread and later hands the outcome to MainDialog::FinishJob on the UI
// thread; it returns false, having started nothing, when no thread could be
// started.
class JobStarter {
 public:
  virtual ~JobStarter() = default;
  virtual bool StartJob(JobInputs inputs) = 0;
  // Abandons the running job, if any: when this returns the job creates,
  // writes or moves no file any more (see app/cancellable_file_system.h), and
  // its outcome, should it still come, is not reported.
  virtual void AbandonJob() = 0;
};

// What the dialog works through. All references must outlive the MainDialog.
struct DialogSeams {
  DialogWindow& window;
  FileSystem& fs;
  GameRegistry& registry;
  FolderBrowser& browser;
  JobStarter& jobs;
  void* native_handle = nullptr;  // owner of the folder browser
};

class MainDialog {
 public:
  explicit MainDialog(const DialogSeams& seams) : seams_(seams) {}

  // WM_INITDIALOG: detection, the chooser fill, fields 1051 and 1052.
  void Initialise();

  // WM_COMMAND. Returns the dialog's result: the notification code when it is
  // not 0 (no command runs), otherwise 0.
  int Command(int id, int notification);

  // "Exit", Escape and WM_CLOSE: delete the temporary pack file in "Random"
  // below the current folder and end the dialog; the current folder stays in
  // "Random". A running job is abandoned first; then its own temporary file
  // goes, and its target when that is an empty file the job's probe made (it
  // did not exist when the job started). So Exit leaves no partial pack: the
  // target is as before, or a whole pack the job had already moved in.
  void Close();

  // A job's outcome, back on the UI thread: re-arms button 1 and shows the
  // report box (owned by the dialog).
  void FinishJob(const JobOutcome& outcome);

  const std::string& game_folder() const { return game_folder_; }
  bool job_running() const { return job_running_; }

 private:
  void Generate();
  void CheckGroup(int all_box, int first, int last);
  void RearmGenerate();

  DialogSeams seams_;
  std::string game_folder_;  // the process-wide Game folder
  bool job_running_ = false;
  std::string job_folder_;  // the running job's absolute Game folder
  std::string job_target_;  // the running job's pack, absolute
  bool job_target_existed_ = false;
};

}  // namespace tolvenek
