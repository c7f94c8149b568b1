#include "settings/RegistryEnhanced.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <vector>

#include "base/Utf8.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

// One depth counter per level of the walk: the start key and 100 levels below it.
constexpr int SearchDepthCounters = 101;

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

[[noreturn]] void Raise(const char* message, const std::string& name) {
  throw ERegistryException(FormatText(message, name));
}

// Reads one value of an open key into `out`. False for a missing value and for the types the
// store does not read back (REG_BINARY included: nothing the system stores that way is ever
// read, and a fixed-size result could not hold arbitrary binary data safely). A value whose
// data cannot be fetched, or whose type changed since it was asked, raises.
bool ReadOpenValue(IRegistry& api, HKEY key, const std::string& name, TVariant& out) {
  DWORD type = REG_NONE, size = 0;
  if (api.RegQueryValueExA(key, name, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (IsTextType(type)) {
    if (size == 0) {
      out = std::string();
      return true;
    }
    std::vector<BYTE> buffer(size, 0);
    DWORD readType = REG_NONE, readSize = 0;
    if (api.RegQueryValueExA(key, name, &readType, &buffer, &readSize) != ERROR_SUCCESS) {
      Raise(MsgFailedToGetData, name);
    }
    if (!IsTextType(readType)) Raise(MsgInvalidDataType, name);
    if (readSize > buffer.size()) readSize = static_cast<DWORD>(buffer.size());
    std::string text(buffer.begin(), buffer.begin() + readSize);
    // Stored strings may lack their terminator or carry text after an embedded NUL.
    const std::string::size_type nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    out = std::move(text);
    return true;
  }
  if (type == REG_DWORD) {
    // A fixed four bytes: a longer REG_DWORD fails with ERROR_MORE_DATA rather than overrun;
    // a shorter one leaves the upper bytes 0.
    std::vector<BYTE> buffer(4, 0);
    DWORD readType = REG_NONE, readSize = 0;
    if (api.RegQueryValueExA(key, name, &readType, &buffer, &readSize) != ERROR_SUCCESS) {
      Raise(MsgFailedToGetData, name);
    }
    if (readType != REG_DWORD) Raise(MsgInvalidDataType, name);
    const std::uint32_t bits = static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
                               static_cast<std::uint32_t>(buffer[2]) << 16 |
                               static_cast<std::uint32_t>(buffer[3]) << 24;
    out = static_cast<std::int32_t>(bits);
    return true;
  }
  return false;
}

std::vector<BYTE> LittleEndian(std::uint64_t bits, int bytes) {
  std::vector<BYTE> data;
  for (int i = 0; i < bytes; ++i) data.push_back(static_cast<BYTE>(bits >> (8 * i)));
  return data;
}

std::vector<BYTE> DoubleBytes(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return LittleEndian(bits, 8);
}

// Deletes `subKey` below the open key `parent` with everything under it. The registry
// refuses to delete a key that still has subkeys, so the deepest go first; they are
// enumerated from the last index down, as deleting shifts the ones after it. Returns the
// result of the first refused call, or of the key's own deletion.
LONG DeleteTreeBelow(IRegistry& api, HKEY parent, const std::string& subKey, REGSAM access) {
  LONG refused = ERROR_SUCCESS;
  {
    TRegistry accessor(api);
    accessor.SetRootKey(parent);
    accessor.SetAccess(access);
    if (accessor.OpenKey(subKey, false)) {
      DWORD count = 0, longest = 0;
      if (api.RegQueryInfoKeyA(accessor.CurrentKey(), &count, &longest, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        for (DWORD index = count; index-- > 0;) {
          std::string name;
          // The longest name is counted in UTF-16 units, the buffer in the program's bytes.
          if (api.RegEnumKeyExA(accessor.CurrentKey(), index, longest * Utf8BytesPerUtf16Unit + 1, name) ==
              ERROR_SUCCESS) {
            const LONG result = DeleteTreeBelow(api, accessor.CurrentKey(), name, access);
            // A subkey gone meanwhile needs no deleting.
            if (refused == ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) refused = result;
          }
        }
      }
    }
  }
  const LONG result = api.RegDeleteKeyA(parent, subKey);
  return refused != ERROR_SUCCESS ? refused : result;
}

}  // namespace

REGSAM AccessMask(TAccess access) {
  switch (access) {
    case TAccess::kRead:
    case TAccess::kExecute:
      return KEY_READ;
    case TAccess::kWrite:
      return KEY_WRITE;
    case TAccess::kAllAccess:
      return KEY_ALL_ACCESS;
  }
  return KEY_ALL_ACCESS;
}

HKEY RootKeyHandle(TRootKey root) {
  switch (root) {
    case TRootKey::hkClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TRootKey::hkCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case TRootKey::hkCurrentUser:
      return HKEY_CURRENT_USER;
    case TRootKey::hkDynData:
      return HKEY_DYN_DATA;
    case TRootKey::hkLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case TRootKey::hkUsers:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

TRegistryEnhanced::TRegistryEnhanced(Platform& platform) : platform_(platform) { splitter_.BreakString = "\\"; }

std::string TRegistryEnhanced::NormalizeKey(const std::string& path) {
  std::string result = path;
  if (!result.empty() && result.back() == '\\') result.pop_back();
  if (result.size() > 1 && result[0] == '\\') result.erase(0, 1);
  return result;
}

TStringList TRegistryEnhanced::Pieces(const std::string& name) {
  splitter_.AllowEmptyString = false;
  splitter_.BaseString = name;
  splitter_.BreakApart();
  return splitter_.StringList;
}

std::string TRegistryEnhanced::KeyPart(const std::string& name) {
  const TStringList pieces = Pieces(name);
  std::string result;
  if (pieces.size() < 2) return result;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) result += "\\" + pieces[i];
  return result;
}

std::string TRegistryEnhanced::ValuePart(const std::string& name) {
  const TStringList pieces = Pieces(name);
  return pieces.size() < 2 ? name : pieces.back();
}

void TRegistryEnhanced::Prepare(TRegistry& accessor, REGSAM access) const {
  accessor.SetRootKey(RootKeyHandle(RootKey));
  accessor.SetAccess(access);
}

std::string TRegistryEnhanced::WorkingKey(const std::string& name) { return "\\" + NormalizeKey(Key) + KeyPart(name); }

void TRegistryEnhanced::WriteValue(const std::string& name, const TVariant& value) {
  lastError_ = ERROR_SUCCESS;
  if (Key.empty()) return;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  switch (value.Kind()) {
    case TVariantKind::kInteger:
      type = REG_DWORD;
      data = LittleEndian(static_cast<std::uint32_t>(value.AsInteger()), 4);
      break;
    case TVariantKind::kBoolean:
      type = REG_DWORD;
      data = LittleEndian(value.AsBoolean() ? 1 : 0, 4);
      break;
    case TVariantKind::kString:
      type = REG_SZ;
      data.assign(value.AsString().begin(), value.AsString().end());
      data.push_back(0);
      break;
    case TVariantKind::kDouble:
    case TVariantKind::kDate:
      type = REG_BINARY;
      data = DoubleBytes(value.AsDouble());
      break;
    case TVariantKind::kCurrency:
      type = REG_BINARY;
      data = LittleEndian(static_cast<std::uint64_t>(value.AsCurrency()), 8);
      break;
    case TVariantKind::kEmpty:
      return;
  }
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey(WorkingKey(name), true)) {
    lastError_ = accessor.LastOpenResult();
    return;
  }
  const std::string valueName = ValuePart(name);
  lastError_ = accessor.Api().RegSetValueExA(accessor.CurrentKey(), valueName, type, data);
  if (lastError_ != ERROR_SUCCESS) Raise(MsgFailedToSetData, valueName);
}

TVariant TRegistryEnhanced::ReadValue(const std::string& name) {
  TVariant result;
  if (Key.empty()) return result;
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey(WorkingKey(name), false)) return result;
  ReadOpenValue(accessor.Api(), accessor.CurrentKey(), ValuePart(name), result);
  return result;
}

TRegistryScope::TRegistryScope(TRegistryEnhanced& registry, TRootKey root, TAccess access)
    : registry_(registry), root_(registry.RootKey), key_(registry.Key), access_(registry.Access) {
  registry_.RootKey = root;
  registry_.Access = access;
}

TRegistryScope::TRegistryScope(TRegistryEnhanced& registry, TRootKey root, const std::string& key, TAccess access)
    : TRegistryScope(registry, root, access) {
  registry_.Key = key;
}

TRegistryScope::~TRegistryScope() {
  registry_.RootKey = root_;
  registry_.Key = key_;
  registry_.Access = access_;
}

TOpenKeyReader::TOpenKeyReader(TRegistryEnhanced& registry) : accessor_(registry.platform_.Registry()) {
  if (registry.Key.empty()) return;
  registry.Prepare(accessor_, AccessMask(registry.Access));
  open_ = accessor_.OpenKey(registry.WorkingKey(""), false);
}

TVariant TOpenKeyReader::ReadValue(const std::string& valueName) {
  // Most values fit a first buffer: their data comes with the question that ReadOpenValue
  // asks only for the type and size. A key deleted meanwhile fails that question, as a
  // missing value does.
  constexpr DWORD FirstGuess = 256;
  TVariant result;
  if (!open_) return result;
  IRegistry& api = accessor_.Api();
  std::vector<BYTE> buffer(FirstGuess, 0);
  DWORD type = REG_NONE, size = 0;
  const LONG first = api.RegQueryValueExA(accessor_.CurrentKey(), valueName, &type, &buffer, &size);
  if (first == ERROR_MORE_DATA) {
    ReadOpenValue(api, accessor_.CurrentKey(), valueName, result);
    return result;
  }
  if (first != ERROR_SUCCESS) return result;
  if (IsTextType(type)) {
    std::string text(buffer.begin(), buffer.begin() + std::min<std::size_t>(size, buffer.size()));
    const std::string::size_type nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    result = std::move(text);
  } else if (type == REG_DWORD) {
    // ReadOpenValue's four-byte read of a longer number fails.
    if (size > 4) Raise(MsgFailedToGetData, valueName);
    const std::uint32_t bits = static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
                               static_cast<std::uint32_t>(buffer[2]) << 16 |
                               static_cast<std::uint32_t>(buffer[3]) << 24;
    result = static_cast<std::int32_t>(bits);
  }
  return result;
}

TVariant TRegistryEnhanced::ReadValueDefault(const std::string& name, const TVariant& defaultValue) {
  if (Key.empty()) return TVariant();
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey(WorkingKey(name), false)) return defaultValue;
  TVariant result;
  try {
    if (!ReadOpenValue(accessor.Api(), accessor.CurrentKey(), ValuePart(name), result)) return defaultValue;
  } catch (const ERegistryException&) {
    return defaultValue;
  }
  return result;
}

