#include "service/win32/SingleInstance.h"

#include <gtest/gtest.h>

#include "support/GuardedMutex.h"

namespace pen::win32 {
namespace {

TEST(SingleInstance, AMutexThatExistedOrCannotBeOpenedMeansAnInstanceRuns) {
  HANDLE held = reinterpret_cast<HANDLE>(0x44);
  EXPECT_TRUE(MutexShowsAnotherInstance(held, 183));      // ERROR_ALREADY_EXISTS
  EXPECT_FALSE(MutexShowsAnotherInstance(held, 0));       // made here: the first instance
  EXPECT_TRUE(MutexShowsAnotherInstance(nullptr, 5));     // ERROR_ACCESS_DENIED: a process with more rights made it
  EXPECT_FALSE(MutexShowsAnotherInstance(nullptr, 6));    // ERROR_INVALID_HANDLE: the name is another kind of object
  EXPECT_FALSE(MutexShowsAnotherInstance(nullptr, 1450));  // ERROR_NO_SYSTEM_RESOURCES
}

// What an elevated first instance leaves for a normal one.
TEST(SingleInstance, AMutexGuardedAgainstThisProcessIsReportedAsAccessDenied) {
  const char* name = "penhost-test-guarded-mutex";
  HANDLE first = test::CreateGuardedMutex(name);
  ASSERT_NE(first, nullptr);
  SetLastError(ERROR_SUCCESS);
  HANDLE second = CreateMutexA(nullptr, FALSE, name);
  const DWORD error = GetLastError();
  if (second) CloseHandle(second);
  CloseHandle(first);
  if (second) GTEST_SKIP() << "this system opens the guarded mutex anyway (error " << error << ")";
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(MutexShowsAnotherInstance(second, error));
}

}  // namespace
}  // namespace pen::win32
