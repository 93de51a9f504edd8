// The registration tool as a person runs it: register, list, write relative paths, unregister,
// and the exit status and messages when something is wrong.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and error together
};

ToolRun run(const std::string& arguments) {
    ToolRun r;
    const std::string command = std::string(VN_REGSVR) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) r.output.append(buffer, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RegistrationTool, RegistersListsWritesRelativePathsAndUnregisters) {
    const fs::path dir = fs::temp_directory_path() / ("vantrel-regsvr-" + std::to_string(getpid()));
    fs::create_directories(dir / "lib");
    const fs::path library = dir / "lib" / "libcounter.so";
    fs::copy_file(VN_COMPONENT, library);
    const std::string registry = (dir / "lib" / "registry").string();
    const std::string where = " --registry " + registry + " ";

    ToolRun r = run(where + library.string());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("DllRegisterServer in " + library.string() + " succeeded."), std::string::npos);
    EXPECT_NE(fileText(registry).find("AxTest.Counter\t"), std::string::npos);

    r = run("/l" + where);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("user registry " + registry), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("AxTest.Counter"), std::string::npos);
    EXPECT_NE(r.output.find(" object "), std::string::npos);

    // Written relative to the registry's folder, the entry still lists as the absolute path.
    r = run("-s --relative" + where + library.string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_NE(fileText(registry).find("\tlibcounter.so\n"), std::string::npos) << fileText(registry);
    EXPECT_NE(run("--list" + where).output.find(fs::weakly_canonical(library).string()), std::string::npos);

    r = run("/u" + where + library.string());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(fileText(registry).find("AxTest.Counter"), std::string::npos);

    // A file that is no library fails with its reason; silent, only the status says so.
    r = run(where + (dir / "missing.so").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("failed"), std::string::npos);
    r = run("/s" + where + (dir / "missing.so").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "");

    // Usage mistakes: no library, an unknown flag.
    EXPECT_EQ(run(where).status, 2);
    r = run("/x " + library.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("unknown option /x"), std::string::npos);
    EXPECT_EQ(run("/?").status, 0);
    fs::remove_all(dir);
}

}  // namespace
