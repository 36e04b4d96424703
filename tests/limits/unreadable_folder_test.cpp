// A folder inside a sub-project that cannot be read is passed over without a
// word, and the rest of the sub-project is converted. Permissions do not stop
// root, so when the tests run as root the converter runs as another user.
#include <filesystem>
#include <gtest/gtest.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(UnreadableFolder, IsSkippedSilently) {
  if (const std::string why = whyNoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  TempDir dir;
  dir.makeFolder("out");
  dir.writeFile("ws/Lib/lib.c", "");
  dir.writeFile("ws/Lib/secret/hidden.c", "");
  dir.writeFile("ws/Lib/secret/inner/x.c", "");
  dir.writeFile("ws/Lib/zopen/o.c", "");
  dir.writeFile("proj/.project",
                "<projectDescription><name>App</name><projects><project>Lib</project>"
                "</projects></projectDescription>");
  dir.writeFile("proj/.wrproject", "<subprojects>\n<subproject project=\"/Lib\"/>\n</subprojects>\n");
  handToUnprivilegedUser(dir.path());
  fs::permissions(dir.path() / "ws" / "Lib" / "secret", fs::perms::none);

  const std::string ws = dir.str("ws");
  const LimitedResult result = runLimited({"proj/.project", "proj/.wrproject", ws, "out"},
                                          dir.str(), {.unprivileged = true});
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "Creating Olvex/Olvex++ Project ...\n"
            "  Creating Group - App\n"
            "  Creating Group - Lib\n"
            "  Creating Group - zopen\n"
            "Olvex/Olvex++ Project Completed!\n");
  const std::string project = readFile(dir.path() / "out" / "App.prj");
  EXPECT_NE(project.find("\r\n" + ws + "/Lib/lib.c\r\n"), std::string::npos);
  EXPECT_NE(project.find("\r\n" + ws + "/Lib/zopen/o.c\r\n"), std::string::npos);
  EXPECT_EQ(project.find("secret"), std::string::npos);
}

}  // namespace
