#include <gtest/gtest.h>
#include <windows.h>
#include "TestSupport.h"
TEST(Smoke, RunsInPrefix) {
  OSVERSIONINFOEXA v{}; v.dwOSVersionInfoSize = sizeof(v);
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)));
  printf("group %s version %lu.%lu type %d exe %s\n", test::Group().c_str(), v.dwMajorVersion, v.dwMinorVersion, v.wProductType, test::ExeFolder().c_str());
  EXPECT_EQ(GetDriveTypeA("Z:\\"), (UINT)DRIVE_NO_ROOT_DIR);
}
