// The tessaryn executable as a child process with the directory, TMPDIR, file size limit and
// standard output a test chooses; a child still running after 20 seconds dies of SIGALRM.
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
  ChildRun(std::vector<std::string> a, std::filesystem::path d, std::filesystem::path l)
      : args(std::move(a)), dir(std::move(d)), log(std::move(l)) {}

  std::vector<std::string> args;
  std::filesystem::path dir;  // working directory; the program directory is dir/home
  std::filesystem::path log;  // standard error, and standard output unless stdout_fd is set
  std::filesystem::path tmp;  // TMPDIR when not empty
  int stdout_fd = -1;
  rlim_t file_size_limit = 0;  // RLIMIT_FSIZE when not 0, SIGXFSZ ignored: a full disk

  pid_t start() const {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::setenv("TESSARYN_HOME", (dir / "home").c_str(), 1);
    if (!tmp.empty()) ::setenv("TMPDIR", tmp.c_str(), 1);
    const int err = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (::chdir(dir.c_str()) != 0 || err < 0 || ::dup2(stdout_fd >= 0 ? stdout_fd : err, 1) < 0 ||
        ::dup2(err, 2) < 0) {
      ::_exit(126);
    }
    const rlimit limit{file_size_limit, file_size_limit};
    if (file_size_limit != 0 && (::signal(SIGXFSZ, SIG_IGN), ::setrlimit(RLIMIT_FSIZE, &limit)) != 0) {
      ::_exit(126);
    }
    ::alarm(20);  // survives exec
    std::vector<char*> argv{const_cast<char*>(TSN_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(TSN_BINARY, argv.data());
    ::_exit(127);
  }
  int run() const { return wait_child(start()); }

  // The exit status, or 1000 + the signal that ended the child.
  static int wait_child(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  }
};

}  // namespace tsn::test
