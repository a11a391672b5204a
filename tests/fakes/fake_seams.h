// Small fakes of the dialog's other seams: the registry, the folder browser
// and the worker start. Each records its calls; one told it must not be
// called fails the test when it is.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "platform/folder_browser.h"
#include "platform/registry.h"

namespace tolvenek {

class FakeRegistry : public GameRegistry {
 public:
  std::string game_path;  // "" is a missing key or value
  int reads = 0;
  std::string ReadGamePath() override {
    ++reads;
    return game_path;
  }
};

class FakeFolderBrowser : public FolderBrowser {
 public:
  bool must_not_be_called = false;
  std::optional<std::string> choice;                 // nullopt: the player cancels
  std::vector<std::pair<std::string, void*>> calls;  // start, owner

  std::string PickFolder(const std::string& start, void* owner) override {
    if (must_not_be_called) ADD_FAILURE() << "the folder browser was opened at " << start;
    calls.push_back({start, owner});
    return choice ? *choice : start;
  }
};

// Starts nothing: keeps the inputs so a test can look at them, run the job
// itself and hand the outcome back with MainDialog::FinishJob.
class FakeJobStarter : public JobStarter {
 public:
  bool must_not_be_called = false;
  bool refuse = false;  // as if no thread could be started
  std::vector<JobInputs> started;
  std::function<void(const JobInputs&)> on_start;  // runs inside StartJob

  bool StartJob(JobInputs inputs) override {
    if (must_not_be_called) ADD_FAILURE() << "a job was started";
    if (on_start) on_start(inputs);
    if (refuse) return false;
    started.push_back(std::move(inputs));
    return true;
  }
  int abandoned = 0;
  void AbandonJob() override { ++abandoned; }
};

}  // namespace tolvenek
