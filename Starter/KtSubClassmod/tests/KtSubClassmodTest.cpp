// Subclassing real windows of this process: which targets see a message and in what order, what
// the sender gets back, re-entry from inside a target, and the module's full-table messages.
#include "KtSubClassmod.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kCapacity = 32766;
constexpr UINT kPing = WM_APP + 1;
constexpr UINT kNested = WM_APP + 2;

// The window's own answer, told apart from any answer a target gives.
LRESULT OwnAnswer(LPARAM lParam) { return 7000 + lParam; }

std::vector<UINT> g_ownProcedure;  // messages from WM_APP up that reached the window's own procedure

LRESULT CALLBACK RecordingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg < WM_APP) return DefWindowProcA(hwnd, msg, wParam, lParam);
    g_ownProcedure.push_back(msg);
    return OwnAnswer(lParam);
}
const LONG_PTR kOwnProcedure = reinterpret_cast<LONG_PTR>(&RecordingWindowProc);
const LONG_PTR kModuleProcedure = reinterpret_cast<LONG_PTR>(&KtSubClass_WindowProc);

struct Offer {
    int target;
    std::string source;
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT valueIn;
    bool flagIn;
};
std::vector<Offer> g_offers;

class ScriptedTarget : public KtSubClassTarget {
public:
    int id = 0;
    std::function<void(UINT msg, LRESULT& value, bool& used)> onMessage;

    void KtSubClassWindowProc(const std::string& SourceDescription, HWND hwnd, UINT Msg, WPARAM wParam,
                              LPARAM lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) override {
        if (Msg < WM_APP) return;
        g_offers.push_back({id, SourceDescription, hwnd, Msg, wParam, lParam, ReturnValue, ReturnValueUsedFlag});
        if (onMessage) onMessage(Msg, ReturnValue, ReturnValueUsedFlag);
    }
};

// The module remembers every target form for the life of the process, up to kCapacity forms.
// Every test takes its targets from this pool, so the module never knows a form outside
// Pool(0)..Pool(kCapacity - 1), and Pool(kCapacity) is the one form it is bound to refuse,
// whatever the order the tests run in.
ScriptedTarget& Pool(int i) {
    static std::vector<ScriptedTarget> pool = [] {
        std::vector<ScriptedTarget> p(kCapacity + 1);
        for (int k = 0; k <= kCapacity; ++k) p[k].id = k;
        return p;
    }();
    return pool[i];
}

std::vector<int> OfferedTargets(UINT msg = kPing) {
    std::vector<int> ids;
    for (const auto& o : g_offers)
        if (o.msg == msg) ids.push_back(o.target);
    return ids;
}

class TestWindow : public KtSubClassObject {
public:
    TestWindow() {
        static const ATOM cls = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = RecordingWindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "VembrolSubclassTestWindow";
            return RegisterClassA(&wc);
        }();
        hwnd_ = CreateWindowExA(0, MAKEINTATOM(cls), "subclass test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const override { return hwnd_; }
    LRESULT Send(UINT msg, LPARAM lParam, WPARAM wParam = 0) const { return SendMessageA(hwnd_, msg, wParam, lParam); }
    LONG_PTR Procedure() const { return GetWindowLongPtrA(hwnd_, GWLP_WNDPROC); }
    LONG_PTR UserData() const { return GetWindowLongPtrA(hwnd_, GWLP_USERDATA); }

private:
    HWND hwnd_ = nullptr;
};

class Subclassing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(a.hwnd(), nullptr);
        ASSERT_NE(b.hwnd(), nullptr);
        g_offers.clear();
        g_ownProcedure.clear();
    }
    void TearDown() override {
        KtUnSubClassAll();
        for (int i = 0; i <= kCapacity; ++i) Pool(i).onMessage = nullptr;
    }
    void Reset() {
        TearDown();
        SetUp();
    }

    TestWindow a, b;
};

// The box that the call must show, answered with OK; an empty record when none came.
wintest::MessageBoxInfo BoxShownBy(const std::function<void()>& call, int timeoutMs = 10000) {
    wintest::BoxAnswerer answerer({"OK"}, timeoutMs);
    call();
    const auto& boxes = answerer.Boxes();
    return boxes.empty() ? wintest::MessageBoxInfo{} : boxes.front();
}

