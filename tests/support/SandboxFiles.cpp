#include "support/SandboxFiles.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <utility>

#include "script/CaseFold.h"

namespace setup {
namespace {

// As a file time: 100 ns units since 1601.
std::uint64_t Now() {
  const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100 +
         116444736000000000;
}

// The names of an absolute path as given, the drive first ("C:"); none for relative and
// network paths, which the program never uses. As on Windows, doubled backslashes name no
// empty folder.
std::vector<std::string> Names(const std::string& path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\' ||
      !std::isalpha(static_cast<unsigned char>(path[0])))
    return {};
  std::vector<std::string> names{{static_cast<char>(std::toupper(path[0])), ':'}};
  std::string name;
  for (char c : path.substr(3) + "\\")
    if (c != '\\')
      name += c;
    else if (!name.empty())
      names.push_back(std::exchange(name, {}));
  return names;
}

std::string LastName(const std::string& path) {
  return Names(path).back();
}

}  // namespace

std::optional<std::string> SandboxFiles::Key(const std::string& path) {
  const std::vector<std::string> names = Names(path);
  if (names.empty()) return std::nullopt;
  std::string key = names[0];
  for (std::size_t i = 1; i < names.size(); ++i) {
    key += '\\';
    for (char c : names[i]) key += FoldCase(c);
  }
  return key;
}

SandboxFiles::Entry* SandboxFiles::Find(const std::optional<std::string>& key, bool directory) {
  const auto found = key ? entries_.find(*key) : entries_.end();
  return found != entries_.end() && found->second.directory == directory ? &found->second : nullptr;
}

SandboxFiles::Entry* SandboxFiles::Writable(const std::optional<std::string>& key, bool closed) {
  Entry* file = Find(key, false);
  return file && !(file->attributes & kReadOnly) && !(closed && IsOpen(*key)) ? file : nullptr;
}

std::optional<std::string> SandboxFiles::NewEntry(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!key || !Find(Parent(*key), true) || Find(key, true)) return std::nullopt;
  return key;
}

bool SandboxFiles::IsOpen(const std::string& key) const {
  return std::any_of(open_.begin(), open_.end(),
                     [&](const auto& o) { return o.second.key == key; });
}

void SandboxFiles::MakeDirectories(const std::string& path) {
  std::string prefix;
  for (const std::string& name : Names(path)) {
    prefix += name;
    prefix += '\\';
    entries_.try_emplace(Key(prefix).value(), Entry{true, name, {}, kNormal, Now()});
  }
}

void SandboxFiles::PutFile(const std::string& path, std::string_view bytes) {
  MakeDirectories(path.substr(0, path.rfind('\\') + 1));
  entries_[Key(path).value()] = {false, LastName(path), std::string(bytes), kNormal, Now()};
}

std::optional<std::string> SandboxFiles::FileBytes(const std::string& path) const {
  const std::optional<std::string> key = Key(path);
  const auto found = key ? entries_.find(*key) : entries_.end();
  if (found == entries_.end() || found->second.directory) return std::nullopt;
  return found->second.bytes;
}

SandboxFiles::Handle SandboxFiles::Register(const std::string& key) {
  open_[nextHandle_] = {key};
  return nextHandle_++;
}

SandboxFiles::Handle SandboxFiles::OpenRead(const std::string& path) {
  openedPaths_.push_back(path);
  const std::optional<std::string> key = Key(path);
  return Find(key, false) ? Register(*key) : kInvalid;
}

SandboxFiles::Handle SandboxFiles::OpenReadWrite(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  return Writable(key) ? Register(*key) : kInvalid;
}

SandboxFiles::Handle SandboxFiles::Create(const std::string& path) {
  const std::optional<std::string> key = NewEntry(path);
  if (!key || (entries_.count(*key) && !Writable(key))) return kInvalid;
  entries_[*key] = {false, LastName(path), {}, kNormal, Now()};
  return Register(*key);
}

std::int32_t SandboxFiles::Read(Handle file, void* buffer, std::uint32_t count) {
  Open& open = open_.at(file);
  const std::string& bytes = entries_.at(open.key).bytes;
  const std::string part = open.position < bytes.size() ? bytes.substr(open.position, count) : "";
  std::memcpy(buffer, part.data(), part.size());
  open.position += static_cast<std::uint32_t>(part.size());
  return static_cast<std::int32_t>(part.size());
}

