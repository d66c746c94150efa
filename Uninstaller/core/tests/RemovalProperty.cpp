// The generator knows, for every record it writes, which file of its tree the record names,
// because it writes the record from the file (and then spells it another way). The checks
// below decide from that knowledge alone what may go and what must stay; they never ask the
// removal's own helpers, so that a fault there cannot hide itself.
#include "RemovalProperty.h"

#include "RecordTexts.h"

#include "MemoryDisk.h"
#include "PathRules.h"
#include "RunFakes.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <set>

unsigned ByteSource::Below(unsigned n) {
    if (n <= 1) return 0;
    unsigned value = 0;
    for (unsigned range = 1; range < n; range <<= 8) value = value << 8 | (at_ < size_ ? data_[at_++] : 0u);
    return value % n;
}

namespace {

const std::string kPrograms = "C:\\Users\\u\\Start Menu\\Programs\\";
const std::string kSystemFile = "C:\\Windows\\System32\\ntdll.dll";

bool IsVisible(std::uint32_t attributes) {
    return !(attributes & (FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory));
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// * any run of units, ? exactly one; "*.*" every name. The generated patterns hold no other
// wildcard, so no more is needed to know what they name.
bool Units_Fit(const std::u16string& p, std::size_t pi, const std::u16string& n, std::size_t ni) {
    if (pi == p.size()) return ni == n.size();
    if (p[pi] == u'*') {
        for (std::size_t k = ni; k <= n.size(); ++k)
            if (Units_Fit(p, pi + 1, n, k)) return true;
        return false;
    }
    return ni < n.size() && (p[pi] == u'?' || p[pi] == n[ni]) && Units_Fit(p, pi + 1, n, ni + 1);
}
bool Name_Fits(const std::string& pattern, const std::string& name) {
    return !name.empty() && (pattern == "*.*" || Units_Fit(Path_FoldCase(pattern), 0, Path_FoldCase(name), 0));
}

// A file of the tree before the run, by the path Paths() gives it.
struct TreeFile {
    std::string Path, Folder, Name, ShortName;
    std::uint32_t Attributes = 0;
};

struct Record {
    FileRecord File;
    std::set<std::string> May;   // the files it may name
    std::set<std::string> Must;  // the visible files it certainly names
    std::string NamedFolder;     // the folder it names (a link as the link), "" for none
};

struct Scenario {
    MemoryDisk disk;
    MemoryPlatform platform;
    RecordingInteraction ui;
    RunState state;
    std::size_t setupCalls = 0;

    std::vector<TreeFile> files;
    std::set<std::string> before;                   // every path, files and folders
    std::set<std::string> links;                    // folder links, reached only through Spell
    std::vector<std::pair<std::string, std::string>> shortFolders;  // folder, its short name
    std::string appNamed, appReal, mapped, toApp, dataFile, group;
    bool wipeAllowed = false;
    std::vector<Record> records;
};

const char* const kNames[] = {"App.exe",  "readme.txt",         "settings.ini",      "Configuration.ini", "page.html",
                              "notes.htmlx", "page.htm",        "a.log",             "b.log",             "Long File Name.txt",
                              "\xC3\x84rger.ini", "data.dat",   "x.txt"};
const char* const kPatterns[] = {"*.log", "*.htm", "*.ini", "?eadme.txt", "*.*", "*", "a.*", "*.dat", "*e*", "*.exe", "\xC3\xA4*"};

struct AppPlace {
    const char* named;
    const char* real;
    bool wipe;  // a folder of its own: its remaining files may go
};
const AppPlace kAppPlaces[] = {
    {"C:\\Programs\\Firm App\\", "C:\\Programs\\Firm App\\", true}, {"C:\\Programs\\Firm App\\", "C:\\Programs\\Firm App\\", true},
    {"C:\\Programs\\Firm App\\", "C:\\Programs\\Firm App\\", true}, {"C:\\App\\", "C:\\App\\", true},
    {"C:\\Windows\\", "C:\\Windows\\", false},                       {"D:\\", "D:\\", false},
    {"C:\\Windows\\System32\\Vendor\\", "C:\\Windows\\System32\\Vendor\\", false},
    {"C:\\Links\\App\\", "C:\\Real\\", false},
};

void Tree_Read(Scenario& s, const std::string& folder) {
    std::vector<DiskEntry> found;
    s.disk.Find(folder + "*", [&](const DiskEntry& e) {
        found.push_back(e);
        return true;
    });
    for (const auto& e : found) {
        if (e.IsFolder()) {
            const std::string path = folder + e.Name + "\\";
            s.before.insert(path);
            if (!e.ShortName.empty()) s.shortFolders.emplace_back(path, e.ShortName);
            if (e.Attributes & FileAttribute::ReparsePoint) s.links.insert(path);
            else Tree_Read(s, path);
        } else {
            s.before.insert(folder + e.Name);
            s.files.push_back({folder + e.Name, folder, e.Name, e.ShortName, e.Attributes});
        }
    }
}

void Tree_Make(Scenario& s, ByteSource& in) {
    MemoryDisk& d = s.disk;
    d.AddVolume("C:\\", 0xC1);
    d.AddVolume("D:\\", 0xD2);
    d.AddFile("C:\\Windows\\win.ini");
    d.AddFile("C:\\Windows\\System32\\kernel32.dll");
    // No data file names it: the system folder is never empty, so no run can remove it and
    // take the wipe guard's landmark away from the next run.
    d.AddFile(kSystemFile);
    const AppPlace& place = kAppPlaces[in.Below(sizeof kAppPlaces / sizeof kAppPlaces[0])];
    s.appNamed = place.named;
    s.appReal = place.real;
    s.wipeAllowed = place.wipe;
    d.AddFolder(s.appReal);
    if (s.appNamed != s.appReal) {
        d.AddFolder("C:\\Links");
        d.AddLink("C:\\Links\\App", s.appReal);
    }
    std::vector<std::string> folders = {s.appReal, s.appReal + "Data\\", s.appReal + "Data\\Deep\\", "C:\\Shared\\",
                                        "D:\\Other Stuff\\", "C:\\Windows\\"};
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const auto& folder : folders) {
        d.AddFolder(folder);
        for (const char* name : kNames) {
            if (!in.OneIn(3)) continue;
            std::uint32_t attributes = FileAttribute::Archive;
            switch (in.Below(12)) {
                case 0: attributes |= FileAttribute::Hidden; break;
                case 1: attributes |= FileAttribute::System; break;
                case 2: attributes |= FileAttribute::ReadOnly; break;
                default: break;
            }
            d.AddFile(folder + name, attributes);
            if (in.OneIn(12)) d.SetUndeletable(folder + name);
        }
    }
    d.AddFile(s.appReal + "App.exe");
    d.AddFile(s.appReal + "Uninstall.dat");
    d.AddFile(s.appReal + "Uninstall.exe");
    // The running uninstaller cannot delete its own file.
    d.SetUndeletable(s.appReal + "Uninstall.exe");
    d.AddFile(kPrograms + "Other\\keep.lnk");
    if (in.OneIn(2)) d.AddFolder(kPrograms + "Group");
    if (in.OneIn(3)) d.AddLink("C:\\Shared\\ToWin", "C:\\Windows");
    if (s.appReal.size() > 3 && in.OneIn(2)) {
        d.AddLink("C:\\Shared\\ToApp", s.appReal);
        s.toApp = "C:\\Shared\\ToApp\\";
    }
    switch (in.Below(4)) {
        case 1: s.mapped = s.appReal.size() > 3 ? s.appReal : ""; break;
        case 2: s.mapped = "C:\\Shared\\"; break;
        case 3: s.mapped = "C:\\Windows\\"; break;
        default: break;
    }
    if (!s.mapped.empty()) d.MapRoot("S:\\", s.mapped);
    Tree_Read(s, "C:\\");
    Tree_Read(s, "D:\\");
    s.dataFile = s.appReal + "Uninstall.dat";
    s.state.Dirs = BaseDirs_Make("C:\\Windows\\", "C:\\Windows\\System32\\", s.appNamed + "Uninstall.exe");
}

// Another text for the file or pattern at path (a path of the tree). byIdentity allows the
// names that only the file system knows to be the same (short folder names, another drive
// letter, a link); the rest are texts that the system resolves to the same path. named is set
// to the folder the text names, as the tree lists it (a link as the link).
std::string Spell(Scenario& s, ByteSource& in, const std::string& path, bool byIdentity, bool shortFileName,
                  std::string& named) {
    const std::string folder = path.substr(0, path.rfind('\\') + 1);
    std::string rest = path.substr(folder.size());
    named = folder;
    if (shortFileName)
        for (const auto& f : s.files)
            if (f.Path == path && !f.ShortName.empty() && in.OneIn(2)) rest = f.ShortName;
    std::string text = folder + rest;
    auto reroute = [&](const std::string& from, const std::string& to, bool toIsLink) {
        if (from.empty() || to.empty() || !StartsWith(text, from)) return;
        if (toIsLink && folder == from) named = to;
        text = to + text.substr(from.size());
    };
    // The installation names its folder through the link; the link's target is another name.
    if (s.appNamed != s.appReal && (!byIdentity || in.OneIn(2))) reroute(s.appReal, s.appNamed, true);
    if (byIdentity) {
        switch (in.Below(4)) {
            case 1: reroute(s.mapped, "S:\\", false); break;
            case 2: reroute(s.appReal, s.toApp, true); break;
            case 3:
                for (const auto& f : s.shortFolders)
                    if (StartsWith(text, f.first) && in.OneIn(2)) {
                        const std::string parent = f.first.substr(0, f.first.rfind('\\', f.first.size() - 2) + 1);
                        text = parent + f.second + "\\" + text.substr(f.first.size());
                    }
                break;
            default: break;
        }
    }
    // The placeholders for the folders a run knows, each where it applies.
    const std::pair<const char*, std::string> placeholders[] = {
        {"%currentdir%\\", s.state.Dirs.AppDir}, {"%CurrentDir%", s.state.Dirs.AppDir},
        {"%userdir%\\", s.state.Dirs.AppDir},    {"%winsysdir%\\", s.state.Dirs.SystemDir},
        {"%WINDIR%\\", s.state.Dirs.WindowsDir}, {"%rootdir%", Path_GetRoot(s.state.Dirs.AppDir)},
    };
    const auto& placeholder = placeholders[in.Below(sizeof placeholders / sizeof placeholders[0])];
    if (StartsWith(text, placeholder.second) && in.OneIn(2)) text = placeholder.first + text.substr(placeholder.second.size());
    // Texts the system reads as the same path: case, "/", doubled separators, "." and "..",
    // a climb above the root.
    const std::size_t rootEnd = text[0] == '%' ? text.find('%', 1) + 1 : 3;
    std::string out = text.substr(0, rootEnd);
    if (rootEnd == 3 && in.OneIn(8)) out += "..\\..\\";
    for (std::size_t i = rootEnd; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') {
            switch (in.Below(8)) {
                case 0: out += '/'; continue;
                case 1: out += "\\\\"; continue;
                case 2: out += "\\.\\"; continue;
                case 3: out += "\\Zz\\..\\"; continue;
                default: break;
            }
        } else if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && in.OneIn(4)) {
            c = static_cast<char>(c ^ 0x20);
        }
        out += c;
    }
    return out;
}

