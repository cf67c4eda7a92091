#include "support/SandboxFiles.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>

namespace setup {
namespace fs = std::filesystem;
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// File times count 100 ns units from 1601; the host clock's epoch is 1970.
using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000;

}  // namespace

SandboxFiles::SandboxFiles()
    : root_(fs::temp_directory_path() /
            ("files-sandbox-" + std::to_string(std::random_device()()))) {
  fs::create_directories(root_ / "C");
}

SandboxFiles::~SandboxFiles() {
  for (auto& [handle, open] : open_) std::fclose(open.stream);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::optional<fs::path> SandboxFiles::HostPath(const std::string& path) const {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\' ||
      !std::isalpha(static_cast<unsigned char>(path[0])))
    return std::nullopt;
  fs::path host =
      root_ / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  std::error_code error;
  std::string_view rest = std::string_view(path).substr(3);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    std::string name(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (name.empty()) continue;  // as on Windows, doubled backslashes name no empty folder
    for (const fs::directory_entry& entry : fs::directory_iterator(host, error))
      if (SameName(entry.path().filename().string(), name)) name = entry.path().filename().string();
    host /= name;
  }
  return host;
}

void SandboxFiles::PutFile(const std::string& path, std::string_view bytes) {
  const fs::path host = HostPath(path).value();
  fs::create_directories(host.parent_path());
  std::FILE* stream = std::fopen(host.string().c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fclose(stream);
}

std::optional<std::string> SandboxFiles::FileBytes(const std::string& path) const {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) return std::nullopt;
  std::FILE* stream = std::fopen(host->string().c_str(), "rb");
  std::string bytes;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stream)) > 0;) bytes.append(chunk, n);
  std::fclose(stream);
  return bytes;
}

void SandboxFiles::MakeDirectories(const std::string& path) {
  fs::create_directories(HostPath(path).value());
}

SandboxFiles::Handle SandboxFiles::Register(std::FILE* stream, const fs::path& hostPath) {
  if (!stream) return kInvalid;
  open_[nextHandle_] = {stream, hostPath, false};
  return nextHandle_++;
}

SandboxFiles::Handle SandboxFiles::OpenRead(const std::string& path) {
  openedPaths_.push_back(path);
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  // Windows will not open a folder as a file; fopen on Linux would.
  if (!host || !fs::is_regular_file(*host, error)) return kInvalid;
  return Register(std::fopen(host->string().c_str(), "rb"), *host);
}

SandboxFiles::Handle SandboxFiles::OpenReadWrite(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  if (!host || !Writable(*host)) return kInvalid;
  return Register(std::fopen(host->string().c_str(), "r+b"), *host);
}

SandboxFiles::Handle SandboxFiles::Create(const std::string& path) {
  const std::optional<fs::path> host = NewEntry(path);
  std::error_code error;
  if (!host || (fs::exists(*host, error) && !Writable(*host))) return kInvalid;
  attributes_.erase(*host);
  return Register(std::fopen(host->string().c_str(), "w+b"), *host);
}

std::int32_t SandboxFiles::Read(Handle file, void* buffer, std::uint32_t count) {
  Open& open = open_.at(file);
  if (open.writing) std::fseek(open.stream, 0, SEEK_CUR);
  open.writing = false;
  return static_cast<std::int32_t>(std::fread(buffer, 1, count, open.stream));
}

std::int32_t SandboxFiles::Write(Handle file, const void* buffer, std::uint32_t count) {
  Open& open = open_.at(file);
  if (failingWrites_.count(open.hostPath)) return -1;
  if (!open.writing) std::fseek(open.stream, 0, SEEK_CUR);
  open.writing = true;
  return static_cast<std::int32_t>(std::fwrite(buffer, 1, count, open.stream));
}

// Like SetFilePointer: a position before the start fails and leaves the position alone.
std::int32_t SandboxFiles::Seek(Handle file, std::int32_t offset, Origin origin) {
  Open& open = open_.at(file);
  const int whence = origin == Origin::Begin ? SEEK_SET
                     : origin == Origin::End ? SEEK_END
                                             : SEEK_CUR;
  if (std::fseek(open.stream, offset, whence) != 0) return -1;
  open.writing = false;
  return static_cast<std::int32_t>(std::ftell(open.stream));
}

void SandboxFiles::Close(Handle file) {
  std::fclose(open_.at(file).stream);
  open_.erase(file);
}

bool SandboxFiles::IsOpen(const fs::path& host) const {
  return std::any_of(open_.begin(), open_.end(),
                     [&](const auto& entry) { return entry.second.hostPath == host; });
}

bool SandboxFiles::Writable(const fs::path& host) const {
  std::error_code error;
  const auto found = attributes_.find(host);
  return fs::is_regular_file(host, error) &&
         (found == attributes_.end() || !(found->second & kReadOnly));
}