std::string TRegistryEnhanced::ReadText(const std::string& name) {
  // Most values fit: the data comes with the first question.
  constexpr DWORD FirstGuess = 256;
  if (Key.empty()) return "";
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey(WorkingKey(name), false)) return "";
  const std::string valueName = ValuePart(name);
  std::vector<BYTE> buffer(FirstGuess, 0);
  DWORD type = REG_NONE, size = 0;
  LONG result = accessor.Api().RegQueryValueExA(accessor.CurrentKey(), valueName, &type, &buffer, &size);
  if (result == ERROR_MORE_DATA) {
    buffer.assign(size, 0);
    result = accessor.Api().RegQueryValueExA(accessor.CurrentKey(), valueName, &type, &buffer, &size);
  }
  if (result != ERROR_SUCCESS) return "";
  if (IsTextType(type)) {
    std::string text(buffer.begin(), buffer.begin() + std::min<std::size_t>(size, buffer.size()));
    const std::string::size_type nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
  }
  // As ReadValue: a number longer than four bytes is no number, a shorter one has zeros above.
  if (type != REG_DWORD || size > 4) return "";
  const std::uint32_t bits = static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
                             static_cast<std::uint32_t>(buffer[2]) << 16 | static_cast<std::uint32_t>(buffer[3]) << 24;
  return std::to_string(static_cast<std::int32_t>(bits));
}