std::set<std::string> Pattern_Matches(const Scenario& s, const std::string& folder, const std::string& pattern,
                                      bool shortNames, bool visibleOnly) {
    std::set<std::string> found;
    for (const auto& f : s.files)
        if (f.Folder == folder && (!visibleOnly || IsVisible(f.Attributes)) &&
            (Name_Fits(pattern, f.Name) || (shortNames && Name_Fits(pattern, f.ShortName))))
            found.insert(f.Path);
    return found;
}

void Records_Make(Scenario& s, ByteSource& in, const PromiseRules& rules) {
    std::vector<std::string> folders;
    for (const auto& p : s.before)
        if (p.back() == '\\' && !s.links.count(p) && p != "C:\\Windows\\System32\\") folders.push_back(p);
    folders.push_back("C:\\");
    std::vector<const TreeFile*> files, appFiles;
    for (const auto& f : s.files) {
        if (f.Path != kSystemFile) files.push_back(&f);
        if (f.Folder == s.appReal) appFiles.push_back(&f);
    }
    const unsigned count = in.Below(11);
    for (unsigned i = 0; i < count; ++i) {
        Record r;
        unsigned kind = in.Below(12);
        const TreeFile& any = *files[in.Below(static_cast<unsigned>(files.size()))];
        if (kind == 11 && s.records.empty()) kind = 0;
        if (kind <= 3 && any.Path == s.dataFile) kind = 9;
        switch (kind) {
            case 0: case 1: case 2: case 3:  // a file of the tree, under any of its names
                r.File.FilePath = Spell(s, in, any.Path, true, true, r.NamedFolder);
                r.May = {any.Path};
                if (rules.ListedHiddenFilesGo || IsVisible(any.Attributes)) r.Must = r.May;
                break;
            case 4:  // a file that is not there
                r.File.FilePath = Spell(s, in, folders[in.Below(static_cast<unsigned>(folders.size()))] + "Missing File.txt",
                                        true, false, r.NamedFolder);
                break;
            case 5: case 6: {  // a pattern
                const std::string folder = folders[in.Below(static_cast<unsigned>(folders.size()))];
                const std::string pattern = kPatterns[in.Below(sizeof kPatterns / sizeof kPatterns[0])];
                r.May = Pattern_Matches(s, folder, pattern, rules.PatternsMatchShortNames, false);
                r.Must = Pattern_Matches(s, folder, pattern, false, true);
                // Until any spelling holds the data file back, a pattern that may match it keeps
                // the folder's own name.
                const bool byIdentity = rules.AnySpellingForKeptAndDataFile || !r.May.count(s.dataFile);
                r.File.FilePath = Spell(s, in, folder + pattern, byIdentity, false, r.NamedFolder);
                break;
            }
            case 7: case 8: {  // a kept file, or a kept pattern in the application folder
                r.File.Keep = BooleanTrue;
                if (in.OneIn(3)) {
                    r.File.FilePath = Spell(s, in, s.appReal + "*.ini", rules.AnySpellingForKeptAndDataFile, false, r.NamedFolder);
                    r.May = Pattern_Matches(s, s.appReal, "*.ini", false, false);
                } else {
                    // Mostly a file of the application folder, where the wipe would take it.
                    const TreeFile* kept = &any;
                    if (!in.OneIn(3) && !appFiles.empty()) kept = appFiles[in.Below(static_cast<unsigned>(appFiles.size()))];
                    r.File.FilePath = Spell(s, in, kept->Path, rules.AnySpellingForKeptAndDataFile, true, r.NamedFolder);
                    r.May = {kept->Path};
                }
                break;
            }
            case 9:  // the data file
                r.File.FilePath = Spell(s, in, s.dataFile, rules.AnySpellingForKeptAndDataFile,
                                        rules.AnySpellingForKeptAndDataFile, r.NamedFolder);
                if (in.OneIn(3)) {
                    r.File.FilePath = "%currentdir%\\Uninstall.dat";
                    r.NamedFolder = s.appNamed;
                }
                r.May = r.Must = {s.dataFile};
                break;
            case 10: {  // texts that name nothing, or less than they seem to
                const std::string& a = s.appNamed;
                const std::string hostile[] = {"", "App.exe", "relative\\readme.txt", "%bogus%\\readme.txt", "C:", "C:\\",
                                               a, "\\\\server\\share\\readme.txt", a + "re\x01" "adme.txt", "C:\\..\\..\\",
                                               a + std::string("readme.txt\0.bak", 15), a + "read<e.txt", a + "readme\"txt",
                                               a + "re>dme.txt"};
                const unsigned h = in.Below(sizeof hostile / sizeof hostile[0]);
                r.File.FilePath = hostile[h];
                if (h == 5 || h == 9) r.NamedFolder = "C:\\";
                if (h == 6) r.NamedFolder = a;
                if (h >= 10) {
                    // Cut at the NUL, or read with the system's other wildcards: at most the
                    // files of the application folder.
                    r.NamedFolder = a;
                    r.May = Pattern_Matches(s, s.appReal, "*", true, false);
                }
                break;
            }
            default:  // a record listed twice
                r = s.records[in.Below(static_cast<unsigned>(s.records.size()))];
                break;
        }
        s.records.push_back(r);
    }
    EntrySet& set = s.platform.DataFile;
    for (const auto& r : s.records) set.Files.push_back(r.File);
    std::string appFolder = s.appNamed;
    set.Info.AppName = "App";
    set.Info.AppFile = in.OneIn(2) ? "%currentdir%\\App.exe"
                                   : Spell(s, in, s.appReal + "App.exe", rules.AnySpellingForKeptAndDataFile, false, appFolder);
    // The folder behind a link is a folder of its own when the application's file names it so.
    if (appFolder == s.appReal && s.appNamed != s.appReal) s.wipeAllowed = true;
    static const char* const groups[] = {"Group", "group\\", "Group\\Sub\\..", "", "..", "..\\..\\Desktop"};
    const unsigned g = in.Below(6);
    set.Info.GroupFolder = groups[g];
    if (g <= 2) s.group = kPrograms + "Group\\";
    set.Shortcuts = {{set.Info.GroupFolder, "App", ""}};
}

