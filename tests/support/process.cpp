#include "support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

#ifndef VORLINDE_BINARY
#error "VORLINDE_BINARY must name the built program"
#endif

#ifndef VORLINDE_QUERY_BINARY
#error "VORLINDE_QUERY_BINARY must name the built query program"
#endif

namespace {

ProcessResult runBinary(const char* binary, const std::vector<std::string>& args,
                        const std::string& workDir, const std::string& programName,
                        const std::string& stdinPath) {
  TempDir capture;
  const std::string outPath = capture.file("stdout"), errPath = capture.file("stderr");
  const int in = ::open(stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t child = startProgram(binary, args, workDir, in, out, errPath, programName);
  ::close(in), ::close(out);
  const int status = finishWithin(child, 0);
  return {status < 256 ? status : -1, readFile(outPath), readFile(errPath)};
}

}  // namespace

pid_t startProgram(const char* binary, const std::vector<std::string>& args,
                   const std::string& workDir, int in, int out, const std::string& errPath,
                   const std::string& programName) {
  std::vector<char*> argv{const_cast<char*>(programName.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err < 0 || in < 0 || chdir(workDir.c_str()) != 0) _exit(121);
    if (dup2(in, 0) < 0 || (out < 0 ? close(1) : dup2(out, 1)) < 0 || dup2(err, 2) < 0) _exit(121);
    // As a shell starts it, whatever the test runner ignores.
    signal(SIGPIPE, SIG_DFL);
    execv(binary, argv.data());
    _exit(120);
  }
  return child;
}

int finishWithin(pid_t child, int seconds) {
  int waitStatus = 0;
  if (seconds == 0) waitpid(child, &waitStatus, 0);
  for (int waited = 0; seconds > 0 && waitpid(child, &waitStatus, WNOHANG) == 0; ++waited) {
    if (waited == seconds * 1000) {
      kill(child, SIGKILL);
      waitpid(child, &waitStatus, 0);
      return -1;
    }
    usleep(1000);
  }
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 1000 + WTERMSIG(waitStatus);
}

ProcessResult runVorlinde(const std::vector<std::string>& args, const std::string& workDir,
                          const std::string& programName) {
  return runBinary(VORLINDE_BINARY, args, workDir, programName, "/dev/null");
}

ProcessResult runQueryTool(const std::vector<std::string>& args, const std::string& workDir,
                           const std::string& stdinPath) {
  return runBinary(VORLINDE_QUERY_BINARY, args, workDir, "vorlinde-query", stdinPath);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vorlinde-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string withoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex("-?[0-9]+ms\n"), "Nms\n");
}

void expectRuns(const std::vector<ExpectedRun>& runs, const std::string& workDir) {
  for (const ExpectedRun& run : runs) {
    SCOPED_TRACE(testing::PrintToString(run.args));
    const ProcessResult result = runVorlinde(run.args, workDir);
    EXPECT_EQ(result.status, run.status);
    EXPECT_EQ(result.out, run.out);
    EXPECT_EQ(withoutTimes(result.err), run.err);
  }
}

std::set<std::string> entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.insert(entry.path().filename());
  }
  return names;
}
