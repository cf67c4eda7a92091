#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Profiles.h"
#include "platform/Services.h"
#include "state/ProgramState.h"
#include "unattended/Policy.h"

namespace setup {

// The name an answer file has beside the setup script when no /a names one.
inline constexpr std::string_view kAnswerFileName = "UNATTEND.INI";

// Why an answer file is refused: the key ("Section.Key") and the reason.
struct Refusal {
  std::string key;
  std::string reason;
};

// An answer file's values by section and key (both ignoring case), as text.
class Answers {
 public:
  // Reads the sections the program knows; a key they do not have is refused.
  static std::optional<Answers> Read(Profiles& profiles, const std::string& path, Refusal& refusal);

  std::optional<std::string_view> Text(std::string_view section, std::string_view key) const;
  // Whether any value of the configuration is given.
  bool ConfiguresDriver() const;

 private:
  std::map<std::string, std::string> values_;  // "section.key" folded to lower case
};

// The [Setup] values the run itself takes: language, destination and the policy.
struct RunAnswers {
  std::string language;     // empty: the command line's, else the first
  std::string destination;  // empty: the install dialog's default
  Policy policy;
};
std::optional<Refusal> ReadRunAnswers(const Answers& answers, const ProgramState& state,
                                      RunAnswers& run);

// Puts the configuration answers over the configuration in `state`, checked as the
// configuration pages check what they take; anything not given keeps its value, and adapters
// added get the defaults the controller list gives them. A refusal leaves `state` as it was.
std::optional<Refusal> ApplyConfigurationAnswers(Services& services, ProgramState& state,
                                                 const Answers& answers);

}  // namespace setup
