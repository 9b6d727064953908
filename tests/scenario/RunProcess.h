#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace gatehouse::scenario {

// Runs a program, command[0] being its path, in the current folder and
// environment, with nothing on standard input and its standard output and
// error written to the two files, and answers its exit status (128 + N when
// signal N ended it, as a shell reports). Throws std::runtime_error when the
// program cannot be started. The test's own time limit bounds the wait.
int RunProcess(const std::vector<std::string>& command, const std::filesystem::path& out,
               const std::filesystem::path& err);

// The command line's arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLine(int argc, char** argv);

// Sets a variable of this process's environment, which the programs it runs
// inherit.
void SetEnvironment(const std::string& name, const std::string& value);

}  // namespace gatehouse::scenario