std::string TRegistryEnhanced::ReadDefaultText() {
  constexpr DWORD FirstGuess = 256;
  if (Key.empty()) return "";
  IRegistry& registry = platform_.Registry();
  const HKEY root = RootKeyHandle(RootKey);
  const std::string path = NormalizeKey(Key);
  std::vector<BYTE> buffer(FirstGuess, 0);
  DWORD size = 0;
  LONG result = registry.RegQueryValueA(root, path, &buffer, &size);
  if (result == ERROR_MORE_DATA) {
    buffer.assign(size, 0);
    result = registry.RegQueryValueA(root, path, &buffer, &size);
  }
  if (result != ERROR_SUCCESS) return "";
  std::string text(buffer.begin(), buffer.begin() + std::min<std::size_t>(size, buffer.size()));
  const std::string::size_type nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

bool TRegistryEnhanced::ValueExists(const std::string& name) {
  if (Key.empty()) return false;
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey(WorkingKey(name), false)) return false;
  DWORD type = REG_NONE, size = 0;
  return accessor.Api().RegQueryValueExA(accessor.CurrentKey(), ValuePart(name), &type, nullptr, &size) ==
         ERROR_SUCCESS;
}

void TRegistryEnhanced::DeleteValue(const std::string& name) {
  if (Key.empty()) return;
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  // Normalised like the reads and writes: a Key written "\Software\X\" names the same key
  // for a delete as for the write that made the value.
  if (!accessor.OpenKey(WorkingKey(name), false)) return;
  accessor.Api().RegDeleteValueA(accessor.CurrentKey(), ValuePart(name));
}

