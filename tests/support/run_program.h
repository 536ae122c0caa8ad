// Running other programs from tests (our command-line program, independent readers).
#pragma once

#include <string>
#include <vector>

namespace forge::test {

struct ProgramRun {
  int status = -1;     // exit status; -1 when the program could not be started
  std::string output;  // standard output and standard error together
};

// Runs argv[0] (searched in PATH when it has no "/") and waits for it.
ProgramRun RunProgram(const std::vector<std::string>& argv);

// Runs build/bin/image-forge-cli with `args`.
ProgramRun RunCli(const std::vector<std::string>& args);

// True when `program` can be found in PATH.
bool HaveProgram(const std::string& program);

}  // namespace forge::test
