#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/Clock.h"

namespace pen {

// The narrow view of the operating system that the Wintab finder needs. Each
// port has a Win32 implementation in inkprobe/win32/ and a fake in the tests.

struct TProcessEntry {
  uint32_t id = 0;
  std::string exeFile;  // as the process snapshot gives it: usually a bare file name
};

struct TModuleEntry {
  std::string name;  // module file name
  std::string path;  // full path of the module file
};

// Gone: the process had already ended, which frees its files as well.
enum class TTerminateOutcome { Terminated, Gone, Failed, NotOpened };

class IProcessPort {
 public:
  virtual ~IProcessPort() = default;
  // Every running process, in snapshot order. False when no snapshot could be taken.
  virtual bool ListProcesses(std::vector<TProcessEntry>& out) = 0;
  // The modules of one process, its executable first. False (or empty) when
  // the process is gone or cannot be inspected.
  virtual bool ListModules(uint32_t processId, std::vector<TModuleEntry>& out) = 0;
  // The full path of the process's executable, read through a query handle.
  virtual bool ImagePath(uint32_t processId, std::string& out) = 0;
  virtual TTerminateOutcome Terminate(uint32_t processId) = 0;
  virtual uint32_t CurrentProcessId() = 0;
};

class IClassRegistry {
 public:
  virtual ~IClassRegistry() = default;
  // Whether a programmatic identifier resolves to a class id.
  virtual bool ProgIdRegistered(const char* progId) = 0;
  // Default value of a key under the classes root, opened read-only.
  virtual bool ReadClassesRootDefault(const char* subKey, std::string& value) = 0;
};

class IFilePort {
 public:
  virtual ~IFilePort() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
};

class IWindowPort {
 public:
  virtual ~IWindowPort() = default;
  // Posts WM_QUIT to the top-level window of the class; false when none exists.
  virtual bool PostQuitToWindowOfClass(const char* className) = 0;
};

enum class TMessageIcon { Error, Warning };

class IMessagePort {
 public:
  virtual ~IMessagePort() = default;
  // A modal message box without an owner window; returns when the user closes it.
  virtual void Show(const std::string& caption, const std::string& text, TMessageIcon icon) = 0;
};

struct TFinderPorts {
  IProcessPort& processes;
  IClassRegistry& registry;
  IFilePort& files;
  IWindowPort& windows;
  IMessagePort& messages;
  IClock& clock;
};

}  // namespace pen