std::unique_ptr<Scenario> Scenario_Make(const std::uint8_t* data, std::size_t size, const PromiseRules& rules) {
    auto s = std::make_unique<Scenario>();
    ByteSource in(data, size);
    Tree_Make(*s, in);
    Records_Make(*s, in, rules);
    s->setupCalls = s->disk.Calls();
    return s;
}

std::set<std::string> Gone(const Scenario& s) {
    const std::vector<std::string> after = s.disk.Paths();
    std::set<std::string> gone = s.before;
    for (const auto& p : after) gone.erase(p);
    return gone;
}

RunOutcome Scenario_Run(Scenario& s) {
    s.state.Entries = EntrySet();
    s.state.NotAllRemoved = false;
    s.ui.Lines.clear();
    return Uninstall_Run(s.state, s.disk, s.platform, s.ui);
}

// What the data file owns: the files its records name, the remaining visible files of an
// application folder of its own, and the data file; the folders its records name, those
// between two of them, those inside an application folder of its own, and the program group.
void Promise_CheckGone(const Scenario& s, const std::set<std::string>& gone, const PromiseRules& rules,
                       std::vector<std::string>& failures) {
    std::set<std::string> owned = {s.dataFile}, named, kept, listed;
    for (const auto& r : s.records) {
        if (r.File.Keep) {
            kept.insert(r.May.begin(), r.May.end());
            continue;
        }
        owned.insert(r.May.begin(), r.May.end());
        listed.insert(r.May.begin(), r.May.end());
        if (!r.NamedFolder.empty()) named.insert(r.NamedFolder);
    }
    if (s.wipeAllowed)
        for (const auto& f : s.files)
            if (f.Folder == s.appReal && IsVisible(f.Attributes)) owned.insert(f.Path);
    auto folderOwned = [&](const std::string& f) {
        if (named.count(f) || f == s.group) return true;
        if (s.wipeAllowed && (StartsWith(f, s.appReal) || StartsWith(f, s.appNamed))) return true;
        for (const auto& a : named)
            if (a.size() < f.size() && StartsWith(f, a))
                for (const auto& b : named)
                    if (StartsWith(b, f)) return true;
        return false;
    };
    for (const auto& p : gone) {
        const bool isFolder = p.back() == '\\';
        if (isFolder ? !folderOwned(p) : !owned.count(p)) failures.push_back("removed what the data file does not own: " + p);
    }
    for (const auto& k : kept)
        if (gone.count(k) && (rules.KeepWinsOverListed || !listed.count(k))) failures.push_back("removed a kept file: " + k);
}

