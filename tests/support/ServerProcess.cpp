#include "support/ServerProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvela::test {

namespace {

/// Starts `program` with `args` on the given standard streams, under `addressSpaceLimit` bytes of
/// address space (0: none). Answers the child's process id.
int spawn(const std::string& program, const std::vector<std::string>& args, int in, int out,
          int err, std::size_t addressSpaceLimit) {
  std::signal(SIGPIPE, SIG_IGN); // a child that exits early must not kill the test
  const pid_t pid = fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    const rlimit limit{addressSpaceLimit, addressSpaceLimit};
    if (addressSpaceLimit && setrlimit(RLIMIT_AS, &limit) != 0)
      _exit(126);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

int waitFor(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  if (WIFSIGNALED(status))
    return 128 + WTERMSIG(status);
  return -1;
}

/// Appends everything that can be read from `fd` to `text`.
void readAll(int fd, std::string& text) {
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n > 0)
      text.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR)
      break;
  }
}

} // namespace

// The input comes from a file and standard error goes to one, so that only
// standard output is a pipe and no poll loop is needed.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, std::size_t addressSpaceLimit, bool readOutput) {
  const std::unique_ptr<FILE, int (*)(FILE*)> in(std::tmpfile(), std::fclose);
  const std::unique_ptr<FILE, int (*)(FILE*)> err(std::tmpfile(), std::fclose);
  if (!in || !err || std::fwrite(input.data(), 1, input.size(), in.get()) != input.size())
    throw std::runtime_error("temporary file failed");
  std::rewind(in.get());
  std::array<int, 2> out; // {read end, write end}, closed on exec
  if (pipe2(out.data(), O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  if (!readOutput)
    close(out[0]); // before the child starts, so that its every write fails
  const int pid =
      spawn(program, args, fileno(in.get()), out[1], fileno(err.get()), addressSpaceLimit);
  close(out[1]);
  ProcessResult result;
  if (readOutput) {
    readAll(out[0], result.out);
    close(out[0]);
  }
  result.exitStatus = waitFor(pid);
  lseek(fileno(err.get()), 0, SEEK_SET);
  readAll(fileno(err.get()), result.err);
  return result;
}

ProcessResult runServer(const std::string& input, std::size_t addressSpaceLimit) {
  return runProcess(ORVELA_SERVER_PATH, {}, input, addressSpaceLimit);
}

#ifdef ORVELA_VERIFIER_PATH
ProcessResult runVerifier(const std::vector<std::string>& args, const std::string& input) {
  return runProcess(ORVELA_VERIFIER_PATH, args, input);
}
#endif

} // namespace orvela::test
