#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <functional>

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

std::string JoinPath(std::string path, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) path += (path.empty() ? "" : "\\") + part;
  return path;
}

constexpr DWORD MaxKeyNameLength = 255;
// The rights that change a key (KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE,
// WRITE_DAC, WRITE_OWNER): a standard user who asks for any of them below
// HKEY_LOCAL_MACHINE is refused the key, while KEY_READ opens it.
constexpr REGSAM ChangeRights = 0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000;
const std::vector<std::string> ClassesParts = {"Software", "Classes"};

}  // namespace

SimRegistry::SimRegistry(const SimCodePages& codePages) : codePages_(codePages) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
    roots_[HandleValue(root)] = std::make_shared<Key>();
  }
  roots_[HandleValue(HKEY_LOCAL_MACHINE)]->machine = true;
  // Both halves of HKEY_CLASSES_ROOT exist on every Windows.
  std::shared_ptr<Key> made;
  Make(roots_[HandleValue(HKEY_CURRENT_USER)], ClassesParts, made);
  Make(roots_[HandleValue(HKEY_LOCAL_MACHINE)], ClassesParts, made);
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

bool SimRegistry::IsPredefined(HKEY key) const {
  return key == HKEY_CLASSES_ROOT || roots_.count(HandleValue(key)) != 0;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Find(std::shared_ptr<Key> from,
                                                    const std::vector<std::string>& parts) const {
  for (const std::string& part : parts) {
    if (!from) break;
    auto it = from->subKeys.find(LowerText(part));
    from = it == from->subKeys.end() ? nullptr : it->second;
  }
  return from;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::ClassesKey(bool machine) const {
  return Find(roots_.at(HandleValue(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER)), ClassesParts);
}

LONG SimRegistry::Resolve(HKEY handle, View& view) {
  view = View();
  if (handle == HKEY_CLASSES_ROOT) {
    view.classes = true;
    view.access = KEY_ALL_ACCESS;
  } else if (auto root = roots_.find(HandleValue(handle)); root != roots_.end()) {
    view.first = root->second;
    view.access = KEY_ALL_ACCESS;
    return ERROR_SUCCESS;
  } else {
    auto found = handles_.find(HandleValue(handle));
    if (found == handles_.end()) return ERROR_INVALID_HANDLE;
    view.access = found->second.access;
    if (found->second.key) {
      view.first = found->second.key;
      return view.first->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
    }
    view.classes = true;
    view.classesPath = found->second.classesPath;
  }
  const std::vector<std::string> parts = SplitPath(view.classesPath);
  view.first = Find(ClassesKey(false), parts);
  view.second = Find(ClassesKey(true), parts);
  return view.first || view.second ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG SimRegistry::Descend(HKEY parent, const View& from, const std::string& subKey, View& to) {
  // Windows refuses a leading backslash everywhere but under HKEY_CLASSES_ROOT.
  if (!subKey.empty() && subKey[0] == '\\' && parent != HKEY_CLASSES_ROOT) return ERROR_BAD_PATHNAME;
  const std::vector<std::string> parts = SplitPath(subKey);
  for (const std::string& part : parts) {
    if (part.size() > MaxKeyNameLength) return ERROR_INVALID_PARAMETER;
  }
  to = from;
  if (from.classes) {
    to.classesPath = JoinPath(from.classesPath, parts);
    const std::vector<std::string> path = SplitPath(to.classesPath);
    to.first = Find(ClassesKey(false), path);
    to.second = Find(ClassesKey(true), path);
    return to.first || to.second ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  }
  to.first = Find(from.first, parts);
  return to.first ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

bool SimRegistry::Make(std::shared_ptr<Key> from, const std::vector<std::string>& parts, std::shared_ptr<Key>& made,
                       bool isVolatile) {
  bool created = false;
  for (const std::string& part : parts) {
    auto it = from->subKeys.find(LowerText(part));
    if (it == from->subKeys.end()) {
      auto key = std::make_shared<Key>();
      key->name = part;
      key->machine = from->machine;
      key->isVolatile = isVolatile;
      it = from->subKeys.emplace(LowerText(part), key).first;
      created = true;
    }
    from = it->second;
  }
  if (created) ++generation_;
  made = from;
  return created;
}

HKEY SimRegistry::NewHandle(const View& view, REGSAM access) {
  ULONG_PTR value = nextHandle_;
  nextHandle_ += 4;
  handles_[value] = Handle{view.classes ? nullptr : view.first, access, view.classesPath};
  return reinterpret_cast<HKEY>(value);
}

LONG SimRegistry::RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) {
  result = nullptr;
  if (LONG error = Injected(Op::kOpen)) return error;
  if (subKey.empty() && IsPredefined(parent)) {
    result = parent;
    return ERROR_SUCCESS;
  }
  View from, to;
  if (LONG error = Resolve(parent, from)) return error;
  if (LONG error = Descend(parent, from, subKey, to)) return error;
  // A key that may not be changed cannot be opened to be changed. Of a key of
  // HKEY_CLASSES_ROOT, the per-user one is opened when the user has it.
  if ((access & ChangeRights) != 0 && !MayChange(*(to.first ? to.first : to.second))) return ERROR_ACCESS_DENIED;
  result = NewHandle(to, access);
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result,
                                  DWORD* disposition, DWORD options) {
  result = nullptr;
  if (LONG error = Injected(Op::kCreate)) return error;
  View from, to;
  if (LONG error = Resolve(parent, from)) return error;
  const LONG error = Descend(parent, from, subKey, to);
  bool created = false;
  if (error == ERROR_FILE_NOT_FOUND) {
    if ((from.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    // A key made through HKEY_CLASSES_ROOT goes to the machine's half, even below a key that
    // the user's half holds.
    const std::shared_ptr<Key> base = from.classes ? ClassesKey(true) : from.first;
    if (!base) return ERROR_FILE_NOT_FOUND;
    if (!MayChange(*base)) return ERROR_ACCESS_DENIED;
    const std::vector<std::string> parts = SplitPath(from.classes ? to.classesPath : subKey);
    const bool isVolatile = (options & REG_OPTION_VOLATILE) != 0;
    // Windows keeps no lasting key below one that goes at log-off.
    std::shared_ptr<Key> deepest = base;
    for (const std::string& part : parts) {
      const std::shared_ptr<Key> next = Find(deepest, {part});
      if (!next) break;
      deepest = next;
    }
    if (deepest->isVolatile && !isVolatile) return ERROR_CHILD_MUST_BE_VOLATILE;
    std::shared_ptr<Key> made;
    created = Make(base, parts, made, isVolatile);
    if (!from.classes) to.first = made;
  } else if (error != ERROR_SUCCESS) {
    return error;
  } else if ((access & ChangeRights) != 0 && !MayChange(*(to.first ? to.first : to.second))) {
    return ERROR_ACCESS_DENIED;
  }
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  result = NewHandle(to, access);
  return ERROR_SUCCESS;
}

void SimRegistry::LogOff() {
  // Handles open on the keys that went, or on keys below them, now meet a deleted key.
  const std::function<void(Key&)> markDeleted = [&](Key& key) {
    key.deleted = true;
    for (auto& sub : key.subKeys) markDeleted(*sub.second);
  };
  const std::function<void(Key&)> dropVolatile = [&](Key& key) {
    for (auto it = key.subKeys.begin(); it != key.subKeys.end();) {
      if (it->second->isVolatile) {
        markDeleted(*it->second);
        it = key.subKeys.erase(it);
        ++generation_;
      } else {
        dropVolatile(*it->second);
        ++it;
      }
    }
  };
  for (auto& root : roots_) dropVolatile(*root.second);
}

LONG SimRegistry::RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  nameCaches_.erase(HandleValue(key));
  return handles_.erase(HandleValue(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

SimRegistry::Value* SimRegistry::FindValue(Key& key, const std::string& name) {
  for (Value& value : key.values) {
    if (SameTextNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

SimRegistry::Value* SimRegistry::VisibleValue(const View& view, const std::string& name) {
  Value* value = view.first ? FindValue(*view.first, name) : nullptr;
  if (!value && view.second) value = FindValue(*view.second, name);
  return value;
}

std::vector<const SimRegistry::Value*> SimRegistry::VisibleValues(const View& view) const {
  std::vector<const Value*> values;
  if (view.first) {
    for (const Value& value : view.first->values) values.push_back(&value);
  }
  if (view.second) {
    for (Value& value : view.second->values) {
      if (!view.first || !FindValue(*view.first, value.name)) values.push_back(&value);
    }
  }
  return values;
}

const std::vector<std::string>& SimRegistry::SubKeyNames(HKEY handle, const View& view) {
  NameCache& cache = nameCaches_[HandleValue(handle)];
  if (cache.generation == generation_) return cache.names;
  cache.generation = generation_;
  cache.names.clear();
  // Both maps are sorted by the lower-cased name: merge them, each name once, spelled as
  // the per-user half spells it.
  static const std::map<std::string, std::shared_ptr<Key>> None;
  const auto& user = view.first ? view.first->subKeys : None;
  const auto& machine = view.second ? view.second->subKeys : None;
  auto u = user.begin();
  auto m = machine.begin();
  while (u != user.end() || m != machine.end()) {
    if (m == machine.end() || (u != user.end() && u->first <= m->first)) {
      if (m != machine.end() && u->first == m->first) ++m;
      cache.names.push_back(u->second->name);
      ++u;
    } else {
      cache.names.push_back(m->second->name);
      ++m;
    }
  }
  return cache.names;
}

LONG SimRegistry::RegQueryValueExA(HKEY handle, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                                   DWORD* size) {
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kQuery)) return error;
  Value* value = VisibleValue(view, name);
  if (!value) {
    if (!data && size) *size = 0;
    return ERROR_FILE_NOT_FOUND;
  }
  if (type) *type = value->type;
  const std::vector<BYTE> bytes = DataOf(*value);
  const DWORD stored = static_cast<DWORD>(bytes.size());
  if (size) *size = stored;
  if (!data) return ERROR_SUCCESS;
  if (stored > data->size()) return ERROR_MORE_DATA;
  std::copy(bytes.begin(), bytes.end(), data->begin());
  // Strings gain a terminator only where the caller's buffer has room for it.
  if (IsStringType(value->type) && stored < data->size()) (*data)[stored] = 0;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegQueryValueA(HKEY handle, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) {
  View from, view;
  if (LONG error = Resolve(handle, from)) return error;
  if (LONG error = Descend(handle, from, subKey, view)) return error;
  // Only the handle itself is read through its own access; a subkey is opened for querying.
  if (SplitPath(subKey).empty() && (from.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kQuery)) return error;
  // A key without a default value reads as the empty string.
  const Value* value = VisibleValue(view, "");
  const std::vector<BYTE> bytes = value ? DataOf(*value) : std::vector<BYTE>{0};
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
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kSet)) return error;
  // Through HKEY_CLASSES_ROOT a value goes to the per-user key when the user has one.
  Key& key = *(view.first ? view.first : view.second);
  if (!MayChange(key)) return ERROR_ACCESS_DENIED;
  if (Value* value = FindValue(key, name)) {
    value->type = type;
    value->data = data;
    value->codePage = codePages_.Active();
  } else {
    key.values.push_back(Value{name, type, data, codePages_.Active()});
  }
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegDeleteValueA(HKEY handle, const std::string& name) {
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kDeleteValue)) return error;
  // The value a read finds is the one deleted; through HKEY_CLASSES_ROOT a second delete
  // then finds the machine's.
  for (const std::shared_ptr<Key>& key : {view.first, view.second}) {
    if (!key) continue;
    auto it = std::find_if(key->values.begin(), key->values.end(),
                           [&](const Value& value) { return SameTextNoCase(value.name, name); });
    if (it == key->values.end()) continue;
    if (!MayChange(*key)) return ERROR_ACCESS_DENIED;
    key->values.erase(it);
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_NOT_FOUND;
}

LONG SimRegistry::RegDeleteKeyA(HKEY parent, const std::string& subKey) {
  if (LONG error = Injected(Op::kDeleteKey)) return error;
  std::vector<std::string> parts = SplitPath(subKey);
  if (parts.empty() && IsPredefined(parent)) return ERROR_INVALID_PARAMETER;
  View from;
  if (LONG error = Resolve(parent, from)) return error;
  std::shared_ptr<Key> holder, target;
  if (parts.empty()) {
    // An empty name deletes the key the handle stands for.
    target = from.first ? from.first : from.second;
    holder = ContainerOf(target);
    if (!holder) return ERROR_INVALID_PARAMETER;
  } else {
    const std::string leaf = LowerText(parts.back());
    parts.pop_back();
    // Through HKEY_CLASSES_ROOT the per-user key goes first; the machine's shows then, and a
    // second delete takes it.
    std::vector<std::shared_ptr<Key>> containers;
    if (from.classes) {
      const std::vector<std::string> path = SplitPath(JoinPath(from.classesPath, parts));
      containers = {Find(ClassesKey(false), path), Find(ClassesKey(true), path)};
    } else {
      containers = {Find(from.first, parts)};
    }
    for (const std::shared_ptr<Key>& container : containers) {
      if (!container) continue;
      auto it = container->subKeys.find(leaf);
      if (it == container->subKeys.end()) continue;
      holder = container;
      target = it->second;
      break;
    }
    if (!target) return ERROR_FILE_NOT_FOUND;
  }
  if (!target->subKeys.empty()) return ERROR_ACCESS_DENIED;
  if (!MayChange(*target)) return ERROR_ACCESS_DENIED;
  Unlink(holder, target);
  return ERROR_SUCCESS;
}

void SimRegistry::Unlink(const std::shared_ptr<Key>& holder, const std::shared_ptr<Key>& key) {
  key->deleted = true;
  holder->subKeys.erase(LowerText(key->name));
  ++generation_;
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
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kEnum)) return error;
  const std::vector<std::string>& names = SubKeyNames(handle, view);
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  if (names[index].size() + 1 > capacity) return ERROR_MORE_DATA;
  name = names[index];
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegEnumValueA(HKEY handle, DWORD index, DWORD capacity, std::string& name) {
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kEnum)) return error;
  const std::vector<const Value*> values = VisibleValues(view);
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  if (values[index]->name.size() + 1 > capacity) return ERROR_MORE_DATA;
  name = values[index]->name;
  return ERROR_SUCCESS;
}

LONG SimRegistry::RegQueryInfoKeyA(HKEY handle, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values,
                                   DWORD* maxValueNameLen, DWORD* maxValueLen) {
  View view;
  if (LONG error = Resolve(handle, view)) return error;
  if ((view.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (LONG error = Injected(Op::kQueryInfo)) return error;
  // Of a key of HKEY_CLASSES_ROOT, what its enumeration lists: each name once.
  const std::vector<std::string>& names = SubKeyNames(handle, view);
  const std::vector<const Value*> shown = VisibleValues(view);
  DWORD longestKey = 0, longestName = 0, longestData = 0;
  for (const std::string& name : names) longestKey = std::max<DWORD>(longestKey, name.size());
  for (const Value* value : shown) {
    longestName = std::max<DWORD>(longestName, value->name.size());
    // Counted as stored: a string in UTF-16.
    const std::size_t stored =
        IsStringType(value->type)
            ? codePages_.Convert(std::string(value->data.begin(), value->data.end()), value->codePage, CodePageUtf16Le)
                  .size()
            : value->data.size();
    longestData = std::max<DWORD>(longestData, static_cast<DWORD>(stored));
  }
  if (subKeys) *subKeys = static_cast<DWORD>(names.size());
  if (maxSubKeyLen) *maxSubKeyLen = longestKey;
  if (values) *values = static_cast<DWORD>(shown.size());
  if (maxValueNameLen) *maxValueNameLen = longestName;
  if (maxValueLen) *maxValueLen = longestData;
  return ERROR_SUCCESS;
}

std::vector<BYTE> SimRegistry::DataOf(const Value& value) const {
  if (!IsStringType(value.type) || value.codePage == codePages_.Active()) return value.data;
  const std::string text =
      codePages_.Convert(std::string(value.data.begin(), value.data.end()), value.codePage, codePages_.Active());
  return std::vector<BYTE>(text.begin(), text.end());
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
