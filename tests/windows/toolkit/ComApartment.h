#pragma once
#include <objbase.h>

// Keeps COM ready on the test's thread while it lives (links, accessible objects).
struct ComApartment {
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};
