#include "support/SandboxFiles.h"

#include <algorithm>
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

void SandboxFiles::MakeDirectory(const std::string& path) {
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

SandboxFiles::Handle SandboxFiles::Create(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_directory(host->parent_path(), error) || fs::is_directory(*host, error))
    return kInvalid;
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
  if (!open) return -1;
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

bool SandboxFiles::Delete(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) return false;
  // Windows refuses to delete a file that is open.
  for (const auto& [handle, open] : open_)
    if (open.hostPath == *host) return false;
  return fs::remove(*host, error);
}

}  // namespace setup
