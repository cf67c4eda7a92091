#include "win32/Win32ProgramGroups.h"

#include <windows.h>
// After <windows.h>, which leaves DDEML out of a lean build.
#include <ddeml.h>

#include <array>
#include <cstring>

namespace setup {
namespace {

// The client only sends; it accepts no transaction of a partner.
HDDEDATA CALLBACK AcceptNothing(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

class StringHandle {
 public:
  StringHandle(DWORD instance, const std::string& text)
      : instance_(instance), handle_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
  ~StringHandle() {
    if (handle_) DdeFreeStringHandle(instance_, handle_);
  }
  StringHandle(const StringHandle&) = delete;
  StringHandle& operator=(const StringHandle&) = delete;

  HSZ get() const { return handle_; }

 private:
  DWORD instance_;
  HSZ handle_;
};

class Conversation {
 public:
  Conversation(DWORD instance, HSZ serviceAndTopic)
      : handle_(DdeConnect(instance, serviceAndTopic, serviceAndTopic, nullptr)) {}
  ~Conversation() {
    if (handle_) DdeDisconnect(handle_);
  }
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  HCONV get() const { return handle_; }

 private:
  HCONV handle_;
};

}  // namespace

ProgramGroups::Started Win32ProgramGroups::Initialize() {
  DWORD instance = 0;
  const UINT error =
      DdeInitializeA(&instance, AcceptNothing, APPCLASS_STANDARD | APPCMD_CLIENTONLY, 0);
  if (error != DMLERR_NO_ERROR) return {0, error};
  return {instance, kNoError};
}

bool Win32ProgramGroups::Release(Instance instance) {
  return DdeUninitialize(instance) != FALSE;
}

ProgramGroups::Sent Win32ProgramGroups::Execute(Instance instance, std::string_view command) {
  if (command.size() >= kCommandBytes) return {Outcome::Refused, kNotProcessed};
  const StringHandle name(instance, service_);
  // A missing name would make DdeConnect talk to any server at all.
  if (!name.get()) return {Outcome::NotConnected, DdeGetLastError(instance)};
  const Conversation conversation(instance, name.get());
  if (!conversation.get()) return {Outcome::NotConnected, DdeGetLastError(instance)};

  // The whole buffer travels, zeros after the text included.
  std::array<BYTE, kCommandBytes> buffer{};
  std::memcpy(buffer.data(), command.data(), command.size());
  DWORD status = 0;
  if (!DdeClientTransaction(buffer.data(), static_cast<DWORD>(buffer.size()), conversation.get(),
                            nullptr, CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC, &status))
    return {Outcome::Refused, DdeGetLastError(instance)};
  return {Outcome::Accepted, kNoError};
}

}  // namespace setup
