// File access of the installfile tool, for POSIX systems and for Windows (wide names).
#include "ToolFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include "Handles.h"
#include "WideText.h"

#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string Failure(const char* what, const std::string& path, const std::string& reason) {
    return std::string("cannot ") + what + " " + Quoted(path) + ": " + reason;
}

// Names tried for the temporary file: a name left over by a run that was killed is skipped,
// never overwritten.
std::string TemporaryName(const std::string& path, int attempt) {
    return path + ".installfile-" + std::to_string(attempt) + ".tmp";
}
constexpr int kTemporaryAttempts = 100;

bool ReadStream(std::FILE* f, std::string& bytes) {
    char buf[65536];
    std::size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof(buf), f)) > 0) bytes.append(buf, got);
    return !std::ferror(f);
}

#ifdef _WIN32

std::string LastError() { return SystemError_Text(GetLastError()); }

bool WriteHandle(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr)) return false;
        if (put == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += put;
    }
    return FlushFileBuffers(file) != 0;
}

#else

std::string LastError() { return std::strerror(errno); }

bool WriteDescriptor(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return ::fsync(fd) == 0;
}

#endif

}  // namespace

bool ToolFile_ReadAll(const std::string& path, std::string& bytes, std::string& error) {
    bytes.clear();
    if (path == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        if (ReadStream(stdin, bytes)) return true;
        error = Failure("read", "-", std::strerror(errno)) + " (standard input)";
        return false;
    }
#ifdef _WIN32
    std::FILE* f = _wfopen(Wide_FromText(path).c_str(), L"rb");
#else
    std::FILE* f = std::fopen(path.c_str(), "rb");
#endif
    if (!f) {
        error = Failure("open", path, std::strerror(errno));
        return false;
    }
    const bool ok = ReadStream(f, bytes);
    const int readErrno = errno;
    std::fclose(f);
    if (!ok) error = Failure("read", path, std::strerror(readErrno));
    return ok;
}

bool ToolFile_Replace(const std::string& path, const std::string& bytes, std::string& error) {
#ifdef _WIN32
    std::string temporary;
    UniqueFile file;
    for (int attempt = 1; attempt <= kTemporaryAttempts && !file; ++attempt) {
        temporary = TemporaryName(path, attempt);
        file.reset(CreateFileW(Wide_FromText(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file) {
        error = Failure("create a temporary file beside", path, LastError());
        return false;
    }
    const bool written = WriteHandle(file.get(), bytes);
    const std::string writeError = written ? std::string() : LastError();
    file.reset();
    if (!written) {
        DeleteFileW(Wide_FromText(temporary).c_str());
        error = Failure("write", path, writeError);
        return false;
    }
    if (!MoveFileExW(Wide_FromText(temporary).c_str(), Wide_FromText(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = Failure("replace", path, LastError());
        DeleteFileW(Wide_FromText(temporary).c_str());
        return false;
    }
    return true;
#else
    std::string temporary;
    int fd = -1;
    for (int attempt = 1; attempt <= kTemporaryAttempts && fd < 0; ++attempt) {
        temporary = TemporaryName(path, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = Failure("create a temporary file beside", path, LastError());
        return false;
    }
    // A replaced file keeps who may read it.
    struct stat old;
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    bool ok = WriteDescriptor(fd, bytes);
    std::string reason = ok ? std::string() : LastError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = LastError();
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        error = Failure("write", path, reason);
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = Failure("replace", path, LastError());
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
#endif
}

bool ToolStdout_Write(const std::string& bytes, std::string& error) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0) return true;
    error = Failure("write", "-", std::strerror(errno)) + " (standard output)";
    return false;
}
