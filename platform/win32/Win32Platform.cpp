// The real API's services, one object each, made with the platform.

#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePages.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32WindowOps.h"

namespace ombrix::win32 {

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
  Win32CodePages codePages;
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
ICodePages& Win32Platform::CodePages() { return services_->codePages; }

}  // namespace ombrix::win32
