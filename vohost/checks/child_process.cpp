// The part of a child process common to both systems: a thread reads the pipe into lines, so the parent
// can wait for the next one with a time limit.
#include "vohost/checks/child_process.h"

namespace vohost {

void ChildProcess::startReading() {
  reader_ = std::thread([this] { readAll(); });
}

void ChildProcess::readAll() {
  std::string partial;
  char buffer[4096];
  while (size_t size = readChunk(buffer, sizeof buffer)) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < size; ++i) {
      if (buffer[i] == '\n') {
        if (!partial.empty() && partial.back() == '\r') partial.pop_back();
        lines_.push_back(std::move(partial));
        partial.clear();
      } else {
        partial += buffer[i];
      }
    }
    arrived_.notify_all();
  }
  std::lock_guard lock(mutex_);
  if (!partial.empty()) lines_.push_back(std::move(partial));
  ended_ = true;
  arrived_.notify_all();
}

ChildLine ChildProcess::readLine(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  if (!arrived_.wait_for(lock, limit, [this] { return !lines_.empty() || ended_; })) {
    return {ChildLine::Kind::timeout, {}};
  }
  if (lines_.empty()) return {ChildLine::Kind::end, {}};
  ChildLine line{ChildLine::Kind::line, std::move(lines_.front())};
  lines_.pop_front();
  return line;
}

ChildProcess::~ChildProcess() {
  if (!waited_) {
    kill();
    wait();
  }
  if (reader_.joinable()) reader_.join();
  closeOutput();
}

}  // namespace vohost
