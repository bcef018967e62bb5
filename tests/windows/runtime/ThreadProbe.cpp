// Built like our programs, with our thread primitives under the C++ runtime in place of the threads
// library: works the runtime's own uses of them from many threads at once and exits with the number of
// checks that failed (0 when all held). ThreadPrimitivesTest runs it.
#include <windows.h>
#include <pthread.h>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kThreads = 16;
std::atomic<int> failures{0};
void Check(bool held) {
  if (!held) ++failures;
}

// A function-local static whose construction is slow: every thread must see it built once, and whole.
std::atomic<int> slowBuilds{0};
struct SlowToBuild {
  int value;
  SlowToBuild() : value(42) {
    ++slowBuilds;
    Sleep(20);
  }
};
int SharedValue() {
  static SlowToBuild shared;
  return shared.value;
}

// Each thread throws and catches in a loop: the runtime's per-thread exception state and its exception
// allocator's lock are in use everywhere at once.
int ThrowAndCatch(int thread) {
  int caught = 0;
  for (int i = 0; i < 200; ++i) {
    try {
      try {
        throw std::runtime_error(std::to_string(thread * 1000 + i));
      } catch (const std::exception& inner) {
        if (std::stoi(inner.what()) != thread * 1000 + i) return -1;
        throw;  // rethrown from inside a handler: the nested state must come back right
      }
    } catch (const std::runtime_error&) {
      ++caught;
    }
  }
  return caught;
}

std::atomic<int> keyDestructorRuns{0};
pthread_key_t probeKey;
int keyValue;

DWORD WINAPI Worker(void* parameter) {
  int thread = static_cast<int>(reinterpret_cast<INT_PTR>(parameter));
  Check(SharedValue() == 42);
  Check(ThrowAndCatch(thread) == 200);
  Check(pthread_getspecific(probeKey) == nullptr);
  pthread_setspecific(probeKey, &keyValue);
  Check(pthread_getspecific(probeKey) == &keyValue);
  return 0;
}

std::atomic<int> onceRuns{0};
pthread_once_t once = PTHREAD_ONCE_INIT;
DWORD WINAPI RunOnce(void*) {
  pthread_once(&once, [] {
    Sleep(20);
    ++onceRuns;
  });
  return 0;
}

pthread_mutex_t recursiveLock = PTHREAD_RECURSIVE_MUTEX_INITIALIZER;
pthread_mutex_t plainLock = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t signalCondition = PTHREAD_COND_INITIALIZER;
std::atomic<bool> waiting{false};
bool signalled = false;  // guarded by recursiveLock
DWORD WINAPI WaitForSignal(void*) {
  pthread_mutex_lock(&recursiveLock);
  waiting = true;
  while (!signalled) pthread_cond_wait(&signalCondition, &recursiveLock);
  pthread_mutex_unlock(&recursiveLock);
  return 0;
}

void RunThreads(LPTHREAD_START_ROUTINE routine) {
  std::vector<HANDLE> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.push_back(CreateThread(nullptr, 0, routine, reinterpret_cast<void*>(static_cast<INT_PTR>(i)), 0, nullptr));
  for (HANDLE thread : threads) {
    Check(thread != nullptr && WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0);
    CloseHandle(thread);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Check(pthread_key_create(&probeKey, [](void* value) {
          if (value == &keyValue) ++keyDestructorRuns;
        }) == 0);
  RunThreads(Worker);
  Check(slowBuilds == 1);
  Check(keyDestructorRuns == kThreads);  // each thread's value was handed to the destructor as it ended
  RunThreads(RunOnce);
  Check(onceRuns == 1);

  // Statically initialised locks and a condition variable, as the runtime declares its own: the guard of
  // statics takes a recursive one and waits on the condition with it.
  pthread_mutex_lock(&recursiveLock);
  pthread_mutex_lock(&recursiveLock);
  pthread_mutex_unlock(&recursiveLock);
  pthread_mutex_unlock(&recursiveLock);
  HANDLE waiter = CreateThread(nullptr, 0, WaitForSignal, nullptr, 0, nullptr);
  while (!waiting) Sleep(1);
  pthread_mutex_lock(&recursiveLock);  // the waiter released it while it waits
  signalled = true;
  pthread_cond_broadcast(&signalCondition);
  pthread_mutex_unlock(&recursiveLock);
  Check(waiter != nullptr && WaitForSingleObject(waiter, 30000) == WAIT_OBJECT_0);
  CloseHandle(waiter);
  pthread_mutex_lock(&plainLock);
  pthread_mutex_unlock(&plainLock);

  SetLastError(ERROR_FILE_NOT_FOUND);
  (void)pthread_getspecific(probeKey);
  Check(GetLastError() == ERROR_FILE_NOT_FOUND);
  return failures;
}
