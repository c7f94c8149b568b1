#pragma once
// The shell's link objects over the simulated file system: shortcut files are stored as the
// real .lnk bytes, so a file written here is one the real shell reads, and the other way
// round. COM is modelled as far as the system relies on it: CoInitialize nesting, objects
// that need it, and failures a test can ask for.

#include <memory>

#include "platform/ShellLinks.h"
#include "platform/sim/SimCodePages.h"
#include "platform/sim/SimFileSystem.h"

namespace ombrix::sim {

class SimShellLinks : public IShellLinks {
 public:
  SimShellLinks(SimFileSystem& files, const SimCodePages& codePages);
  ~SimShellLinks() override;

  HRESULT CoInitialize() override;
  void CoUninitialize() override;
  HRESULT CreateShellLink(std::unique_ptr<IShellLinkObject>& link) override;

  // Test controls.
  // Every CoCreateInstance fails with `error` until cleared.
  void FailCreate(HRESULT error);
  // Every QueryInterface for IPersistFile fails with `error` until cleared.
  void FailQueryPersistFile(HRESULT error);
  void ClearFailures();
  // The thread already lives in a multithreaded apartment: CoInitialize answers
  // RPC_E_CHANGED_MODE, yet objects can be created.
  void SetMultithreadedApartment(bool multithreaded);
  // The program reading links is a 32-bit one on 64-bit Windows: a target in
  // C:\Program Files reads as the same path in C:\Program Files (x86).
  void SetWow64Reader(bool wow64);

  // What a test checks afterwards.
  int InitializeDepth() const;              // CoInitialize calls not yet balanced
  int LiveObjects() const;                  // link objects not yet released
  int UnbalancedUninitializeCalls() const;  // CoUninitialize without a CoInitialize
  int ObjectsAliveAtUninitialize() const;   // objects still held when COM went down

  struct State;

 private:
  SimFileSystem& files_;
  const SimCodePages& codePages_;
  std::shared_ptr<State> state_;
};

}  // namespace ombrix::sim
