#pragma once
// Shell-link service: the shell's link object seen through IShellLinkA and IPersistFile.

#include <memory>
#include <string>

#include "WinDefs.h"

#ifdef _WIN32
// The link interfaces and their SLGP_* path flags live outside <windows.h>.
#include <shobjidl.h>
#endif

namespace ombrix {

// One shell-link object (CLSID_ShellLink) with the IShellLinkA and IPersistFile calls the
// system makes. Destroying it releases every interface it holds.
//
// Text getters copy at most capacity - 1 bytes (the buffer holds the terminator, as with the
// real call), ending on a whole character of the program's code page, and leave the text
// empty when the call fails.
class IShellLinkObject {
 public:
  virtual ~IShellLinkObject() = default;

  // QueryInterface for IPersistFile; Load and Save need it.
  virtual HRESULT QueryPersistFile() = 0;
  // IPersistFile::Load (STGM_READ) and ::Save (remembering the name). The path is converted
  // to UTF-16 with the program's code page into MAX_PATH characters including the terminator;
  // a longer path fails (HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)) instead of being cut.
  virtual HRESULT Load(const std::string& path) = 0;
  virtual HRESULT Save(const std::string& path) = 0;

  virtual HRESULT GetDescription(std::string& text, int capacity) = 0;
  // S_FALSE with an empty text when the link has no path.
  virtual HRESULT GetPath(std::string& text, int capacity, DWORD flags) = 0;
  virtual HRESULT GetWorkingDirectory(std::string& text, int capacity) = 0;
  virtual HRESULT GetArguments(std::string& text, int capacity) = 0;
  virtual HRESULT GetShowCmd(int& showCommand) = 0;
  virtual HRESULT GetHotkey(WORD& hotKey) = 0;
  virtual HRESULT GetIconLocation(std::string& path, int capacity, int& index) = 0;

  virtual HRESULT SetDescription(const std::string& text) = 0;
  virtual HRESULT SetPath(const std::string& text) = 0;
  virtual HRESULT SetWorkingDirectory(const std::string& text) = 0;
  virtual HRESULT SetArguments(const std::string& text) = 0;
  virtual HRESULT SetShowCmd(int showCommand) = 0;
  virtual HRESULT SetHotkey(WORD hotKey) = 0;
  virtual HRESULT SetIconLocation(const std::string& path, int index) = 0;
};

class IShellLinks {
 public:
  virtual ~IShellLinks() = default;

  // CoInitialize(NULL): S_OK, S_FALSE when this thread already had COM; either must be
  // balanced by CoUninitialize, a failure must not.
  virtual HRESULT CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // CoCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkA). On failure
  // `link` is left empty.
  virtual HRESULT CreateShellLink(std::unique_ptr<IShellLinkObject>& link) = 0;
};

// COM initialised for one scope: CoUninitialize runs on every way out, and only when the
// CoInitialize it pairs with succeeded. Declare it before the link objects it serves, so
// they are released while COM is still up.
class ComScope {
 public:
  explicit ComScope(IShellLinks& links) : links_(links), initialized_(SUCCEEDED(links.CoInitialize())) {}
  ~ComScope() {
    if (initialized_) links_.CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  IShellLinks& links_;
  bool initialized_;
};

}  // namespace ombrix
