// A child process of vohost whose standard output and error come back as lines, each read with a time
// limit, so a child that crashes or hangs is reported without taking the parent down.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vohost {

struct ChildLine {
  enum class Kind { line, end, timeout };
  Kind kind;
  std::string text;  // without the line end
};

class ChildProcess {
 public:
  // Starts `program` with `arguments`; its output and errors share one pipe. Throws Error.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // Kills the child if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line, the end of the output, or a timeout when nothing came for `limit`.
  ChildLine readLine(std::chrono::milliseconds limit);
  void kill();
  // Waits for the child's end: "" for a zero exit, otherwise how it ended ("exit status 1", "signal 11").
  std::string wait();

 private:
  // child_process.cpp: the reader thread, common to both systems.
  void startReading();
  void readAll();
  // child_process_posix.cpp / child_process_win32.cpp: bytes of output, 0 at its end.
  size_t readChunk(char* buffer, size_t size);
  void closeOutput();

  std::intptr_t process_ = 0;  // a pid or a process handle
  std::intptr_t output_ = 0;   // the pipe's read end (a descriptor or a handle)
  bool waited_ = false;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::string> lines_;
  bool ended_ = false;
};

}  // namespace vohost
