#include "win/platform/RegistryStore.h"

#include <vector>

#include "win/platform/Utf16.h"

namespace ov {

RegKey RegKey::Create(HKEY parent, const std::wstring& path) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
    return RegKey();
  return RegKey(k);
}

RegKey RegKey::OpenRead(HKEY parent, const std::wstring& path) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return RegKey();
  return RegKey(k);
}

bool RegistrySettingsStore::Open() {
  root_ = RegKey::Create(HKEY_CURRENT_USER, path_);
  return static_cast<bool>(root_);
}

void RegistrySettingsStore::Close() { root_.Reset(); }

namespace {

// Reads any value of a key into its type and bytes; false when missing.
bool QueryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  // A value larger than any setting can be is not ours to read.
  if (size > (1u << 20)) return false;
  data.assign(size + sizeof(wchar_t), 0);
  DWORD got = size;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return false;
  data.resize(got);
  return true;
}

std::wstring TextOf(const std::vector<BYTE>& data) {
  std::wstring w(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  while (!w.empty() && w.back() == L'\0') w.pop_back();
  return w;
}

}  // namespace

std::optional<StoredValue> RegistrySettingsStore::Read(const std::string& section, const std::string& name) const {
  if (!root_) return std::nullopt;
  RegKey sub = RegKey::OpenRead(root_.Get(), Widen(section));
  if (!sub) return std::nullopt;
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!QueryValue(sub.Get(), Widen(name), type, data)) return std::nullopt;
  switch (type) {
    case REG_DWORD:
      if (data.size() != 4) return std::nullopt;
      return StoredValue::Dword(data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24));
    case REG_SZ:
    case REG_EXPAND_SZ:
      return StoredValue::String(Narrow(TextOf(data)));
    case REG_BINARY:
      return StoredValue::Binary(std::string(data.begin(), data.end()));
    default:
      return std::nullopt;
  }
}

bool RegistrySettingsStore::Write(const std::string& section, const std::string& name, const StoredValue& value) {
  if (!root_) return false;
  RegKey sub = RegKey::Create(root_.Get(), Widen(section));
  if (!sub) return false;
  std::wstring wname = Widen(name);
  LONG rc = ERROR_INVALID_PARAMETER;
  switch (value.kind) {
    case StoredValue::Kind::Dword: {
      DWORD d = value.dword;
      rc = RegSetValueExW(sub.Get(), wname.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof(d));
      break;
    }
    case StoredValue::Kind::String: {
      std::wstring w = Widen(value.text);
      rc = RegSetValueExW(sub.Get(), wname.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                          static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
      break;
    }
    case StoredValue::Kind::Binary:
      rc = RegSetValueExW(sub.Get(), wname.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.bytes.data()),
                          static_cast<DWORD>(value.bytes.size()));
      break;
  }
  return rc == ERROR_SUCCESS;
}

bool RegistrySettingsStore::Flush() {
  // Writes the key and all its subkeys to disk now rather than at the system's leisure.
  return root_ && RegFlushKey(root_.Get()) == ERROR_SUCCESS;
}

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& path, const std::wstring& name) {
  RegKey k = RegKey::OpenRead(root, path);
  if (!k) return std::nullopt;
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!QueryValue(k.Get(), name, type, data)) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  return TextOf(data);
}

bool WriteRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value) {
  RegKey k = RegKey::Create(root, path);
  if (!k) return false;
  return RegSetValueExW(k.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace ov
