#pragma once
// The settings store over the registry: one key under HKEY_CURRENT_USER, each section a
// subkey, each setting a named value.
#include <windows.h>

#include <string>

#include "core/platform/SettingsStore.h"

namespace ov {

// Owns an open registry key.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  ~RegKey() { Reset(); }
  RegKey(RegKey&& o) noexcept : key_(o.key_) { o.key_ = nullptr; }
  RegKey& operator=(RegKey&& o) noexcept {
    if (this != &o) {
      Reset();
      key_ = o.key_;
      o.key_ = nullptr;
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void Reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  static RegKey Create(HKEY parent, const std::wstring& path);
  static RegKey OpenRead(HKEY parent, const std::wstring& path);

 private:
  HKEY key_ = nullptr;
};

class RegistrySettingsStore final : public ISettingsStore {
 public:
  // keyPath relative to HKEY_CURRENT_USER, e.g. "Software\Quenlar\Orvinta3".
  explicit RegistrySettingsStore(std::wstring keyPath) : path_(std::move(keyPath)) {}
  bool Open() override;
  void Close() override;
  std::optional<StoredValue> Read(const std::string& section, const std::string& name) const override;
  bool Write(const std::string& section, const std::string& name, const StoredValue& value) override;
  bool Flush() override;

 private:
  std::wstring path_;
  RegKey root_;
};

// Reads a REG_SZ/REG_EXPAND_SZ value; nullopt when missing or of another type.
std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& path, const std::wstring& name);
bool WriteRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);

}  // namespace ov
