#pragma once
#include <cstdint>

// Told by an extraction after every step how far it has got; it decides what to show and whether pending
// window messages run meanwhile.
class ProgressSink {
 public:
  virtual void Progress(std::int64_t position) = 0;

 protected:
  ~ProgressSink() = default;
};
