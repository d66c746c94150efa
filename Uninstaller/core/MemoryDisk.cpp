// The in-memory disk: a tree of nodes that are never freed while the disk lives, so that a
// removed folder leaves no dangling root or link behind, only a Gone mark.
#include "MemoryDisk.h"

#include "PathRules.h"
#include "Placeholders.h"
#include "Text.h"

#include <cctype>
#include <cstring>

namespace {

std::vector<std::string> Levels_Split(const std::string& rest) {
    std::vector<std::string> levels;
    std::string level;
    for (char c : rest + "\\") {
        if (c == '\\') {
            if (!level.empty()) levels.push_back(level);
            level.clear();
        } else {
            level += c;
        }
    }
    return levels;
}

// * any run of units, ? one unit, on the folded names; the DOS forms < > " stand for * ? and
// ".". "*.*" is every name, as the system reads it.
bool Units_Match(const std::u16string& p, std::size_t pi, const std::u16string& n, std::size_t ni) {
    while (pi < p.size()) {
        const char16_t c = p[pi];
        if (c == u'*' || c == u'<') {
            for (std::size_t k = ni; k <= n.size(); ++k)
                if (Units_Match(p, pi + 1, n, k)) return true;
            return false;
        }
        if (ni >= n.size()) return false;
        if (c != u'?' && c != u'>' && !(c == u'"' && n[ni] == u'.') && c != n[ni]) return false;
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

bool Name_Matches(const std::string& pattern, const std::string& name) {
    if (name.empty()) return false;
    if (pattern == "*.*") return true;
    return Units_Match(Path_FoldCase(pattern), 0, Path_FoldCase(name), 0);
}

bool Name_IsShortForm(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos) return false;
    for (unsigned char c : name)
        if (c >= 0x80 || c <= ' ' || std::strchr("\"*+,/:;<=>?[\\]|", c)) return false;
    return true;
}

}  // namespace

bool MemoryDisk::Call() {
    if (++calls_ == hookAt_ && hook_) hook_();
    return calls_ <= failAfter_;
}

// Bound to its node, not to a path: a rename or a link put in its place changes nothing here.
class MemoryDisk::Folder : public DiskFolder {
public:
    Folder(MemoryDisk& disk, Node* node, std::string path) : disk_(disk), node_(node), path_(std::move(path)) {
        ++node_->HeldOpen;
    }
    ~Folder() override { --node_->HeldOpen; }
    std::uint32_t Attributes() override { return disk_.Call() && !node_->Gone ? node_->Attributes : FileAttribute::Missing; }
    bool Identify(DiskIdentity& id) override {
        if (!disk_.Call() || node_->Gone) return false;
        id = {node_->Volume, node_->Index};
        return true;
    }
    void List(const std::function<bool(const DiskEntry&)>& visit) override {
        if (!disk_.Call() || node_->Gone || node_->Target) return;
        std::vector<DiskEntry> found;
        for (const Node* c : node_->Children) found.push_back({c->Name, c->ShortName, c->Attributes});
        for (const auto& e : found)
            if (!visit(e)) return;
    }
    bool IdentifyEntry(const std::string& name, DiskIdentity& id) override {
        if (!disk_.Call() || node_->Gone || node_->Target) return false;
        const Node* n = disk_.Child(node_, name);
        if (!n || n->Unreadable) return false;
        id = {n->Volume, n->Index};
        return true;
    }
    std::uint32_t RemoveFile(const std::string& name) override {
        if (!disk_.Call()) return DiskError::NotReady;
        if (node_->Gone || node_->Target) return DiskError::PathNotFound;
        Node* n = disk_.Child(node_, name);
        if (!n) return DiskError::FileNotFound;
        if ((n->Attributes & (FileAttribute::Directory | FileAttribute::ReadOnly)) || n->Undeletable) return DiskError::AccessDenied;
        disk_.Erase(n, disk_.PathOf(n));
        return 0;
    }

private:
    MemoryDisk& disk_;
    Node* node_;
    std::string path_;
};

MemoryDisk::Node* MemoryDisk::New(Node* parent, const std::string& name, std::uint32_t attributes) {
    nodes_.push_back(std::make_unique<Node>());
    Node* n = nodes_.back().get();
    n->Name = name;
    n->Attributes = attributes;
    n->Parent = parent;
    n->Index = nextIndex_++;
    if (parent) {
        n->Volume = parent->Volume;
        parent->Children.push_back(n);
    }
    return n;
}

MemoryDisk::Node* MemoryDisk::Child(const Node* folder, const std::string& name) const {
    for (Node* c : folder->Children)
        if (Path_Equal(c->Name, name) || (!c->ShortName.empty() && Path_Equal(c->ShortName, name)))
            return c;
    return nullptr;
}

MemoryDisk::Node* MemoryDisk::Resolve(const std::string& text, bool followLast) const {
    // The system resolves "/", "." and ".." itself before it looks at any name.
    const std::string path = Path_Canonical(text);
    if (path.empty()) return nullptr;
    const std::string root = Path_GetRoot(path);
    if (root.empty() || root.back() != '\\') return nullptr;
    Node* at = nullptr;
    for (const auto& r : roots_)
        if (Path_Equal(r.Text, root)) at = r.Folder;
    if (!at || at->Gone) return nullptr;
    const std::vector<std::string> levels = Levels_Split(path.substr(root.size()));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (at->Target) at = at->Target;
        if (at->Gone || !(at->Attributes & FileAttribute::Directory)) return nullptr;
        at = Child(at, levels[i]);
        if (!at) return nullptr;
    }
    if (followLast && at->Target) at = at->Target;
    if (at->Gone) return nullptr;
    // A file's name with a "\" after it names nothing.
    if (path.back() == '\\' && !(at->Attributes & FileAttribute::Directory)) return nullptr;
    return at;
}

