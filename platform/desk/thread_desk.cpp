// Threads with a large stack, through POSIX threads (std::thread cannot size its stack). One stack
// mapping serves every job: jobs run one at a time, and mapping a gigabyte anew costs more than many a
// match.
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {

void* runJob(void* job) {
  (*static_cast<const std::function<void()>*>(job))();
  return nullptr;
}

// The lowest address of the calling thread's stack; 0 when unknown. Asking costs a read of the process's
// memory map on the main thread, so each thread asks once.
uintptr_t stackLowest() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return 0;
  void* lowest = nullptr;
  size_t size = 0;
  int failed = pthread_attr_getstack(&attributes, &lowest, &size);
  pthread_attr_destroy(&attributes);
  return failed ? 0 : reinterpret_cast<uintptr_t>(lowest);
}

// Reserved once, committed page by page as a job's recursion reaches it; its lowest page is a guard.
class LargeStack {
 public:
  LargeStack() {
    void* mapping = mmap(nullptr, kLargeStackBytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED) return;
    base_ = static_cast<char*>(mapping);
    mprotect(base_, guardBytes(), PROT_NONE);
  }
  ~LargeStack() {
    if (base_) munmap(base_, kLargeStackBytes);
  }
  LargeStack(const LargeStack&) = delete;
  LargeStack& operator=(const LargeStack&) = delete;

  char* usable() const { return base_ ? base_ + guardBytes() : nullptr; }
  size_t usableBytes() const { return kLargeStackBytes - guardBytes(); }
  // Gives the pages a deep job touched back to the system.
  void release() const { madvise(usable(), usableBytes(), MADV_DONTNEED); }

 private:
  static size_t guardBytes() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }
  char* base_ = nullptr;
};

}  // namespace

// The one mapping is reserved without backing, so it holds any job up to kLargeStackBytes whatever the
// job asks; pages are committed only as the job reaches them.
bool runOnLargeStack(size_t stackBytes, const std::function<void()>& job) {
  static const LargeStack stack;
  if (!stack.usable() || stackBytes > stack.usableBytes()) return false;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  pthread_t thread;
  bool started = pthread_attr_setstack(&attributes, stack.usable(), stack.usableBytes()) == 0 &&
                 pthread_create(&thread, &attributes, runJob, const_cast<std::function<void()>*>(&job)) == 0;
  pthread_attr_destroy(&attributes);
  if (started) {
    pthread_join(thread, nullptr);
    stack.release();
  }
  return started;
}

// The answer is kept for the thread that asked last: the game asks from its one thread. No thread_local:
// a dlopened module's dynamic TLS trips the leak checker's scan of a thread at exit.
size_t stackRoom() {
  static pthread_t asked = pthread_self();
  static uintptr_t low = stackLowest();
  if (!pthread_equal(asked, pthread_self())) {
    asked = pthread_self();
    low = stackLowest();
  }
  char here = 0;
  auto position = reinterpret_cast<uintptr_t>(&here);
  return low == 0 || position <= low ? 0 : position - low;
}

}  // namespace nimbo::platform
