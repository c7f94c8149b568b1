#pragma once
// The shell's link object over the real API (CLSID_ShellLink through IShellLinkA and
// IPersistFile), with an owner for its COM pointers. CoInitialize is paired by ComScope.

#include <objbase.h>

#include <utility>

#include "platform/ShellLinks.h"

namespace ombrix::win32 {

// Owns one COM interface pointer: Release once, on destruction or reset. Move-only, since a
// copy would release twice.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the calls that hand out a new reference: drops the current one first.
  void** ReceiveAddress() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  T* pointer_ = nullptr;
};

class Win32ShellLinks : public IShellLinks {
 public:
  HRESULT CoInitialize() override;
  void CoUninitialize() override;
  HRESULT CreateShellLink(std::unique_ptr<IShellLinkObject>& link) override;
};

}  // namespace ombrix::win32
