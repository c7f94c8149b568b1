#pragma once
// The id of the target's icon in the notification area. Windows 10 and 11 remember per
// program file and id whether the user keeps an icon on the taskbar or behind the
// overflow's "^", and list each such identity in the taskbar's settings; every icon of
// Ombrix shares Ombrix's program file, so the id is what tells one target's icon from
// another's. It is taken from the target's program file, so that a program keeps its icon's
// place from run to run, and fits the 16 bits a version-4 callback carries.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace ombrix {

// The id of a program file given upper-cased: 1 to 65535, the same at every run. 0 is left
// out, being the id every program's icon had before, which the user may have promoted.
UINT TrayIconIdOf(const std::string& upperCasedFile);
// The id tried when `id` is held by another Ombrix of this session.
inline UINT NextTrayIconId(UINT id) { return id % 0xFFFF + 1; }

// The id this Ombrix holds: a second Ombrix for the same program in the same session finds
// its program's id held and takes the next free one, so that the two icons stay two.
class TTrayIconIdentity {
 public:
  explicit TTrayIconIdentity(Platform& platform) : platform_(platform) {}
  ~TTrayIconIdentity();
  TTrayIconIdentity(const TTrayIconIdentity&) = delete;
  TTrayIconIdentity& operator=(const TTrayIconIdentity&) = delete;

  // The id for `targetFile`, held until this object ends; later calls give the same one.
  // 0 while no file is known.
  UINT Take(const std::string& targetFile);

 private:
  Platform& platform_;
  HANDLE held_ = nullptr;
  UINT id_ = 0;
};

}  // namespace ombrix
