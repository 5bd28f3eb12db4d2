// Running other programs from tests: quoting for the shell, capturing output, exit statuses.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tsn::test {

// `s` in single quotes for /bin/sh, single quotes inside it escaped.
inline std::string quoted(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The standard output of a shell command line (add "2>&1" to it for the errors too), or
// nothing when it could not run.
inline std::string capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

// Runs a shell command line; its exit status, or -1 when it did not exit normally.
inline int exit_status(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// True when /usr/bin/python3 can import ezdxf.
inline bool have_ezdxf() {
  return capture("/usr/bin/python3 -c 'import ezdxf' 2>&1").empty();
}

}  // namespace tsn::test
