#include "sysconfig/AutoexecNt.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "script/CaseFold.h"
#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

constexpr std::uint32_t kChunkBytes = 512;
// Longer than any block line: a line that outgrows it is kept without being compared.
constexpr std::size_t kHeldBytes = 64;

// Bytes of an open file, read a chunk at a time.
class ByteSource {
 public:
  ByteSource(Files& files, Files::Handle file) : files_(files), file_(file) {}

  // The next byte, or -1 at the end of the file or after a failed read.
  int Next() { return Available() ? static_cast<unsigned char>(chunk_[position_++]) : -1; }
  int Peek() { return Available() ? static_cast<unsigned char>(chunk_[position_]) : -1; }
  bool failed() const { return failed_; }

 private:
  bool Available() {
    if (position_ < size_) return true;
    const std::int32_t got = files_.Read(file_, chunk_.data(), kChunkBytes);
    failed_ = failed_ || got < 0;
    position_ = 0;
    size_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    return size_ > 0;
  }

  Files& files_;
  Files::Handle file_;
  std::array<char, kChunkBytes> chunk_;
  std::size_t position_ = 0, size_ = 0;
  bool failed_ = false;
};

// Bytes written to an open file a chunk at a time; a short or failed write is remembered.
class ByteSink {
 public:
  ByteSink(Files& files, Files::Handle file) : files_(files), file_(file) {}

  void Put(std::string_view bytes) {
    for (char byte : bytes) {
      if (size_ == kChunkBytes) Flush();
      chunk_[size_++] = byte;
    }
  }
  // Whether every byte put so far was written.
  bool Flush() {
    const auto size = static_cast<std::uint32_t>(size_);
    if (size > 0 && files_.Write(file_, chunk_.data(), size) != static_cast<std::int32_t>(size))
      failed_ = true;
    size_ = 0;
    return !failed_;
  }

 private:
  Files& files_;
  Files::Handle file_;
  std::array<char, kChunkBytes> chunk_;
  std::size_t size_ = 0;
  bool failed_ = false;
};

// The block line `text` equals, or -1.
int BlockLine(std::string_view text) {
  for (std::size_t i = 0; i < kAutoexecBlock.size(); ++i)
    if (EqualIgnoringCase(text, kAutoexecBlock[i])) return static_cast<int>(i);
  return -1;
}

// Goes through the lines of AutoExec.NT as the script reader delimits them, a CR ending
// each, but byte for byte: an LF right after the CR belongs to that line's end, any other
// byte to the next line, and a last line without a CR is a line too. Copies every line
// that is no block line, with its own line end, to `copy` when given. Whether the block's
// first or second line was seen, which is how both edits tell that the block is there.
bool ScanLines(ByteSource& source, ByteSink* copy) {
  bool found = false;
  for (int byte = source.Next(); byte >= 0; byte = source.Next()) {
    std::array<char, kHeldBytes> held;
    std::size_t count = 0;
    bool isLong = false;
    for (; byte >= 0 && byte != '\r'; byte = source.Next()) {
      if (!isLong && count < kHeldBytes) {
        held[count++] = static_cast<char>(byte);
        continue;
      }
      if (copy && !isLong) copy->Put(std::string_view(held.data(), count));
      isLong = true;
      const char c = static_cast<char>(byte);
      if (copy) copy->Put(std::string_view(&c, 1));
    }
    std::string_view end;
    if (byte == '\r') {
      end = source.Peek() == '\n' ? "\r\n" : "\r";
      if (end.size() == 2) source.Next();
    }
    const std::string_view text(held.data(), count);
    const int block = isLong ? -1 : BlockLine(text);
    found = found || block == 0 || block == 1;
    if (copy && block < 0) {
      if (!isLong) copy->Put(text);
      copy->Put(end);
    }
  }
  return found;
}

std::string SystemFile(Services& services, std::string_view name) {
  return JoinPathParts({services.system.SystemDirectory(), name});
}

// A path that does not fit names no file: it is not opened.
Files::Handle OpenForEditing(Files& files, const std::string& path) {
  return FitsPath(path) ? files.OpenReadWrite(path) : Files::kInvalid;
}

// Shows a catalogue text about one file; always 0, the result of a failed edit.
int Report(Services& services, const ProgramState& state, int key, const std::string& path) {
  ShowConfigMessage(services, state, key, {path});
  return 0;
}

// Whether the block is there; nothing when the file cannot be read.
std::optional<bool> HoldsBlock(OpenFile& file) {
  ByteSource source(file.files(), file.handle());
  const bool found = ScanLines(source, nullptr);
  if (source.failed()) return std::nullopt;
  return found;
}

// Writes `file` less its block lines into a new `temporary`; whether all of it was written.
bool CopyWithoutBlock(OpenFile& file, const std::string& temporary) {
  Files& files = file.files();
  if (files.Seek(file.handle(), 0, Files::Origin::Begin) != 0) return false;
  OpenFile copy(files, FitsPath(temporary) ? files.Create(temporary) : Files::kInvalid);
  if (!copy.valid()) return false;
  ByteSource source(files, file.handle());
  ByteSink sink(files, copy.handle());
  ScanLines(source, &sink);
  return sink.Flush() && !source.failed();
}

}  // namespace

int InsertAutoexecBlock(Services& services, const ProgramState& state) {
  Files& files = services.files;
  const std::string path = SystemFile(services, kAutoexecName);
  OpenFile file(files, OpenForEditing(files, path));
  if (!file.valid()) return Report(services, state, text::ERR_CFG_NOAUTOEXEC, path);
  const std::optional<bool> present = HoldsBlock(file);
  if (!present) return Report(services, state, text::ERR_CFG_NOAUTOEXEC, path);
  if (*present) return 1;

  std::string block = "\r\n";
  for (std::string_view line : kAutoexecBlock) {
    block += line;
    block += "\r\n";
  }
  const auto size = static_cast<std::uint32_t>(block.size());
  // At the real end: where a reader stops after a final lone CR lies one byte beyond it,
  // and writing there would leave a NUL byte in between.
  if (files.Seek(file.handle(), 0, Files::Origin::End) < 0 ||
      files.Write(file.handle(), block.data(), size) != static_cast<std::int32_t>(size))
    return Report(services, state, text::ERR_CANTWRITE, path);
  return 1;
}

int RemoveAutoexecBlock(Services& services, const ProgramState& state) {
  Files& files = services.files;
  const std::string path = SystemFile(services, kAutoexecName);
  const std::string temporary = SystemFile(services, kAutoexecTemporary);
  {
    OpenFile file = OpenForReading(files, path);
    // No file holds no block: there is nothing to take out.
    if (!file.valid())
      return files.Attributes(path) ? Report(services, state, text::ERR_CFG_NOAUTOEXEC, path) : 1;
    const std::optional<bool> present = HoldsBlock(file);
    if (!present) return Report(services, state, text::ERR_CFG_NOAUTOEXEC, path);
    if (!*present) return 1;
  }
  {
    // A file that could not be replaced, read-only most likely, is refused before the copy.
    OpenFile file(files, files.OpenReadWrite(path));
    if (!file.valid()) return Report(services, state, text::ERR_CANTWRITE, path);
    if (!CopyWithoutBlock(file, temporary)) {
      files.Delete(temporary);
      return Report(services, state, text::ERR_CANTWRITE, path);
    }
  }  // closed, since an open file cannot be renamed over
  if (!files.Replace(temporary, path)) {
    files.Delete(temporary);
    return Report(services, state, text::ERR_CANTWRITE, path);
  }
  return 1;
}

}  // namespace setup
