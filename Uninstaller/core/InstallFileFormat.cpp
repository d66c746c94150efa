// Reader and writer of the InstallFile byte format. The reader trusts no count: every length
// is checked against the bytes that are left before anything is taken.
#include "InstallFileFormat.h"

#include <initializer_list>
#include <limits>

namespace {

constexpr std::string_view kMagic = "InstallFile";

enum : unsigned char { KindInfo = 1, KindFile = 2, KindRegKey = 3, KindShortcut = 4 };

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    std::size_t Offset() const { return pos_; }
    InstallFileParse Failure() const { return failure_; }

    unsigned char Byte() { return static_cast<unsigned char>(bytes_[pos_++]); }

    bool Int32(std::int32_t& value) {
        if (bytes_.size() - pos_ < 4) return Fail(InstallFileStatus::RecordCutShort);
        value = Bytes_ToInt32(bytes_.substr(pos_, 4));
        pos_ += 4;
        return true;
    }

    bool Text(std::string& text) {
        std::size_t start = pos_;
        std::int32_t n = 0;
        if (!Int32(n)) return false;
        if (n < 0) return Fail(InstallFileStatus::NegativeCount, start);
        if (static_cast<std::size_t>(n) > bytes_.size() - pos_) return Fail(InstallFileStatus::CountBeyondData, start);
        text.assign(bytes_.data() + pos_, static_cast<std::size_t>(n));
        pos_ += static_cast<std::size_t>(n);
        return true;
    }

    bool Fail(InstallFileStatus status) { return Fail(status, pos_); }
    bool Fail(InstallFileStatus status, std::size_t at) {
        failure_ = {status, at};
        return false;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    InstallFileParse failure_;
};

template <typename List>
bool Grow(Reader& r, List& list, std::size_t recordStart) {
    if (list.size() >= EntrySet_MaxRecords) return r.Fail(InstallFileStatus::TooManyRecords, recordStart);
    list.emplace_back();
    return true;
}

bool ReadRecord(Reader& r, unsigned char kind, std::size_t start, InfoRecord& info, EntrySet& lists) {
    switch (kind) {
        case KindInfo: {
            InfoRecord next;
            if (!r.Text(next.ExtraPath) || !r.Text(next.AppName) || !r.Text(next.AppFile) ||
                !r.Text(next.GroupFolder))
                return false;
            info = std::move(next);
            return true;
        }
        case KindFile: {
            if (!Grow(r, lists.Files, start)) return false;
            FileRecord& f = lists.Files.back();
            std::int32_t keep = 0;
            if (!r.Text(f.ExtraPath) || !r.Text(f.FilePath) || !r.Int32(keep)) return false;
            f.Keep = keep != 0 ? BooleanTrue : BooleanFalse;
            return true;
        }
        case KindRegKey: {
            if (!Grow(r, lists.RegKeys, start)) return false;
            RegKeyRecord& k = lists.RegKeys.back();
            return r.Int32(k.RootKey) && r.Text(k.KeyPath) && r.Text(k.ExtraText1) && r.Text(k.ExtraText2);
        }
        case KindShortcut: {
            if (!Grow(r, lists.Shortcuts, start)) return false;
            ShortcutRecord& s = lists.Shortcuts.back();
            return r.Text(s.Folder) && r.Text(s.LinkName) && r.Text(s.ExtraPath);
        }
        default:
            // Not a record: installers put a line end after the magic, and any other stray byte
            // is passed over the same way.
            return true;
    }
}

void AppendInt32(std::string& out, std::int32_t value) { out += Int32_ToBytes(value); }

void AppendText(std::string& out, const std::string& text) {
    AppendInt32(out, static_cast<std::int32_t>(text.size()));
    out += text;
}

bool Fits(const std::string& text) {
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

}  // namespace

InstallFileParse InstallFile_Parse(std::string_view bytes, EntrySet& set) {
    set.Files.clear();
    set.RegKeys.clear();
    set.Shortcuts.clear();
    if (bytes.size() < kMagic.size() || bytes.substr(0, kMagic.size()) != kMagic)
        return {InstallFileStatus::WrongMagic, 0};

    Reader r(bytes.substr(kMagic.size()));
    InfoRecord info = set.Info;
    EntrySet lists;
    while (!r.AtEnd()) {
        std::size_t start = r.Offset();
        unsigned char kind = r.Byte();
        if (!ReadRecord(r, kind, start, info, lists)) {
            InstallFileParse failure = r.Failure();
            failure.Offset += kMagic.size();
            return failure;
        }
    }
    set.Info = std::move(info);
    set.Files = std::move(lists.Files);
    set.RegKeys = std::move(lists.RegKeys);
    set.Shortcuts = std::move(lists.Shortcuts);
    return {};
}

const char* InstallFileStatus_Describe(InstallFileStatus status) {
    switch (status) {
        case InstallFileStatus::Valid: return "valid";
        case InstallFileStatus::WrongMagic: return "does not start with \"InstallFile\"";
        case InstallFileStatus::RecordCutShort: return "a record is cut short by the end of the data";
        case InstallFileStatus::NegativeCount: return "a text has a negative byte count";
        case InstallFileStatus::CountBeyondData: return "a text's byte count goes beyond the data";
        case InstallFileStatus::TooManyRecords: return "more than 32767 records of one kind";
    }
    return "unknown";
}

bool InstallFile_ToBytes(const EntrySet& set, std::string& out) {
    if (set.Files.size() > EntrySet_MaxRecords || set.RegKeys.size() > EntrySet_MaxRecords ||
        set.Shortcuts.size() > EntrySet_MaxRecords)
        return false;
    std::string bytes(kMagic);
    bytes += "\r\n";
    // One walk both checks and writes, so that no text can be written unchecked.
    bool fits = true;
    auto text = [&](const std::string& t) {
        fits = fits && Fits(t);
        if (fits) AppendText(bytes, t);
    };
    const InfoRecord& i = set.Info;
    bytes += static_cast<char>(KindInfo);
    for (const std::string* t : {&i.ExtraPath, &i.AppName, &i.AppFile, &i.GroupFolder}) text(*t);
    for (const auto& f : set.Files) {
        bytes += static_cast<char>(KindFile);
        text(f.ExtraPath);
        text(f.FilePath);
        // Installers of old wrote True as -1; readers accept any nonzero value.
        AppendInt32(bytes, f.Keep != 0 ? -1 : 0);
    }
    for (const auto& k : set.RegKeys) {
        bytes += static_cast<char>(KindRegKey);
        AppendInt32(bytes, k.RootKey);
        for (const std::string* t : {&k.KeyPath, &k.ExtraText1, &k.ExtraText2}) text(*t);
    }
    for (const auto& s : set.Shortcuts) {
        bytes += static_cast<char>(KindShortcut);
        for (const std::string* t : {&s.Folder, &s.LinkName, &s.ExtraPath}) text(*t);
    }
    if (!fits) return false;
    out = std::move(bytes);
    return true;
}
