#pragma once
#include "common/Trace.h"

namespace pen {

// Starts a program the way the shell does (Win32: ShellExecuteA with the
// program's window, no parameters, no folder, shown normally). Failures are
// not reported: a soft key has nobody to tell.
class IProgramLauncher {
 public:
  virtual ~IProgramLauncher() = default;
  // `verb` null for the file's default action. Both texts must outlive the
  // call: the start may be carried out later on another thread.
  virtual void Start(const char* verb, const char* file) = 0;
};

// Notes the start in the trace and passes it on, or only notes it when
// there is nothing to pass it to (test runs start no programs).
class TTracedLauncher final : public IProgramLauncher {
 public:
  TTracedLauncher(IProgramLauncher* inner, ITrace* trace) : inner_(inner), trace_(trace) {}
  void Start(const char* verb, const char* file) override {
    TraceLine(trace_, "program %s (verb %s): %s", file, verb ? verb : "none",
              inner_ ? "started" : "not started in a test run");
    if (inner_) inner_->Start(verb, file);
  }

 private:
  IProgramLauncher* inner_;
  ITrace* trace_;
};

}  // namespace pen
