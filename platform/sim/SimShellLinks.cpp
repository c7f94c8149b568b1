#include "platform/sim/SimShellLinks.h"

#include "base/AsciiCase.h"
#include "platform/sim/LnkFormat.h"

namespace ombrix::sim {

struct SimShellLinks::State {
  int depth = 0;
  bool multithreaded = false;
  int liveObjects = 0;
  int unbalancedUninitialize = 0;
  int aliveAtUninitialize = 0;
  HRESULT createFailure = S_OK;
  HRESULT queryFailure = S_OK;
  bool wow64Reader = false;

  bool ComUp() const { return depth > 0 || multithreaded; }
};

namespace {

// What the real object keeps of a C string argument.
std::string CText(const std::string& text) { return text.substr(0, text.find('\0')); }

// The real call copies into a buffer of `capacity` bytes including the terminator.
void CopyOut(const SimCodePages& codePages, std::string& text, const std::string& value, int capacity) {
  text = capacity > 0 ? codePages.Cut(value, static_cast<size_t>(capacity) - 1) : std::string();
}

// What a 32-bit reader is given for a target in the 64-bit program folder. Windows keeps a
// link's target by known folder too, and the shell of a 32-bit process under WOW64 resolves
// FOLDERID_ProgramFiles to its own program folder, "Program Files (x86)": the link to a 64-bit
// program reads as a path where that program is not, or where its 32-bit copy is. (Wine
// does not do this; the model follows Windows.)
std::string Wow64ReadersTarget(const std::string& target) {
  const std::string programFiles = "C:\\PROGRAM FILES\\";
  if (target.size() < programFiles.size() || AsciiUpperCase(target.substr(0, programFiles.size())) != programFiles)
    return target;
  return target.substr(0, programFiles.size() - 1) + " (x86)" + target.substr(programFiles.size() - 1);
}

// The folder part of a path, without its trailing backslash.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

class SimShellLinkObject : public IShellLinkObject {
 public:
  SimShellLinkObject(SimFileSystem& files, const SimCodePages& codePages, std::shared_ptr<SimShellLinks::State> state)
      : files_(files), codePages_(codePages), state_(std::move(state)) {
    ++state_->liveObjects;
  }
  ~SimShellLinkObject() override { --state_->liveObjects; }

  HRESULT QueryPersistFile() override {
    if (FAILED(state_->queryFailure)) return state_->queryFailure;
    persistFile_ = true;
    return S_OK;
  }

  HRESULT Load(const std::string& path) override {
    if (!persistFile_) return E_POINTER;
    if (!FitsWidePath(path)) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    std::string bytes;
    if (!files_.ReadFileBytes(CText(path), bytes)) return HRESULT_FROM_WIN32(files_.LastError());
    std::string error;
    std::optional<LnkRecord> read = DecodeLnk(bytes, error);
    if (!read) return E_FAIL;
    record_ = *read;
    if (record_.targetPath.empty() && !record_.relativePath.empty()) {
      // Only a path relative to the shortcut: the shell finds the target from its folder.
      record_.targetPath = files_.FullPath(FolderOf(files_.FullPath(CText(path))) + "\\" + record_.relativePath);
    }
    return S_OK;
  }

  HRESULT Save(const std::string& path) override {
    if (!persistFile_) return E_POINTER;
    if (!FitsWidePath(path)) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    if (!files_.WriteFileBytes(CText(path), EncodeLnk(record_))) return HRESULT_FROM_WIN32(files_.LastError());
    return S_OK;
  }

