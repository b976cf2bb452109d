// A stand-in wintab32.dll for the end-to-end tests: loading it is all it does.
#include <windows.h>

extern "C" __declspec(dllexport) int InkprobeFakeWintab() { return 42; }
