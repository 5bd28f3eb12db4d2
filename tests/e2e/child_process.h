// The tessaryn executable started as a child process with the directory, environment, file
// size limit and standard output a test chooses.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tsn::test {

struct ChildRun {
  std::vector<std::string> args;
  std::filesystem::path dir;   // working directory; the program directory is dir/home
  std::filesystem::path tmp;   // TMPDIR when not empty
  std::filesystem::path log;   // standard error, and standard output unless stdout_fd is set
  int stdout_fd = -1;
  rlim_t file_size_limit = 0;  // RLIMIT_FSIZE when not 0, with SIGXFSZ ignored as a full disk
};

// The usual run: arguments, working directory, one log for both streams.
inline ChildRun child_run(std::vector<std::string> args, const std::filesystem::path& dir,
                          const std::filesystem::path& log) {
  ChildRun run;
  run.args = std::move(args);
  run.dir = dir;
  run.log = log;
  return run;
}

inline pid_t start_child(const ChildRun& run) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  if (::chdir(run.dir.c_str()) != 0) ::_exit(126);
  ::setenv("TESSARYN_HOME", (run.dir / "home").c_str(), 1);
  if (!run.tmp.empty()) ::setenv("TMPDIR", run.tmp.c_str(), 1);
  const int log = ::open(run.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (log < 0 || ::dup2(run.stdout_fd >= 0 ? run.stdout_fd : log, 1) < 0 || ::dup2(log, 2) < 0) {
    ::_exit(126);
  }
  if (run.file_size_limit != 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{run.file_size_limit, run.file_size_limit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
  }
  std::vector<char*> argv{const_cast<char*>(TSN_BINARY)};
  for (const std::string& a : run.args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(TSN_BINARY, argv.data());
  ::_exit(127);
}

// The exit status, or 1000 + the signal that ended the child.
inline int wait_child(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

inline int run_child(const ChildRun& run) { return wait_child(start_child(run)); }

}  // namespace tsn::test
