// The few thread primitives the C++ runtime calls on its own: the exception allocator's and the unwinder's
// locks, the guards of function-local statics, and the per-thread exception state. The compiler's runtime
// is built against the POSIX threads library, whose implementation for Windows weighs about 32 KB in every
// program; these forward to what Windows itself has (slim locks, condition variables, fiber-local storage).
// Our own code uses Windows threads directly and never calls these.
//
// Every function the runtime references is defined here, so the library's objects stay out of the link.
// Should a newer runtime call one more, the library object defining it comes back with its own copies of
// these, and the duplicate definitions stop the link: a change cannot slip through unnoticed.
#include <windows.h>
#include <errno.h>
#include <pthread.h>

namespace {

// A statically initialised mutex or condition variable holds -1 until its first use. Ours keep a slim lock
// or a condition variable in the same pointer-sized slot, and both of those start as 0: the first user swaps
// the -1 for a 0, atomically, so two first users cannot both do it.
template <typename Primitive>
Primitive* Prepared(intptr_t* slot) {
  static_assert(sizeof(Primitive) == sizeof(intptr_t), "the primitive must fit the library's slot");
  intptr_t staticInitial = -1;
  __atomic_compare_exchange_n(slot, &staticInitial, 0, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE);
  return reinterpret_cast<Primitive*>(slot);
}

// A pthread_once_t counts 0 (not run), 1 (running) and 2 (done).
constexpr long kOnceRunning = 1;
constexpr long kOnceDone = 2;

// Fiber-local storage calls a slot's clean-up with the value alone, in the system's calling convention; the
// runtime's destructors take the value in the C convention. A few fixed trampolines bridge the two, each
// knowing its key's destructor. The runtime makes one key (for its per-thread exception state).
constexpr int kMostKeys = 4;
void (*keyDestructors[kMostKeys])(void*);
long keysMade;

template <int Key>
void WINAPI RunKeyDestructor(void* value) {
  if (value && keyDestructors[Key]) keyDestructors[Key](value);
}

constexpr PFLS_CALLBACK_FUNCTION kKeyTrampolines[kMostKeys] = {RunKeyDestructor<0>, RunKeyDestructor<1>,
                                                               RunKeyDestructor<2>, RunKeyDestructor<3>};

}  // namespace

extern "C" {

int pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t*) {
  *mutex = 0;  // an unlocked slim lock
  return 0;
}

int pthread_mutex_destroy(pthread_mutex_t*) { return 0; }  // a slim lock holds nothing to free

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  AcquireSRWLockExclusive(Prepared<SRWLOCK>(mutex));
  return 0;
}

int pthread_mutex_unlock(pthread_mutex_t* mutex) {
  ReleaseSRWLockExclusive(Prepared<SRWLOCK>(mutex));
  return 0;
}

int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex) {
  return SleepConditionVariableSRW(Prepared<CONDITION_VARIABLE>(condition), Prepared<SRWLOCK>(mutex), INFINITE, 0)
             ? 0
             : EINVAL;
}

int pthread_cond_broadcast(pthread_cond_t* condition) {
  WakeAllConditionVariable(Prepared<CONDITION_VARIABLE>(condition));
  return 0;
}

int pthread_once(pthread_once_t* once, void (*run)(void)) {
  if (__atomic_load_n(once, __ATOMIC_ACQUIRE) == kOnceDone) return 0;
  long notRun = 0;
  if (__atomic_compare_exchange_n(once, &notRun, kOnceRunning, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
    run();
    __atomic_store_n(once, kOnceDone, __ATOMIC_RELEASE);
    return 0;
  }
  // Another thread runs it: the runtime's routines are short, so wait by giving way rather than by a lock.
  while (__atomic_load_n(once, __ATOMIC_ACQUIRE) != kOnceDone) Sleep(1);
  return 0;
}

int pthread_key_create(pthread_key_t* key, void (*destructor)(void*)) {
  long made = __atomic_fetch_add(&keysMade, 1, __ATOMIC_ACQ_REL);
  if (made >= kMostKeys) return EAGAIN;
  keyDestructors[made] = destructor;
  DWORD index = FlsAlloc(destructor ? kKeyTrampolines[made] : nullptr);
  if (index == FLS_OUT_OF_INDEXES) return EAGAIN;
  *key = index;
  return 0;
}

int pthread_key_delete(pthread_key_t key) { return FlsFree(key) ? 0 : EINVAL; }

// The runtime asks for its exception state between a failed call and the caller's GetLastError: keep it.
void* pthread_getspecific(pthread_key_t key) {
  DWORD lastError = GetLastError();
  void* value = FlsGetValue(key);
  SetLastError(lastError);
  return value;
}

int pthread_setspecific(pthread_key_t key, const void* value) {
  DWORD lastError = GetLastError();
  BOOL stored = FlsSetValue(key, const_cast<void*>(value));
  SetLastError(lastError);
  return stored ? 0 : ENOMEM;
}

}  // extern "C"
