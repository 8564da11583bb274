// Child processes on Linux: fork and exec with the output and errors on one pipe.
#include <fcntl.h>
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

size_t ChildProcess::readChunk(char* buffer, size_t size) {
  for (;;) {
    ssize_t got = read(static_cast<int>(output_), buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) return 0;
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