MemoryDisk::Node* MemoryDisk::Make(const std::string& path, bool lastIsFolder) {
    const std::string root = Path_GetRoot(path);
    Node* at = nullptr;
    for (const auto& r : roots_)
        if (Path_Equal(r.Text, root)) at = r.Folder;
    if (!at) return nullptr;
    const std::vector<std::string> levels = Levels_Split(path.substr(root.size()));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (at->Target) at = at->Target;
        if (!(at->Attributes & FileAttribute::Directory)) return nullptr;
        Node* next = Child(at, levels[i]);
        const bool last = i + 1 == levels.size();
        if (!next) {
            next = New(at, levels[i], last && !lastIsFolder ? 0 : FileAttribute::Directory);
            next->ShortName = ShortName_Make(at, levels[i]);
        }
        at = next;
    }
    return at;
}

std::string MemoryDisk::ShortName_Make(const Node* folder, const std::string& name) const {
    if (Name_IsShortForm(name)) return "";
    const std::size_t dot = name.rfind('.');
    std::string base, ext;
    for (std::size_t i = 0; i < name.size() && i != dot && base.size() < 6; ++i)
        if (std::isalnum(static_cast<unsigned char>(name[i]))) base += static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    if (dot != std::string::npos)
        for (std::size_t i = dot + 1; i < name.size() && ext.size() < 3; ++i)
            if (std::isalnum(static_cast<unsigned char>(name[i]))) ext += static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    if (base.empty()) base = "X";
    for (int n = 1;; ++n) {
        const std::string candidate = base + "~" + std::to_string(n) + (ext.empty() ? "" : "." + ext);
        if (!Child(folder, candidate)) return candidate;
    }
}

std::string MemoryDisk::PathOf(const Node* node) const {
    std::vector<const std::string*> names;
    const Node* n = node;
    for (; n->Parent; n = n->Parent) names.push_back(&n->Name);
    std::string path = n->RootText;
    for (auto it = names.rbegin(); it != names.rend(); ++it) path += **it + "\\";
    if (!names.empty() && !(node->Attributes & FileAttribute::Directory)) path.pop_back();
    return path;
}

