// Profile files, files and version resources, clock and message pump, dialogs and windows
// over the real API.

#include "platform/win32/Win32Platform.h"

#include <commdlg.h>

#include <map>
#include <vector>

#include "platform/DateTime.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"

namespace ombrix::win32 {

namespace {

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

// Owns a kernel handle; closes it once.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32Profile : public IProfile {
 public:
  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue,
                                 DWORD size, std::string& out, const std::string& fileName) override {
    std::vector<char> buffer(size + 1, '\0');
    DWORD copied = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(), size,
                                              fileName.c_str());
    if (size > 0) out.assign(buffer.data(), copied);
    return copied;
  }

  std::vector<std::string> GetPrivateProfileSectionA(const std::string& section,
                                                     const std::string& fileName) override {
    // The call says only that the buffer was too small (size - 2 copied): ask again with more.
    std::vector<char> buffer(32768, '\0');
    DWORD copied = 0;
    for (;;) {
      const DWORD size = static_cast<DWORD>(buffer.size());
      copied = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, fileName.c_str());
      if (copied + 2 < size) break;
      buffer.assign(buffer.size() * 2, '\0');
    }
    std::vector<std::string> lines;
    for (DWORD start = 0; start < copied;) {
      const std::string line(buffer.data() + start);
      lines.push_back(line);
      start += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
  }

  BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value, const std::string& fileName) override {
    return ::WritePrivateProfileStringA(section.c_str(), OrNull(key), OrNull(value), fileName.c_str());
  }
};

class Win32Files : public IFiles {
 public:
  bool FileExists(const std::string& path) override {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  bool DirectoryExists(const std::string& path) override {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  BOOL DeleteFileA(const std::string& path) override { return ::DeleteFileA(path.c_str()); }
  BOOL CreateDirectoryA(const std::string& path) override { return ::CreateDirectoryA(path.c_str(), nullptr); }
  BOOL RemoveDirectoryA(const std::string& path) override { return ::RemoveDirectoryA(path.c_str()); }

  bool ReadFileBytes(const std::string& path, std::string& bytes) override {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    bytes.clear();
    std::vector<char> chunk(65536);
    DWORD read = 0;
    while (::ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
      bytes.append(chunk.data(), read);
    }
    return true;
  }

  bool WriteFileBytes(const std::string& path, const std::string& bytes) override {
    FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
  }

  std::string GetTempPathA() override {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
  }

  UINT GetTempFileNameA(const std::string& folder, const std::string& prefix, UINT unique,
                        std::string& fileName) override {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    UINT result = ::GetTempFileNameA(folder.c_str(), prefix.c_str(), unique, buffer.data());
    if (result != 0) fileName = buffer.data();
    return result;
  }

  std::string GetModuleFileNameA() override {
    std::vector<char> buffer(32768, '\0');
    DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::string(buffer.data(), length);
  }

  std::string GetCurrentDirectoryA() override {
    std::vector<char> buffer(32768, '\0');
    DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
  }
  BOOL SetCurrentDirectoryA(const std::string& path) override { return ::SetCurrentDirectoryA(path.c_str()); }

  std::string QueryVersionString(const std::string& path, const std::string& subBlock) override {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return "";
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return "";
    char* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), subBlock.c_str(), reinterpret_cast<void**>(&value), &length) || !value) {
      return "";
    }
    std::string text(value, length);
    return text.substr(0, text.find('\0'));
  }
};

class Win32Clock : public IClock {
 public:
  TDateTime Now() override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  }
  void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

// Thread timers carry no context, so their handlers are found by timer id.
std::map<UINT_PTR, std::function<void()>>& TimerHandlers() {
  static std::map<UINT_PTR, std::function<void()>> handlers;
  return handlers;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  auto it = TimerHandlers().find(timer);
  if (it == TimerHandlers().end()) return;
  auto handler = it->second;
  handler();
}

class Win32MessagePump : public IMessagePump {
 public:
  void ProcessMessages() override {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Leave the quit request for the outer loop that owns it.
        ::PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  void WaitForMessages(DWORD timeoutMilliseconds) override {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMilliseconds, QS_ALLINPUT);
  }
  UINT_PTR SetTimer(UINT milliseconds, std::function<void()> onTick) override {
    UINT_PTR timer = ::SetTimer(nullptr, 0, milliseconds, OnTimer);
    if (timer != 0) TimerHandlers()[timer] = std::move(onTick);
    return timer;
  }
  void KillTimer(UINT_PTR timer) override {
    ::KillTimer(nullptr, timer);
    TimerHandlers().erase(timer);
  }
};

