// verify's own display admits only the clients that hold its cookie.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/native/scratch_folder.h"
#include "tools/verify/private_display.h"

namespace {

TEST(PrivateDisplay, AdmitsOnlyHoldersOfItsCookie) {
    ScratchFolder folder("display-test.");
    const std::string authority = folder.PathOf("Xauthority");
    PrivateDisplay display;
    std::string error;
    ASSERT_TRUE(display.Start(authority, error)) << error;
    struct stat status;
    ASSERT_EQ(stat(authority.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    for (const auto& [file, admitted] : {std::pair{authority, true}, {std::string("/dev/null"), false}}) {
        const std::string command = "XAUTHORITY='" + file + "' xdpyinfo -display " + display.Name() + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()) == 0, admitted) << file;
    }
}

}  // namespace
