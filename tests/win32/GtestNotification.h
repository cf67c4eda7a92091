#pragma once

// GoogleTest's Notification on a Win32 event: the compilers' win32 thread model has no
// std::mutex or std::condition_variable, and GoogleTest only needs it to compile.
#include <windows.h>

namespace testing::internal {

class Notification {
 public:
  HANDLE event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ~Notification() { CloseHandle(event_); }
  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
