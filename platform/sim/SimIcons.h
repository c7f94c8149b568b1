#pragma once
// Icons of the simulated desktop: an icon count per file, distinct fake handles for every
// icon handed out, and a record of which ones are still alive.

#include <map>
#include <set>
#include <string>

#include "base/AsciiCase.h"
#include "platform/Icons.h"

namespace ombrix::sim {

class SimIcons : public IIcons {
 public:
  HICON ExtractIconA(const std::string& file, int index) override;
  HICON LoadStandardIcon(int resourceId) override;
  BOOL DestroyIcon(HICON icon) override;
  int SmallIconSize() override { return smallIconSize_; }
  HICON ExtractSmallIconA(const std::string& file, int index, int size) override;
  HICON LoadSmallStandardIcon(int resourceId) override;

  // Test controls. A file without a count holds no icons (a document, a missing file).
  void SetIconCount(const std::string& file, int count);
  // ExtractIconA answers 1 for every index of `file`, as Windows does for a file that is no
  // program, library or icon file (wine answers nullptr, so the contract leaves it out).
  void SetNotAnIconFile(const std::string& file) { notIconFiles_.insert(AsciiUpperCase(file)); }
  // Icons handed out by ExtractIconA and not destroyed yet.
  int LiveIconCount() const { return static_cast<int>(live_.size()); }
  // Where a live extracted icon came from: its file (as given) and index; false otherwise.
  // A standard icon made at the small size has no file and its resource number as index.
  bool Describe(HICON icon, std::string& file, int& index) const;
  // The side in pixels of a live icon: the size asked for a small one, 32 for the others;
  // 0 for an icon that is not live.
  int SizeOf(HICON icon) const;
  // The display's scaling in percent: a small icon is 16 pixels at 100%, and grows with it.
  void SetScaling(int percent) { smallIconSize_ = 16 * percent / 100; }

 private:
  struct Origin {
    std::string file;
    int index;
    int size;
  };
  HICON MakeIcon(const Origin& origin);
  std::map<std::string, int> counts_;   // by upper-cased path
  std::set<std::string> notIconFiles_;  // by upper-cased path
  std::map<ULONG_PTR, Origin> live_;
  ULONG_PTR nextHandle_ = 0x7A000;
  int smallIconSize_ = 16;
};

}  // namespace ombrix::sim
