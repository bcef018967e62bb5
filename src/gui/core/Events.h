#pragma once
#include <utility>

namespace gui {

// Raises an event through a copy of its handler. A handler may assign the same event anew while it runs
// (a page that lays the bar again from inside a click of the same button); the copy keeps the running
// closure and its captures alive until it returns.
template <class Handler, class... Args>
void Raise(const Handler& handler, Args&&... args) {
  if (!handler) return;
  Handler running = handler;
  running(std::forward<Args>(args)...);
}

// Runs body, then always; always also runs when body throws, and body's error goes on afterwards.
template <class Body, class Always>
void RunThenAlways(Body&& body, Always&& always) {
  try {
    body();
  } catch (...) {
    always();
    throw;
  }
  always();
}

}  // namespace gui
