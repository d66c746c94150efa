// installfile: writes an uninstall data file from its text form, and prints a data file as text.
#include "InstallFileFormat.h"
#include "InstallFileText.h"
#include "ToolFiles.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "WideText.h"

#include <cwchar>
#endif

namespace {

const char kVersion[] = "installfile 1.0\n";

const char kUsage[] =
    "usage: installfile write <text file> <data file>   (text file \"-\": standard input)\n"
    "       installfile print <data file>               (text on standard output)\n"
    "       installfile --help | -h | --version\n"
    "\n"
    "write replaces the data file only once the new one is complete.\n"
    "Exit codes: 0 done, 1 a file or its text was refused, 2 usage error.\n";

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "installfile: %s\n", message.c_str());
    return kFailed;
}

int Write(const std::string& textPath, const std::string& dataPath) {
    std::string text, error;
    if (!ToolFile_ReadAll(textPath, text, error)) return Fail(error);
    EntrySet set;
    if (!InstallFileText_Parse(text, set, error)) return Fail(textPath + ": " + error);
    std::string bytes;
    if (!InstallFile_ToBytes(set, bytes))
        return Fail(textPath + ": more than 32767 records of one kind, or a text too long");
    return ToolFile_Replace(dataPath, bytes, error) ? 0 : Fail(error);
}

int Print(const std::string& dataPath) {
    std::string bytes, error;
    if (!ToolFile_ReadAll(dataPath, bytes, error)) return Fail(error);
    EntrySet set;
    InstallFileParse parse = InstallFile_Parse(bytes, set);
    if (parse.Status != InstallFileStatus::Valid)
        return Fail(dataPath + ": no valid InstallFile: " + InstallFileStatus_Describe(parse.Status) + " (byte " +
                    std::to_string(parse.Offset) + ")");
    return ToolStdout_Write(InstallFileText_Print(set), error) ? 0 : Fail(error);
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::fputs(kVersion, stdout);
        return 0;
    }
    if (args.size() == 3 && args[0] == "write") return Write(args[1], args[2]);
    if (args.size() == 2 && args[0] == "print") return Print(args[1]);
    std::fputs(kUsage, stderr);
    return kUsageError;
}

}  // namespace

#ifdef _WIN32
// Built with -municode: the arguments arrive as the system holds them, in any script.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Text_FromWide(argv[i], std::wcslen(argv[i])));
    return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
