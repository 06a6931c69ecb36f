// Running a program from a test as a shell would: its standard output and exit status.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace vesk::test {

struct CommandRun {
  int status = -1;  // the exit status; -1 when the command did not run or did not exit
  std::string out;
};

// Runs a shell command: its standard output and exit status.
inline CommandRun runCommand(const std::string& command) {
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 65536> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Runs a command and returns its standard output.
inline std::string commandOutput(const std::string& command) { return runCommand(command).out; }

}  // namespace vesk::test
