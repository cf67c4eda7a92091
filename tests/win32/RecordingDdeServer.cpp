#include "RecordingDdeServer.h"

#include <utility>

namespace setup {
namespace {

RecordingDdeServer* serving = nullptr;

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
  ~Lock() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION& section_;
};

}  // namespace

RecordingDdeServer::RecordingDdeServer(std::string name) : name_(std::move(name)) {
  InitializeCriticalSection(&lock_);
  serving = this;
  ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, Serve, this, 0, &threadId_);
  WaitForSingleObject(ready_, 10000);
}

RecordingDdeServer::~RecordingDdeServer() {
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
  CloseHandle(ready_);
  serving = nullptr;
  DeleteCriticalSection(&lock_);
}

DWORD WINAPI RecordingDdeServer::Serve(void* server) {
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
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DdeNameService(self.instance_, nullptr, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(self.instance_, self.nameHandle_);
  DdeUninitialize(self.instance_);
  return 0;
}

HDDEDATA CALLBACK RecordingDdeServer::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ,
                                               HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  RecordingDdeServer& self = *serving;
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(
          static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, self.nameHandle_) == 0));
    case XTYP_CONNECT_CONFIRM: {
      const Lock lock(self.lock_);
      ++self.conversations_;
      return nullptr;
    }
    case XTYP_EXECUTE: {
      std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
      DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
      const Lock lock(self.lock_);
      self.data_.push_back(std::move(bytes));
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }
    default:
      return nullptr;
  }
}

std::vector<std::string> RecordingDdeServer::WaitForData(std::size_t count) {
  for (int waited = 0; waited < 5000; waited += 10) {
    {
      const Lock lock(lock_);
      if (data_.size() >= count) break;
    }
    Sleep(10);
  }
  const Lock lock(lock_);
  return data_;
}

int RecordingDdeServer::conversations() {
  const Lock lock(lock_);
  return conversations_;
}

std::string CommandText(const std::string& data) {
  return data.substr(0, data.find('\0'));
}

}  // namespace setup
