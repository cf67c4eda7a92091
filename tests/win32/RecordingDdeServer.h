#pragma once

#include <windows.h>
// After <windows.h>, which leaves DDEML out of a lean build.
#include <ddeml.h>

#include <string>
#include <vector>

namespace setup {

// A DDE server of the test's own, offering one name as service and topic, on a thread of
// its own as a shell in another process would be. It accepts every execute transaction and
// keeps its data byte for byte. One server at a time: DDEML callbacks carry no context.
class RecordingDdeServer {
 public:
  explicit RecordingDdeServer(std::string name);
  ~RecordingDdeServer();
  RecordingDdeServer(const RecordingDdeServer&) = delete;
  RecordingDdeServer& operator=(const RecordingDdeServer&) = delete;

  // The data of every execute transaction so far, once `count` have arrived or five
  // seconds have passed: the transactions do not wait for the server.
  std::vector<std::string> WaitForData(std::size_t count);
  // Conversations opened with the server so far.
  int conversations();

 private:
  static DWORD WINAPI Serve(void* server);
  static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic,
                                    HSZ service, HDDEDATA data, ULONG_PTR, ULONG_PTR);

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
std::string CommandText(const std::string& data);

}  // namespace setup
