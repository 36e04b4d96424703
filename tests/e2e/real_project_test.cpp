// The real-project mode through the real program, on the example workbench
// workspace (two build specs, two build targets, a project found by its
// name): the stored copies of its output with and without the mode, the
// warnings, and what ends a run.
#include <cstdlib>
#include <filesystem>

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

class Workbench : public Conversion {
 public:
  void SetUp() override {
    Conversion::SetUp();
    const char* examples = std::getenv("PLOVIK_EXAMPLES");
    ASSERT_NE(examples, nullptr) << "PLOVIK_EXAMPLES names the examples folder";
    fs::remove(dir.path() / "ws");
    fs::copy(fs::path(examples) / "workbench", dir.path() / "ws", fs::copy_options::recursive);
  }
  ProgramResult convertSensor(std::vector<std::string> options, const std::string& dest = "out") {
    std::vector<std::string> args{"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", dest};
    args.insert(args.end(), options.begin(), options.end());
    return runPlovik(args, dir.str());
  }
  // The stored copy named `name`, with the folder it was made in replaced.
  std::string stored(const std::string& name) const {
    const char* golden = std::getenv("PLOVIK_GOLDEN");
    EXPECT_NE(golden, nullptr) << "PLOVIK_GOLDEN names the folder of the stored copies";
    return replaced(readFile(fs::path(golden == nullptr ? "" : golden) / name), "@DIR@", dir.str());
  }
  void expectStored(const std::string& copy, const ProgramResult& result,
                    const std::string& stdoutCopy = "") {
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, stored((stdoutCopy.empty() ? copy : stdoutCopy) + "/stdout"));
    EXPECT_EQ(readFile(out + "/Sensor.prj"), stored(copy + "/Sensor.prj"));
    EXPECT_EQ(readFile(out + "/person/Sensor.p_a"), stored(copy + "/Sensor.p_a"));
    std::string files;
    for (const auto& [path, content] : filesBelow(out)) files += "./" + path + "\n";
    EXPECT_EQ(files, stored(copy + "/files"));
  }
};

// The copies hold POSIX paths; the Windows output of the same project is
// checked by the unit tests of the mode's reading and the project writer.
#ifdef _WIN32
#define POSIX_ONLY() GTEST_SKIP() << "the stored copies hold POSIX paths"
#else
#define POSIX_ONLY() (void)0
#endif

TEST_F(Workbench, WithoutTheModeTheOutputIsTheStoredCopy) {
  POSIX_ONLY();
  expectStored("default", convertSensor({"-ext", "c,h"}));
}

TEST_F(Workbench, TheModeGivesItsStoredCopy) {
  POSIX_ONLY();
  expectStored("real-project",
               convertSensor({"-ext", "c,h", "-wb", "-var", "WIND_BASE=/opt/windriver"}));
}

// The database holds the chosen spec's compilers, expanded paths and
// defines; the run's other output stays what it is without it.
TEST_F(Workbench, TheDatabaseOfTheModeIsItsStoredCopy) {
  POSIX_ONLY();
  expectStored("real-project", convertSensor({"-ext", "c,h", "-wb", "-var",
                                              "WIND_BASE=/opt/windriver", "-cdb",
                                              "compile_commands.json"}),
               "compilation-database");
  EXPECT_EQ(readFile(dir.path() / "compile_commands.json"),
            stored("compilation-database/compile_commands.json"));
}

// A VxWorks 7 style project: variables through Workbench's own PRJ_ROOT_DIR,
// a linked folder and a linked file through a path variable of the
// .project, a build folder for the relative include entry, C++ macros. On
// Windows its own copy: the project folder's separators must survive the
// splitting of the compile command into words.
TEST_F(Workbench, TheVxWorks7ExampleGivesItsStoredCopy) {
  const char* examples = std::getenv("PLOVIK_EXAMPLES");
  ASSERT_NE(examples, nullptr);
  fs::copy(fs::path(examples) / "vxworks7", dir.path() / "vx", fs::copy_options::recursive);
  const ProgramResult result =
      runPlovik({"vx/Motor/.project", "vx/Motor/.wrproject", "vx", "out", "-wb", "-ext", "cpp,h",
                 "-cdb", "out/compile_commands.json"},
                dir.str());
  EXPECT_EQ(result.exitCode, 0);
#ifdef _WIN32
  const std::string copy = "vxworks7-windows/";
#else
  const std::string copy = "vxworks7/";
#endif
  // JSON text doubles each backslash of the folder's path.
  const std::string jsonDir = replaced(dir.str(), "\\", "\\\\");
  const auto stored = [&](const std::string& name) {
    return replaced(replaced(this->stored(copy + name), "@JSONDIR@", jsonDir), "@SLASHDIR@",
                    replaced(dir.str(), "\\", "/"));
  };
  EXPECT_EQ(lines(result.out), stored("stdout"));
  EXPECT_EQ(readFile(out + "/Motor.prj"), stored("Motor.prj"));
  EXPECT_EQ(readFile(out + "/person/Motor.p_a"), stored("Motor.p_a"));
  EXPECT_EQ(readFile(out + "/compile_commands.json"), stored("compile_commands.json"));
}

