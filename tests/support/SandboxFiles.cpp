#include "support/SandboxFiles.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <random>

namespace setup {
namespace fs = std::filesystem;
namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

fs::path MakeRoot() {
  std::random_device random;
  for (;;) {
    const fs::path root = fs::temp_directory_path() / ("files-sandbox-" + std::to_string(random()));
    if (fs::create_directory(root)) return root;
  }
}

}  // namespace

SandboxFiles::SandboxFiles() : root_(MakeRoot()) {
  fs::create_directory(root_ / "C");
}

SandboxFiles::~SandboxFiles() {
  for (auto& [handle, open] : open_) std::fclose(open.stream);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::optional<SandboxFiles::WindowsPath> SandboxFiles::Absolute(const std::string& path) const {
  // The program names every file by a full path; anything else is not modelled.
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::nullopt;
  const char drive = Upper(path[0]);
  if (drive < 'A' || drive > 'Z') return std::nullopt;
  WindowsPath result{drive, {}};
  // As on Windows, doubled backslashes name no empty folder.
  std::string_view rest = std::string_view(path).substr(3);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    if (end > 0) result.parts.emplace_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return result;
}

std::optional<fs::path> SandboxFiles::HostPath(const std::string& path) const {
  const std::optional<WindowsPath> windows = Absolute(path);
  if (!windows) return std::nullopt;
  fs::path host = root_ / std::string(1, windows->drive);
  for (const std::string& part : windows->parts) {
    std::string name = part;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(host, error)) {
      const std::string existing = entry.path().filename().string();
      if (SameName(existing, part)) {
        name = existing;
        break;
      }
    }
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
  if (!stream) return std::nullopt;
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
  const Handle handle = nextHandle_++;
  open_[handle] = {stream, hostPath, false};
  return handle;
}

SandboxFiles::Open* SandboxFiles::Find(Handle file) {
  const auto it = open_.find(file);
  return it == open_.end() ? nullptr : &it->second;
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
  Open* open = Find(file);
  if (!open) return -1;
  if (open->writing) std::fseek(open->stream, 0, SEEK_CUR);
  open->writing = false;
  const std::size_t n =
      std::fread(buffer, 1, std::min<std::uint32_t>(count, INT32_MAX), open->stream);
  if (std::ferror(open->stream)) {
    std::clearerr(open->stream);
    return -1;
  }
  return static_cast<std::int32_t>(n);
}

std::int32_t SandboxFiles::Write(Handle file, const void* buffer, std::uint32_t count) {
  Open* open = Find(file);
  if (!open || failingWrites_.count(open->hostPath)) return -1;
  if (!open->writing) std::fseek(open->stream, 0, SEEK_CUR);
  open->writing = true;
  const std::size_t n =
      std::fwrite(buffer, 1, std::min<std::uint32_t>(count, INT32_MAX), open->stream);
  if (std::ferror(open->stream)) {
    std::clearerr(open->stream);
    return -1;
  }
  return static_cast<std::int32_t>(n);
}

std::int32_t SandboxFiles::Seek(Handle file, std::int32_t offset, Origin origin) {
  Open* open = Find(file);
  if (!open) return -1;
  std::int64_t base = 0;
  if (origin == Origin::Current) base = std::ftell(open->stream);
  if (origin == Origin::End) {
    const long here = std::ftell(open->stream);
    std::fseek(open->stream, 0, SEEK_END);
    base = std::ftell(open->stream);
    std::fseek(open->stream, here, SEEK_SET);
  }
  // Like SetFilePointer: a position before the start fails and leaves the position alone.
  const std::int64_t target = base + offset;
  if (target < 0 || target > INT32_MAX) return -1;
  if (std::fseek(open->stream, static_cast<long>(target), SEEK_SET) != 0) return -1;
  open->writing = false;
  return static_cast<std::int32_t>(target);
}

void SandboxFiles::Close(Handle file) {
  if (Open* open = Find(file)) {
    std::fclose(open->stream);
    open_.erase(file);
  }
}

bool SandboxFiles::IsOpen(const fs::path& host) const {
  return std::any_of(open_.begin(), open_.end(),
                     [&](const auto& entry) { return entry.second.hostPath == host; });
}

bool SandboxFiles::Writable(const fs::path& host) const {
  std::error_code error;
  const auto found = attributes_.find(host);
  const bool readOnly = found != attributes_.end() && (found->second & kReadOnly) != 0;
  return fs::is_regular_file(host, error) && !readOnly;
}

// Files are opened sharing reading and writing but not deletion, so an open file can be
// rewritten but neither deleted nor renamed over.
bool SandboxFiles::Removable(const fs::path& host) const {
  return Writable(host) && !IsOpen(host);
}

std::optional<fs::path> SandboxFiles::NewEntry(const std::string& path) const {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_directory(host->parent_path(), error) || fs::is_directory(*host, error))
    return std::nullopt;
  return host;
}

