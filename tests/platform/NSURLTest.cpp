// File URLs as the share sheet receives them.

#include "foundation/NSURL.h"
#include "foundation/NSString.h"
#include "objc/Exception.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

NSURL* fileURL(const char* path, bool isDirectory) {
    return send<NSURL*>(NSURL::staticClass(), "fileURLWithPath:isDirectory:", NSString::make(path),
                        isDirectory);
}

} // namespace

TEST(NSURL, FileURLKeepsTheDevicePath) {
    objc::AutoreleasePool pool;
    NSURL* url = fileURL("/var/mobile/Containers/Data/Application/X/Library/Lexorna", false);
    EXPECT_TRUE(url->isFileURL());
    EXPECT_TRUE(send<bool>(url, "isFileURL"));
    EXPECT_EQ(url->path(), "/var/mobile/Containers/Data/Application/X/Library/Lexorna");
    EXPECT_EQ(utf8Of(send<id>(url, "path")), url->path());
    EXPECT_EQ(utf8Of(send<id>(url, "absoluteString")),
              "file:///var/mobile/Containers/Data/Application/X/Library/Lexorna");
}

TEST(NSURL, DirectoryURLsEndInASlashTheirPathsDoNot) {
    objc::AutoreleasePool pool;
    NSURL* folder = fileURL("/var/mobile/Library/", true);
    EXPECT_EQ(folder->path(), "/var/mobile/Library");
    EXPECT_EQ(folder->absoluteString(), "file:///var/mobile/Library/");
    EXPECT_EQ(fileURL("/var/mobile/Library//", false)->absoluteString(), "file:///var/mobile/Library");
    EXPECT_EQ(fileURL("/", true)->absoluteString(), "file:///");
}

TEST(NSURL, PathsArePercentEncoded) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(fileURL("/tmp/My File #1%.txt", false)->absoluteString(),
              "file:///tmp/My%20File%20%231%25.txt");
    EXPECT_EQ(fileURL("/tmp/caf\xC3\xA9", false)->absoluteString(), "file:///tmp/caf%C3%A9");
    EXPECT_EQ(describe(fileURL("/tmp/a b", false)), "file:///tmp/a%20b");
}

TEST(NSURL, NilPathRaises) {
    objc::AutoreleasePool pool;
    EXPECT_THROW(send<id>(NSURL::staticClass(), "fileURLWithPath:isDirectory:", nullptr, false),
                 objc::Exception);
}
