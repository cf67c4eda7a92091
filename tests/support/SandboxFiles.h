#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "script/CaseFold.h"

namespace setup {

// A Windows file system in memory: paths are absolute with backslashes, names match without
// regard to case, and open files share reading and writing but not deletion, as on Windows.
class SandboxFiles : public Files {
 public:
  SandboxFiles() { MakeDirectories("C:\\"); }

  void PutFile(const std::string& path, std::string_view bytes) {
    MakeDirectories(path.substr(0, path.rfind('\\') + 1));
    entries_[Key(path).value()] = {false, Names(path).back(), std::string(bytes), kNormal, Now()};
  }
  std::optional<std::string> FileBytes(const std::string& path) const {
    const Entry* file = Find(Key(path), false);
    return file ? std::optional(file->bytes) : std::nullopt;
  }
  void MakeDirectories(const std::string& path) {
    std::string prefix;
    for (const std::string& name : Names(path)) {
      prefix += name;
      prefix += '\\';
      entries_.try_emplace(Key(prefix).value(), Entry{true, name, {}, kNormal, Now()});
    }
  }
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    entries_.at(Key(path).value()).time = fileTime;
  }
  // Every later write to this file, or below this directory, fails as on a full disk: a write
  // stores nothing, and a copy there loses the file it was to replace.
  void FailWrites(const std::string& path) { failingWrites_.insert(Key(path).value()); }
  // The n-th change from now (1 = the next create, write, copy, rename, delete, attribute
  // change, directory made or removed) fails and changes nothing, as when the machine refuses.
  void FailChange(int n) { changesBeforeFailure_ = n; }
  int changesTried = 0;
  std::size_t openFiles() const { return open_.size(); }
  // Every file and directory (its key ending in a backslash), with bytes and attributes.
  std::map<std::string, std::pair<std::string, std::uint32_t>> Contents() const {
    std::map<std::string, std::pair<std::string, std::uint32_t>> contents;
    for (const auto& [key, entry] : entries_)
      contents[entry.directory ? key + '\\' : key] = {entry.bytes, entry.attributes};
    return contents;
  }
  std::vector<std::string> FilesIn(const std::string& path) const { return Listing(path, false); }

