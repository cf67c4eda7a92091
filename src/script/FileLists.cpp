#include "script/FileLists.h"

#include <algorithm>
#include <string>

#include "script/CaseFold.h"

namespace setup {
namespace {

// The lines of one section, numbered from the top of the script so that a refused line can
// be named.
class SectionReader {
 public:
  SectionReader(OpenFile& file, Prompts& prompts, std::string_view scriptName)
      : file_(file), prompts_(prompts), scriptName_(scriptName) {}

  // Reads up to the first whole line that `matches`; false when the file ends first. A line
  // whose text is not all of it is none that matches.
  template <class Match>
  bool Skip(Match matches) {
    while (Next())
      if (fault_ == LineFault::None && matches(line_.view())) return true;
    return false;
  }

  // The next line into `field`; false, after showing the line, when it does not fit. A line
  // the file does not hold reads as an empty text.
  template <std::size_t N>
  bool Read(FixedText<N>& field) {
    Next();
    if (!Fits(N - 1)) return false;
    field.Assign(line_.view());
    return true;
  }

  // False, after saying so, when the file ended before the last line read: a group cut short
  // leaves its rows without their directories, and they would land in a base directory.
  bool GroupComplete() { return !ended_ || Refuse("the file ends inside a group"); }

  // The next line as a number; false, after showing the line, when its text is not all of it.
  bool ReadNumber(std::int32_t& value) {
    Next();
    value = setup::ReadNumber(line_.view());
    return Fits(kPathBytes - 1);
  }

  // The next line as a number of entries, a negative one as none; false, after showing the
  // line, when it is refused or more entries than `room` are left in a list of `capacity`.
  bool ReadCount(std::int32_t room, int capacity, std::int32_t& count) {
    if (!ReadNumber(count)) return false;
    count = std::max(count, 0);
    if (count <= room) return true;
    return Refuse(
        Beyond("more entries than the list holds (", static_cast<std::size_t>(capacity), ")"));
  }

  // The last read found no line at all: the file had ended before it.
  bool ended() const { return ended_; }

 private:
  bool Next() {
    const bool complete = ReadScriptLine(file_, line_, fault_) == 1;
    ended_ = !complete && line_.empty();
    if (!ended_) ++lineNumber_;
    return complete;
  }

  // False, after showing the line, when the text read is not all of the line or is longer
  // than `width`: a cut name could stand for another file.
  bool Fits(std::size_t width) {
    if (fault_ == LineFault::HoldsNul) return Refuse("holds a NUL byte");
    if (fault_ == LineFault::TooLong || line_.size() > width)
      return Refuse(Beyond("longer than ", width, " characters"));
    return true;
  }

  // Built by appending: GCC 12 warns falsely about operator+ chains of strings (-Wrestrict).
  static std::string Beyond(std::string_view reason, std::size_t limit, std::string_view unit) {
    std::string text(reason);
    text += std::to_string(limit);
    text += unit;
    return text;
  }

  // Shows the line the section is refused at and why; false.
  bool Refuse(std::string_view reason) {
    std::string message(scriptName_);
    message += ", line ";
    // A line the file does not hold is named by the number it would have.
    message += std::to_string(lineNumber_ + (ended_ ? 1 : 0));
    message += ": ";
    message += reason;
    if (!ended_) {
      message += ":\n";
      message.append(line_.view());
    }
    prompts_.ShowErrorBox(kNoWindow, message);
    return false;
  }

