// wintab32.dll: the Wintab functions under their names and the ordinals
// the interface assigns them (see the .def files), over the portable
// session. Optional functions that this library does not offer answer
// failure, as the interface allows.
#include <windows.h>

#include <cstring>
#include <mutex>

#include "wintab/win32/WintabHost.h"

using pen::wintab::LOGCONTEXTA;
using pen::wintab::LOGCONTEXTW;
using pen::wintab::TWintabContext;
using pen::wintab::win32::TWintabHost;

namespace {

using HCTX = void*;
using HMGR = void*;
using HWTHOOK = void*;
using WTENUMPROC = BOOL(WINAPI*)(HCTX, LPARAM);

uint64_t Id(const void* h) { return reinterpret_cast<uintptr_t>(h); }
void* Handle(uint64_t id) { return reinterpret_cast<void*>(static_cast<uintptr_t>(id)); }

using Guard = std::lock_guard<std::recursive_mutex>;

TWintabHost& Host() { return TWintabHost::Instance(); }

TWintabContext* Context(HCTX h) { return Host().Session().Find(Id(h)); }

LOGCONTEXTW Wide(const LOGCONTEXTA* a) { return pen::wintab::Widen(*a); }

HCTX Open(HWND window, const LOGCONTEXTW& lc, BOOL enable) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  Guard g(Host().lock);
  Host().Attach();
  return Handle(Host().Session().Open(reinterpret_cast<uintptr_t>(window), lc, enable != FALSE));
}

}  // namespace

extern "C" {

UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID out) {
  Guard g(Host().lock);
  return Host().Info().Get(category, index, out, false);
}

UINT WINAPI WTInfoW(UINT category, UINT index, LPVOID out) {
  Guard g(Host().lock);
  return Host().Info().Get(category, index, out, true);
}

HCTX WINAPI WTOpenA(HWND window, LOGCONTEXTA* lc, BOOL enable) {
  if (lc == nullptr) return nullptr;
  return Open(window, Wide(lc), enable);
}

HCTX WINAPI WTOpenW(HWND window, LOGCONTEXTW* lc, BOOL enable) {
  if (lc == nullptr) return nullptr;
  return Open(window, *lc, enable);
}

BOOL WINAPI WTClose(HCTX ctx) {
  Guard g(Host().lock);
  return Host().Session().Close(Id(ctx)) ? TRUE : FALSE;
}

int WINAPI WTPacketsGet(HCTX ctx, int maxPackets, LPVOID out) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  return c == nullptr ? 0 : c->PacketsGet(maxPackets, static_cast<uint8_t*>(out));
}

BOOL WINAPI WTPacket(HCTX ctx, UINT serial, LPVOID out) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  return c != nullptr && c->PacketBySerial(serial, static_cast<uint8_t*>(out)) ? TRUE : FALSE;
}

BOOL WINAPI WTEnable(HCTX ctx, BOOL enable) {
  Guard g(Host().lock);
  return Host().Session().Enable(Id(ctx), enable != FALSE) ? TRUE : FALSE;
}

BOOL WINAPI WTOverlap(HCTX ctx, BOOL toTop) {
  Guard g(Host().lock);
  return Host().Session().Overlap(Id(ctx), toTop != FALSE) ? TRUE : FALSE;
}

// The settings belong to the service's own windows.
BOOL WINAPI WTConfig(HCTX, HWND) { return FALSE; }

BOOL WINAPI WTGetA(HCTX ctx, LOGCONTEXTA* out) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  if (c == nullptr || out == nullptr) return FALSE;
  *out = pen::wintab::Narrow(c->Settings());
  return TRUE;
}

BOOL WINAPI WTGetW(HCTX ctx, LOGCONTEXTW* out) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  if (c == nullptr || out == nullptr) return FALSE;
  *out = c->Settings();
  return TRUE;
}

BOOL WINAPI WTSetA(HCTX ctx, LOGCONTEXTA* lc) {
  if (lc == nullptr) return FALSE;
  Guard g(Host().lock);
  return Host().Session().Set(Id(ctx), Wide(lc)) ? TRUE : FALSE;
}

BOOL WINAPI WTSetW(HCTX ctx, LOGCONTEXTW* lc) {
  if (lc == nullptr) return FALSE;
  Guard g(Host().lock);
  return Host().Session().Set(Id(ctx), *lc) ? TRUE : FALSE;
}

// No extensions (IFC_NEXTENSIONS is 0).
BOOL WINAPI WTExtGet(HCTX, UINT, LPVOID) { return FALSE; }
BOOL WINAPI WTExtSet(HCTX, UINT, LPVOID) { return FALSE; }

BOOL WINAPI WTSave(HCTX ctx, LPVOID out) {
  Guard g(Host().lock);
  return Host().Session().Save(Id(ctx), static_cast<uint8_t*>(out)) ? TRUE : FALSE;
}

HCTX WINAPI WTRestore(HWND window, LPVOID saved, BOOL enable) {
  if (window == nullptr || !IsWindow(window) || saved == nullptr) return nullptr;
  Guard g(Host().lock);
  Host().Attach();
  return Handle(Host().Session().Restore(reinterpret_cast<uintptr_t>(window), static_cast<const uint8_t*>(saved),
                                         enable != FALSE));
}