void MemoryDisk::Erase(Node* node, const std::string& path) {
    auto& siblings = node->Parent->Children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
        if (*it == node) {
            siblings.erase(it);
            break;
        }
    node->Gone = true;
    removed_.push_back(path);
}

void MemoryDisk::AddVolume(const std::string& root, std::uint32_t serial) {
    Node* n = New(nullptr, "", FileAttribute::Directory);
    n->Volume = serial;
    n->RootText = Path_WithTrailingBackslash(root);
    roots_.push_back({n->RootText, n, false});
}

bool MemoryDisk::MapRoot(const std::string& root, const std::string& folder, bool opaque) {
    Node* n = Resolve(Path_WithTrailingBackslash(folder), true);
    if (!n || !(n->Attributes & FileAttribute::Directory)) return false;
    roots_.push_back({Path_WithTrailingBackslash(root), n, opaque});
    return true;
}

bool MemoryDisk::AddFolder(const std::string& path, std::uint32_t attributes) {
    Node* n = Make(path, true);
    if (!n || !(n->Attributes & FileAttribute::Directory)) return false;
    n->Attributes |= attributes;
    return true;
}

bool MemoryDisk::AddFile(const std::string& path, std::uint32_t attributes, const std::string& shortName) {
    Node* n = Make(path, false);
    if (!n || (n->Attributes & FileAttribute::Directory)) return false;
    n->Attributes = attributes & ~(FileAttribute::Directory | FileAttribute::ReparsePoint);
    if (!shortName.empty()) n->ShortName = shortName;
    return true;
}

bool MemoryDisk::AddLink(const std::string& path, const std::string& target) {
    Node* to = Resolve(Path_WithTrailingBackslash(target), true);
    if (!to || Exists(path)) return false;
    Node* n = Make(path, true);
    if (!n) return false;
    n->Attributes |= FileAttribute::ReparsePoint;
    n->Target = to;
    return true;
}

bool MemoryDisk::SetUndeletable(const std::string& path, bool undeletable) {
    Node* n = Resolve(path, false);
    if (!n) return false;
    n->Undeletable = undeletable;
    return true;
}

bool MemoryDisk::SetUnreadable(const std::string& path, bool unreadable) {
    Node* n = Resolve(path, false);
    if (!n) return false;
    n->Unreadable = unreadable;
    return true;
}

bool MemoryDisk::Rename(const std::string& from, const std::string& to) {
    Node* n = Resolve(from, false);
    const std::string toParent = Path_GetParent(to);
    Node* parent = toParent.empty() ? nullptr : Resolve(toParent, true);
    if (!n || !n->Parent || !parent || Exists(to) || parent->Volume != n->Volume) return false;
    auto& siblings = n->Parent->Children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
        if (*it == n) {
            siblings.erase(it);
            break;
        }
    n->Name = to.substr(toParent.size());
    n->ShortName = ShortName_Make(parent, n->Name);
    n->Parent = parent;
    parent->Children.push_back(n);
    return true;
}

bool MemoryDisk::Exists(const std::string& path) const { return Resolve(path, false) != nullptr; }

std::uint32_t MemoryDisk::AttributesOf(const std::string& path) const {
    const Node* n = Resolve(path, false);
    return n ? n->Attributes : FileAttribute::Missing;
}

std::vector<std::string> MemoryDisk::Paths() const {
    std::vector<std::string> paths;
    std::vector<const Node*> todo;
    for (const auto& n : nodes_)
        if (!n->Parent) todo.push_back(n.get());
    while (!todo.empty()) {
        const Node* n = todo.back();
        todo.pop_back();
        if (n->Parent) paths.push_back(PathOf(n));
        if (!n->Target)
            for (const Node* c : n->Children) todo.push_back(c);
    }
    return paths;
}

