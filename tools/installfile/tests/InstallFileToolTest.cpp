// The installfile tool as a script or an installer author runs it: its options, its exit codes,
// its messages, and a write that fails half-way.
#include "InstallFileFormat.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void Spill(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class Tool : public ::testing::Test {
protected:
    Tool() {
        char pattern[] = "/tmp/installfile-tool-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~Tool() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Runs the real tool; with fileLimit > 0 the child may write no file beyond that many bytes,
    // as on a full disk.
    Outcome Run(const std::vector<std::string>& args, const std::string& input = "", rlim_t fileLimit = 0) {
        Spill(Path("stdin"), input);
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(open(Path("stdin").c_str(), O_RDONLY), 0);
            dup2(open(Path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            if (fileLimit > 0) {
                signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
                rlimit limit = {fileLimit, fileLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            std::vector<char*> argv = {const_cast<char*>(INSTALLFILE_EXE)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(INSTALLFILE_EXE, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(Path("stdout")), Slurp(Path("stderr"))};
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        DIR* d = opendir(dir_.c_str());
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string dir_;
};

const char kUsage[] =
    "usage: installfile write <text file> <data file>   (text file \"-\": standard input)\n"
    "       installfile print <data file>               (text on standard output)\n"
    "       installfile --help | -h | --version\n"
    "\n"
    "write replaces the data file only once the new one is complete.\n"
    "Exit codes: 0 done, 1 a file or its text was refused, 2 usage error.\n";

TEST_F(Tool, OptionsAndUsageErrors) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out, err;
    };
    const Case cases[] = {
        {{"--help"}, 0, kUsage, ""},
        {{"-h"}, 0, kUsage, ""},
        {{"--version"}, 0, "installfile 1.0\n", ""},
        {{}, 2, "", kUsage},
        {{"--help", "print"}, 2, "", kUsage},
        {{"-H"}, 2, "", kUsage},
        {{"print"}, 2, "", kUsage},
        {{"write", "a.txt"}, 2, "", kUsage},
        {{"read", "a", "b"}, 2, "", kUsage},
    };
    for (const auto& c : cases) {
        Outcome o = Run(c.args);
        std::string shown;
        for (const auto& a : c.args) shown += a + " ";
        EXPECT_EQ(o.exitCode, c.exitCode) << shown;
        EXPECT_EQ(o.out, c.out) << shown;
        EXPECT_EQ(o.err, c.err) << shown;
    }
}

TEST_F(Tool, StandardInputIsTakenByteForByte) {
    // A CR inside a field is the one byte a text-mode read would lose.
    ASSERT_EQ(Run({"write", "-", Path("in.dat")}, "info||A^0D^0AB||\r\nfile||C:\\x\r\n").exitCode, 0);
    EntrySet set;
    ASSERT_EQ(InstallFile_Parse(Slurp(Path("in.dat")), set).Status, InstallFileStatus::Valid);
    EXPECT_EQ(set.Info.AppName, "A\r\nB");
    ASSERT_EQ(set.Files.size(), 1u);
    EXPECT_EQ(set.Files[0].FilePath, "C:\\x");
    EXPECT_EQ(Run({"print", Path("in.dat")}).out, "info||A^0D^0AB||\nfile||C:\\x\n");
}

TEST_F(Tool, ErrorsNameTheFileAndTheReason) {
    mkdir(Path("folder").c_str(), 0755);
    Spill(Path("good.txt"), "info||App||\n");
    Spill(Path("bad.txt"), "info||App||\nfolder|x\n");
    Spill(Path("cut.dat"), "InstallFile\x02");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"write", Path("none.txt"), Path("out.dat")},
         "installfile: cannot open '" + Path("none.txt") + "': No such file or directory\n"},
        {{"write", Path("folder"), Path("out.dat")}, "installfile: cannot read '" + Path("folder") + "': Is a directory\n"},
        {{"write", Path("good.txt"), Path("no/such/out.dat")},
         "installfile: cannot create a temporary file beside '" + Path("no/such/out.dat") + "': No such file or directory\n"},
        {{"write", Path("good.txt"), Path("folder")}, "installfile: cannot replace '" + Path("folder") + "': Is a directory\n"},
        {{"write", Path("bad.txt"), Path("out.dat")}, "installfile: " + Path("bad.txt") + ": line 2: unknown record kind \"folder\"\n"},
        {{"print", Path("none.dat")}, "installfile: cannot open '" + Path("none.dat") + "': No such file or directory\n"},
        {{"print", Path("cut.dat")},
         "installfile: " + Path("cut.dat") + ": no valid InstallFile: a record is cut short by the end of the data (byte 12)\n"},
    };
    for (const auto& c : cases) {
        Outcome o = Run(c.args);
        EXPECT_EQ(o.exitCode, 1) << c.args[1];
        EXPECT_EQ(o.err, c.err);
        EXPECT_EQ(o.out, "");
    }
    // Nothing half-written is left behind by any of them.
    for (const auto& name : Names()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    EXPECT_EQ(access(Path("out.dat").c_str(), F_OK), -1);
}

TEST_F(Tool, FailedWriteLeavesTheOldDataFile) {
    ASSERT_EQ(Run({"write", "-", Path("Uninstall.dat")}, "info||Old App||\n").exitCode, 0);
    const std::string old = Slurp(Path("Uninstall.dat"));
    std::string big = "info||New App||\n";
    for (int i = 0; i < 200; ++i) big += "file||C:\\Program Files\\New App\\file" + std::to_string(i) + ".dll\n";

    Outcome o = Run({"write", "-", Path("Uninstall.dat")}, big, 4096);
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.err, "installfile: cannot write '" + Path("Uninstall.dat") + "': File too large\n");
    EXPECT_EQ(Slurp(Path("Uninstall.dat")), old);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Uninstall.dat", "stderr", "stdin", "stdout"})) << "a temporary file stayed";

    // Without the limit the same text replaces it.
    ASSERT_EQ(Run({"write", "-", Path("Uninstall.dat")}, big).exitCode, 0);
    EntrySet set;
    ASSERT_EQ(InstallFile_Parse(Slurp(Path("Uninstall.dat")), set).Status, InstallFileStatus::Valid);
    EXPECT_EQ(set.Info.AppName, "New App");
    EXPECT_EQ(set.Files.size(), 200u);
}

}  // namespace
