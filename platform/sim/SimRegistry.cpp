#include "platform/sim/SimRegistry.h"

#include <algorithm>

#include "platform/sim/SimText.h"

namespace ombrix::sim {

namespace {

ULONG_PTR HandleValue(HKEY key) { return reinterpret_cast<ULONG_PTR>(key); }

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string piece;
  for (char c : path) {
    if (c == '\\') {
      if (!piece.empty()) parts.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) parts.push_back(piece);
  return parts;
}

constexpr DWORD MaxKeyNameLength = 255;

}  // namespace

SimRegistry::SimRegistry() {
  for (HKEY root :
       {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
    roots_[HandleValue(root)] = std::make_shared<Key>();
  }
}

SimRegistry::~SimRegistry() = default;

void SimRegistry::FailNth(Op op, int nth, LONG error) { failures_.push_back({op, nth - 1, error}); }

void SimRegistry::FailAlways(Op op, LONG error) { failures_.push_back({op, -1, error}); }

void SimRegistry::ClearFailures() { failures_.clear(); }

int SimRegistry::OpenHandleCount() const { return static_cast<int>(handles_.size()); }

LONG SimRegistry::Injected(Op op) {
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->op != op) continue;
    if (it->remaining < 0) return it->error;
    if (it->remaining == 0) {
      LONG error = it->error;
      failures_.erase(it);
      return error;
    }
    --it->remaining;
  }
  return ERROR_SUCCESS;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Resolve(HKEY key, REGSAM* access) const {
  auto root = roots_.find(HandleValue(key));
  if (root != roots_.end()) {
    if (access) *access = KEY_ALL_ACCESS;
    return root->second;
  }
  auto handle = handles_.find(HandleValue(key));
  if (handle == handles_.end()) return nullptr;
  if (access) *access = handle->second.access;
  return handle->second.key;
}

HKEY SimRegistry::NewHandle(std::shared_ptr<Key> key, REGSAM access) {
  ULONG_PTR value = nextHandle_;
  nextHandle_ += 4;
  handles_[value] = Handle{std::move(key), access};
  return reinterpret_cast<HKEY>(value);
}

LONG SimRegistry::Walk(HKEY parent, const std::string& subKey, bool create, std::shared_ptr<Key>& found,
                       bool& created) {
  created = false;
  REGSAM access = 0;
  std::shared_ptr<Key> current = Resolve(parent, &access);
  if (!current) return ERROR_INVALID_HANDLE;
  if (current->deleted) return ERROR_KEY_DELETED;
  // Windows refuses a leading backslash everywhere but under HKEY_CLASSES_ROOT.
  if (!subKey.empty() && subKey[0] == '\\' && parent != HKEY_CLASSES_ROOT) return ERROR_BAD_PATHNAME;
  for (const std::string& part : SplitPath(subKey)) {
    if (part.size() > MaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    auto it = current->subKeys.find(LowerText(part));
    if (it == current->subKeys.end()) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      auto key = std::make_shared<Key>();
      key->name = part;
      it = current->subKeys.emplace(LowerText(part), key).first;
      created = true;
    }
    current = it->second;
  }
  found = current;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) {
  result = nullptr;
  if (LONG error = Injected(Op::Open)) return error;
  if (subKey.empty() && roots_.count(HandleValue(parent))) {
    result = parent;
    return ERROR_SUCCESS;
  }
  std::shared_ptr<Key> key;
  bool created = false;
  if (LONG error = Walk(parent, subKey, false, key, created)) return error;
  result = NewHandle(key, access);
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result,
                                  DWORD* disposition) {
  result = nullptr;
  if (LONG error = Injected(Op::Create)) return error;
  REGSAM parentAccess = 0;
  if (!Resolve(parent, &parentAccess)) return ERROR_INVALID_HANDLE;
  std::shared_ptr<Key> key;
  bool created = false;
  LONG error = Walk(parent, subKey, false, key, created);
  if (error == ERROR_FILE_NOT_FOUND) {
    if ((parentAccess & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    error = Walk(parent, subKey, true, key, created);
  }
  if (error) return error;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  result = NewHandle(key, access);
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegCloseKey(HKEY key) {
  if (roots_.count(HandleValue(key))) return ERROR_SUCCESS;
  return handles_.erase(HandleValue(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

SimRegistry::Value* SimRegistry::FindValue(Key& key, const std::string& name) {
  for (Value& value : key.values) {
    if (SameTextNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

LONG SimRegistry::RegQueryValueExA(HKEY handle, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                                   DWORD* size) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::Query)) return error;
  Value* value = FindValue(*key, name);
  if (!value) {
    if (!data && size) *size = 0;
    return ERROR_FILE_NOT_FOUND;
  }
  if (type) *type = value->type;
  const DWORD stored = static_cast<DWORD>(value->data.size());
  if (size) *size = stored;
  if (!data) return ERROR_SUCCESS;
  if (stored > data->size()) return ERROR_MORE_DATA;
  std::copy(value->data.begin(), value->data.end(), data->begin());
  // Strings gain a terminator only where the caller's buffer has room for it.
  if (IsStringType(value->type) && stored < data->size()) (*data)[stored] = 0;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegQueryValueA(HKEY handle, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) {
  std::shared_ptr<Key> key;
  bool created = false;
  if (LONG error = Walk(handle, subKey, false, key, created)) return error;
  // Only the handle itself is read through its own access; a subkey is opened for querying.
  if (SplitPath(subKey).empty()) {
    REGSAM access = 0;
    Resolve(handle, &access);
    if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  }
  if (LONG error = Injected(Op::Query)) return error;
  // A key without a default value reads as the empty string.
  static const std::vector<BYTE> Empty{0};
  const Value* value = FindValue(*key, "");
  const std::vector<BYTE>& bytes = value ? value->data : Empty;
  const bool isString = !value || IsStringType(value->type);
  const DWORD stored = static_cast<DWORD>(bytes.size());
  if (size) *size = stored;
  if (!data) return ERROR_SUCCESS;
  if (stored > data->size()) return ERROR_MORE_DATA;
  std::copy(bytes.begin(), bytes.end(), data->begin());
  if (isString && stored < data->size()) (*data)[stored] = 0;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegSetValueExA(HKEY handle, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::Set)) return error;
  if (Value* value = FindValue(*key, name)) {
    value->type = type;
    value->data = data;
  } else {
    key->values.push_back(Value{name, type, data});
  }
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegDeleteValueA(HKEY handle, const std::string& name) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::DeleteValue)) return error;
  auto it = std::find_if(key->values.begin(), key->values.end(),
                         [&](const Value& value) { return SameTextNoCase(value.name, name); });
  if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
  key->values.erase(it);
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegDeleteKeyA(HKEY parent, const std::string& subKey) {
  if (LONG error = Injected(Op::DeleteKey)) return error;
  std::vector<std::string> parts = SplitPath(subKey);
  if (parts.empty()) {
    // An empty name deletes the key the handle stands for.
    if (roots_.count(HandleValue(parent))) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> self = Resolve(parent, nullptr);
    if (!self) return ERROR_INVALID_HANDLE;
    if (self->deleted) return ERROR_KEY_DELETED;
    if (!self->subKeys.empty()) return ERROR_ACCESS_DENIED;
    std::shared_ptr<Key> holder = ContainerOf(self);
    if (!holder) return ERROR_INVALID_PARAMETER;
    self->deleted = true;
    holder->subKeys.erase(LowerText(self->name));
    return ERROR_SUCCESS;
  }
  std::string leaf = parts.back();
  parts.pop_back();
  std::string parentPath;
  for (const std::string& part : parts) parentPath += part + "\\";
  std::shared_ptr<Key> container;
  bool created = false;
  if (LONG error = Walk(parent, parentPath, false, container, created)) return error;
  auto it = container->subKeys.find(LowerText(leaf));
  if (it == container->subKeys.end()) return ERROR_FILE_NOT_FOUND;
  if (!it->second->subKeys.empty()) return ERROR_ACCESS_DENIED;
  it->second->deleted = true;
  container->subKeys.erase(it);
  return ERROR_SUCCESS;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::ContainerOf(const std::shared_ptr<Key>& key) const {
  std::vector<std::shared_ptr<Key>> pending;
  for (const auto& root : roots_) pending.push_back(root.second);
  while (!pending.empty()) {
    std::shared_ptr<Key> current = pending.back();
    pending.pop_back();
    for (const auto& entry : current->subKeys) {
      if (entry.second == key) return current;
      pending.push_back(entry.second);
    }
  }
  return nullptr;
}

LONG SimRegistry::RegEnumKeyExA(HKEY handle, DWORD index, DWORD capacity, std::string& name) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::Enum)) return error;
  if (index >= key->subKeys.size()) return ERROR_NO_MORE_ITEMS;
  auto it = key->subKeys.begin();
  std::advance(it, index);
  if (it->second->name.size() + 1 > capacity) return ERROR_MORE_DATA;
  name = it->second->name;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegEnumValueA(HKEY handle, DWORD index, DWORD capacity, std::string& name) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::Enum)) return error;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& value = key->values[index];
  if (value.name.size() + 1 > capacity) return ERROR_MORE_DATA;
  name = value.name;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegQueryInfoKeyA(HKEY handle, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values,
                                   DWORD* maxValueNameLen, DWORD* maxValueLen) {
  REGSAM access = 0;
  std::shared_ptr<Key> key = Resolve(handle, &access);
  if (!key) return ERROR_INVALID_HANDLE;
  if (key->deleted) return ERROR_KEY_DELETED;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::QueryInfo)) return error;
  DWORD longestKey = 0, longestName = 0, longestData = 0;
  for (const auto& entry : key->subKeys) longestKey = std::max<DWORD>(longestKey, entry.second->name.size());
  for (const Value& value : key->values) {
    longestName = std::max<DWORD>(longestName, value.name.size());
    longestData = std::max<DWORD>(longestData, value.data.size());
  }
  if (subKeys) *subKeys = static_cast<DWORD>(key->subKeys.size());
  if (maxSubKeyLen) *maxSubKeyLen = longestKey;
  if (values) *values = static_cast<DWORD>(key->values.size());
  if (maxValueNameLen) *maxValueNameLen = longestName;
  if (maxValueLen) *maxValueLen = longestData;
  return ERROR_SUCCESS;
}

std::string SimRegistry::FormatMessageA(LONG error) {
  // Windows' English texts for the codes this registry gives.
  switch (error) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
      return "The system cannot find the file specified.";
    case ERROR_ACCESS_DENIED:
      return "Access is denied.";
    case ERROR_INVALID_HANDLE:
      return "The handle is invalid.";
    case ERROR_INVALID_PARAMETER:
      return "The parameter is incorrect.";
    case ERROR_BAD_PATHNAME:
      return "The specified path is invalid.";
    case ERROR_MORE_DATA:
      return "More data is available.";
    case ERROR_NO_MORE_ITEMS:
      return "No more data is available.";
    case ERROR_KEY_DELETED:
      return "Illegal operation attempted on a registry key that has been marked for deletion.";
    default:
      return "";
  }
}

}  // namespace ombrix::sim
