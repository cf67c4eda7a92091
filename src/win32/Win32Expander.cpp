#include "win32/Win32Expander.h"

#include <windows.h>
// After windows.h, which it needs.
#include <lzexpand.h>

namespace setup {

// The files are opened with _lopen and _lcreat rather than LZOpenFile, whose OFSTRUCT holds
// only 128 bytes of path where this program's paths may be 259 characters long. These hand
// out an HFILE, an int even on 64-bit Windows; kernel handles fit in 32 bits, and the int
// goes no further than this function.
Expander::Result Win32Expander::Expand(const std::string& source, const std::string& target) {
  const HFILE file = _lopen(source.c_str(), OF_READ);
  if (file == HFILE_ERROR) return Result::SourceUnreadable;
  // An uncompressed file comes back as itself, and LZClose closes it either way.
  const INT packed = LZInit(file);
  if (packed < 0) {
    _lclose(file);
    return Result::Failed;
  }
  // The expanded length: the header's for a compressed file, the file's own otherwise.
  const LONG length = LZSeek(packed, 0, FILE_END);
  if (length < 0 || LZSeek(packed, 0, FILE_BEGIN) != 0) {
    LZClose(packed);
    return Result::Failed;
  }

  const HFILE out = _lcreat(target.c_str(), 0);
  if (out == HFILE_ERROR) {
    LZClose(packed);
    return Result::TargetUncreatable;
  }
  const LONG copied = LZCopy(packed, out);
  LZClose(packed);
  // LZCopy reports a cut-off source only by a short count. Wine's decodes on past the length
  // into whatever the compressor padded its last group with; the header has the last word.
  bool whole = copied >= length;
  if (whole && copied > length)
    whole = _llseek(out, length, FILE_BEGIN) == length && SetEndOfFile(LongToHandle(out));
  // LZCopy dates the file now; with the package's date an install over it asks about no
  // newer file, as for a copied one.
  WIN32_FILE_ATTRIBUTE_DATA dated;
  if (whole && GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &dated))
    whole = SetFileTime(LongToHandle(out), nullptr, nullptr, &dated.ftLastWriteTime) != 0;
  if (_lclose(out) == HFILE_ERROR) whole = false;
  return whole ? Result::Done : Result::Failed;
}

}  // namespace setup