  Handle OpenRead(const std::string& path) override {
    return Find(Key(path), false) ? Register(path) : kInvalid;
  }
  Handle OpenReadWrite(const std::string& path) override {
    return Writable(Key(path)) ? Register(path) : kInvalid;
  }
  Handle Create(const std::string& path) override {
    const std::optional<std::string> key = NewEntry(path);
    if (Refused() || !key || (entries_.count(*key) && !Writable(key))) return kInvalid;
    Add(path, false);
    return Register(path);
  }
  std::int32_t Read(Handle file, void* buffer, std::uint32_t count) override {
    auto& [key, position] = open_.at(file);
    const std::string& bytes = entries_.at(key).bytes;
    const std::string part = position < bytes.size() ? bytes.substr(position, count) : "";
    std::memcpy(buffer, part.data(), part.size());
    position += part.size();
    return static_cast<std::int32_t>(part.size());
  }
  std::int32_t Write(Handle file, const void* buffer, std::uint32_t count) override {
    auto& [key, position] = open_.at(file);
    if (Refused() || WritesFail(key)) return -1;
    Entry& entry = entries_.at(key);
    entry.bytes.resize(std::max<std::size_t>(entry.bytes.size(), position + count));
    entry.bytes.replace(position, count, static_cast<const char*>(buffer), count);
    entry.time = Now();
    position += count;
    return static_cast<std::int32_t>(count);
  }
  // Like SetFilePointer: a position before the start fails and leaves the position alone.
  std::int32_t Seek(Handle file, std::int32_t offset, Origin origin) override {
    auto& [key, position] = open_.at(file);
    const std::int64_t at = offset + (origin == Origin::Begin ? 0
                                      : origin == Origin::End ? entries_.at(key).bytes.size()
                                                              : position);
    if (at < 0) return -1;
    position = static_cast<std::size_t>(at);
    return static_cast<std::int32_t>(at);
  }
  void Close(Handle file) override { open_.erase(file); }
  bool Delete(const std::string& path) override {
    return !Refused() && Writable(Key(path), true) && entries_.erase(Key(path).value());
  }
  std::string CurrentDirectory() override { return currentDirectory_; }
  // Windows keeps the path as given, without a trailing backslash unless it is a root.
  bool ChangeDirectory(const std::string& path) override {
    if (!Find(Key(path), true)) return false;
    currentDirectory_ = path;
    while (currentDirectory_.size() > 3 && currentDirectory_.back() == '\\')
      currentDirectory_.pop_back();
    return true;
  }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    if (const Entry* file = Find(Key(path), false)) return file->attributes;
    return Find(Key(path), true) ? std::optional(kDirectory) : std::nullopt;
  }
  // Files only: hidden directories are not modelled.
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    Entry* file = Refused() ? nullptr : Find(Key(path), false);
    if (file) file->attributes = attributes & (kReadOnly | kHidden | kSystem | kArchive);
    return file;
  }
  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override {
    const std::optional<std::string> key = Key(path);
    return key && entries_.count(*key) ? std::optional(entries_.at(*key).time) : std::nullopt;
  }
  // CopyFile carries the date and the attributes, so a copy from a CD is read-only too.
  bool Copy(const std::string& source, const std::string& target) override {
    const std::optional<std::string> from = Key(source), to = NewEntry(target);
    if (Refused() || !Find(from, false) || !to || *from == *to ||
        (entries_.count(*to) && !Writable(to)))
      return false;
    if (WritesFail(*to)) {
      entries_.erase(*to);
      return false;
    }
    entries_[*to] = entries_.at(*from);
    entries_[*to].name = Names(target).back();
    return true;
  }
  // Renaming leaves the contents alone, so a read-only source may move; an open one may not.
  bool Replace(const std::string& source, const std::string& target) override {
    const std::optional<std::string> from = Key(source), to = NewEntry(target);
    if (Refused() || !Find(from, false) || IsOpen(*from) || !to ||
        (entries_.count(*to) && !Writable(to, true)))
      return false;
    entries_[*to] = std::move(entries_.at(*from));
    entries_[*to].name = Names(target).back();
    entries_.erase(*from);
    return true;
  }
  // Names as GetTempFileName makes them: a prefix, a number, ".TMP".
  std::optional<std::string> CreateTemporaryFile(const std::string& directory) override {
    if (Refused() || directory.size() > kTemporaryDirectoryMax || !Find(Key(directory), true))
      return std::nullopt;
    const std::string base = directory.back() == '\\' ? directory : directory + '\\';
    std::string path;
    do path = base + "KVX" + std::to_string(++temporaries_) + ".TMP";
    while (entries_.count(Key(path).value()));
    Add(path, false);
    return path;
  }
  bool MakeDirectory(const std::string& path) override {
    const std::optional<std::string> key = NewEntry(path);
    if (Refused() || !key || entries_.count(*key)) return false;
    Add(path, true);
    return true;
  }
  // Windows will not remove a drive root, nor a directory that holds anything.
  bool DeleteDirectory(const std::string& path) override {
    const std::optional<std::string> key = Key(path);
    if (Refused() || !Find(key, true) || key->size() == 2) return false;
    const auto next = entries_.upper_bound(*key);
    if (next != entries_.end() && Parent(next->first) == *key) return false;
    return entries_.erase(*key);
  }
  bool SameFile(const std::string& a, const std::string& b) override {
    return Find(Key(a), false) && Key(a) == Key(b);
  }
  std::vector<std::string> Subdirectories(const std::string& path) override {
    return Listing(path, true);
  }
  std::string DriveLetters() override {
    std::string letters;
    for (const auto& [key, entry] : entries_)
      if (key.size() == 2) letters += key[0];
    return letters;
  }

 private:
  struct Entry {
    bool directory = false;
    std::string name;  // as created
    std::string bytes;
    std::uint32_t attributes = kNormal;
    std::uint64_t time = 0;
  };

  // A file time: 100 ns units since 1601.
  static std::uint64_t Now() {
    const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100 +
           116444736000000000;
  }
  // The names of an absolute path as given, the drive first ("C:"); none for relative and
  // network paths. As on Windows, doubled backslashes name no empty folder.
  static std::vector<std::string> Names(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\' ||
        !std::isalpha(static_cast<unsigned char>(path[0])))
      return {};
    std::vector<std::string> names{{static_cast<char>(std::toupper(path[0])), ':'}};
    std::string name;
    for (char c : path.substr(3) + '\\')
      if (c != '\\')
        name += c;
      else if (!name.empty())
        names.push_back(std::exchange(name, {}));
    return names;
  }
  static std::optional<std::string> Key(const std::string& path) {
    const std::vector<std::string> names = Names(path);
    if (names.empty()) return std::nullopt;
    std::string key = names[0];
    for (std::size_t i = 1; i < names.size(); ++i)
      for (char c : '\\' + names[i]) key += FoldCase(c);
    return key;
  }
  static std::string Parent(const std::string& key) { return key.substr(0, key.rfind('\\')); }
  Entry* Find(const std::optional<std::string>& key, bool directory) const {
    const auto found = key ? entries_.find(*key) : entries_.end();
    return found != entries_.end() && found->second.directory == directory ? &found->second
                                                                           : nullptr;
  }
  // A regular file that is not read-only, and not open when `closed`.
  Entry* Writable(const std::optional<std::string>& key, bool closed = false) {
    Entry* file = Find(key, false);
    return file && !(file->attributes & kReadOnly) && !(closed && IsOpen(*key)) ? file : nullptr;
  }
  // Where a new file or directory may be made: its parent is a directory, it is none.
  std::optional<std::string> NewEntry(const std::string& path) {
    const std::optional<std::string> key = Key(path);
    if (!key || !Find(Parent(*key), true) || Find(key, true)) return std::nullopt;
    return key;
  }
  std::vector<std::string> Listing(const std::string& path, bool directories) const {
    std::vector<std::string> names;
    for (const auto& [key, entry] : entries_)
      if (entry.directory == directories && key.size() > 2 && Parent(key) == Key(path))
        names.push_back(entry.name);
    return names;
  }
  bool WritesFail(const std::string& key) const {
    return std::any_of(failingWrites_.begin(), failingWrites_.end(),
                       [&](const std::string& f) { return key == f || key.starts_with(f + '\\'); });
  }
  bool Refused() {
    ++changesTried;
    return changesBeforeFailure_ > 0 && --changesBeforeFailure_ == 0;
  }
  bool IsOpen(const std::string& key) const {
    return std::any_of(open_.begin(), open_.end(),
                       [&](const auto& o) { return o.second.first == key; });
  }
  void Add(const std::string& path, bool directory) {
    entries_[Key(path).value()] = {directory, Names(path).back(), {}, kNormal, Now()};
  }
  Handle Register(const std::string& path) {
    open_[nextHandle_] = {Key(path).value(), 0};
    return nextHandle_++;
  }

  mutable std::map<std::string, Entry> entries_;  // by key
  std::string currentDirectory_ = "C:\\";
  std::map<Handle, std::pair<std::string, std::size_t>> open_;  // key and position
  Handle nextHandle_ = 0x100;
  std::set<std::string> failingWrites_;
  int changesBeforeFailure_ = 0;
  int temporaries_ = 0;
};

}  // namespace setup
