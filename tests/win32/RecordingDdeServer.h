#pragma once

#include <windows.h>
// After <windows.h>, which leaves DDEML out of a lean build.
#include <ddeml.h>

#include <string>
#include <vector>

namespace setup {

// A DDE server offering one name as service and topic; it accepts every execute transaction
// and keeps its data byte for byte. It is served by this thread's messages, which the client's
// own waits dispatch too. One server at a time: DDEML callbacks carry no context.
class RecordingDdeServer {
 public:
  explicit RecordingDdeServer(const std::string& name) {
    serving_ = this;
    DdeInitializeA(&instance_, Callback, APPCLASS_STANDARD, 0);
    nameHandle_ = DdeCreateStringHandleA(instance_, name.c_str(), CP_WINANSI);
    DdeNameService(instance_, nameHandle_, nullptr, DNS_REGISTER);
  }
  ~RecordingDdeServer() { DdeUninitialize(instance_); }

  // The execute data and the conversations so far, once `count` have come or after 5 s.
  std::vector<std::string> WaitForData(std::size_t count, int* conversations) {
    for (int waited = 0; data_.size() < count && waited < 5000; waited += 10, Sleep(10))
      for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageA(&message);
    *conversations = conversations_;
    return data_;
  }

 private:
  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data,
                                    ULONG_PTR, ULONG_PTR) {
    RecordingDdeServer& self = *serving_;
    if (type == XTYP_CONNECT)
      return HDDEDATA(ULONG_PTR(!DdeCmpStringHandles(topic, self.nameHandle_)));
    self.conversations_ += type == XTYP_CONNECT_CONFIRM;
    if (type == XTYP_EXECUTE) {
      std::string& bytes = self.data_.emplace_back(DdeGetData(data, nullptr, 0, 0), '\0');
      DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
    }
    return HDDEDATA(ULONG_PTR(type == XTYP_EXECUTE ? DDE_FACK : 0));
  }

  static inline RecordingDdeServer* serving_ = nullptr;
  std::vector<std::string> data_;
  int conversations_ = 0;
  DWORD instance_ = 0;
  HSZ nameHandle_ = nullptr;
};

// The text in a command's data: everything before the first zero.
inline std::string CommandText(const std::string& data) {
  return data.substr(0, data.find('\0'));
}

}  // namespace setup
