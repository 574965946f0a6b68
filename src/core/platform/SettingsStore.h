#pragma once
// A per-user key-value store with sections, shaped like the registry: a value is a
// 32-bit number, a text or a block of bytes. The registry is one implementation; the
// in-memory store below serves the tests.
#include <cstdint>
#include <unordered_map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ov {

struct StoredValue {
  enum class Kind { Dword, String, Binary };
  Kind kind = Kind::String;
  uint32_t dword = 0;
  std::string text;   // UTF-8, for Kind::String
  std::string bytes;  // raw, for Kind::Binary

  static StoredValue Dword(uint32_t v) { StoredValue s; s.kind = Kind::Dword; s.dword = v; return s; }
  static StoredValue String(std::string v) { StoredValue s; s.kind = Kind::String; s.text = std::move(v); return s; }
  static StoredValue Binary(std::string v) { StoredValue s; s.kind = Kind::Binary; s.bytes = std::move(v); return s; }
};

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  // Opens the store, creating it when missing. False when it cannot be opened; reads then
  // find nothing and writes fail.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual std::optional<StoredValue> Read(const std::string& section, const std::string& name) const = 0;
  virtual bool Write(const std::string& section, const std::string& name, const StoredValue& value) = 0;
  // Makes the values written so far durable (the registry otherwise keeps them in memory
  // for a while, and a power loss would take them). False when that fails.
  virtual bool Flush() = 0;
};

class MemorySettingsStore final : public ISettingsStore {
 public:
  bool Open() override { ++opens_; return available_; }
  void Close() override {}
  std::optional<StoredValue> Read(const std::string& section, const std::string& name) const override {
    auto it = values_.find(Key(section, name));
    if (!available_ || it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Write(const std::string& section, const std::string& name, const StoredValue& value) override {
    if (!available_) return false;
    values_[Key(section, name)] = value;
    writes_.push_back(section + "\\" + name);
    return true;
  }
  bool Flush() override {
    writes_.push_back("<flush>");
    return available_;
  }

  void Set(const std::string& section, const std::string& name, StoredValue v) { values_[Key(section, name)] = std::move(v); }
  void Erase(const std::string& section, const std::string& name) { values_.erase(Key(section, name)); }
  bool Has(const std::string& section, const std::string& name) const { return values_.count(Key(section, name)) > 0; }
  const StoredValue* Get(const std::string& section, const std::string& name) const {
    auto it = values_.find(Key(section, name));
    return it == values_.end() ? nullptr : &it->second;
  }
  void SetAvailable(bool a) { available_ = a; }
  // Every write in order, as "Section\Name" ("<flush>" for a flush), for tests of what is
  // written and in which order.
  const std::vector<std::string>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }

 private:
  // Hashed on "section NUL name": the fuzz program and the settings tests look every
  // field of the table up several times per case, and a tree of string pairs made that
  // the bulk of their time.
  static std::string Key(const std::string& section, const std::string& name) {
    std::string key;
    key.reserve(section.size() + 1 + name.size());
    key.append(section).push_back('\0');
    key.append(name);
    return key;
  }
  std::unordered_map<std::string, StoredValue> values_;
  std::vector<std::string> writes_;
  bool available_ = true;
  int opens_ = 0;
};

}  // namespace ov