void TRegistryEnhanced::DeleteKey(const std::string& subKey) {
  lastError_ = ERROR_SUCCESS;
  if (Key.empty()) return;
  // An empty name would make the registry delete the base key itself.
  const std::string target = NormalizeKey(subKey);
  if (target.empty() || target == "\\") return;
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  // Nothing there is nothing to delete; any other refusal is the caller's to report.
  auto refusal = [](LONG result) { return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result; };
  if (!accessor.OpenKey("\\" + NormalizeKey(Key), false)) {
    lastError_ = refusal(accessor.LastOpenResult());
    return;
  }
  lastError_ = refusal(DeleteTreeBelow(accessor.Api(), accessor.CurrentKey(), target, AccessMask(Access)));
}

bool TRegistryEnhanced::KeyIsEmpty() {
  if (Key.empty()) return false;
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey("\\" + NormalizeKey(Key), false)) return false;
  DWORD subKeys = 0, values = 0;
  return accessor.Api().RegQueryInfoKeyA(accessor.CurrentKey(), &subKeys, nullptr, &values, nullptr, nullptr) ==
             ERROR_SUCCESS &&
         subKeys == 0 && values == 0;
}

void TRegistryEnhanced::GetValueNames(TStringList& list) {
  list.clear();
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (accessor.OpenKey("\\" + NormalizeKey(Key), false)) list = accessor.GetValueNames();
}

void TRegistryEnhanced::GetKeyNames(TStringList& list) {
  list.clear();
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (accessor.OpenKey("\\" + NormalizeKey(Key), false)) list = accessor.GetKeyNames();
}

bool TRegistryEnhanced::AppendKeyNames(TStringList& list, std::size_t& next, std::size_t most) {
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey("\\" + NormalizeKey(Key), false)) return true;
  // The registry lists subkeys sorted: a key added or deleted before the last name listed
  // moves that name to another place. (A name that could not be read leaves nothing to
  // compare; the list is then as good as GetKeyNames gives.)
  if (next > 0 && list.size() == next && accessor.KeyNameAt(next - 1) != list.back()) {
    list.clear();
    next = 0;
  }
  return accessor.AppendKeyNames(list, next, most);
}

