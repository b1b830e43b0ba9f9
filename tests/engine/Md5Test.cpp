#include "engine/Md5.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

static std::string Md5Of(const std::string& message) {
    Md5Context ctx;
    Md5Init(&ctx);
    Md5Update(&ctx, message.data(), (uint32_t)message.size());
    Md5Final(&ctx);
    char* text = DigestToHex(ctx.digest);
    std::string result(text);
    FreeChecksum(text);
    return result;
}

TEST(Md5, Rfc1321Suite) {
    EXPECT_EQ(Md5Of(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Of("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Of("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Of("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Of("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Of("1234567890123456789012345678901234567890123456789012345678901234567890"
                    "1234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}
