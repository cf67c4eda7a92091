#include "unattended/ChangeLog.h"

#include <cstring>

#include "script/CaseFold.h"
#include "script/SafeFormat.h"

namespace setup {

void ChangeLog::SetPath(std::string path) {
  path_ = std::move(path);
  Flush();
}

void ChangeLog::Write(std::string line) {
  pending_.push_back(std::move(line));
  Flush();
}

void ChangeLog::Flush() {
  if (path_.empty()) return;
  std::size_t written = 0;
  while (written < pending_.size() && writer_.Append(path_, pending_[written])) ++written;
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(written));
}

bool LoggedFiles::Logged(bool done, const std::string& what, const std::string& path) {
  if (done && !temporaries_.contains(path)) log_.Write(what + ' ' + path);
  return done;
}

void LoggedFiles::NoteSource(const std::string& temporary, std::string how,
                             const std::string& source) {
  if (auto it = temporaries_.find(temporary); it != temporaries_.end())
    it->second = {std::move(how), source};
}

Files::Handle LoggedFiles::OpenReadWrite(const std::string& path) {
  const Handle file = files_.OpenReadWrite(path);
  if (file != kInvalid && !temporaries_.contains(path)) unwritten_[file] = path;
  return file;
}

Files::Handle LoggedFiles::Create(const std::string& path) {
  const Handle file = files_.Create(path);
  Logged(file != kInvalid, "created file", path);
  return file;
}

std::int32_t LoggedFiles::Write(Handle file, const void* buffer, std::uint32_t count) {
  const std::int32_t written = files_.Write(file, buffer, count);
  if (auto it = unwritten_.find(file); it != unwritten_.end() && written > 0) {
    log_.Write("changed file " + it->second);
    unwritten_.erase(it);
  }
  return written;
}

void LoggedFiles::Close(Handle file) {
  unwritten_.erase(file);
  files_.Close(file);
}

bool LoggedFiles::Delete(const std::string& path) {
  const bool done = Logged(files_.Delete(path), "deleted file", path);
  temporaries_.erase(path);
  return done;
}

bool LoggedFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return Logged(files_.SetAttributes(path, attributes),
                FormatText("set attributes %X of", {attributes}), path);
}

bool LoggedFiles::Copy(const std::string& source, const std::string& target) {
  const bool done = files_.Copy(source, target);
  if (done && temporaries_.contains(target)) NoteSource(target, "copied", source);
  return Logged(done, "copied " + source + " to", target);
}

bool LoggedFiles::Replace(const std::string& source, const std::string& target) {
  if (!files_.Replace(source, target)) return false;
  const auto it = temporaries_.find(source);
  if (it != temporaries_.end() && !it->second.how.empty())
    log_.Write(it->second.how + ' ' + it->second.source + " to " + target);
  else
    log_.Write("replaced file " + target + " with " + source);
  if (it != temporaries_.end()) temporaries_.erase(it);
  return true;
}

std::optional<std::string> LoggedFiles::CreateTemporaryFile(const std::string& directory) {
  std::optional<std::string> path = files_.CreateTemporaryFile(directory);
  if (path) temporaries_[*path] = {};
  return path;
}

bool LoggedFiles::MakeDirectory(const std::string& path) {
  return Logged(files_.MakeDirectory(path), "created directory", path);
}

bool LoggedFiles::DeleteDirectory(const std::string& path) {
  return Logged(files_.DeleteDirectory(path), "deleted directory", path);
}

Expander::Result LoggedExpander::Expand(const std::string& source, const std::string& target) {
  const Result result = expander_.Expand(source, target);
  if (result == Result::Done) files_.NoteSource(target, "expanded", source);
  return result;
}

std::string LoggedRegistry::PathOf(Key key) const {
  const auto it = paths_.find(key);
  return it != paths_.end() ? it->second : std::string("(unknown key)");
}

std::int32_t LoggedRegistry::OpenKey(const std::string& path, Access access, Key& key) {
  const std::int32_t status = registry_.OpenKey(path, access, key);
  if (status == kSuccess) paths_[key] = path;
  return status;
}

std::int32_t LoggedRegistry::CreateKey(const std::string& path, const std::string& keyClass,
                                       Key& key) {
  Key existing = 0;
  const bool existed = registry_.OpenKey(path, Access::Read, existing) == kSuccess;
  if (existed) registry_.CloseKey(existing);
  const std::int32_t status = registry_.CreateKey(path, keyClass, key);
  if (status != kSuccess) return status;
  paths_[key] = path;
  if (!existed) log_.Write("created key HKLM\\" + path);
  return status;
}

void LoggedRegistry::CloseKey(Key key) {
  paths_.erase(key);
  registry_.CloseKey(key);
}

std::int32_t LoggedRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                                      const void* data, std::uint32_t size) {
  const std::int32_t status = registry_.SetValue(key, name, type, data, size);
  if (status == kSuccess)
    log_.Write("set value HKLM\\" + PathOf(key) + "\\" + name + " = " +
               ShownValue(name, type, data, size));
  return status;
}

std::int32_t LoggedRegistry::DeleteValue(Key key, const std::string& name) {
  const std::int32_t status = registry_.DeleteValue(key, name);
  if (status == kSuccess) log_.Write("deleted value HKLM\\" + PathOf(key) + "\\" + name);
  return status;
}

std::int32_t LoggedRegistry::DeleteKey(const std::string& path) {
  const std::int32_t status = registry_.DeleteKey(path);
  if (status == kSuccess) log_.Write("deleted key HKLM\\" + path);
  return status;
}

ProgramGroups::Sent LoggedProgramGroups::Execute(Instance instance, std::string_view command) {
  const Sent sent = groups_.Execute(instance, command);
  const char* outcome = sent.outcome == Outcome::Accepted  ? "sent"
                        : sent.outcome == Outcome::Refused ? "refused"
                                                           : "not sent";
  log_.Write(std::string("program group command ") + outcome + ": " + std::string(command));
  return sent;
}

std::string ShownValue(const std::string& name, std::uint32_t type, const void* data,
                       std::uint32_t size) {
  // The registry keeps it readable to administrators only; a log is passed around.
  if (EqualIgnoringCase(name, "password")) return "(not shown)";
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (type == Registry::kDword && size == 4) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, 4);
    return FormatText("dword %08X", {value});
  }
  if (type == Registry::kSz || type == Registry::kExpandSz || type == Registry::kMultiSz) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    for (char& c : text)
      if (c == '\0') c = '|';
    return '"' + text + '"';
  }
  std::string hex = "hex";
  for (std::uint32_t i = 0; i < size; ++i) hex += FormatText(" %02X", {std::uint32_t{bytes[i]}});
  return hex;
}

}  // namespace setup