void ExpectInternalError(const wintest::MessageBoxInfo& box, const char* text) {
    ASSERT_NE(box.hwnd, nullptr) << "no box for: " << text;
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Vembrol Starter");
    EXPECT_STREQ(wintest::BoxIcon_Name(box.icon), "exclamation");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
}

void Subclass_FillWithPool(const TestWindow& w, const std::string& name) {
    for (int i = 0; i < kCapacity; ++i) KtSubClass(w, name, Pool(i), true);
}

TEST_F(Subclassing, TwoNamesOnOneWindowShareOneProcedureUntilEverythingIsUndoneAndRedone) {
    KtSubClass(a, "first", Pool(0), true);
    KtSubClass(a, "second", Pool(1), true);
    EXPECT_EQ(a.Procedure(), kModuleProcedure);
    EXPECT_EQ(a.UserData(), kOwnProcedure) << "the second name must not chain the module to itself";
    EXPECT_EQ(b.Procedure(), kOwnProcedure);

    EXPECT_EQ(a.Send(kPing, 3, 11), OwnAnswer(3));
    ASSERT_EQ(g_offers.size(), 2u);
    EXPECT_EQ(g_offers[0].source, "first");
    EXPECT_EQ(g_offers[1].source, "second");
    EXPECT_EQ(OfferedTargets(), (std::vector<int>{0, 1}));
    for (const auto& o : g_offers) {
        EXPECT_EQ(o.hwnd, a.hwnd());
        EXPECT_EQ(o.wParam, 11u);
        EXPECT_EQ(o.lParam, 3);
    }
    EXPECT_EQ(g_ownProcedure, std::vector<UINT>{kPing});

    KtUnSubClassAll();
    EXPECT_EQ(a.Procedure(), kOwnProcedure);
    EXPECT_EQ(a.UserData(), 0);
    g_offers.clear();
    EXPECT_EQ(a.Send(kPing, 4), OwnAnswer(4));
    EXPECT_TRUE(g_offers.empty());

    // A fresh table: the old name's target is gone with it.
    KtSubClass(a, "first", Pool(2), true);
    EXPECT_EQ(a.Procedure(), kModuleProcedure);
    EXPECT_EQ(a.UserData(), kOwnProcedure);
    EXPECT_EQ(a.Send(kPing, 5), OwnAnswer(5));
    EXPECT_EQ(OfferedTargets(), std::vector<int>{2});
}

TEST_F(Subclassing, TargetsShareOneAnswerAndTheLastWordCounts) {
    using Script = std::function<void(UINT, LRESULT&, bool&)>;
    const Script nothing = [](UINT, LRESULT&, bool&) {};
    const struct {
        const char* name;
        bool firstAnswers;  // the first target always leaves 5 as the value
        Script second;
        LRESULT expected;
        bool ownCalled;
    } cases[] = {
        {"answer kept", true, nothing, 5, false},
        {"value changed later", true, [](UINT, LRESULT& v, bool&) { v = 9; }, 9, false},
        {"answer withdrawn later", true, [](UINT, LRESULT&, bool& used) { used = false; }, OwnAnswer(2), true},
        {"value alone answers nothing", false, nothing, OwnAnswer(2), true},
        {"answer given later", false, [](UINT, LRESULT&, bool& used) { used = true; }, 5, false},
    };
    for (bool twoNames : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (twoNames ? ", targets under two names" : ", one name"));
            Reset();
            const bool firstAnswers = c.firstAnswers;
            Pool(0).onMessage = [firstAnswers](UINT, LRESULT& v, bool& used) {
                v = 5;
                used = firstAnswers;
            };
            Pool(1).onMessage = c.second;
            KtSubClass(a, "one", Pool(0), true);
            KtSubClass(a, twoNames ? "two" : "one", Pool(1), true);

            EXPECT_EQ(a.Send(kPing, 2), c.expected);
            ASSERT_EQ(g_offers.size(), 2u);
            EXPECT_EQ(g_offers[0].valueIn, 0);
            EXPECT_FALSE(g_offers[0].flagIn);
            EXPECT_EQ(g_offers[1].valueIn, 5);
            EXPECT_EQ(g_offers[1].flagIn, c.firstAnswers);
            EXPECT_EQ(g_ownProcedure.size(), c.ownCalled ? 1u : 0u);
        }
    }
}