void MemoryDisk::Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) {
    if (!Call() || pattern.empty() || pattern.back() == '\\') return;
    const std::size_t cut = pattern.find_last_of("\\/");
    const std::string folderPath = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
    const std::string name = pattern.substr(folderPath.size());
    const Node* folder = folderPath.empty() ? nullptr : Resolve(folderPath, true);
    if (!folder || !(folder->Attributes & FileAttribute::Directory)) return;
    const bool wild = name.find_first_of("*?<>\"") != std::string::npos;
    // Taken first: the caller may delete while it visits.
    std::vector<DiskEntry> found;
    for (const Node* c : folder->Children) {
        const bool matches = wild ? Name_Matches(name, c->Name) || (!c->ShortName.empty() && Name_Matches(name, c->ShortName))
                                  : Path_Equal(name, c->Name) || (!c->ShortName.empty() && Path_Equal(name, c->ShortName));
        if (matches) found.push_back({c->Name, c->ShortName, c->Attributes});
    }
    for (const auto& e : found)
        if (!visit(e)) return;
}

std::uint32_t MemoryDisk::GetAttributes(const std::string& path, std::uint32_t& error) {
    error = 0;
    if (!Call()) {
        error = DiskError::NotReady;
        return FileAttribute::Missing;
    }
    const Node* n = Resolve(path, false);
    if (!n) error = DiskError::FileNotFound;
    else if (n->Unreadable) error = DiskError::AccessDenied;
    return error ? FileAttribute::Missing : n->Attributes;
}

bool MemoryDisk::Identify(const std::string& path, DiskIdentity& id) {
    if (!Call()) return false;
    const Node* n = Resolve(path, true);
    if (!n || n->Unreadable) return false;
    id.Volume = n->Volume;
    id.Index = n->Index;
    return true;
}

std::uint32_t MemoryDisk::RemoveFile(const std::string& path) {
    if (!Call()) return DiskError::NotReady;
    Node* n = Resolve(path, false);
    if (!n) return DiskError::FileNotFound;
    if ((n->Attributes & (FileAttribute::Directory | FileAttribute::ReadOnly)) || n->Undeletable) return DiskError::AccessDenied;
    Erase(n, path);
    return 0;
}

bool MemoryDisk::RemoveFolder(const std::string& path) {
    if (!Call()) return false;
    const std::string named = path.size() > Path_GetRoot(path).size() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    Node* n = Resolve(named, false);
    if (!n || !n->Parent || !(n->Attributes & FileAttribute::Directory) || n->Undeletable || n->HeldOpen > 0 ||
        (n->Attributes & FileAttribute::ReadOnly))
        return false;
    // A root made for this folder keeps it from going, as a share or subst drive does.
    for (const auto& r : roots_)
        if (r.Folder == n) return false;
    if (!n->Target && !n->Children.empty()) return false;
    Erase(n, path);
    return true;
}

bool MemoryDisk::ClearAttributes(const std::string& path, std::uint32_t bits) {
    if (!Call()) return false;
    Node* n = Resolve(path, false);
    if (!n) return false;
    n->Attributes &= ~(bits & (FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System | FileAttribute::Archive));
    return true;
}

std::string MemoryDisk::FinalPath(const std::string& folder) {
    if (!Call()) return "";
    for (const auto& r : roots_)
        if (r.Opaque && Path_Equal(r.Text, Path_GetRoot(folder))) return "";
    const Node* n = Resolve(folder, true);
    if (!n || !(n->Attributes & FileAttribute::Directory)) return "";
    return Path_WithTrailingBackslash(PathOf(n));
}

std::string MemoryDisk::VolumeRoot(const std::string& path) {
    if (!Call()) return "";
    const Node* n = Resolve(path, true);
    if (!n) return "";
    while (n->Parent) n = n->Parent;
    return n->RootText;
}

std::unique_ptr<DiskFolder> MemoryDisk::OpenFolder(const std::string& path) {
    if (!Call()) return nullptr;
    const std::string named = path.size() > Path_GetRoot(path).size() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    Node* n = Resolve(named, false);
    if (!n || !(n->Attributes & FileAttribute::Directory)) return nullptr;
    return std::make_unique<Folder>(*this, n, path);
}
