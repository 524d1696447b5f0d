// The one removal of the machine's folders: what was made here, while it is still the
// folder made, and never what a link inside it points to.

#include "FileBytes.h"

#include "device/MadeFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using device::MadeFolder;
namespace fs = std::filesystem;

namespace {

MadeFolder made(const char* prefix) {
    auto folder = MadeFolder::makeTemporary(prefix);
    if (!folder)
        throw std::runtime_error(folder.error());
    return std::move(*folder);
}

} // namespace

TEST(MadeFolder, RemovesWhatItHoldsButNeverWhatALinkInsidePointsTo) {
    MadeFolder decoy = made("lexorna-decoy");
    putFile(decoy.path() / "precious", "keep");
    fs::path path;
    {
        MadeFolder folder = made("lexorna-made");
        path = folder.path();
        putFile(path / "sub" / "file", "x");
        fs::create_directory_symlink(decoy.path(), path / "to-decoy");
        fs::create_symlink(decoy.path() / "precious", path / "sub" / "to-precious");
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    EXPECT_EQ(contentsOf(decoy.path() / "precious"), "keep");
}

TEST(MadeFolder, LeavesAFolderThatIsNoLongerTheOneItMadeOrHasLostItsMark) {
    MadeFolder decoy = made("lexorna-decoy");
    putFile(decoy.path() / "precious", "keep");
    MadeFolder folder = made("lexorna-made");
    const fs::path path = folder.path();
    const fs::path aside = path.string() + ".aside";

    // A link to someone's folder in its place, as an unset or mistaken path would give.
    ASSERT_EQ(std::rename(path.c_str(), aside.c_str()), 0);
    fs::create_directory_symlink(decoy.path(), path);
    EXPECT_FALSE(folder.remove());
    EXPECT_EQ(contentsOf(decoy.path() / "precious"), "keep");
    ASSERT_EQ(::unlink(path.c_str()), 0);

    // Another folder of the same name, marked as well.
    putFile(path / MadeFolder::MarkName, "");
    EXPECT_FALSE(folder.remove());
    EXPECT_TRUE(fs::exists(path / MadeFolder::MarkName));
    ASSERT_EQ(::unlink((path / MadeFolder::MarkName).c_str()), 0);
    ASSERT_EQ(::rmdir(path.c_str()), 0);
    ASSERT_EQ(std::rename(aside.c_str(), path.c_str()), 0);

    // Its own folder without its mark.
    ASSERT_EQ(::unlink((path / MadeFolder::MarkName).c_str()), 0);
    EXPECT_FALSE(folder.remove());
    EXPECT_TRUE(fs::is_directory(path));

    putFile(path / MadeFolder::MarkName, "");
    EXPECT_TRUE(folder.remove());
    EXPECT_FALSE(fs::exists(path));
}