TEST_F(Subclassing, SwitchedOffTargetIsPassedOverAndAddingItAgainOnlySwitchesIt) {
    Pool(0).onMessage = [](UINT, LRESULT& v, bool& used) {
        v = 5;
        used = true;
    };
    KtSubClass(a, "tray", Pool(0), false);
    EXPECT_EQ(a.Procedure(), kModuleProcedure) << "subclassed even with its only target off";
    EXPECT_EQ(a.Send(kPing, 1), OwnAnswer(1));
    EXPECT_TRUE(g_offers.empty());

    Pool(0).onMessage = nullptr;
    KtSubClass(a, "tray", Pool(1), true);
    KtSubClass(a, "tray", Pool(0), true);
    KtSubClass(a, "tray", Pool(0), true);
    EXPECT_EQ(a.Send(kPing, 2), OwnAnswer(2));
    EXPECT_EQ(OfferedTargets(), (std::vector<int>{0, 1})) << "switched on in place, never added twice";

    // The existing name ties the call to a's entry: b's window is left alone.
    KtSubClass(b, "tray", Pool(0), false);
    EXPECT_EQ(b.Procedure(), kOwnProcedure);
    g_offers.clear();
    a.Send(kPing, 3);
    EXPECT_EQ(OfferedTargets(), std::vector<int>{1});
}

TEST_F(Subclassing, TargetThatUndoesEverythingLeavesTheMessageUnanswered) {
    const struct {
        const char* name;
        UINT undoOn;           // the message during which Pool(1) calls KtUnSubClassAll
        std::vector<int> ping;  // targets offered the outer message
        std::vector<int> nested;
    } cases[] = {
        {"during the message itself", kPing, {0, 1}, {}},
        {"during a nested message", kNested, {0}, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        LRESULT nestedResult = -1;
        Pool(0).onMessage = [&](UINT msg, LRESULT&, bool&) {
            if (msg == kPing && c.undoOn == kNested) nestedResult = a.Send(kNested, 1);
        };
        const UINT undoOn = c.undoOn;
        Pool(1).onMessage = [undoOn](UINT msg, LRESULT&, bool&) {
            if (msg == undoOn) KtUnSubClassAll();
        };
        KtSubClass(a, "one", Pool(0), true);
        KtSubClass(a, "one", Pool(1), true);
        KtSubClass(a, "one", Pool(2), true);
        KtSubClass(a, "two", Pool(3), true);

        EXPECT_EQ(a.Send(kPing, 2), 0);
        EXPECT_EQ(OfferedTargets(kPing), c.ping);
        EXPECT_EQ(OfferedTargets(kNested), c.nested);
        if (c.undoOn == kNested) {
            EXPECT_EQ(nestedResult, 0);
        }
        EXPECT_TRUE(g_ownProcedure.empty());
        EXPECT_EQ(a.Procedure(), kOwnProcedure);
        EXPECT_EQ(a.UserData(), 0);
    }
}

TEST_F(Subclassing, NamesAndTargetsAddedDuringAMessageWaitForTheNextMessage) {
    Pool(0).onMessage = [this](UINT, LRESULT&, bool&) {
        KtSubClass(a, "late", Pool(2), true);
        KtSubClass(a, "tray", Pool(3), true);
    };
    KtSubClass(a, "tray", Pool(0), true);
    KtSubClass(a, "tray", Pool(1), true);
    EXPECT_EQ(a.Send(kPing, 1), OwnAnswer(1));
    EXPECT_EQ(OfferedTargets(), (std::vector<int>{0, 1}));

    Pool(0).onMessage = nullptr;
    g_offers.clear();
    EXPECT_EQ(a.Send(kPing, 2), OwnAnswer(2));
    EXPECT_EQ(OfferedTargets(), (std::vector<int>{0, 1, 3, 2}));
}

TEST_F(Subclassing, NestedMessageFromInsideATargetGetsItsOwnAnswer) {
    LRESULT nestedResult = 0;
    Pool(0).onMessage = [&](UINT msg, LRESULT& v, bool& used) {
        if (msg == kPing) {
            nestedResult = a.Send(kNested, 8);
        } else {
            v = 42;
            used = true;
        }
    };
    KtSubClass(a, "tray", Pool(0), true);
    KtSubClass(a, "tray", Pool(1), true);

    EXPECT_EQ(a.Send(kPing, 1), OwnAnswer(1)) << "the nested answer must not leak into the outer message";
    EXPECT_EQ(nestedResult, 42);
    ASSERT_EQ(g_offers.size(), 4u);
    const std::vector<std::pair<int, UINT>> order = {{0, kPing}, {0, kNested}, {1, kNested}, {1, kPing}};
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(g_offers[i].target, order[i].first) << i;
        EXPECT_EQ(g_offers[i].msg, order[i].second) << i;
    }
    EXPECT_EQ(g_offers[2].valueIn, 42);
    EXPECT_EQ(g_offers[3].valueIn, 0);
    EXPECT_FALSE(g_offers[3].flagIn);
    EXPECT_EQ(g_ownProcedure, std::vector<UINT>{kPing});
}

