#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Expander.h"
#include "platform/Files.h"
#include "platform/LogWriter.h"
#include "platform/ProgramGroups.h"
#include "platform/Registry.h"

namespace setup {

// The administrator's log: every change a run makes, every question with the answer taken,
// and the outcome. Lines wait in memory until there is a file to take them: the install
// makes the directory its log lies in.
class ChangeLog {
 public:
  explicit ChangeLog(LogWriter& writer) : writer_(writer) {}

  void SetPath(std::string path);
  void Write(std::string line);
  // Whether lines wait for a file that could take them.
  bool Pending() const { return !pending_.empty(); }

 private:
  void Flush();

  LogWriter& writer_;
  std::string path_;
  std::vector<std::string> pending_;
};

// The ports that change the system, each logging what it changed before it answers.

class LoggedFiles : public Files {
 public:
  LoggedFiles(Files& files, ChangeLog& log) : files_(files), log_(log) {}

  // A copy or expansion into a temporary file, logged once it replaces its target.
  void NoteSource(const std::string& temporary, std::string how, const std::string& source);

  Handle OpenRead(const std::string& path) override { return files_.OpenRead(path); }
  Handle OpenReadWrite(const std::string& path) override;
  Handle Create(const std::string& path) override;
  std::int32_t Read(Handle file, void* buffer, std::uint32_t count) override {
    return files_.Read(file, buffer, count);
  }
  std::int32_t Write(Handle file, const void* buffer, std::uint32_t count) override;
  std::int32_t Seek(Handle file, std::int32_t offset, Origin origin) override {
    return files_.Seek(file, offset, origin);
  }
  void Close(Handle file) override;
  bool Delete(const std::string& path) override;
  std::string CurrentDirectory() override { return files_.CurrentDirectory(); }
  bool ChangeDirectory(const std::string& path) override { return files_.ChangeDirectory(path); }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    return files_.Attributes(path);
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override {
    return files_.LastWriteTime(path);
  }
  bool Copy(const std::string& source, const std::string& target) override;
  bool Replace(const std::string& source, const std::string& target) override;
  std::optional<std::string> CreateTemporaryFile(const std::string& directory) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteDirectory(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override {
    return files_.SameFile(a, b);
  }
  std::vector<std::string> Subdirectories(const std::string& path) override {
    return files_.Subdirectories(path);
  }
  std::string DriveLetters() override { return files_.DriveLetters(); }

 private:
  // What a temporary file holds: "copied" or "expanded" and from where; empty until then.
  struct Temporary {
    std::string how, source;
  };

  bool Logged(bool done, const std::string& what, const std::string& path);

  Files& files_;
  ChangeLog& log_;
  std::map<std::string, Temporary> temporaries_;
  // Files open for writing, until their first write is logged.
  std::map<Handle, std::string> unwritten_;
};

class LoggedExpander : public Expander {
 public:
  LoggedExpander(Expander& expander, LoggedFiles& files) : expander_(expander), files_(files) {}

  Result Expand(const std::string& source, const std::string& target) override;

 private:
  Expander& expander_;
  LoggedFiles& files_;
};

class LoggedRegistry : public Registry {
 public:
  LoggedRegistry(Registry& registry, ChangeLog& log) : registry_(registry), log_(log) {}

  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override;
  std::int32_t CreateKey(const std::string& path, const std::string& keyClass, Key& key) override;
  void CloseKey(Key key) override;
  std::int32_t SetValue(Key key, const std::string& name, std::uint32_t type, const void* data,
                        std::uint32_t size) override;
  std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, void* data,
                          std::uint32_t& size) override {
    return registry_.QueryValue(key, name, type, data, size);
  }
  std::int32_t DeleteValue(Key key, const std::string& name) override;
  std::int32_t DeleteKey(const std::string& path) override;
  std::int32_t CountSubkeys(Key key, std::uint32_t& count) override {
    return registry_.CountSubkeys(key, count);
  }
  std::int32_t EnumSubkey(Key key, std::uint32_t index, std::string& name) override {
    return registry_.EnumSubkey(key, index, name);
  }

 private:
  std::string PathOf(Key key) const;

  Registry& registry_;
  ChangeLog& log_;
  std::map<Key, std::string> paths_;
};

class LoggedProgramGroups : public ProgramGroups {
 public:
  LoggedProgramGroups(ProgramGroups& groups, ChangeLog& log) : groups_(groups), log_(log) {}

  Started Initialize() override { return groups_.Initialize(); }
  bool Release(Instance instance) override { return groups_.Release(instance); }
  Sent Execute(Instance instance, std::string_view command) override;

 private:
  ProgramGroups& groups_;
  ChangeLog& log_;
};

// A registry value as the log shows it: texts quoted, numbers in hex, lists with "|"
// between their items, anything else as its bytes in hex; a password never.
std::string ShownValue(const std::string& name, std::uint32_t type, const void* data,
                       std::uint32_t size);

}  // namespace setup
