// installfile: writes an uninstall data file from its text form, and prints a data file as text.
#include "InstallFileFormat.h"
#include "InstallFileText.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char kUsage[] =
    "usage: installfile write <text file> <data file>   (text file \"-\": standard input)\n"
    "       installfile print <data file>               (text on standard output)\n";

bool ReadAll(const char* path, std::string& out) {
    bool useStdin = std::strcmp(path, "-") == 0;
    std::FILE* f = useStdin ? stdin : std::fopen(path, "rb");
    if (!f) return false;
    char buf[65536];
    std::size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof(buf), f)) > 0) out.append(buf, got);
    bool ok = !std::ferror(f);
    if (!useStdin) std::fclose(f);
    return ok;
}

bool WriteAll(std::FILE* f, const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "installfile: %s\n", message.c_str());
    return 1;
}

int Write(const char* textPath, const char* dataPath) {
    std::string text;
    if (!ReadAll(textPath, text)) return Fail(std::string("cannot read ") + textPath);
    EntrySet set;
    std::string error;
    if (!InstallFileText_Parse(text, set, error)) return Fail(std::string(textPath) + ": " + error);
    std::string bytes;
    if (!InstallFile_ToBytes(set, bytes)) return Fail("more than 32767 records of one kind, or a text too long");
    std::FILE* f = std::fopen(dataPath, "wb");
    if (!f) return Fail(std::string("cannot create ") + dataPath);
    bool ok = WriteAll(f, bytes);
    ok = std::fclose(f) == 0 && ok;
    return ok ? 0 : Fail(std::string("cannot write ") + dataPath);
}

int Print(const char* dataPath) {
    std::string bytes;
    if (!ReadAll(dataPath, bytes)) return Fail(std::string("cannot read ") + dataPath);
    EntrySet set;
    InstallFileParse parse = InstallFile_Parse(bytes, set);
    if (parse.Status != InstallFileStatus::Valid)
        return Fail(std::string(dataPath) + ": no valid InstallFile: " + InstallFileStatus_Describe(parse.Status) +
                    " (byte " + std::to_string(parse.Offset) + ")");
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the text's bytes exactly, no CR added
#endif
    return WriteAll(stdout, InstallFileText_Print(set)) && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) return Write(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "print") == 0) return Print(argv[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