TEST_F(Subclassing, WindowKeepingItsOwnDataInTheUserSlotStillReachesItsProcedure) {
    SetWindowLongPtrA(a.hwnd(), GWLP_USERDATA, 0x1234);
    KtSubClass(a, "tray", Pool(0), true);
    KtSubClass(a, "again", Pool(1), true);
    EXPECT_EQ(a.Send(kPing, 1), OwnAnswer(1));
    EXPECT_EQ(OfferedTargets(), (std::vector<int>{0, 1}));
    KtUnSubClassAll();
    EXPECT_EQ(a.Procedure(), kOwnProcedure);
}

TEST_F(Subclassing, FullTableRefusesANewNameWithItsMessage) {
    for (int i = 1; i <= kCapacity; ++i) KtSubClass(a, "entry " + std::to_string(i), Pool(0), true);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);  // the second try is refused too: the first added nothing
        ExpectInternalError(BoxShownBy([&] { KtSubClass(b, "one too many", Pool(1), true); }),
                            "internal error in KtSubClass(): overflow !");
    }
    EXPECT_EQ(b.Procedure(), kOwnProcedure);
    EXPECT_EQ(b.Send(kPing, 1), OwnAnswer(1));
    EXPECT_TRUE(g_offers.empty());

    EXPECT_EQ(a.Send(kPing, 2), OwnAnswer(2));
    ASSERT_EQ(g_offers.size(), static_cast<size_t>(kCapacity));
    EXPECT_EQ(g_offers.back().source, "entry 32766");
}

TEST_F(Subclassing, FullEntryRefusesANewTargetWithItsMessage) {
    Subclass_FillWithPool(a, "tray");
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        ExpectInternalError(BoxShownBy([&] { KtSubClass(a, "tray", Pool(kCapacity), true); }),
                            "internal error in KtSubClass(): overflow (2) !");
    }
    EXPECT_EQ(a.Send(kPing, 1), OwnAnswer(1));
    ASSERT_EQ(g_offers.size(), static_cast<size_t>(kCapacity));
    EXPECT_EQ(g_offers.front().target, 0);
    EXPECT_EQ(g_offers.back().target, kCapacity - 1);
}

TEST_F(Subclassing, FullListOfFormsRefusesANewFormWhichIsThenOfferedNothing) {
    Subclass_FillWithPool(a, "tray");  // the module now knows kCapacity forms
    ExpectInternalError(BoxShownBy([&] { KtSubClass(b, "late", Pool(kCapacity), true); }),
                        "internal error in TargetForm_Add() (KtSubClass): overflow !");
    EXPECT_EQ(b.Procedure(), kModuleProcedure) << "the name and its window are kept";
    EXPECT_EQ(b.Send(kPing, 1), OwnAnswer(1));
    EXPECT_TRUE(g_offers.empty());

    // Already a target of "late": the call only switches it, so there is nothing to report.
    EXPECT_EQ(BoxShownBy([&] { KtSubClass(b, "late", Pool(kCapacity), true); }, 500).hwnd, nullptr);
    // Known forms still join new names.
    KtSubClass(b, "late", Pool(0), true);
    EXPECT_EQ(b.Send(kPing, 2), OwnAnswer(2));
    EXPECT_EQ(OfferedTargets(), std::vector<int>{0});
}

}  // namespace
