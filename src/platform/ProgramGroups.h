#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace setup {

// The shell's program groups, reached through Program Manager's DDE command interface:
// service and topic "PROGMAN", one bracketed command text per execute transaction.
class ProgramGroups {
 public:
  // A DDE client instance; 32 bits on both Windows builds, 0 is none.
  using Instance = std::uint32_t;

  // Error codes of the DDE management library.
  static constexpr std::uint32_t kNoError = 0;
  static constexpr std::uint32_t kNoConversation = 0x400A;  // DMLERR_NO_CONV_ESTABLISHED
  static constexpr std::uint32_t kNotProcessed = 0x4009;    // DMLERR_NOTPROCESSED

  // The whole command buffer handed over as the transaction's data: at most 259 characters
  // and a terminating zero.
  static constexpr std::size_t kCommandBytes = 260;

  struct Started {
    Instance instance = 0;
    std::uint32_t error = kNoError;  // the initialisation's error code; instance 0 unless 0
  };
  enum class Outcome { Accepted, Refused, NotConnected };
  struct Sent {
    Outcome outcome = Outcome::Accepted;
    std::uint32_t error = kNoError;  // the instance's last DDE error unless accepted
  };

  virtual ~ProgramGroups() = default;

  // A client-only instance whose callback accepts nothing.
  virtual Started Initialize() = 0;
  // False when `instance` is not a live instance.
  virtual bool Release(Instance instance) = 0;
  // Opens a conversation of its own for the command, starts the execute transaction without
  // waiting for the shell to carry it out, and closes the conversation again. A command
  // that does not fit the buffer is refused unsent.
  virtual Sent Execute(Instance instance, std::string_view command) = 0;
};

}  // namespace setup