// Every file a record certainly names is gone, or the run says that not all files went.
void Promise_CheckOutcome(const Scenario& s, RunOutcome outcome, std::vector<std::string>& failures) {
    const std::vector<std::string> after = s.disk.Paths();
    const std::set<std::string> there(after.begin(), after.end());
    std::set<std::string> kept;
    for (const auto& r : s.records)
        if (r.File.Keep) kept.insert(r.May.begin(), r.May.end());
    std::string mustStayed;
    bool mayStayed = false;
    for (const auto& r : s.records) {
        if (r.File.Keep) continue;
        for (const auto& p : r.Must)
            if (there.count(p) && !kept.count(p)) mustStayed = p;
        for (const auto& p : r.May)
            if (there.count(p)) mayStayed = true;
    }
    // A record whose text names nothing the system would read as written is a file that stayed.
    bool refused = false;
    for (const auto& r : s.records) refused = refused || !RecordText_Check(r.File.FilePath, RecordTextKind::FilePath).Accepted();
    if ((refused || !mustStayed.empty()) && outcome != RunOutcome::FileStayed)
        failures.push_back("a listed file stayed, yet the outcome is " + std::to_string(static_cast<int>(outcome)) + ": " + mustStayed);
    if (!refused && !mayStayed && outcome != RunOutcome::AllRemoved)
        failures.push_back("every listed file went, yet the outcome is " + std::to_string(static_cast<int>(outcome)));
}

