#pragma once
// TRegistryEnhanced: the settings store over one registry key, given as a root (RootKey)
// and a base path (Key). Value names may carry a relative key path ("Sub\Key\Value").
// Every operation opens the registry afresh, does one thing and closes again: nothing stays
// open between calls, so two programs can share the key, and callers may retarget the
// component by assigning RootKey and Key before a call.

#include <string>

#include "base/Exception.h"
#include "platform/Platform.h"
#include "settings/Brkapart.h"
#include "settings/RegistryAccessor.h"
#include "settings/Variant.h"

namespace ombrix {

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// The messages of ERegistryException; "%s" is the value name.
inline constexpr char MsgFailedToSetData[] = "Failed to set data for '%s'";
inline constexpr char MsgFailedToGetData[] = "Failed to get data for '%s'";
inline constexpr char MsgInvalidDataType[] = "Invalid data type for '%s'";
inline constexpr char MsgFailedToDeleteData[] = "Failed to delete data for '%s'";

enum class TAccess { kRead, kWrite, kExecute, kAllAccess };
enum class TRootKey { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };

// What a search compares Text with (letter case of A to Z ignored).
enum class TSearchMode {
  kNames = 0,          // the value names
  kData = 1,           // the values' data as text
  kNamesThenData = 2,  // the name, and only when it does not match, the data
};

// How far a search goes. kFirstHit stops at the first match: SearchResults then holds one
// path, and within each key the names are all tried before any data is read (in
// kNamesThenData), so a name match is reported when the key has one. Whether anything
// matches is the same either way; only the cost differs.
enum class TSearchExtent { kAllHits, kFirstHit };

REGSAM AccessMask(TAccess access);
HKEY RootKeyHandle(TRootKey root);

class TRegistryEnhanced {
 public:
  explicit TRegistryEnhanced(Platform& platform);
  TRegistryEnhanced(const TRegistryEnhanced&) = delete;
  TRegistryEnhanced& operator=(const TRegistryEnhanced&) = delete;

  // Mask for opening existing keys. Keys opened for writing always use KEY_ALL_ACCESS.
  TAccess Access = TAccess::kAllAccess;
  // The base key path below the root, e.g. "Software\Vorel Software\Ombrix". An empty Key
  // makes the value operations do nothing (reads give empty).
  std::string Key;
  TRootKey RootKey = TRootKey::hkCurrentUser;
  // Full paths (key path, "\", value name) of the values the last search found.
  TStringList SearchResults;

  // Writes the value, creating the key when missing: integer and boolean as REG_DWORD,
  // string as REG_SZ with its terminator, double, currency and date as 8 bytes of
  // REG_BINARY; an empty value writes nothing. A failed write raises ERegistryException.
  void WriteValue(const std::string& name, const TVariant& value);
  // REG_SZ and REG_EXPAND_SZ give the text up to the first NUL, REG_DWORD the integer;
  // anything else, a missing value or a key that cannot be opened gives empty. A value that
  // cannot be read raises ERegistryException.
  TVariant ReadValue(const std::string& name);
  // As ReadValue, but every failure and every missing or unrecognised value gives
  // `defaultValue` (an empty Key still gives empty).
  TVariant ReadValueDefault(const std::string& name, const TVariant& defaultValue);
  // What ReadValueDefault(name, "") gives, as text: REG_SZ and REG_EXPAND_SZ up to the first
  // NUL, REG_DWORD as its decimal digits, "" for anything else, a missing value, a key that
  // cannot be opened or a value that cannot be read. A short value costs one query instead of
  // two, for callers that read thousands of keys.
  std::string ReadText(const std::string& name);
  // The default value of Key as text up to the first NUL, asked in one registry call rather
  // than ReadText's open, query and close, for callers that read thousands of keys. "" for a
  // key without one, a key that cannot be opened or a value that cannot be read. The call
  // does not tell the type: a default value that is no text comes as its bytes.
  std::string ReadDefaultText();
  // True when the value exists, whatever its type.
  bool ValueExists(const std::string& name);
  // Deletes the value; a failure is ignored.
  void DeleteValue(const std::string& name);
  // Deletes the key below Key together with everything below it; nothing is reported.
  void DeleteKey(const std::string& subKey);
  // What became of the last WriteValue or DeleteKey: ERROR_SUCCESS when it changed the
  // registry as asked (a key to delete that was not there counts as done), otherwise the
  // registry's result code of the first call that was refused. Neither operation reports a
  // refused key by itself, so a caller that must tell the user asks here.
  LONG LastError() const { return lastError_; }
  // True when Key exists and holds neither a value (the default one included) nor a subkey.
  bool KeyIsEmpty();
  // Clear `list`, then fill it with the value (subkey) names of Key; an empty Key lists the
  // root itself.
  void GetValueNames(TStringList& list);
  void GetKeyNames(TStringList& list);
  // GetKeyNames a part at a time, for a caller that returns to the message loop between
  // parts: appends the names from the `next`th on, at most `most` of them, to `list`, which
  // holds those listed so far, and moves `next` past them. When a subkey was added or deleted
  // among those since, the listing starts over. True once the list is complete.
  bool AppendKeyNames(TStringList& list, std::size_t& next, std::size_t most);