bool TRegistryEnhanced::SearchValues(const std::string& text, TSearchMode mode, TSearchExtent extent) {
  bool result = true;
  // One accessor serves the listing and every data read of this key.
  TRegistry accessor(platform_.Registry());
  Prepare(accessor, AccessMask(Access));
  if (!accessor.OpenKey("\\" + NormalizeKey(Key), false)) return result;
  const TStringList names = accessor.GetValueNames();
  const std::string wanted = LowerLettersAZ(text);
  // With an empty Key reads give nothing, so data never matches.
  const bool dataReadable = !Key.empty();

  auto nameMatches = [&](const std::string& name) { return LowerLettersAZ(name).find(wanted) != std::string::npos; };
  auto dataMatches = [&](const std::string& name) {
    if (!dataReadable) return false;
    TVariant data;
    try {
      ReadOpenValue(accessor.Api(), accessor.CurrentKey(), name, data);
    } catch (const ERegistryException&) {
      // Data that cannot be read as text holds no text. Letting the error end the search
      // would make one damaged value anywhere under the key answer every search with a
      // failure, whatever the search was for.
      return false;
    }
    return LowerLettersAZ(data.ToText()).find(wanted) != std::string::npos;
  };
  auto matches = [&](const std::string& name, bool tryNames, bool tryData) {
    if (text.empty()) return true;
    return (tryNames && nameMatches(name)) || (tryData && dataMatches(name));
  };
  // False when the results list cannot take the path: memory runs out, or the path or the
  // list would grow past the longest the library allows.
  auto add = [&](const std::string& name) {
    try {
      SearchResults.push_back(Key + "\\" + name);
    } catch (const std::exception&) {
      result = false;
    }
  };

  const bool byName = mode != TSearchMode::kData;
  const bool byData = mode != TSearchMode::kNames;
  if (extent == TSearchExtent::kFirstHit) {
    // Names are cheap (they came with the listing); data costs a read per value.
    for (int pass = 0; pass < 2; ++pass) {
      const bool namesPass = pass == 0;
      if (namesPass ? !byName : !byData) continue;
      for (const std::string& name : names) {
        if (matches(name, namesPass, !namesPass)) {
          add(name);
          if (result) return result;
        }
      }
    }
    return result;
  }
  for (const std::string& name : names) {
    if (matches(name, byName, byData)) add(name);
  }
  return result;
}

void TRegistryEnhanced::SearchTree(const std::string& text, TSearchMode mode, TSearchExtent extent) {
  SearchResults.clear();
  std::array<long, SearchDepthCounters> counter{};
  Key = NormalizeKey(Key);
  const std::string start = Key;
  // Key goes back to where the walk started however the walk ends.
  struct RestoreKey {
    std::string& key;
    const std::string& start;
    ~RestoreKey() { key = start; }
  } restore{Key, start};
  auto finished = [&] { return extent == TSearchExtent::kFirstHit && !SearchResults.empty(); };

  int depth = 0, maxDepth = -1;
  long remaining = 1;
  bool first = true;
  SearchValues(text, mode, extent);
  if (finished()) return;
  while (remaining >= 1) {
    TStringList subKeys;
    // The deepest level that has a counter goes no further: what lies below it is skipped.
    if (depth < SearchDepthCounters - 1) GetKeyNames(subKeys);
    if (first) counter[depth] = static_cast<long>(subKeys.size());
    if (depth > maxDepth) maxDepth = depth;
    remaining = 0;
    for (int level = 0; level <= maxDepth; ++level) remaining += counter[level];
    const long left = counter[depth];
    // `left` can exceed the list when subkeys vanished since the first visit; the rest of
    // this level is then given up rather than indexed outside the list.
    if (!subKeys.empty() && left > 0 && left <= static_cast<long>(subKeys.size())) {
      Key = Key + "\\" + subKeys[subKeys.size() - static_cast<std::size_t>(left)];
      --counter[depth];
      ++depth;
      if (!SearchValues(text, mode, extent)) return;
      if (finished()) return;
      first = true;
    } else {
      counter[depth] = 0;
      if (depth == 0) return;
      --depth;
      Key = NormalizeKey(Key.substr(0, Key.rfind('\\')));
      first = false;
    }
  }
}

}  // namespace ombrix
