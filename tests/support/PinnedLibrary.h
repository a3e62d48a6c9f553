// Keeps a real shared library mapped for the rest of the test program.
//
// Code under test that binds a library with dlopen and later dlclose's it unmaps the library's
// globals, and whatever the library allocated through them (constructors, per-thread state) then
// looks leaked to LeakSanitizer. A test that binds a real library pins it first; the code under
// test still opens and closes its own handle as usual.
#pragma once

namespace orvtest {

// dlopen with RTLD_NODELETE, never closed. True when the library could be loaded.
bool PinSharedLibrary(const char* soname);

}  // namespace orvtest
