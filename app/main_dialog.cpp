#include "app/main_dialog.h"

#include <memory>
#include <utility>

#include "install/custom_scripts.h"
#include "install/folder_picker.h"
#include "install/game_folder.h"
#include "pack/build_pack.h"

namespace tolvenek {

void MainDialog::Initialise() {
  game_folder_ = DetectGameFolder(seams_.fs, seams_.registry);
  RefillScriptChooser(seams_.window, seams_.fs, game_folder_);
  seams_.window.SetItemText(kGameFolderFieldId, game_folder_);
  seams_.window.SetItemText(kOutputNameFieldId, kDefaultOutputName);
}

int MainDialog::Command(int id, int notification) {
  if (notification != 0) return notification;
  switch (id) {
    case kGenerateButtonId:
      Generate();
      break;
    case kExitButtonId:
      Close();
      break;
    case kCheckBlindRandomId:
      CheckGroup(id, kBlindRandomFirst, kBlindRandomLast);
      break;
    case kCheckLocaleId:
      CheckGroup(id, kLocaleFirst, kLocaleLast);
      break;
    case kAddButtonId:
      AddCustomScript(seams_.window, seams_.fs);
      break;
    case kBrowseButtonId:
      BrowseGameFolder(seams_.window, seams_.fs, seams_.browser, seams_.native_handle,
                       &game_folder_);
      break;
    default:
      break;  // a map box, or anything else: nothing to do
  }
  return 0;
}

void MainDialog::Generate() {
  // The dialog manager may send id 1 for Enter even while the default button
  // is disabled, so the running job, not only the button, guards this.
  if (job_running_) return;
  DialogWindow& window = seams_.window;
  window.EnableItem(kGenerateButtonId, false);
  window.SetItemText(kGenerateButtonId, kGeneratingCaption);

  // One value holds everything the job reads, so "Add", "Browse" and "Exit"
  // during the job can neither change the pack nor move where it goes.
  JobInputs inputs;
  for (int i = 0; i < kBuiltinMapCount; ++i) {
    inputs.selection[size_t(i)] = window.IsChecked(kFirstMapBoxId + i);
  }
  const int custom_count = window.ListCount(kCustomScriptListId);
  for (int i = 0; i < custom_count; ++i) {
    inputs.custom_names.push_back(window.ListString(kCustomScriptListId, i));
  }
  inputs.output_name = window.GetItemText(kOutputNameFieldId);
  game_folder_ = window.GetItemText(kGameFolderFieldId);
  inputs.game_folder = EnterGameFolder(seams_.fs, game_folder_);

  job_folder_ = inputs.game_folder;
  // Only a plain file name can be the job's target.
  job_target_ = CheckOutputName(inputs.output_name).empty()
                    ? JoinPath(JoinPath(job_folder_, "random"), inputs.output_name)
                    : std::string();
  FsError error = FsError::kOk;
  job_target_existed_ = seams_.fs.OpenForReading(job_target_, &error) != nullptr ||
                        (error != FsError::kNotFound && error != FsError::kPathNotFound);
  job_running_ = true;
  if (!seams_.jobs.StartJob(std::move(inputs))) {
    job_running_ = false;
    RearmGenerate();
    window.ShowMessage(kCannotStartJob, "Error", MessageIcon::kError, /*owned=*/true);
  }
}

void MainDialog::RearmGenerate() {
  seams_.window.EnableItem(kGenerateButtonId, true);
  seams_.window.SetItemText(kGenerateButtonId, kGenerateCaption);
}

void MainDialog::FinishJob(const JobOutcome& outcome) {
  if (!job_running_) return;  // an abandoned job's late outcome
  job_running_ = false;
  RearmGenerate();
  if (outcome.failed) {
    seams_.window.ShowMessage(outcome.message, "Error", MessageIcon::kError, /*owned=*/true);
  } else {
    seams_.window.ShowMessage(kScriptGenerated, "Tolvenek", MessageIcon::kInformation,
                              /*owned=*/true);
  }
}

void MainDialog::CheckGroup(int all_box, int first, int last) {
  const bool checked = seams_.window.IsChecked(all_box);
  for (int id = first; id <= last; ++id) seams_.window.SetChecked(id, checked);
}

void MainDialog::Close() {
  FileSystem& fs = seams_.fs;
  fs.SetCurrentFolder("Random");
  fs.RemoveFile(std::string(kTempPackName));
  // A job still running wrote in its own folder, which "Browse" may have
  // moved the current folder away from. (On Windows a file still open is
  // deleted when the job or the process closes it.)
  if (job_running_) {
    seams_.jobs.AbandonJob();
    fs.RemoveFile(JoinPath(JoinPath(job_folder_, "random"), kTempPackName));
    FsError error = FsError::kOk;
    std::unique_ptr<ReadableFile> target = fs.OpenForReading(job_target_, &error);
    const bool empty = target && target->Size() == 0;
    target.reset();
    if (!job_target_existed_ && empty && !job_target_.empty()) fs.RemoveFile(job_target_);
    job_running_ = false;  // abandoned: its outcome is not reported
  }
  seams_.window.EndDialog();
}

}  // namespace tolvenek