bool SandboxFiles::Delete(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !Removable(*host)) return false;
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
  attributes &= kReadOnly | kHidden;
  if (attributes == 0)
    attributes_.erase(*host);
  else
    attributes_[*host] = attributes;
  return true;
}

namespace {

// File times count 100 ns units from 1601; the host clock's epoch is 1970.
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000;

std::uint64_t ToFileTime(fs::file_time_type time) {
  const auto since1970 =
      std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
          std::chrono::file_clock::to_sys(time).time_since_epoch());
  return static_cast<std::uint64_t>(since1970.count() + kFileTimeOf1970);
}

fs::file_time_type FromFileTime(std::uint64_t fileTime) {
  const std::chrono::duration<std::int64_t, std::ratio<1, 10000000>> since1970(
      static_cast<std::int64_t>(fileTime) - kFileTimeOf1970);
  return std::chrono::file_clock::from_sys(
      std::chrono::sys_time<std::chrono::nanoseconds>(since1970));
}

}  // namespace

std::optional<std::uint64_t> SandboxFiles::LastWriteTime(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host) return std::nullopt;
  const fs::file_time_type time = fs::last_write_time(*host, error);
  if (error) return std::nullopt;
  return ToFileTime(time);
}

void SandboxFiles::SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
  fs::last_write_time(HostPath(path).value(), FromFileTime(fileTime));
}

bool SandboxFiles::Copy(const std::string& source, const std::string& target) {
  const std::optional<fs::path> from = HostPath(source);
  const std::optional<fs::path> to = NewEntry(target);
  std::error_code error;
  if (!from || !to || !fs::is_regular_file(*from, error)) return false;
  if (fs::exists(*to, error) && (!Writable(*to) || fs::equivalent(*from, *to, error))) return false;
  if (!fs::copy_file(*from, *to, fs::copy_options::overwrite_existing, error)) return false;
  fs::last_write_time(*to, fs::last_write_time(*from), error);
  // CopyFile carries the attributes, so a copy from a CD is read-only too.
  if (const auto found = attributes_.find(*from); found != attributes_.end())
    attributes_[*to] = found->second;
  else
    attributes_.erase(*to);
  return !error;
}

bool SandboxFiles::Replace(const std::string& source, const std::string& target) {
  const std::optional<fs::path> from = HostPath(source);
  const std::optional<fs::path> to = NewEntry(target);
  std::error_code error;
  // Renaming leaves the contents alone, so a read-only source may move; an open one may not.
  if (!from || !to || !fs::is_regular_file(*from, error) || IsOpen(*from)) return false;
  if (fs::exists(*to, error) && !Removable(*to)) return false;
  fs::rename(*from, *to, error);
  if (error) return false;
  attributes_.erase(*to);
  if (const auto found = attributes_.find(*from); found != attributes_.end()) {
    attributes_[*to] = found->second;
    attributes_.erase(*from);
  }
  return true;
}

bool SandboxFiles::SameFile(const std::string& a, const std::string& b) {
  const std::optional<fs::path> first = HostPath(a), second = HostPath(b);
  std::error_code error;
  return first && second && fs::is_regular_file(*first, error) &&
         fs::equivalent(*first, *second, error);
}

bool SandboxFiles::ChangeDirectory(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_directory(*host, error)) return false;
  // Windows keeps the path as given, without a trailing backslash unless it is a root.
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

bool SandboxFiles::DeleteDirectory(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  // Windows will not remove a drive root, and remove() on a host folder only takes empty ones.
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
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(root_, error))
    letters += entry.path().filename().string();
  std::sort(letters.begin(), letters.end());
  return letters;
}

}  // namespace setup
