// Subclassing real windows of this process: who sees a message, what the sender gets back.
#include "KtSubClassmod.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kCapacity = 32766;
constexpr UINT kPing = WM_APP + 1;
using Script = std::function<void(LRESULT& value, bool& used)>;

int g_ownCalls = 0;
std::vector<int> g_offers;  // ids of the targets offered kPing, in order

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kPing) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return ++g_ownCalls, 7000 + lParam;  // told apart from any answer a target gives
}
const LONG_PTR kOwnProc = reinterpret_cast<LONG_PTR>(&OwnProc);

struct Target : KtSubClassTarget {
    int id = 0;
    Script onPing;
    void KtSubClassWindowProc(const std::string&, HWND, UINT msg, WPARAM, LPARAM, LRESULT& v, bool& used) override {
        if (msg == kPing) g_offers.push_back(id);
        if (msg == kPing && onPing) onPing(v, used);
    }
};

// The module remembers every form for the life of the process; all tests draw from this pool so
// that Pool(kCapacity) is the one form it must refuse, whatever order the tests run in.
Target& Pool(int i) {
    static std::vector<Target> pool(kCapacity + 1);
    pool[i].id = i;
    return pool[i];
}

struct Window : KtSubClassObject {
    Window() {
        static const WNDCLASSW wc = {0, OwnProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr,
                                     L"VembrolSubclassTestWindow"};
        static const ATOM cls = RegisterClassW(&wc);
        h = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(cls)), L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~Window() { DestroyWindow(h); }
    HWND hwnd() const override { return h; }
    LRESULT Ping(LPARAM lParam) const { return SendMessageW(h, kPing, 0, lParam); }
    LONG_PTR Slot(int index) const { return GetWindowLongPtrW(h, index); }
    HWND h;
};

class Subclassing : public ::testing::Test {
protected:
    void SetUp() override {
        KtUnSubClassAll(), g_offers.clear(), g_ownCalls = 0;
        Pool(0).onPing = Pool(1).onPing = nullptr;
        SetWindowLongPtrW(a.h, GWLP_USERDATA, 0x1234);  // the window's own data, never to be called
    }
    void TearDown() override { KtUnSubClassAll(); }
    Window a, b;
};

TEST_F(Subclassing, EntriesOnOneWindowShareOneProcedureAndOneAnswer) {
    const struct {
        const char* name;
        bool firstOn;  // the first target answers 5
        Script second;
        LRESULT expected;
        std::vector<int> offered;
    } cases[] = {
        {"answered", true, nullptr, 5, {0, 1, 2}},
        {"first switched off", false, nullptr, 7002, {1, 2}},
        {"answer withdrawn later", true, [](LRESULT&, bool& used) { used = false; }, 7002, {0, 1, 2}},
        {"table emptied and refilled for another window", true,
         [this](LRESULT&, bool&) { KtUnSubClassAll(), KtSubClass(b, "x", Pool(3), true), KtSubClass(b, "y", Pool(4), true); },
         0, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Pool(0).onPing = [](LRESULT& v, bool& used) { v = 5, used = true; };
        Pool(1).onPing = c.second;
        KtSubClass(a, "one", Pool(0), c.firstOn);
        KtSubClass(a, "two", Pool(1), true);
        KtSubClass(a, "two", Pool(2), true);
        EXPECT_EQ(a.Slot(GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&KtSubClass_WindowProc));
        EXPECT_EQ(a.Slot(GWLP_USERDATA), kOwnProc) << "the second entry must not chain the module to itself";
        EXPECT_EQ(a.Ping(2), c.expected);
        EXPECT_EQ(g_offers, c.offered);
        EXPECT_EQ(g_ownCalls, c.expected == 7002 ? 1 : 0);
        KtUnSubClassAll();
        EXPECT_EQ(a.Slot(GWLP_WNDPROC), kOwnProc);
        EXPECT_EQ(a.Slot(GWLP_USERDATA), 0);
    }
}

TEST_F(Subclassing, OverflowsAreReportedAndAddNothing) {
    wintest::BoxAnswerer answerer({"OK", "OK", "OK"});
    for (int i = 0; i < kCapacity; ++i) KtSubClass(a, "full", Pool(i), true);
    KtSubClass(a, "full", Pool(kCapacity), true);  // the entry's targets are full
    KtSubClass(b, "late", Pool(kCapacity), true);  // so are the forms
    for (int i = 3; i <= kCapacity; ++i) KtSubClass(a, "entry " + std::to_string(i), Pool(0), true);
    KtSubClass(b, "one too many", Pool(1), true);  // and the table

    const char* texts[] = {"internal error in KtSubClass(): overflow (2) !",
                           "internal error in TargetForm_Add() (KtSubClass): overflow !",
                           "internal error in KtSubClass(): overflow !"};
    const auto& boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes[i].text, texts[i]);
        EXPECT_EQ(boxes[i].caption, "Vembrol Starter");
        EXPECT_STREQ(wintest::BoxIcon_Name(boxes[i].icon), "exclamation");
    }
    EXPECT_EQ(b.Ping(1), 7001);
    EXPECT_TRUE(g_offers.empty());
    a.Ping(1);
    EXPECT_EQ(g_offers.size(), 2u * kCapacity - 2);  // every target of "full", one per other entry
}

}  // namespace
