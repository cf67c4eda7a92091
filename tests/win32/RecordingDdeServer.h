#pragma once

#include <windows.h>
// After <windows.h>, which leaves DDEML out of a lean build.
#include <ddeml.h>

#include <string>
#include <utility>
#include <vector>

namespace setup {

// A DDE server offering one name as service and topic, on a thread of its own as a shell in
// another process would be; it accepts every execute transaction and keeps its data byte for
// byte. One server at a time: DDEML callbacks carry no context.
class RecordingDdeServer {
 public:
  explicit RecordingDdeServer(std::string name) : name_(std::move(name)) {
    InitializeCriticalSection(&lock_);
    serving_ = this;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Serve, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
  }
  ~RecordingDdeServer() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    serving_ = nullptr;
    DeleteCriticalSection(&lock_);
  }
  RecordingDdeServer(const RecordingDdeServer&) = delete;
  RecordingDdeServer& operator=(const RecordingDdeServer&) = delete;

  // The data of every execute transaction so far and the conversations opened, once `count`
  // transactions have arrived or five seconds have passed: they do not wait for the server.
  std::vector<std::string> WaitForData(std::size_t count, int* conversations) {
    for (int waited = 0;; waited += 10, Sleep(10)) {
      EnterCriticalSection(&lock_);
      std::vector<std::string> data = data_;
      *conversations = conversations_;
      LeaveCriticalSection(&lock_);
      if (data.size() >= count || waited >= 5000) return data;
    }
  }

 private:
  static DWORD WINAPI Serve(void* server) {
    RecordingDdeServer& self = *static_cast<RecordingDdeServer*>(server);
    MSG message;
    // The queue must exist before the destructor can post WM_QUIT to it.
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    DdeInitializeA(&self.instance_, Callback,
                   APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                       CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                   0);
    self.nameHandle_ = DdeCreateStringHandleA(self.instance_, self.name_.c_str(), CP_WINANSI);
    DdeNameService(self.instance_, self.nameHandle_, nullptr, DNS_REGISTER);
    SetEvent(self.ready_);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DdeUninitialize(self.instance_);
    return 0;
  }

  static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data,
                                    ULONG_PTR, ULONG_PTR) {
    RecordingDdeServer& self = *serving_;
    if (type == XTYP_CONNECT)
      return reinterpret_cast<HDDEDATA>(
          static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, self.nameHandle_) == 0));
    EnterCriticalSection(&self.lock_);
    if (type == XTYP_CONNECT_CONFIRM) ++self.conversations_;
    if (type == XTYP_EXECUTE) {
      std::string& bytes = self.data_.emplace_back(DdeGetData(data, nullptr, 0, 0), '\0');
      DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
    }
    LeaveCriticalSection(&self.lock_);
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(type == XTYP_EXECUTE ? DDE_FACK : 0));
  }

  static inline RecordingDdeServer* serving_ = nullptr;
  std::string name_;
  CRITICAL_SECTION lock_;
  std::vector<std::string> data_;
  int conversations_ = 0;
  DWORD instance_ = 0;
  HSZ nameHandle_ = nullptr;
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
};

// The text in a command's data: everything before the first zero.
inline std::string CommandText(const std::string& data) {
  return data.substr(0, data.find('\0'));
}

}  // namespace setup
