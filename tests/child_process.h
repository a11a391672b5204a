// Running a built program of ours as a child process, for end-to-end tests.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tolvenek {

// Starts `argv` (argv[0] is the program's path) with standard output and error
// going to the files `out` and `err`, in `folder` unless it is empty, with each
// variable of `env` set. Returns the child's pid, or -1 when none could start.
inline pid_t StartProgram(std::vector<std::string> argv, const std::filesystem::path& folder,
                          const std::filesystem::path& out, const std::filesystem::path& err,
                          const std::vector<std::pair<std::string, std::string>>& env = {}) {
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out_fd < 0 || err_fd < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) _exit(126);
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  return pid;
}

// The child's exit code, or 128 plus the signal that ended it; -1 for no child.
inline int WaitForProgram(pid_t pid) {
  if (pid < 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace tolvenek
