// File URLs as the share sheet receives them.

#include "foundation/NSURL.h"
#include "foundation/NSString.h"
#include "objc/Exception.h"

#include <gtest/gtest.h>

using objc::send;

TEST(NSURL, FileURLsKeepTheDevicePathAndPercentEncodeIt) {
    objc::AutoreleasePool pool;
    struct Case {
        const char* path;
        bool isDirectory;
        const char* urlPath;
        const char* absolute;
    } cases[] = {
        {"/var/mobile/Library/Lexorna", false, "/var/mobile/Library/Lexorna",
         "file:///var/mobile/Library/Lexorna"},
        // Directory URLs end in a slash, their paths do not.
        {"/var/mobile/Library/", true, "/var/mobile/Library", "file:///var/mobile/Library/"},
        {"/var/mobile/Library//", false, "/var/mobile/Library", "file:///var/mobile/Library"},
        {"/", true, "/", "file:///"},
        {"/tmp/My File #1%.txt", false, "/tmp/My File #1%.txt", "file:///tmp/My%20File%20%231%25.txt"},
        {"/tmp/caf\xC3\xA9", false, "/tmp/caf\xC3\xA9", "file:///tmp/caf%C3%A9"},
    };
    for (const auto& c : cases) {
        id url = send<id>(NSURL::staticClass(), "fileURLWithPath:isDirectory:", NSString::make(c.path),
                          c.isDirectory);
        EXPECT_TRUE(send<bool>(url, "isFileURL"));
        EXPECT_EQ(utf8Of(send<id>(url, "path")), c.urlPath);
        EXPECT_EQ(utf8Of(send<id>(url, "absoluteString")), c.absolute);
        EXPECT_EQ(describe(url), c.absolute);
    }
    EXPECT_THROW(send<id>(NSURL::staticClass(), "fileURLWithPath:isDirectory:", nullptr, false),
                 objc::Exception)
        << "a nil path raises";
}