  OpenFile& file_;
  Prompts& prompts_;
  std::string_view scriptName_;
  LineText line_;
  LineFault fault_ = LineFault::None;
  bool ended_ = false;
  int lineNumber_ = 0;
};

std::size_t Row(std::int32_t index) {
  return static_cast<std::size_t>(index);
}

// Gives the rows of a group their group's line.
void FillGroup(FileColumn& column, std::int32_t first, std::int32_t end, const ListName& value) {
  for (std::int32_t i = first; i < end; ++i) column[Row(i)] = value;
}

template <class List>
void Empty(List& list) {
  list.count = 0;
}
void Empty(ProgmanItemList& list) {
  list.count = 0;
  list.groupName.Clear();
}

// Opens the script, finds `header` and lets `fill` read the section; a refused section
// leaves the list empty.
template <class List, class Fill>
int ReadList(Files& files, Prompts& prompts, const ScriptLocation& script, std::string_view header,
             List& list, Fill fill) {
  Empty(list);
  OpenFile file = OpenScript(files, script);
  if (!file.valid()) {
    prompts.ShowErrorBox(kNoWindow, "Can't find SETUPINFOFILE!");
    return 0;
  }
  SectionReader section(file, prompts, script.fileName);
  if (section.Skip([&](std::string_view line) { return line == header; }) && !fill(section)) {
    Empty(list);
    return kListRefused;
  }
  return 1;
}

// Reads the per-file lines of a group, one into `names` and, when given, one into
// `targets`, and counts the rows.
bool ReadRows(SectionReader& section, std::int32_t files, std::int32_t& count, FileColumn& names,
              FileColumn* targets = nullptr) {
  for (std::int32_t i = 0; i < files; ++i) {
    if (!section.Read(names[Row(count)])) return false;
    if (targets && !section.Read((*targets)[Row(count)])) return false;
    ++count;
  }
  return true;
}

// Reads the groups of a file section; `group` reads the lines of one group of `files` rows,
// whose first row is at the list's count. The groups stop where the file ends between two.
template <class Group>
bool ReadGroups(SectionReader& section, const std::int32_t& count, Group group) {
  std::int32_t groups = 0;
  if (!section.ReadNumber(groups)) return false;
  for (std::int32_t g = 0; g < groups; ++g) {
    std::int32_t files = 0;
    if (!section.ReadCount(kMaxFileRows - count, kMaxFileRows, files)) return false;
    if (section.ended()) break;
    if (!group(files) || !section.GroupComplete()) return false;
  }
  return true;
}

}  // namespace

int ReadCompFiles(Files& files, Prompts& prompts, const ScriptLocation& script,
                  CompFileList& list) {
  return ReadList(files, prompts, script, "[COMPFILES]", list, [&](SectionReader& section) {
    return ReadGroups(section, list.count, [&](std::int32_t rows) {
      const std::int32_t first = list.count;
      ListName source, setupDir, windowsDir, version;
      if (!section.Read(source) ||
          !ReadRows(section, rows, list.count, list.sourceNames, &list.targetNames) ||
          !section.Read(setupDir) || !section.Read(windowsDir) || !section.Read(version))
        return false;
      FillGroup(list.sourceSubdirs, first, list.count, source);
      FillGroup(list.setupSubdirs, first, list.count, setupDir);
      FillGroup(list.windowsSubdirs, first, list.count, windowsDir);
      FillGroup(list.versionSwitches, first, list.count, version);
      return true;
    });
  });
}

int ReadAddFiles(Files& files, Prompts& prompts, const ScriptLocation& script, AddFileList& list) {
  return ReadList(files, prompts, script, "[ADDFILES]", list, [&](SectionReader& section) {
    return ReadGroups(section, list.count, [&](std::int32_t rows) {
      const std::int32_t first = list.count;
      ListName source, target;
      if (!section.Read(source) || !ReadRows(section, rows, list.count, list.fileNames) ||
          !section.Read(target))
        return false;
      FillGroup(list.sourceSubdirs, first, list.count, source);
      FillGroup(list.targetSubdirs, first, list.count, target);
      return true;
    });
  });
}

int ReadDeleteAddFiles(Files& files, Prompts& prompts, const ScriptLocation& script,
                       DeleteFileList& list) {
  return ReadList(files, prompts, script, "[DELETEADDFILES]", list, [&](SectionReader& section) {
    return ReadGroups(section, list.count, [&](std::int32_t rows) {
      const std::int32_t first = list.count;
      ListName subdir;
      if (!section.Read(subdir) || !ReadRows(section, rows, list.count, list.fileNames))
        return false;
      FillGroup(list.subdirs, first, list.count, subdir);
      return true;
    });
  });
}

int ReadProgmanItems(Files& files, Prompts& prompts, const ScriptLocation& script,
                     std::string_view language, ProgmanItemList& list) {
  return ReadList(files, prompts, script, "[PROGMAN]", list, [&](SectionReader& section) {
    if (!section.Read(list.groupName)) return false;
    if (!section.Skip([&](std::string_view line) { return EqualIgnoringCase(line, language); }))
      return true;
    std::int32_t items = 0;
    if (!section.ReadCount(kMaxProgmanItems, kMaxProgmanItems, items)) return false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(items); ++i) {
      if (!section.Read(list.titles[i])) return false;
      if (section.ended()) break;
      list.parameters[i].Clear();
      if (!section.Read(list.commands[i]) ||
          (list.commands[i] == kSetupFileWithCmd && !section.Read(list.parameters[i])) ||
          !section.Read(list.workingDirs[i]) || !section.Read(list.iconFiles[i]))
        return false;
      std::int32_t icon = 0;
      if (!section.ReadNumber(icon)) return false;
      // The field is 16 bits wide; a larger number keeps its low 16 bits.
      list.iconIndices[i] = static_cast<std::uint16_t>(icon);
      ++list.count;
    }
    return true;
  });
}

}  // namespace setup
