// The password of a connection string never shows in a diagnostic.
#include <gtest/gtest.h>

#include "platform/odbc.h"

namespace wcomp837 {
namespace {

TEST(PasswordMasking, PasswordItemsAndEchoedSecret) {
  const std::string cs = "DSN=qel;UID=qeladmin;PWD=t4mx9kz2pd7w";
  EXPECT_EQ(PasswordOf(cs), "t4mx9kz2pd7w");
  EXPECT_EQ(MaskConnectionString(cs), "DSN=qel;UID=qeladmin;PWD=****");
  EXPECT_EQ(MaskConnectionString("pwd = s3;Pwd={a;b};X=1;PWD="), "pwd =****;Pwd=****;X=1;PWD=****");
  EXPECT_EQ(PasswordOf("DSN=x;PWD={a;b}"), "a;b");
  EXPECT_EQ(PasswordOf("DSN=x;UID=u"), "");
  // Names that merely contain the letters are left alone.
  EXPECT_EQ(MaskConnectionString("DSN=MYPWD;APPWD=1"), "DSN=MYPWD;APPWD=1");
  EXPECT_EQ(
      MaskSecret("connect 'DSN=qel;PWD=t4mx9kz2pd7w' failed for t4mx9kz2pd7w", "t4mx9kz2pd7w"),
      "connect 'DSN=qel;PWD=****' failed for ****");
  EXPECT_EQ(MaskSecret("nothing to hide", ""), "nothing to hide");
}

}  // namespace
}  // namespace wcomp837
