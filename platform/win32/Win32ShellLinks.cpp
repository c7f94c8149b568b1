#include "platform/win32/Win32ShellLinks.h"

#include <shlobj.h>

#include <vector>

#include "platform/win32/Win32Platform.h"

namespace ombrix::win32 {

namespace {

// A path in UTF-16 for IPersistFile, converted with the system code page into MAX_PATH
// characters including the terminator. A longer path fails rather than naming another file.
HRESULT WidePath(const std::string& path, std::vector<wchar_t>& wide) {
  wide.assign(MAX_PATH, L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), MAX_PATH) == 0) {
    return HRESULT_FROM_WIN32(::GetLastError());
  }
  return S_OK;
}

// The text a getter left in its buffer; empty when the call failed.
std::string Text(HRESULT result, const std::vector<char>& buffer) {
  return FAILED(result) ? std::string() : std::string(buffer.data());
}

class Win32ShellLinkObject : public IShellLinkObject {
 public:
  explicit Win32ShellLinkObject(ComPtr<IShellLinkA> link) : link_(std::move(link)) {}

  HRESULT QueryPersistFile() override { return link_->QueryInterface(IID_IPersistFile, persist_.ReceiveAddress()); }

  HRESULT Load(const std::string& path) override {
    if (!persist_) return E_POINTER;
    std::vector<wchar_t> wide;
    HRESULT result = WidePath(path, wide);
    return FAILED(result) ? result : persist_->Load(wide.data(), STGM_READ);
  }

  HRESULT Save(const std::string& path) override {
    if (!persist_) return E_POINTER;
    std::vector<wchar_t> wide;
    HRESULT result = WidePath(path, wide);
    return FAILED(result) ? result : persist_->Save(wide.data(), TRUE);
  }

  HRESULT GetDescription(std::string& text, int capacity) override {
    std::vector<char> buffer(Size(capacity), '\0');
    HRESULT result = link_->GetDescription(buffer.data(), capacity);
    text = Text(result, buffer);
    return result;
  }
  HRESULT GetPath(std::string& text, int capacity, DWORD flags) override {
    std::vector<char> buffer(Size(capacity), '\0');
    WIN32_FIND_DATAA found{};
    HRESULT result = link_->GetPath(buffer.data(), capacity, &found, flags);
    text = Text(result, buffer);
    return result;
  }
  HRESULT GetWorkingDirectory(std::string& text, int capacity) override {
    std::vector<char> buffer(Size(capacity), '\0');
    HRESULT result = link_->GetWorkingDirectory(buffer.data(), capacity);
    text = Text(result, buffer);
    return result;
  }
  HRESULT GetArguments(std::string& text, int capacity) override {
    std::vector<char> buffer(Size(capacity), '\0');
    HRESULT result = link_->GetArguments(buffer.data(), capacity);
    text = Text(result, buffer);
    return result;
  }
  HRESULT GetShowCmd(int& showCommand) override { return link_->GetShowCmd(&showCommand); }
  HRESULT GetHotkey(WORD& hotKey) override { return link_->GetHotkey(&hotKey); }
  HRESULT GetIconLocation(std::string& path, int capacity, int& index) override {
    std::vector<char> buffer(Size(capacity), '\0');
    HRESULT result = link_->GetIconLocation(buffer.data(), capacity, &index);
    path = Text(result, buffer);
    return result;
  }

  HRESULT SetDescription(const std::string& text) override { return link_->SetDescription(text.c_str()); }
  HRESULT SetPath(const std::string& text) override { return link_->SetPath(text.c_str()); }
  HRESULT SetWorkingDirectory(const std::string& text) override { return link_->SetWorkingDirectory(text.c_str()); }
  HRESULT SetArguments(const std::string& text) override { return link_->SetArguments(text.c_str()); }
  HRESULT SetShowCmd(int showCommand) override { return link_->SetShowCmd(showCommand); }
  HRESULT SetHotkey(WORD hotKey) override { return link_->SetHotkey(hotKey); }
  HRESULT SetIconLocation(const std::string& path, int index) override {
    return link_->SetIconLocation(path.c_str(), index);
  }

 private:
  // A buffer of at least one character, so that the terminator always has a place.
  static size_t Size(int capacity) { return capacity > 0 ? static_cast<size_t>(capacity) + 1 : 1; }

  // Released in reverse order of declaration: IPersistFile first, then the link.
  ComPtr<IShellLinkA> link_;
  ComPtr<IPersistFile> persist_;
};

}  // namespace

HRESULT Win32ShellLinks::CoInitialize() { return ::CoInitialize(nullptr); }

void Win32ShellLinks::CoUninitialize() { ::CoUninitialize(); }

HRESULT Win32ShellLinks::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
  link.reset();
  ComPtr<IShellLinkA> created;
  HRESULT result =
      ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, created.ReceiveAddress());
  if (FAILED(result)) return result;
  if (!created) return E_POINTER;
  link = std::make_unique<Win32ShellLinkObject>(std::move(created));
  return result;
}

// The platform's accessor lives beside the service it hands out.
IShellLinks& Win32Platform::ShellLinks() {
  if (!shellLinks_) shellLinks_ = std::make_unique<Win32ShellLinks>();
  return *shellLinks_;
}

}  // namespace ombrix::win32
