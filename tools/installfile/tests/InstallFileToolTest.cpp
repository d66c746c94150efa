// The installfile tool as a script or an installer author runs it: its options, its exit codes,
// its messages, and a write that fails half-way.
#include "InstallFileFormat.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

struct Outcome {
    int exitCode;
    std::string out, err;
};

class Tool : public ::testing::Test {
protected:
    Tool() { fs::create_directories(dir_ / "folder"); }
    ~Tool() override { fs::remove_all(dir_); }
    // Runs the real tool in the test's folder; with blocks > 0 it may write no file beyond that
    // many 512-byte blocks, as on a full disk (the write then fails with EFBIG).
    Outcome Run(const std::string& args, const std::string& input = "", int blocks = 0) {
        std::ofstream(dir_ / "stdin", std::ios::binary) << input;
        const std::string limit = blocks ? "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; " : "";
        const int status = std::system(("cd '" + dir_.string() + "' || exit 99; " + limit + "exec '" INSTALLFILE_EXE "' " + args +
                                        " <stdin >stdout 2>stderr").c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir_ / "stdout"), Slurp(dir_ / "stderr")};
    }
    // Nothing half-written may stay beside the data file.
    long TemporaryFiles() const {
        return std::count_if(fs::directory_iterator(dir_), {}, [](const fs::directory_entry& e) { return e.path().extension() == ".tmp"; });
    }
    const fs::path dir_ = fs::temp_directory_path() / ("installfile-tool-" + std::to_string(getpid()));
};

const char kUsage[] =
    "usage: installfile write <text file> <data file>   (text file \"-\": standard input)\n"
    "       installfile print <data file>               (text on standard output)\n"
    "       installfile --help | -h | --version\n"
    "\n"
    "write replaces the data file only once the new one is complete.\n"
    "Exit codes: 0 done, 1 a file or its text was refused, 2 usage error.\n";

TEST_F(Tool, OptionsUsageErrorsAndRefusalsNameTheFileAndTheReason) {
    std::ofstream(dir_ / "bad.txt") << "info||App||\nfolder|x\n";
    std::ofstream(dir_ / "cut.dat") << "InstallFile\x02";
    const struct { std::string args; int exitCode; std::string out, err; } cases[] = {
        {"--help", 0, kUsage, ""},
        {"-h", 0, kUsage, ""},
        {"--version", 0, "installfile 1.0\n", ""},
        {"", 2, "", kUsage},
        {"--help print", 2, "", kUsage},
        {"-H", 2, "", kUsage},
        {"print", 2, "", kUsage},
        {"write a.txt", 2, "", kUsage},
        {"read a b", 2, "", kUsage},
        {"write none.txt out.dat", 1, "", "installfile: cannot open 'none.txt': No such file or directory\n"},
        {"write bad.txt out.dat", 1, "", "installfile: bad.txt: line 2: unknown record kind \"folder\"\n"},
        {"write - folder", 1, "", "installfile: cannot replace 'folder': Is a directory\n"},
        {"write - no/such/out.dat", 1, "", "installfile: cannot create a temporary file beside 'no/such/out.dat': No such file or directory\n"},
        {"print cut.dat", 1, "", "installfile: cut.dat: no valid InstallFile: a record is cut short by the end of the data (byte 12)\n"},
    };
    for (const auto& c : cases) {
        const Outcome o = Run(c.args, "info||App||\n");
        EXPECT_EQ(o.exitCode, c.exitCode) << c.args;
        EXPECT_EQ(o.out, c.out) << c.args;
        EXPECT_EQ(o.err, c.err) << c.args;
    }
    EXPECT_FALSE(fs::exists(dir_ / "out.dat"));
    EXPECT_EQ(TemporaryFiles(), 0);
}

TEST_F(Tool, FailedWriteLeavesTheOldDataFile) {
    ASSERT_EQ(Run("write - Uninstall.dat", "info||Old App||\n").exitCode, 0);
    const std::string old = Slurp(dir_ / "Uninstall.dat");
    std::string big = "info||New App||\n";
    for (int i = 0; i < 200; ++i) big += "file||C:\\Program Files\\New App\\file" + std::to_string(i) + ".dll\n";
    const Outcome o = Run("write - Uninstall.dat", big, 8);
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err, "installfile: cannot write 'Uninstall.dat': File too large\n");
    EXPECT_EQ(Slurp(dir_ / "Uninstall.dat"), old);
    EXPECT_EQ(TemporaryFiles(), 0);

    // Without the limit the same text replaces it.
    ASSERT_EQ(Run("write - Uninstall.dat", big).exitCode, 0);
    EntrySet set;
    ASSERT_EQ(InstallFile_Parse(Slurp(dir_ / "Uninstall.dat"), set).Status, InstallFileStatus::Valid);
    EXPECT_EQ(set.Info.AppName, "New App");
    EXPECT_EQ(set.Files.size(), 200u);
}

}  // namespace
