#include "support/ServerProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvela::test {

namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe failed");
    read = fds[0];
    write = fds[1];
  }
};

int spawn(const std::string& program, const std::vector<std::string>& args, Pipe& in, Pipe& out,
          Pipe* err, std::size_t addressSpaceLimit = 0) {
  std::signal(SIGPIPE, SIG_IGN); // a child that exits early must not kill the test
  pid_t pid = fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(in.read, 0);
    dup2(out.write, 1);
    if (err)
      dup2(err->write, 2);
    if (addressSpaceLimit) {
      const rlimit limit{addressSpaceLimit, addressSpaceLimit};
      if (setrlimit(RLIMIT_AS, &limit) != 0)
        _exit(126);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in.read);
  close(out.write);
  if (err)
    close(err->write);
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

} // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, std::size_t addressSpaceLimit) {
  Pipe in, out, err;
  int pid = spawn(program, args, in, out, &err, addressSpaceLimit);
  ProcessResult result;
  std::size_t written = 0;
  int inFd = in.write;
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  bool outOpen = true, errOpen = true;
  char buffer[65536];
  while (outOpen || errOpen) {
    pollfd fds[3] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}, {inFd, POLLOUT, 0}};
    fds[0].fd = outOpen ? out.read : -1;
    fds[1].fd = errOpen ? err.read : -1;
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR)
        continue;
      break;
    }
    if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = ::write(inFd, input.data() + written, input.size() - written);
      if (n > 0)
        written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
        continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0)
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      else if (i == 0)
        outOpen = false;
      else
        errOpen = false;
    }
  }
  if (inFd >= 0)
    close(inFd);
  close(out.read);
  close(err.read);
  result.exitStatus = waitFor(pid);
  return result;
}

ProcessResult runWithoutReader(const std::string& program, const std::vector<std::string>& args,
                               const std::string& input) {
  Pipe in, out, err;
  const int pid = spawn(program, args, in, out, &err);
  close(out.read);
  // The child may end before it has read everything: a failed write is fine.
  for (std::size_t done = 0; done < input.size();) {
    const ssize_t n = ::write(in.write, input.data() + done, input.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  close(in.write);
  ProcessResult result;
  char buffer[4096];
  for (ssize_t n; (n = read(err.read, buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      break;
    result.err.append(buffer, static_cast<std::size_t>(n));
  }
  close(err.read);
  result.exitStatus = waitFor(pid);
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

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
  Pipe in, out;
  pid_ = spawn(program, args, in, out, nullptr);
  in_ = in.write;
  out_ = out.read;
}

ChildProcess::~ChildProcess() {
  closeInput();
  if (out_ >= 0)
    close(out_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitFor(pid_);
  }
}

void ChildProcess::write(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(in_, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      throw std::runtime_error("write to child failed");
    }
    done += static_cast<std::size_t>(n);
  }
}

bool ChildProcess::readLine(std::string& line, int timeoutMs) {
  for (;;) {
    std::size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      return true;
    }
    pollfd fd{out_, POLLIN, 0};
    int ready = poll(&fd, 1, timeoutMs);
    if (ready <= 0)
      return false;
    char buffer[4096];
    ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0)
      return false;
    pending_.append(buffer, static_cast<std::size_t>(n));
  }
}

void ChildProcess::closeInput() {
  if (in_ >= 0) {
    close(in_);
    in_ = -1;
  }
}

int ChildProcess::wait() {
  closeInput();
  int status = waitFor(pid_);
  pid_ = -1;
  return status;
}

} // namespace orvela::test
