#include "platform/sim/SimIcons.h"

#include "base/AsciiCase.h"

namespace ombrix::sim {

namespace {
// The standard icons live at fixed handles, shared by every caller, as the system's do.
constexpr ULONG_PTR StandardIconBase = 0x10000;
constexpr int FirstStandardIcon = 32512;  // IDI_APPLICATION
constexpr int LastStandardIcon = 32518;   // IDI_SHIELD
}  // namespace

HICON SimIcons::ExtractIconA(const std::string& file, int index) {
  auto it = counts_.find(AsciiUpperCase(file));
  const int count = it == counts_.end() ? 0 : it->second;
  if (index == -1) return reinterpret_cast<HICON>(static_cast<ULONG_PTR>(count));
  if (notIconFiles_.count(AsciiUpperCase(file))) return reinterpret_cast<HICON>(static_cast<ULONG_PTR>(1));
  if (index < 0 || index >= count) return nullptr;
  return MakeIcon(Origin{file, index, 32});
}

HICON SimIcons::MakeIcon(const Origin& origin) {
  const ULONG_PTR handle = nextHandle_;
  nextHandle_ += 4;
  live_[handle] = origin;
  return reinterpret_cast<HICON>(handle);
}

HICON SimIcons::ExtractSmallIconA(const std::string& file, int index, int size) {
  // SHDefExtractIcon answers "no icon" (S_FALSE) where ExtractIcon answers 1.
  if (notIconFiles_.count(AsciiUpperCase(file))) return nullptr;
  auto it = counts_.find(AsciiUpperCase(file));
  if (index < 0 || it == counts_.end() || index >= it->second) return nullptr;
  return MakeIcon(Origin{file, index, size});
}

HICON SimIcons::LoadSmallStandardIcon(int resourceId) {
  if (resourceId < FirstStandardIcon || resourceId > LastStandardIcon) return nullptr;
  // Unlike LoadIcon's, the icon is a new one of the caller's.
  return MakeIcon(Origin{"", resourceId, smallIconSize_});
}

int SimIcons::SizeOf(HICON icon) const {
  auto it = live_.find(reinterpret_cast<ULONG_PTR>(icon));
  return it == live_.end() ? 0 : it->second.size;
}

HICON SimIcons::LoadStandardIcon(int resourceId) {
  if (resourceId < FirstStandardIcon || resourceId > LastStandardIcon) return nullptr;
  return reinterpret_cast<HICON>(StandardIconBase + static_cast<ULONG_PTR>(resourceId - FirstStandardIcon) * 4);
}

BOOL SimIcons::DestroyIcon(HICON icon) { return live_.erase(reinterpret_cast<ULONG_PTR>(icon)) ? TRUE : FALSE; }

void SimIcons::SetIconCount(const std::string& file, int count) { counts_[AsciiUpperCase(file)] = count; }

bool SimIcons::Describe(HICON icon, std::string& file, int& index) const {
  auto it = live_.find(reinterpret_cast<ULONG_PTR>(icon));
  if (it == live_.end()) return false;
  file = it->second.file;
  index = it->second.index;
  return true;
}

}  // namespace ombrix::sim