std::int32_t SandboxFiles::Write(Handle file, const void* buffer, std::uint32_t count) {
  Open& open = open_.at(file);
  if (failingWrites_.count(open.key)) return -1;
  Entry& entry = entries_.at(open.key);
  if (entry.bytes.size() < open.position + count) entry.bytes.resize(open.position + count);
  entry.bytes.replace(open.position, count, static_cast<const char*>(buffer), count);
  entry.time = Now();
  open.position += count;
  return static_cast<std::int32_t>(count);
}

// Like SetFilePointer: a position before the start fails and leaves the position alone.
std::int32_t SandboxFiles::Seek(Handle file, std::int32_t offset, Origin origin) {
  Open& open = open_.at(file);
  const std::int64_t base = origin == Origin::Begin ? 0
                            : origin == Origin::End ? entries_.at(open.key).bytes.size()
                                                    : open.position;
  if (base + offset < 0) return -1;
  open.position = static_cast<std::uint32_t>(base + offset);
  return static_cast<std::int32_t>(open.position);
}

bool SandboxFiles::Delete(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  return Writable(key, true) && entries_.erase(*key);
}

std::optional<std::uint32_t> SandboxFiles::Attributes(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!key || !entries_.count(*key)) return std::nullopt;
  const Entry& entry = entries_.at(*key);
  return entry.directory ? kDirectory : entry.attributes;
}

// Hidden directories are not modelled: this takes files only.
bool SandboxFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Entry* file = Find(Key(path), false);
  if (file) file->attributes = attributes & (kReadOnly | kHidden);
  return file;
}

std::optional<std::uint64_t> SandboxFiles::LastWriteTime(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!key || !entries_.count(*key)) return std::nullopt;
  return entries_.at(*key).time;
}

// CopyFile carries the date and the attributes, so a copy from a CD is read-only too.
bool SandboxFiles::Copy(const std::string& source, const std::string& target) {
  const std::optional<std::string> from = Key(source), to = NewEntry(target);
  if (!Find(from, false) || !to || *from == *to || (entries_.count(*to) && !Writable(to)))
    return false;
  const std::string name = LastName(target);
  entries_[*to] = entries_.at(*from);
  entries_[*to].name = name;
  return true;
}

// Renaming leaves the contents alone, so a read-only source may move; an open one may not.
bool SandboxFiles::Replace(const std::string& source, const std::string& target) {
  const std::optional<std::string> from = Key(source), to = NewEntry(target);
  if (!Find(from, false) || IsOpen(*from) || !to || (entries_.count(*to) && !Writable(to, true)))
    return false;
  Entry moved = entries_.at(*from);
  moved.name = LastName(target);
  entries_.erase(*from);
  entries_[*to] = moved;
  return true;
}

bool SandboxFiles::SameFile(const std::string& a, const std::string& b) {
  return Find(Key(a), false) && Key(a) == Key(b);
}

// Windows keeps the path as given, without a trailing backslash unless it is a root.
bool SandboxFiles::ChangeDirectory(const std::string& path) {
  if (!Find(Key(path), true)) return false;
  currentDirectory_ = path;
  while (currentDirectory_.size() > 3 && currentDirectory_.back() == '\\')
    currentDirectory_.pop_back();
  return true;
}

bool SandboxFiles::MakeDirectory(const std::string& path) {
  const std::optional<std::string> key = NewEntry(path);
  if (!key || entries_.count(*key)) return false;
  entries_[*key] = {true, LastName(path), {}, kNormal, Now()};
  return true;
}

// Windows will not remove a drive root, nor a directory that holds anything.
bool SandboxFiles::DeleteDirectory(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!Find(key, true) || key->size() == 2) return false;
  const auto next = entries_.upper_bound(*key);
  if (next != entries_.end() && next->first.starts_with(*key + "\\")) return false;
  return entries_.erase(*key);
}

std::vector<std::string> SandboxFiles::Subdirectories(const std::string& path) {
  std::vector<std::string> names;
  const std::optional<std::string> key = Key(path);
  if (!key) return names;
  for (const auto& [at, entry] : entries_)
    if (entry.directory && at.size() > key->size() && Parent(at) == *key)
      names.push_back(entry.name);
  return names;
}

std::string SandboxFiles::DriveLetters() {
  std::string letters;
  for (const auto& [key, entry] : entries_)
    if (key.size() == 2) letters += key[0];
  return letters;
}

}  // namespace setup
