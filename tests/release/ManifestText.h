// The few settings of an application manifest that the release promises, read from its XML text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ManifestSettings {
    // The version of the Microsoft.Windows.Common-Controls dependency; "" when there is none.
    std::string commonControlsVersion;
    // The level of every requestedExecutionLevel element, in document order.
    std::vector<std::string> executionLevels;
    // The text of every dpiAware element, blanks trimmed, in document order.
    std::vector<std::string> dpiAware;
};

// Comments are skipped and namespace prefixes ignored, as Windows' own reader does; this is no
// validating parser, but it never reports a setting that sits only in a comment or an attribute
// of another element.
ManifestSettings Manifest_Read(std::string_view xml);

// Whether Windows takes a dpiAware text as system or per-monitor awareness.
bool DpiAware_IsOn(const std::string& text);