TEST_F(Workbench, WarningsComeLastAndTheRunStillSucceeds) {
  const ProgramResult result = convertSensor({"-wb", "-ext", "c,h", "-spec", "PPC32diab"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(lines(result.out).ends_with(
      "Olvex/Olvex++ Project Completed!\n"
      "Warning: 2 referenced projects have no readable .wrproject, their files take the "
      "project's settings: NetLib, Drivers\n"
      "Warning: unresolved variable WIND_BASE in 2 include paths (give it with -var "
      "WIND_BASE=...)\n"))
      << result.out;
  const std::string analyser = readFile(out + s + "person" + s + "Sensor.p_a");
  EXPECT_NE(analyser.find("-d \"DIAB_ONLY\"\r\n"), std::string::npos);
  EXPECT_EQ(analyser.find("USE_NET"), std::string::npos);
}

TEST_F(Workbench, AnUnknownSpecOrABadOptionEndsTheRunAndKeepsTheEarlierResult) {
  ASSERT_EQ(convertSensor({"-wb"}).exitCode, 0);
  const auto earlier = filesBelow(out);
  for (const auto& [options, message] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"-spec", "ARMgnu"}, "Unknown build spec: ARMgnu (known: PPC32diab, PPC32gnu)"},
           {{"-target", "none"}, "Unknown build target: none (known: sensor_app, sensor_test)"},
           {{"-var", "WIND_BASE"},
            "Invalid value for -var: \"WIND_BASE\" (give NAME=VALUE)"},
           {{"-map"}, "Missing value for -map"}}) {
    const ProgramResult result = convertSensor(options);
    EXPECT_EQ(result.exitCode, 1) << message;
    EXPECT_EQ(lines(result.out), message + "\n");
    EXPECT_EQ(filesBelow(out), earlier);
  }
}

TEST_F(Workbench, ATargetChoosesTheOwnFiles) {
  ASSERT_EQ(convertSensor({"-ext", "c", "-target", "sensor_test"}).exitCode, 0);
  const std::string prj = readFile(out + s + "Sensor.prj");
  EXPECT_NE(prj.find(s + "test_main.c\r\n"), std::string::npos);
  EXPECT_EQ(prj.find("app_main.c"), std::string::npos);
  EXPECT_EQ(prj.find("ctdt.c"), std::string::npos) << "build output is no source";
}

// In examples/fleet App refers to Lib: Lib's file is entered with Lib's own
// settings (its defines, its object folder), App's with App's, and the
// analyser personality stays App's; without Lib's .wrproject, Lib's file
// takes App's settings and a warning says so.
TEST_F(Workbench, ASubprojectsFileIsCompiledWithItsOwnSettings) {
  const char* examples = std::getenv("PLOVIK_EXAMPLES");
  ASSERT_NE(examples, nullptr);
  fs::copy(fs::path(examples) / "fleet", dir.path() / "fleet", fs::copy_options::recursive);
  const auto entryOf = [](const std::string& database, const std::string& file) {
    const std::size_t at = database.find(file + "\",\n");
    if (at == std::string::npos) return std::string();
    return database.substr(at, database.find("\n  }", at) - at);
  };
  const std::string warning =
      "Warning: referenced project Lib has no readable .wrproject, its files take the project's "
      "settings\n";
  const struct {
    const char* what;
    bool libDescription;
    const char* libDefine;
    std::string libObject;
  } cases[] = {
      {"Lib's own .wrproject", true, "-DLIB_BUILD", "Lib" + s + "llvm_ARMARCH7" + s + "lib.o"},
      {"none", false, "-DAPP_BUILD", "App" + s + "llvm_ARMARCH7" + s + "lib.o"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.libDescription) fs::remove(dir.path() / "fleet" / "Lib" / ".wrproject");
    const std::string at = "fleet" + s + "App" + s;
    const ProgramResult result = runPlovik({at + ".project", at + ".wrproject", "fleet", "out",
                                            "-wb", "-cdb", "out" + s + "cc.json"},
                                           dir.str());
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(lines(result.out).find(warning) != std::string::npos, !c.libDescription)
        << result.out;
    const std::string database = readFile(dir.path() / "out" / "cc.json");
    const std::string app = entryOf(database, "app.c");
    const std::string lib = entryOf(database, "lib.c");
    EXPECT_NE(app.find("\"-DAPP_BUILD\""), std::string::npos) << app;
    EXPECT_NE(lib.find(std::string("\"") + c.libDefine + "\""), std::string::npos) << lib;
    EXPECT_NE(lib.find(replaced(c.libObject, "\\", "\\\\") + "\""), std::string::npos) << lib;
    if (c.libDescription) EXPECT_EQ(lib.find("APP_BUILD"), std::string::npos) << lib;
    const std::string personality = readFile(dir.path() / "out" / "person" / "App.p_a");
    EXPECT_NE(personality.find("-d \"APP_BUILD\""), std::string::npos) << personality;
    EXPECT_EQ(personality.find("LIB_BUILD"), std::string::npos) << personality;
  }
}

