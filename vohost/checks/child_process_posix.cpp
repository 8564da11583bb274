// Child processes on Linux: fork and exec with the output and errors on one pipe.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "vohost/checks/child_process.h"
#include "vohost/error.h"

namespace vohost {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0)
    throw Error(std::string("cannot make a pipe: ") + std::strerror(errno));
  pid_t pid = fork();
  if (pid < 0) throw Error(std::string("cannot start a child: ") + std::strerror(errno));
  if (pid == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  process_ = pid;
  output_ = pipeEnds[0];
  startReading();
}

namespace {

// Whether the child has ended, without collecting its status (wait() does that).
bool hasEnded(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

}  // namespace

// A process the child starts can inherit the pipe and hold it open after the child has ended: the output
// ends when the child has ended and the pipe is empty, not at the pipe's end.
size_t ChildProcess::readChunk(char* buffer, size_t size) {
  pollfd output{static_cast<int>(output_), POLLIN, 0};
  for (bool ended = false;;) {
    int ready = poll(&output, 1, ended ? 0 : 20);
    if (ready < 0 && errno != EINTR) return 0;
    if (ready > 0) {
      ssize_t got = read(output.fd, buffer, size);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) return 0;
      continue;
    }
    if (ended) return 0;
    // What the child wrote just before its end is still read, once more, after it.
    ended = hasEnded(static_cast<pid_t>(process_));
  }
}

void ChildProcess::closeOutput() {
  close(static_cast<int>(output_));
}

void ChildProcess::kill() {
  if (!waited_) ::kill(static_cast<pid_t>(process_), SIGKILL);
}

std::string ChildProcess::wait() {
  int status = 0;
  while (waitpid(static_cast<pid_t>(process_), &status, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  if (WIFSIGNALED(status)) {
    return std::string("signal ") + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) +
           ")";
  }
  if (WEXITSTATUS(status) != 0) return std::string("exit status ") + std::to_string(WEXITSTATUS(status));
  return {};
}

}  // namespace vohost
