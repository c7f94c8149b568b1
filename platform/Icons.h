#pragma once
// Icons service: icons taken from files and the system's standard icons.

#include <string>
#include <utility>

#include "WinDefs.h"

namespace ombrix {

// The resource number of the standard application icon (IDI_APPLICATION); the Windows
// header spells it as a pointer, the service takes the number.
constexpr int IdiApplication = 32512;

class IIcons {
 public:
  virtual ~IIcons() = default;

  // ExtractIconA with the program's instance: index -1 gives the number of icons in the
  // file (as a handle value); otherwise the icon at that index, or nullptr. Every icon it
  // returns is a new one, to be destroyed by its owner.
  virtual HICON ExtractIconA(const std::string& file, int index) = 0;
  // LoadIconA(NULL, IDI_...): a shared system icon, never destroyed.
  virtual HICON LoadStandardIcon(int resourceId) = 0;
  virtual BOOL DestroyIcon(HICON icon) = 0;
  // GetSystemMetrics(SM_CXSMICON): the side of a small icon at the system's scaling (16, 20,
  // 24 and 32 pixels at 100, 125, 150 and 200%), the size the notification area shows.
  virtual int SmallIconSize() = 0;
  // SHDefExtractIconA asking for the small icon alone, made at `size` pixels square from
  // the file's image that suits it best: a new icon, to be destroyed by its owner, or
  // nullptr (no such icon, no icon file).
  virtual HICON ExtractSmallIconA(const std::string& file, int index, int size) = 0;
  // LoadIconMetric(NULL, the standard icon, LIM_SMALL): the standard icon made at the small
  // size, a new one to be destroyed by its owner; nullptr where the common controls have no
  // LoadIconMetric (before Windows Vista).
  virtual HICON LoadSmallStandardIcon(int resourceId) = 0;
};

// The icon functions are given at most this many characters of a file name (counted as the
// system counts them, see CharacterCount): a longer name would reach them cut short and
// could name another file.
constexpr size_t MaxIconFileLength = 255;

// ExtractIconA's answer for a file that is no program, library or icon file: no icon.
inline bool IsNotAnIconFile(HICON icon) { return icon == reinterpret_cast<HICON>(static_cast<ULONG_PTR>(1)); }

// Owns an icon handed out by ExtractIconA and destroys it once. Move-only: a copy would
// destroy the same icon twice. ExtractIconA's "not an icon file" is taken for no icon: it is
// no handle, and destroying it would destroy nothing.
class OwnedIcon {
 public:
  OwnedIcon() = default;
  OwnedIcon(IIcons& icons, HICON icon)
      : icons_(icon && !IsNotAnIconFile(icon) ? &icons : nullptr), icon_(IsNotAnIconFile(icon) ? nullptr : icon) {}
  ~OwnedIcon() { Reset(); }
  OwnedIcon(OwnedIcon&& other) noexcept
      : icons_(std::exchange(other.icons_, nullptr)), icon_(std::exchange(other.icon_, nullptr)) {}
  OwnedIcon& operator=(OwnedIcon&& other) noexcept {
    if (this != &other) {
      Reset();
      icons_ = std::exchange(other.icons_, nullptr);
      icon_ = std::exchange(other.icon_, nullptr);
    }
    return *this;
  }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;

  HICON Get() const { return icon_; }
  explicit operator bool() const { return icon_ != nullptr; }
  void Reset() {
    if (icon_ && icons_) icons_->DestroyIcon(icon_);
    icon_ = nullptr;
    icons_ = nullptr;
  }

 private:
  IIcons* icons_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace ombrix
