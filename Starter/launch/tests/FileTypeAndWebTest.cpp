// The file-type lookup against HKEY_CLASSES_ROOT, and the web site opened with the browser
// registered for ".html", with explorer.exe, or with a message when neither starts.
#include "StarterShell.h"

#include "LaunchTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Lookup {
    bool found = false;
    std::string description = "<untouched>", command = "<untouched>", program = "<untouched>";
    std::string iconFile = "  caller.ico  ";
    std::int16_t iconIndex = 42;
    Lookup(const std::string& file, const std::string& verb) {
        found = FileType_Lookup(file, verb, description, command, program, iconFile, iconIndex);
    }
};

struct TestFileType {
    ClassesRootGuard guard{".vembroltest", {".vembroltest", "VembrolTest.Type"}};
    explicit TestFileType(const std::string& typeName = "VembrolTest.Type") {
        ClassesRoot_SetDefault(".vembroltest", typeName);
        ClassesRoot_SetDefault("VembrolTest.Type", "Vembrol test document");
    }
};

TEST(FileTypeLookup, RegisteredTypeGivesDescriptionTrimmedCommandProgramAndIcon) {
    TestFileType type;
    ClassesRoot_SetDefault("VembrolTest.Type\\shell\\open\\command",
                           R"(  "C:\Program Files\Web\browser.exe" "%1"  )");
    ClassesRoot_SetDefault("VembrolTest.Type\\DefaultIcon", R"( C:\icons\web.ico , 99999999 )");
    Lookup found("C:\\Text.vembroltest", "open");
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.description, "Vembrol test document");
    EXPECT_EQ(found.command, R"("C:\Program Files\Web\browser.exe" "%1")");
    EXPECT_EQ(found.program, R"(C:\Program Files\Web\browser.exe)");
    EXPECT_EQ(found.iconFile, R"(C:\icons\web.ico)");
    EXPECT_EQ(found.iconIndex, 32767);
}

TEST(FileTypeLookup, OnlyTheVerbAskedIsReadAndMissingPartsKeepTheCallersIcon) {
    TestFileType type("VembrolTest.Type\\");  // a type name ending in "\" gets no second one
    ClassesRoot_SetDefault("VembrolTest.Type\\shell", "edit");
    ClassesRoot_SetDefault("VembrolTest.Type\\shell\\edit\\command", R"(C:\Tools\edit.exe "%1")");
    ClassesRoot_SetDefault("VembrolTest.Type\\DefaultIcon", "C:\\icons\\no-comma.ico");

    Lookup open("x.vembroltest", "open");
    EXPECT_TRUE(open.found);
    EXPECT_EQ(open.command, "");
    EXPECT_EQ(open.program, "");
    EXPECT_EQ(open.iconFile, "caller.ico");
    EXPECT_EQ(open.iconIndex, 42);

    Lookup edit("x.vembroltest", "edit");
    EXPECT_EQ(edit.program, R"(C:\Tools\edit.exe)");
}

TEST(FileTypeLookup, UnregisteredExtensionOrNoExtensionFindsNothingAndTouchesNothing) {
    for (const char* file : {"C:\\Text.vembrolnone", "C:\\noextension"}) {
        Lookup none(file, "open");
        EXPECT_FALSE(none.found) << file;
        EXPECT_EQ(none.description, "<untouched>") << file;
        EXPECT_EQ(none.iconFile, "  caller.ico  ") << file;
        EXPECT_EQ(none.iconIndex, 42) << file;
    }
}

// ".html" pointed at a test type for the length of a test; the prefix's own association and
// the stand-ins are given back afterwards.
struct WebSetup {
    ClassesRootGuard guard{".html", {"VembrolTest.Html"}};
    wintest::ScratchDir dir{"web"};
    PlantedProgram explorer{wintest::ThisExe_Directory() + "explorer.exe"};
    void Register(const std::string& command) {
        ClassesRoot_SetDefault(".html", "VembrolTest.Html");
        ClassesRoot_SetDefault("VembrolTest.Html\\shell\\open\\command", command);
    }
};

TEST(WebSite, RegisteredBrowserInBlankDirectoryGetsTheAddressAndNoPlantedPrefixRuns) {
    WebSetup web;
    PlantedProgram browser(web.dir.Path() + "Browser Dir\\browser.exe");
    PlantedProgram planted(web.dir.Path() + "Browser.exe");
    const struct {
        std::string registered, commandLine;
    } cases[] = {
        {"\"" + browser.Path() + "\" \"%1\"", browser.Path() + " www.vembrol.example"},
        {"\"" + browser.Path() + "\" -url \"%1\"", browser.Path() + " -url www.vembrol.example"},
    };
    std::size_t starts = 0;
    for (const auto& c : cases) {
        web.Register(c.registered);
        WebSite_Open();
        const auto started = StartLog_WaitFor(browser.LogPath(), ++starts);
        ASSERT_EQ(started.size(), starts) << c.registered;
        EXPECT_EQ(started.back().commandLine, c.commandLine);
    }
    Sleep(300);
    EXPECT_TRUE(StartLog_Read(planted.LogPath()).empty());
    EXPECT_TRUE(StartLog_Read(web.explorer.LogPath()).empty());
}

TEST(WebSite, ExplorerIsStartedWithTheAddressWhenTheRegisteredBrowserCannotBe) {
    WebSetup web;
    PlantedProgram planted(web.dir.Path() + "Gone.exe");  // the prefix of the missing browser's path
    const std::string registrations[] = {
        "\"" + web.dir.Path() + "Gone Dir\\browser.exe\" \"%1\"",
        web.dir.Path() + "missing.exe %1",
        "",
    };
    std::size_t starts = 0;
    for (const auto& registered : registrations) {
        web.Register(registered);
        WebSite_Open();
        const auto started = StartLog_WaitFor(web.explorer.LogPath(), ++starts);
        ASSERT_EQ(started.size(), starts) << registered;
        EXPECT_TRUE(TextContains(started.back().commandLine, "explorer.exe www.vembrol.example"))
            << started.back().commandLine;
    }
    Sleep(300);
    EXPECT_TRUE(StartLog_Read(planted.LogPath()).empty());
}

TEST(WebSite, NeitherBrowserStartingGivesExactlyOneMessage) {
    WebSetup web;
    web.Register(web.dir.Path() + "missing.exe \"%1\"");
    // An empty explorer.exe in the application directory is found first and cannot be started.
    PlantedProgram brokenExplorer(web.explorer.Path(), true);
    wintest::BoxAnswerer answerer({"OK", "OK"}, 2000);
    WebSite_Open();
    const auto& boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vembrol Starter");
    EXPECT_EQ(boxes[0].text,
              "Error starting Internet browser application, please go to www.vembrol.example manually !");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes[0].icon, wintest::BoxIcon::Exclamation);
}

}  // namespace