std::optional<fs::path> SandboxFiles::NewEntry(const std::string& path) const {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_directory(host->parent_path(), error) || fs::is_directory(*host, error))
    return std::nullopt;
  return host;
}

// Files are opened sharing reading and writing but not deletion, so an open file can be
// rewritten but neither deleted nor renamed over.
bool SandboxFiles::Delete(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !Writable(*host) || IsOpen(*host)) return false;
  attributes_.erase(*host);
  return fs::remove(*host, error);
}

std::optional<std::uint32_t> SandboxFiles::Attributes(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::exists(*host, error)) return std::nullopt;
  if (fs::is_directory(*host, error)) return kDirectory;
  const auto found = attributes_.find(*host);
  return found == attributes_.end() ? kNormal : found->second;
}

bool SandboxFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) return false;
  attributes_[*host] = attributes & (kReadOnly | kHidden);
  return true;
}

std::optional<std::uint64_t> SandboxFiles::LastWriteTime(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host) return std::nullopt;
  const fs::file_time_type time = fs::last_write_time(*host, error);
  if (error) return std::nullopt;
  const auto sys = std::chrono::file_clock::to_sys(time).time_since_epoch();
  return std::chrono::duration_cast<Ticks>(sys).count() + kFileTimeOf1970;
}

void SandboxFiles::SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
  const Ticks since1970(static_cast<std::int64_t>(fileTime) - kFileTimeOf1970);
  fs::last_write_time(HostPath(path).value(),
                      std::chrono::file_clock::from_sys(
                          std::chrono::sys_time<std::chrono::nanoseconds>(since1970)));
}

// CopyFile carries the date and the attributes, so a copy from a CD is read-only too.
bool SandboxFiles::Copy(const std::string& source, const std::string& target) {
  const std::optional<fs::path> from = HostPath(source), to = NewEntry(target);
  std::error_code error;
  if (!from || !to || !fs::is_regular_file(*from, error)) return false;
  if (fs::exists(*to, error) && (!Writable(*to) || fs::equivalent(*from, *to, error))) return false;
  if (!fs::copy_file(*from, *to, fs::copy_options::overwrite_existing, error)) return false;
  fs::last_write_time(*to, fs::last_write_time(*from), error);
  attributes_[*to] = Attributes(source).value();
  return !error;
}

// Renaming leaves the contents alone, so a read-only source may move; an open one may not.
bool SandboxFiles::Replace(const std::string& source, const std::string& target) {
  const std::optional<fs::path> from = HostPath(source), to = NewEntry(target);
  std::error_code error;
  if (!from || !to || !fs::is_regular_file(*from, error) || IsOpen(*from)) return false;
  if (fs::exists(*to, error) && (!Writable(*to) || IsOpen(*to))) return false;
  const std::uint32_t attributes = Attributes(source).value();
  fs::rename(*from, *to, error);
  if (error) return false;
  attributes_.erase(*from);
  attributes_[*to] = attributes;
  return true;
}

bool SandboxFiles::SameFile(const std::string& a, const std::string& b) {
  const std::optional<fs::path> first = HostPath(a), second = HostPath(b);
  std::error_code error;
  return first && second && fs::is_regular_file(*first, error) &&
         fs::equivalent(*first, *second, error);
}

// Windows keeps the path as given, without a trailing backslash unless it is a root.
bool SandboxFiles::ChangeDirectory(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_directory(*host, error)) return false;
  currentDirectory_ = path;
  while (currentDirectory_.size() > 3 && currentDirectory_.back() == '\\')
    currentDirectory_.pop_back();
  return true;
}

bool SandboxFiles::MakeDirectory(const std::string& path) {
  const std::optional<fs::path> host = NewEntry(path);
  std::error_code error;
  return host && fs::create_directory(*host, error);
}

// Windows will not remove a drive root, and remove() on a host folder only takes empty ones.
bool SandboxFiles::DeleteDirectory(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  return host && host->parent_path() != root_ && fs::is_directory(*host, error) &&
         fs::remove(*host, error);
}

std::vector<std::string> SandboxFiles::Subdirectories(const std::string& path) {
  std::vector<std::string> names;
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host) return names;
  for (const fs::directory_entry& entry : fs::directory_iterator(*host, error))
    if (entry.is_directory(error)) names.push_back(entry.path().filename().string());
  return names;
}

std::string SandboxFiles::DriveLetters() {
  std::string letters;
  for (const fs::directory_entry& entry : fs::directory_iterator(root_))
    letters += entry.path().filename().string();
  std::sort(letters.begin(), letters.end());
  return letters;
}

}  // namespace setup
