// A sub-project path that climbs out of the workspace through ".." parts is
// not scanned: a crafted build description must not make the converter list
// folders outside the workspace (with enough "..", the whole disk).
#include <gtest/gtest.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace {

TEST(OutsideWorkspace, ProjectPathsWithParentPartsAreNotScanned) {
  TempDir dir;
  dir.makeFolder("out");
  dir.writeFile("outside/secret.c", "");
  dir.writeFile("ws/Lib/lib.c", "");
  dir.writeFile("ws/Lib/sub/inner.c", "");
  dir.writeFile("proj/.project",
                "<projectDescription><name>App</name><projects><project>Lib</project>"
                "</projects></projectDescription>");
  dir.writeFile("proj/.wrproject",
                "<subprojects>\n"
                "<subproject project=\"/Lib/../../outside\"/>\n"
                "<subproject project=\"/Lib\\..\\..\\outside\"/>\n"
                "<subproject project=\"/Lib/sub\"/>\n"
                "</subprojects>\n");
  const std::string ws = dir.str("ws");
  const LimitedResult result =
      runLimited({"proj/.project", "proj/.wrproject", ws, "out"}, dir.str());
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  const std::string project = readFile(dir.path() / "out" / "App.prj");
  EXPECT_EQ(project.find("secret.c"), std::string::npos);
  // The groups are still made, one per matching entry; a path without ".."
  // is scanned as before.
  std::size_t groups = 0;
  for (auto at = project.find("FolderName=Lib\r\n"); at != std::string::npos;
       at = project.find("FolderName=Lib\r\n", at + 1)) {
    ++groups;
  }
  EXPECT_EQ(groups, 3u);
  EXPECT_NE(project.find("\r\n" + ws + "/Lib/sub/inner.c\r\n"), std::string::npos);
}

}  // namespace
