// Child processes on Windows: CreateProcessW with the output and errors on one inherited pipe.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "vohost/checks/child_process.h"
#include "vohost/error.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

// One argument as the C runtime splits a command line: quoted, with backslashes before quotes doubled.
std::wstring quoted(const std::wstring& argument) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t unit : argument) {
    if (unit == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(unit == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += unit;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

std::wstring wide(const std::string& text) {
  nimbo::Text converted = fromUtf8(text);
  return std::wstring(converted.begin(), converted.end());
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  std::wstring commandLine = quoted(wide(program));
  for (const std::string& argument : arguments) commandLine += L" " + quoted(wide(argument));
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) throw Error("cannot make a pipe");
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION info{};
  BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &info);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    throw Error("cannot start a child: Windows error " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
  output_ = reinterpret_cast<std::intptr_t>(readEnd);
  startReading();
}

// A process the child starts (Wine's desktop, for one) can inherit the pipe and hold it open after the
// child has ended: the output ends when the child has ended and the pipe is empty, not at the pipe's end.
size_t ChildProcess::readChunk(char* buffer, size_t size) {
  HANDLE pipe = reinterpret_cast<HANDLE>(output_);
  HANDLE process = reinterpret_cast<HANDLE>(process_);
  for (bool ended = false;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return 0;
    if (available > 0) {
      DWORD got = 0;
      if (!ReadFile(pipe, buffer, std::min(available, static_cast<DWORD>(size)), &got, nullptr)) return 0;
      return got;
    }
    if (ended) return 0;
    // What the child wrote just before its end is still read, once more, after it.
    ended = WaitForSingleObject(process, 20) != WAIT_TIMEOUT;
  }
}

// The reader may still be waiting on the process handle: both handles go only after it has stopped.
void ChildProcess::closeOutput() {
  CloseHandle(reinterpret_cast<HANDLE>(output_));
  CloseHandle(reinterpret_cast<HANDLE>(process_));
}

void ChildProcess::kill() {
  if (!waited_) TerminateProcess(reinterpret_cast<HANDLE>(process_), 0xDEAD);
}

std::string ChildProcess::wait() {
  HANDLE process = reinterpret_cast<HANDLE>(process_);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  waited_ = true;
  if (code == 0) return {};
  char text[32];
  std::snprintf(text, sizeof text, code > 0xFFFF ? "exception 0x%08lX" : "exit status %lu",
                static_cast<unsigned long>(code));
  return text;
}

}  // namespace vohost
