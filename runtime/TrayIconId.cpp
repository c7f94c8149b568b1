#include "runtime/TrayIconId.h"

#include "base/NumberText.h"

namespace ombrix {

namespace {
// Ids tried before the program's own id is used whatever holds it: more Ombrix processes
// than this for one program are not expected.
constexpr int MaxIdTries = 64;
}  // namespace

UINT TrayIconIdOf(const std::string& upperCasedFile) {
  // FNV-1a: spreads paths that differ in one character over the whole range, and every
  // build of Ombrix computes the same value.
  std::uint32_t hash = 2166136261u;
  for (char c : upperCasedFile) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return static_cast<UINT>(((hash >> 16) ^ hash) & 0xFFFF) % 0xFFFF + 1;
}

TTrayIconIdentity::~TTrayIconIdentity() {
  if (held_) platform_.Processes().CloseHandle(held_);
}

UINT TTrayIconIdentity::Take(const std::string& targetFile) {
  if (id_ || targetFile.empty()) return id_;
  IProcesses& processes = platform_.Processes();
  // Names are compared as the settings compare them.
  const UINT own = TrayIconIdOf(platform_.Windows().CharUpperBuffA(targetFile));
  UINT id = own;
  for (int tries = 0; tries < MaxIdTries; ++tries, id = NextTrayIconId(id)) {
    // A named mutex per id, in this session's namespace: it goes with the process that holds
    // it, however that process ends, so a killed Ombrix leaves no id taken.
    const HANDLE mutex = processes.CreateMutexA("Local\\Ombrix tray icon " + IntToText(static_cast<std::int32_t>(id)));
    if (!mutex) break;
    if (processes.GetLastError() != static_cast<DWORD>(ERROR_ALREADY_EXISTS)) {
      held_ = mutex;
      id_ = id;
      return id_;
    }
    processes.CloseHandle(mutex);
  }
  // Nothing tells which id is free: the program's own is the likeliest to be remembered.
  id_ = own;
  return id_;
}

}  // namespace ombrix
