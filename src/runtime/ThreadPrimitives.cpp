// The few thread primitives the C++ runtime calls on its own: the exception allocator's and the unwinder's
// locks, the guards of function-local statics, and the per-thread exception state. The compiler's runtime
// is built against the POSIX threads library, whose implementation for Windows weighs about 32 KB in every
// program; these forward to what Windows itself has (critical sections, condition variables, fiber-local storage).
// Our own code uses Windows threads directly and never calls these.
//
// Every function the runtime references is defined here, so the library's objects stay out of the link.
// Should a newer runtime call one more, the library object defining it comes back with its own copies of
// these, and the duplicate definitions stop the link: a change cannot slip through unnoticed.
#include <windows.h>
#include <errno.h>
#include <pthread.h>

namespace {

// A mutex slot holds a pointer to a critical section, made at its first use when the slot was initialised
// statically: with -1, or -3 for the one recursive mutex the runtime declares (its guard of function-local
// statics), which is why these are critical sections, recursive by nature, rather than slim locks. Two
// first users may both make one; the one who swaps it in first wins and the other frees its own.
constexpr intptr_t kLowestStaticInitial = -3;

bool StaticallyInitial(intptr_t slotValue) { return slotValue < 0 && slotValue >= kLowestStaticInitial; }

CRITICAL_SECTION* MadeCriticalSection() {
  auto* section = static_cast<CRITICAL_SECTION*>(HeapAlloc(GetProcessHeap(), 0, sizeof(CRITICAL_SECTION)));
  if (section) InitializeCriticalSection(section);
  return section;
}

void FreeCriticalSection(CRITICAL_SECTION* section) {
  DeleteCriticalSection(section);
  HeapFree(GetProcessHeap(), 0, section);
}

CRITICAL_SECTION* SectionOf(pthread_mutex_t* mutex) {
  intptr_t current = __atomic_load_n(mutex, __ATOMIC_ACQUIRE);
  while (StaticallyInitial(current)) {
    CRITICAL_SECTION* made = MadeCriticalSection();
    if (!made) return nullptr;
    if (__atomic_compare_exchange_n(mutex, &current, reinterpret_cast<intptr_t>(made), false, __ATOMIC_ACQ_REL,
                                    __ATOMIC_ACQUIRE))
      return made;
    FreeCriticalSection(made);  // another thread was first; current now holds its section
  }
  return reinterpret_cast<CRITICAL_SECTION*>(current);
}

// A condition variable fits its slot as it is; a statically initialised one holds -1 until its first use,
// and a condition variable's own initial value is 0.
CONDITION_VARIABLE* ConditionOf(pthread_cond_t* condition) {
  static_assert(sizeof(CONDITION_VARIABLE) == sizeof(pthread_cond_t), "a condition variable fits the slot");
  intptr_t staticInitial = -1;
  __atomic_compare_exchange_n(condition, &staticInitial, 0, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE);
  return reinterpret_cast<CONDITION_VARIABLE*>(condition);
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
  CRITICAL_SECTION* made = MadeCriticalSection();
  if (!made) return ENOMEM;
  *mutex = reinterpret_cast<intptr_t>(made);
  return 0;
}

int pthread_mutex_destroy(pthread_mutex_t* mutex) {
  if (!StaticallyInitial(*mutex)) FreeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(*mutex));
  *mutex = -1;
  return 0;
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  CRITICAL_SECTION* section = SectionOf(mutex);
  if (!section) return ENOMEM;
  EnterCriticalSection(section);
  return 0;
}

int pthread_mutex_unlock(pthread_mutex_t* mutex) {
  CRITICAL_SECTION* section = SectionOf(mutex);
  if (!section) return EPERM;
  LeaveCriticalSection(section);
  return 0;
}

int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex) {
  CRITICAL_SECTION* section = SectionOf(mutex);
  if (!section) return EINVAL;
  return SleepConditionVariableCS(ConditionOf(condition), section, INFINITE) ? 0 : EINVAL;
}

int pthread_cond_broadcast(pthread_cond_t* condition) {
  WakeAllConditionVariable(ConditionOf(condition));
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
