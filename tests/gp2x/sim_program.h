// sim_program.h: runs copperbramble-sim (CB_SIM_PROGRAM) through the shell and collects its exit
// status and output; whether a tool is installed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "scratch_dir.h"

struct ProgramRun {
  int status;
  std::string out, err;
};

inline std::string ReadWholeFile(const std::string& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a command through the shell, standard output and error into files of the scratch folder.
inline ProgramRun RunProgram(const std::string& arguments, const ScratchDir& dir,
                             const std::string& environment = "") {
  const std::string out = (dir.path() / "out.txt").string(), err = (dir.path() / "err.txt").string();
  const int raw = std::system((environment + " " + CB_SIM_PROGRAM + " " + arguments + " >" + out +
                               " 2>" + err).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out), ReadWholeFile(err)};
}

inline bool HaveCommand(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}