int WINAPI WTPacketsPeek(HCTX ctx, int maxPackets, LPVOID out) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  return c == nullptr ? 0 : c->PacketsPeek(maxPackets, static_cast<uint8_t*>(out));
}

int WINAPI WTDataGet(HCTX ctx, UINT begin, UINT end, int maxPackets, LPVOID out, LPINT copied) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  int n = 0;
  const int total = c == nullptr ? 0 : c->DataGet(begin, end, maxPackets, static_cast<uint8_t*>(out), n, true);
  if (copied != nullptr) *copied = n;
  return total;
}

int WINAPI WTDataPeek(HCTX ctx, UINT begin, UINT end, int maxPackets, LPVOID out, LPINT copied) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  int n = 0;
  const int total = c == nullptr ? 0 : c->DataGet(begin, end, maxPackets, static_cast<uint8_t*>(out), n, false);
  if (copied != nullptr) *copied = n;
  return total;
}

int WINAPI WTQueueSizeGet(HCTX ctx) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  return c == nullptr ? 0 : c->QueueSize();
}

BOOL WINAPI WTQueueSizeSet(HCTX ctx, int packets) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  return c != nullptr && c->SetQueueSize(packets) ? TRUE : FALSE;
}

BOOL WINAPI WTQueuePacketsEx(HCTX ctx, UINT* oldest, UINT* newest) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  uint32_t o = 0, n = 0;
  if (c == nullptr || !c->OldestAndNewest(o, n)) return FALSE;
  if (oldest != nullptr) *oldest = o;
  if (newest != nullptr) *newest = n;
  return TRUE;
}

// Managers see this process's contexts; the defaults and the cursors'
// preferences are the service's and stay as they are.
HMGR WINAPI WTMgrOpen(HWND window, UINT) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  Guard g(Host().lock);
  return Handle(Host().Session().OpenManager());
}

BOOL WINAPI WTMgrClose(HMGR manager) {
  Guard g(Host().lock);
  return Host().Session().CloseManager(Id(manager)) ? TRUE : FALSE;
}

BOOL WINAPI WTMgrContextEnum(HMGR manager, WTENUMPROC proc, LPARAM param) {
  Guard g(Host().lock);
  if (!Host().Session().IsManager(Id(manager)) || proc == nullptr) return FALSE;
  // A copy: the callback may close contexts.
  uint64_t handles[pen::wintab::TWintabSession::kMaxContexts];
  size_t n = 0;
  for (const auto& c : Host().Session().Contexts()) handles[n++] = c->Handle();
  for (size_t i = 0; i < n; ++i) {
    if (!proc(Handle(handles[i]), param)) break;
  }
  return TRUE;
}

HWND WINAPI WTMgrContextOwner(HMGR manager, HCTX ctx) {
  Guard g(Host().lock);
  TWintabContext* c = Context(ctx);
  if (!Host().Session().IsManager(Id(manager)) || c == nullptr) return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(c->Window()));
}

HCTX WINAPI WTMgrDefContext(HMGR, BOOL) { return nullptr; }
HCTX WINAPI WTMgrDefContextEx(HMGR, UINT, BOOL) { return nullptr; }
UINT WINAPI WTMgrDeviceConfig(HMGR, UINT, HWND) { return pen::wintab::WTDC_NONE; }
BOOL WINAPI WTMgrExt(HMGR, UINT, LPVOID) { return FALSE; }
BOOL WINAPI WTMgrCsrEnable(HMGR, UINT, BOOL) { return FALSE; }
BOOL WINAPI WTMgrCsrButtonMap(HMGR, UINT, LPBYTE, LPBYTE) { return FALSE; }
BOOL WINAPI WTMgrCsrPressureBtnMarks(HMGR, UINT, DWORD, DWORD) { return FALSE; }
BOOL WINAPI WTMgrCsrPressureBtnMarksEx(HMGR, UINT, UINT*, UINT*) { return FALSE; }
BOOL WINAPI WTMgrCsrPressureResponse(HMGR, UINT, UINT*, UINT*) { return FALSE; }
BOOL WINAPI WTMgrCsrExt(HMGR, UINT, UINT, LPVOID) { return FALSE; }
BOOL WINAPI WTMgrConfigReplaceExA(HMGR, BOOL, LPSTR, LPSTR) { return FALSE; }
BOOL WINAPI WTMgrConfigReplaceExW(HMGR, BOOL, LPWSTR, LPSTR) { return FALSE; }
HWTHOOK WINAPI WTMgrPacketHookExA(HMGR, int, LPSTR, LPSTR) { return nullptr; }
HWTHOOK WINAPI WTMgrPacketHookExW(HMGR, int, LPWSTR, LPSTR) { return nullptr; }
BOOL WINAPI WTMgrPacketUnhook(HWTHOOK) { return FALSE; }
LRESULT WINAPI WTMgrPacketHookNext(HWTHOOK, int, WPARAM, LPARAM) { return 0; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  // Unloaded by FreeLibrary (not at process exit): the window must not
  // outlive its procedure.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) TWintabHost::Shutdown();
  return TRUE;
}

}  // extern "C"