// What a failure needs to be understood: the tree's application folder, the records and the
// run's log.
void Failures_Explain(const Scenario& s, std::vector<std::string>& failures) {
    if (failures.empty()) return;
    failures.push_back("application folder " + s.appNamed + " (" + s.appReal + "), S: is " + s.mapped);
    for (const auto& r : s.records) {
        std::string text;
        for (char c : r.File.FilePath) text += static_cast<unsigned char>(c) < 0x20 ? "<" + std::to_string(c) + ">" : std::string(1, c);
        failures.push_back(std::string(r.File.Keep ? "keep " : "list ") + text);
    }
    failures.push_back("app file " + s.platform.DataFile.Info.AppFile);
    for (const auto& p : s.disk.Removed()) failures.push_back("  removed " + p);
    for (const auto& line : s.ui.Lines) failures.push_back("  " + line);
}

}  // namespace

PromiseCheck RemovalPromise_Check(const std::uint8_t* data, std::size_t size, const PromiseRules& rules,
                                  std::size_t maxCuts) {
    PromiseCheck check;
    std::vector<std::string>& failures = check.Failures;
    auto whole = Scenario_Make(data, size, rules);
    const RunOutcome outcome = Scenario_Run(*whole);
    ++check.Runs;
    const std::set<std::string> goneWhole = Gone(*whole);
    Promise_CheckGone(*whole, goneWhole, rules, failures);
    Promise_CheckOutcome(*whole, outcome, failures);
    if (!failures.empty()) {
        Failures_Explain(*whole, failures);
        return check;
    }
    check.FileStayed = outcome == RunOutcome::FileStayed;
    std::set<std::string> named, kept;
    for (const auto& r : whole->records) (r.File.Keep ? kept : named).insert(r.May.begin(), r.May.end());
    for (const auto& f : whole->files) {
        if (f.Folder != whole->appReal || named.count(f.Path) || f.Path == whole->dataFile) continue;
        if (goneWhole.count(f.Path)) check.Wiped = true;
    }
    for (const auto& k : kept)
        if (check.Wiped && !goneWhole.count(k) && k.compare(0, whole->appReal.size(), whole->appReal) == 0)
            check.KeptThroughWipe = true;

    // Cut short after k calls, then run again to the end.
    const std::size_t calls = whole->disk.Calls() - whole->setupCalls;
    const std::size_t cuts = std::min(calls, maxCuts);
    for (std::size_t i = 0; i < cuts; ++i) {
        // Spread over the whole run, each at a place within its stretch that the bytes choose.
        const std::size_t stretch = calls / cuts;
        const std::size_t k = i * stretch + (size ? data[i % size] % stretch : 0);
        auto s = Scenario_Make(data, size, rules);
        s->disk.FailAfter(s->setupCalls + k);
        Scenario_Run(*s);
        ++check.Runs;
        const std::set<std::string> first = Gone(*s);
        const std::string at = " (cut after " + std::to_string(k) + " of " + std::to_string(calls) + " calls)";
        if (first.count(s->dataFile)) {
            // The data file goes last of all: once it is gone, nothing is left to do.
            if (first != goneWhole) {
                failures.push_back("the data file went before the job was done" + at);
                Failures_Explain(*s, failures);
                break;
            }
            continue;
        }
        s->disk.FailAfter(std::numeric_limits<std::size_t>::max());
        Scenario_Run(*s);
        ++check.Runs;
        const std::set<std::string> combined = Gone(*s);
        if (combined != first) check.SecondRunFinished = true;
        Promise_CheckGone(*s, combined, rules, failures);
        for (const auto& p : goneWhole)
            if (!combined.count(p)) failures.push_back("a second run left what one whole run removes: " + p + at);
        if (!failures.empty()) {
            Failures_Explain(*s, failures);
            break;
        }
    }
    return check;
}