class Win32Dialogs : public IDialogs {
 public:
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
  }

  bool GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) override {
    return RunFileDialog(request, fileName, ::GetOpenFileNameA);
  }
  bool GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) override {
    return RunFileDialog(request, fileName, ::GetSaveFileNameA);
  }

 private:
  static bool RunFileDialog(const OpenFileRequest& request, std::string& fileName, BOOL(WINAPI* run)(LPOPENFILENAMEA)) {
    // "Name|pattern|Name|pattern" becomes NUL-separated pairs ending with two NULs.
    std::string filter = request.filter;
    for (char& c : filter) {
      if (c == '|') c = '\0';
    }
    filter.append(2, '\0');
    std::vector<char> buffer(MAX_PATH * 4, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    std::string extension = request.defaultExtension;
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | (request.pathMustExist ? OFN_PATHMUSTEXIST : 0) |
                   (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
                   (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
    if (!run(&dialog)) return false;
    fileName = buffer.data();
    return true;
  }
};

class Win32WindowOps : public IWindowOps {
 public:
  HWND FindTopWindow() override { return ::FindWindowA(nullptr, nullptr); }
  HWND FindWindowA(const std::string& className, const std::string& windowName) override {
    return ::FindWindowA(className.empty() ? nullptr : className.c_str(),
                         windowName.empty() ? nullptr : windowName.c_str());
  }
  HWND GetWindow(HWND window, UINT command) override { return ::GetWindow(window, command); }
  std::string GetWindowTextA(HWND window, int capacity) override {
    if (capacity <= 0) return "";
    std::vector<char> buffer(static_cast<size_t>(capacity) + 1, '\0');
    int length = ::GetWindowTextA(window, buffer.data(), capacity);
    return std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
  }
  LONG_PTR GetWindowLongA(HWND window, int index) override { return ::GetWindowLongA(window, index); }
  DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override {
    return ::GetWindowThreadProcessId(window, processId);
  }
  BOOL IsWindow(HWND window) override { return ::IsWindow(window); }
  BOOL ShowWindow(HWND window, int command) override { return ::ShowWindow(window, command); }
  BOOL ShowWindowAsync(HWND window, int command) override { return ::ShowWindowAsync(window, command); }
  BOOL SetForegroundWindow(HWND window) override { return ::SetForegroundWindow(window); }
  BOOL GetWindowPlacement(HWND window, WindowPlacementInfo& placement) override {
    WINDOWPLACEMENT record{};
    record.length = sizeof record;
    if (!::GetWindowPlacement(window, &record)) return FALSE;
    placement.flags = record.flags;
    placement.showCmd = record.showCmd;
    return TRUE;
  }
  HWND GetDesktopWindow() override { return ::GetDesktopWindow(); }
  std::string CharUpperBuffA(const std::string& text) override {
    std::string upper = text;
    if (!upper.empty()) ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
  }
  int CompareStringA(LCID locale, DWORD flags, const std::string& left, const std::string& right) override {
    return ::CompareStringA(locale, flags, left.data(), static_cast<int>(left.size()), right.data(),
                            static_cast<int>(right.size()));
  }
};

}  // namespace

struct Win32Platform::Services {
  Win32Registry registry;
  Win32Profile profile;
  Win32Files files;
  Win32Clock clock;
  Win32MessagePump messages;
  Win32Dialogs dialogs;
  Win32WindowOps windows;
  Win32Shell shell;
  Win32Input input;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {}
Win32Platform::~Win32Platform() = default;

IRegistry& Win32Platform::Registry() { return services_->registry; }
IProfile& Win32Platform::Profile() { return services_->profile; }
IFiles& Win32Platform::Files() { return services_->files; }
IClock& Win32Platform::Clock() { return services_->clock; }
IMessagePump& Win32Platform::Messages() { return services_->messages; }
IDialogs& Win32Platform::Dialogs() { return services_->dialogs; }
IWindowOps& Win32Platform::Windows() { return services_->windows; }
IShell& Win32Platform::Shell() { return services_->shell; }
IInput& Win32Platform::Input() { return services_->input; }

}  // namespace ombrix::win32