// A build target that gives one file C++ flags of its own (without the
// spec's -w) and a folder an include list of its own: in the database that
// file alone lacks -w, the folder's files search the target's folders, and
// both lie in the target's object folder; the personality stays the build spec's.
TEST_F(Workbench, AFileABuildTargetGivesSettingsOfItsOwnIsEnteredWithThem) {
  const auto attributes = [](const std::string& key, const std::string& inside) {
    return "<attributes><mapAttribute>" + key + inside + "</mapAttribute></attributes>\n";
  };
  dir.writeFile("t/P/.project",
                "<projectDescription><name>P</name><projects></projects></projectDescription>");
  dir.writeFile(
      "t/P/.wrproject",
      "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"S\"/>\n"
      "<listAttribute key=\"BLD::Info|Incl|S\">\n<stringAttribute value=\"-I/spec/h\"/>\n"
      "</listAttribute>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd|S\" value=\"c++ppc %ToolFlags% "
      "%Includes% -o %OutFile% -c %InFile%\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|flags|S\" value=\"-w -O2\"/>\n"
      "<buildtargets>\n<buildtarget name=\"T\" buildtool=\"Linker\">\n<contents>\n"
      "<folder name=\"/P\" recursive=\"true\"/>\n<folder name=\"/P/io\" recursive=\"true\">" +
          attributes("<listAttribute key=\"BLD::Info|Incl|S\">",
                     "<stringAttribute value=\"-I/io/h\"/></listAttribute>") +
          "</folder>\n<file name=\"/P/fast.cpp\">" +
          attributes("<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|flags|S\" ",
                     "value=\"-O2\"/>") +
          "</file>\n</contents>\n</buildtarget>\n</buildtargets>\n");
  for (const char* file : {"t/P/main.cpp", "t/P/fast.cpp", "t/P/io/port.cpp"}) {
    dir.writeFile(file, "");
  }
  const std::string at = "t" + s + "P" + s;
  const ProgramResult result = runPlovik(
      {at + ".project", at + ".wrproject", "t", "out", "-wb", "-cdb", "out" + s + "cc.json"},
      dir.str());
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string database = readFile(dir.path() / "out" / "cc.json");
  const auto entryOf = [&](const std::string& file) {
    const std::size_t found = database.find(file + "\",\n");
    if (found == std::string::npos) return std::string();
    return database.substr(found, database.find("\n  }", found) - found);
  };
  const std::string target = replaced("S" + s + "T" + s + "Debug" + s, "\\", "\\\\");
  const std::string main = entryOf("main.cpp"), fast = entryOf("fast.cpp"), port = entryOf("port.cpp");
  EXPECT_NE(main.find("\"-w\", \"-O2\", \"-I/spec/h\""), std::string::npos) << main;
  EXPECT_EQ(main.find(target), std::string::npos) << main;
  EXPECT_NE(fast.find("[\"c++ppc\", \"-O2\", \"-I/spec/h\""), std::string::npos) << fast;
  EXPECT_NE(fast.find(target + "fast.o\""), std::string::npos) << fast;
  EXPECT_NE(port.find("\"-w\", \"-O2\", \"-I/io/h\""), std::string::npos) << port;
  EXPECT_NE(port.find(target + "port.o\""), std::string::npos) << port;
  const std::string personality = readFile(dir.path() / "out" / "person" / "P.p_a");
  EXPECT_NE(personality.find("/spec/h"), std::string::npos) << personality;
  EXPECT_EQ(personality.find("/io/h"), std::string::npos) << personality;
}

}  // namespace
