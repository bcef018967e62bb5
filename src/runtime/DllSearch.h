#pragma once

namespace runtime {

// Limits where this process looks for DLLs to the system folder, so that a DLL planted beside a downloaded
// program or in the current folder is never loaded. Every program runs this before anything else (see
// DllSearchAtStart.cpp); it is safe to run again. Returns false where the system offers no way to limit the search
// to the system folder (Windows 7 without its 2011 loader update); the current folder is dropped even then.
bool RestrictDllSearch();

}  // namespace runtime
