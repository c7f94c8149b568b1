#pragma once
// Shell-link service: the shell's link object seen through IShellLinkA and IPersistFile.

#include <memory>
#include <string>

#include "WinDefs.h"

namespace ombrix {

// One shell-link object (CLSID_ShellLink) with the IShellLinkA calls the system makes.
class IShellLinkObject {
 public:
  virtual ~IShellLinkObject() = default;

  // QueryInterface for IPersistFile.
  virtual HRESULT QueryPersistFile() = 0;
  // IPersistFile::Load (STGM_READ) and ::Save (remembering the name); the path is converted
  // to UTF-16 with the system code page, at most MAX_PATH characters.
  virtual HRESULT Load(const std::string& path) = 0;
  virtual HRESULT Save(const std::string& path) = 0;

  virtual HRESULT GetDescription(std::string& text, int capacity) = 0;
  virtual HRESULT GetPath(std::string& text, int capacity) = 0;
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

  virtual HRESULT CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // CoCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkA).
  virtual HRESULT CreateShellLink(std::unique_ptr<IShellLinkObject>& link) = 0;
};

}  // namespace ombrix
