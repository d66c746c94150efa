// The manifest reader that the release check relies on: it must find the settings wherever
// Windows would and nowhere Windows would not.
#include "ManifestText.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    const char* xml;
    const char* commonControls;
    std::vector<std::string> levels;
    std::vector<std::string> dpiAware;
};

const char kComplete[] = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Vembrol.Starter" version="1.0.0.0" processorArchitecture="x86"/>
  <dependency><dependentAssembly>
    <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                      processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*"/>
  </dependentAssembly></dependency>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3"><security><requestedPrivileges>
    <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
  </requestedPrivileges></security></trustInfo>
  <application xmlns="urn:schemas-microsoft-com:asm.v3"><windowsSettings>
    <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings"> true </dpiAware>
  </windowsSettings></application>
</assembly>)";

TEST(ManifestReading, FindsTheSettingsOnlyWhereWindowsWouldTakeThem) {
    const std::vector<Case> cases = {
        {"complete", kComplete, "6.0.0.0", {"asInvoker"}, {"true"}},
        {"commented out",
         R"(<assembly><!-- <requestedExecutionLevel level="asInvoker"/>
              <assemblyIdentity name="Microsoft.Windows.Common-Controls" version="6.0.0.0"/> -->
              <dpiAware>true</dpiAware><!-- unclosed <requestedExecutionLevel level="x"/></assembly>)",
         "", {}, {"true"}},
        {"namespace prefixes and single quotes",
         R"(<asmv1:assembly><asmv3:trustInfo><asmv3:requestedExecutionLevel uiAccess='false'
              level='requireAdministrator' /></asmv3:trustInfo>
              <ws:dpiAware>True/PM</ws:dpiAware></asmv1:assembly>)",
         "", {"requireAdministrator"}, {"True/PM"}},
        {"another assembly's version is not the common controls'",
         R"(<assembly><assemblyIdentity name="Vembrol.Uninstall" version="6.0.0.0"/>
              <assemblyIdentity name="Microsoft.Windows.Common-Controls" version="5.82.0.0"/></assembly>)",
         "5.82.0.0", {}, {}},
        {"a name inside another attribute is no attribute",
         R"(<assembly><requestedExecutionLevel uiAccess="false" xlevel="asInvoker"/></assembly>)",
         "", {""}, {}},
        {"two levels are both reported",
         R"(<assembly><requestedExecutionLevel level="asInvoker"/><requestedExecutionLevel level="requireAdministrator"/></assembly>)",
         "", {"asInvoker", "requireAdministrator"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ManifestSettings s = Manifest_Read(c.xml);
        EXPECT_EQ(s.commonControlsVersion, c.commonControls);
        EXPECT_EQ(s.executionLevels, c.levels);
        EXPECT_EQ(s.dpiAware, c.dpiAware);
    }
}

TEST(ManifestReading, DpiAwarenessCountsOnlyTheWordsWindowsAccepts) {
    for (const char* on : {"true", "TRUE", " True/PM ", "per monitor"}) EXPECT_TRUE(DpiAware_IsOn(on)) << on;
    for (const char* off : {"", "false", "1", "yes", "truely"}) EXPECT_FALSE(DpiAware_IsOn(off)) << off;
}

}  // namespace
