// The desktop application under LeakSanitizer (the native test build): the
// D-Bus library that Qt's status item and theme use keeps buffers for the
// process's lifetime on purpose. Ignored there, and only there; the symbol
// is never looked at in builds without the sanitizer.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