  HRESULT GetDescription(std::string& text, int capacity) override {
    CopyOut(codePages_, text, record_.description, capacity);
    return S_OK;
  }
  HRESULT GetPath(std::string& text, int capacity, DWORD) override {
    CopyOut(codePages_, text, state_->wow64Reader ? Wow64ReadersTarget(record_.targetPath) : record_.targetPath,
            capacity);
    return record_.targetPath.empty() ? S_FALSE : S_OK;
  }
  HRESULT GetWorkingDirectory(std::string& text, int capacity) override {
    CopyOut(codePages_, text, record_.workingDir, capacity);
    return S_OK;
  }
  HRESULT GetArguments(std::string& text, int capacity) override {
    CopyOut(codePages_, text, record_.arguments, capacity);
    return S_OK;
  }
  HRESULT GetShowCmd(int& showCommand) override {
    showCommand = record_.showCommand;
    return S_OK;
  }
  HRESULT GetHotkey(WORD& hotKey) override {
    hotKey = record_.hotKey;
    return S_OK;
  }
  HRESULT GetIconLocation(std::string& path, int capacity, int& index) override {
    CopyOut(codePages_, path, record_.iconLocation, capacity);
    index = record_.iconIndex;
    return S_OK;
  }

  HRESULT SetDescription(const std::string& text) override {
    record_.description = CText(text);
    return S_OK;
  }
  HRESULT SetPath(const std::string& text) override {
    std::string path = CText(text);
    // The shell drops one pair of quotes around the whole path.
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    record_.targetPath = path;
    record_.relativePath.clear();
    return S_OK;
  }
  HRESULT SetWorkingDirectory(const std::string& text) override {
    record_.workingDir = CText(text);
    return S_OK;
  }
  HRESULT SetArguments(const std::string& text) override {
    record_.arguments = CText(text);
    return S_OK;
  }
  HRESULT SetShowCmd(int showCommand) override {
    record_.showCommand = showCommand;
    return S_OK;
  }
  HRESULT SetHotkey(WORD hotKey) override {
    record_.hotKey = hotKey;
    return S_OK;
  }
  HRESULT SetIconLocation(const std::string& path, int index) override {
    record_.iconLocation = CText(path);
    record_.iconIndex = index;
    return S_OK;
  }

 private:
  // The path converted to UTF-16 fits MAX_PATH characters with its terminator.
  bool FitsWidePath(const std::string& path) const { return codePages_.Characters(CText(path)) < MAX_PATH; }

  SimFileSystem& files_;
  const SimCodePages& codePages_;
  std::shared_ptr<SimShellLinks::State> state_;
  bool persistFile_ = false;
  LnkRecord record_;  // a new link: show command 1, everything else empty
};

}  // namespace

SimShellLinks::SimShellLinks(SimFileSystem& files, const SimCodePages& codePages)
    : files_(files), codePages_(codePages), state_(std::make_shared<State>()) {}
SimShellLinks::~SimShellLinks() = default;

HRESULT SimShellLinks::CoInitialize() {
  if (state_->multithreaded) return RPC_E_CHANGED_MODE;
  return ++state_->depth == 1 ? S_OK : S_FALSE;
}

void SimShellLinks::CoUninitialize() {
  if (state_->depth == 0) {
    ++state_->unbalancedUninitialize;
    return;
  }
  if (--state_->depth == 0 && !state_->multithreaded && state_->liveObjects > 0) ++state_->aliveAtUninitialize;
}

HRESULT SimShellLinks::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
  link.reset();
  if (!state_->ComUp()) return CO_E_NOTINITIALIZED;
  if (FAILED(state_->createFailure)) return state_->createFailure;
  link = std::make_unique<SimShellLinkObject>(files_, codePages_, state_);
  return S_OK;
}

void SimShellLinks::FailCreate(HRESULT error) { state_->createFailure = error; }
void SimShellLinks::FailQueryPersistFile(HRESULT error) { state_->queryFailure = error; }
void SimShellLinks::ClearFailures() {
  state_->createFailure = S_OK;
  state_->queryFailure = S_OK;
}
void SimShellLinks::SetMultithreadedApartment(bool multithreaded) { state_->multithreaded = multithreaded; }
void SimShellLinks::SetWow64Reader(bool wow64) { state_->wow64Reader = wow64; }

int SimShellLinks::InitializeDepth() const { return state_->depth; }
int SimShellLinks::LiveObjects() const { return state_->liveObjects; }
int SimShellLinks::UnbalancedUninitializeCalls() const { return state_->unbalancedUninitialize; }
int SimShellLinks::ObjectsAliveAtUninitialize() const { return state_->aliveAtUninitialize; }

}  // namespace ombrix::sim
