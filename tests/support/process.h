#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <vector>

// Runs the real vorlinde binary as a process and captures what it printed.

struct ProcessResult {
  int status = -1;  // exit status 0..255, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs the binary with the given arguments in workDir. argv[0] is programName,
// so the usage text can be checked for the name as typed.
ProcessResult runVorlinde(const std::vector<std::string>& args, const std::string& workDir = ".",
                          const std::string& programName = "vorlinde");

// Runs vorlinde-query the same way, its standard input read from stdinPath.
ProcessResult runQueryTool(const std::vector<std::string>& args, const std::string& workDir = ".",
                           const std::string& stdinPath = "/dev/null");

// Starts a built program (VORLINDE_BINARY, VORLINDE_QUERY_BINARY) in workDir
// with in and out as its standard input and output (out -1: closed) and its
// standard error into the file errPath.
pid_t startProgram(const char* binary, const std::vector<std::string>& args,
                   const std::string& workDir, int in, int out, const std::string& errPath,
                   const std::string& programName);

// The exit status of a started program, or 1000 + the signal that ended it;
// -1, the program killed, when it has not ended within seconds (0: no limit).
int finishWithin(pid_t child, int seconds);

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
// The names in a folder; none when it is gone (a process that ended has no
// descriptors to list).
std::set<std::string> entries(const std::string& folder);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// One run of the binary and everything it must print.
struct ExpectedRun {
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;  // "Nms" stands for the milliseconds of any timing line
};

// Timing lines differ from run to run; everything else must match exactly.
std::string withoutTimes(const std::string& text);

// Runs each in workDir and compares status, standard output and standard error.
void expectRuns(const std::vector<ExpectedRun>& runs, const std::string& workDir);
