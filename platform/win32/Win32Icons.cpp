#include "platform/win32/Win32Icons.h"

#include <shellapi.h>
#include <shlobj.h>

namespace ombrix::win32 {

// The program's own instance: ExtractIcon needs one, and which one does not change the result.
HICON Win32Icons::ExtractIconA(const std::string& file, int index) {
  return ::ExtractIconA(::GetModuleHandleA(nullptr), file.c_str(), static_cast<UINT>(index));
}

HICON Win32Icons::LoadStandardIcon(int resourceId) { return ::LoadIconA(nullptr, MAKEINTRESOURCEA(resourceId)); }

BOOL Win32Icons::DestroyIcon(HICON icon) { return ::DestroyIcon(icon); }

int Win32Icons::SmallIconSize() { return ::GetSystemMetrics(SM_CXSMICON); }

HICON Win32Icons::ExtractSmallIconA(const std::string& file, int index, int size) {
  HICON small = nullptr;
  const HRESULT result =
      ::SHDefExtractIconA(file.c_str(), index, 0, nullptr, &small, static_cast<UINT>(MAKELONG(size, size)));
  if (result == S_OK) return small;
  if (small) ::DestroyIcon(small);
  return nullptr;
}

HICON Win32Icons::LoadSmallStandardIcon(int resourceId) {
  // Looked up when needed: the common controls of Windows XP lack it, and a program that
  // imports it would not start there.
  using LoadIconMetricFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  HMODULE controls = ::GetModuleHandleA("comctl32.dll");
  const auto load = controls ? reinterpret_cast<LoadIconMetricFunction>(
                                   reinterpret_cast<void (*)()>(::GetProcAddress(controls, "LoadIconMetric")))
                             : nullptr;
  HICON icon = nullptr;
  if (!load || load(nullptr, MAKEINTRESOURCEW(resourceId), LIM_SMALL, &icon) != S_OK) return nullptr;
  return icon;
}

}  // namespace ombrix::win32