  // Appends to SearchResults the values of Key that match `text` (all of them when `text` is
  // empty). False only when the list could not grow.
  bool SearchValues(const std::string& text, TSearchMode mode, TSearchExtent extent = TSearchExtent::kAllHits);
  // Clears SearchResults and searches Key and every key below it, depth first (pre-order,
  // subkeys in the registry's order), moving Key while it walks and setting it back to its
  // normalised former value at the end. Levels deeper than 100 below the start are skipped.
  void SearchTree(const std::string& text, TSearchMode mode, TSearchExtent extent = TSearchExtent::kAllHits);

  // \Software\X\ gives Software\X.
  static std::string NormalizeKey(const std::string& path);
  // A\B\V gives \A\B; a name without a key path gives "".
  std::string KeyPart(const std::string& name);
  // A\B\V gives V; a name without a key path comes back unchanged.
  std::string ValuePart(const std::string& name);

 private:
  friend class TOpenKeyReader;
  TStringList Pieces(const std::string& name);
  // An accessor for one operation, set to RootKey and the given access mask.
  void Prepare(TRegistry& accessor, REGSAM access) const;
  std::string WorkingKey(const std::string& name);

  Platform& platform_;
  TBrkApart splitter_;
  LONG lastError_ = ERROR_SUCCESS;
};

// Aims a component at a root and an access (and a key, when given) for one operation and
// puts its root, key and access back afterwards, so that a caller that aimed it elsewhere
// finds it as it left it: the settings store aims the component at the settings key under
// HKEY_CURRENT_USER, while the control center keeps it on file types between operations.
class TRegistryScope {
 public:
  // Key stays as it is, for the operation to set.
  TRegistryScope(TRegistryEnhanced& registry, TRootKey root, TAccess access);
  TRegistryScope(TRegistryEnhanced& registry, TRootKey root, const std::string& key, TAccess access);
  ~TRegistryScope();
  TRegistryScope(const TRegistryScope&) = delete;
  TRegistryScope& operator=(const TRegistryScope&) = delete;

 private:
  TRegistryEnhanced& registry_;
  TRootKey root_;
  std::string key_;
  TAccess access_;
};

// Reads values directly in a component's Key (names without a key path) through one key
// opened when the reader is made and closed when it goes, for a caller that reads thousands
// in a row: every read gives what ReadValue would, without opening and closing the key for
// each. The component's RootKey, Key and Access count as they are when the reader is made.
class TOpenKeyReader {
 public:
  explicit TOpenKeyReader(TRegistryEnhanced& registry);
  TOpenKeyReader(const TOpenKeyReader&) = delete;
  TOpenKeyReader& operator=(const TOpenKeyReader&) = delete;

  TVariant ReadValue(const std::string& valueName);

 private:
  TRegistry accessor_;
  bool open_ = false;
};

}  // namespace ombrix
