// The chain completion exactly as first written: restart the sweep from the first entry after
// every append. Cubic, kept only as the reference that the fast plans are checked against.
#pragma once

#include "RemovalPlan.h"

void LiteralSweep_Complete(std::vector<ChainEntry>& list, std::size_t limit = RemovalPlan_MaxEntries);
// The plans on the literal sweep, unordered, with the fast plans' dropped entries (root 0 for
// directories).
std::vector<ChainEntry> LiteralSweep_DirectoryPlan(const std::vector<FileRecord>& files);
std::vector<ChainEntry> LiteralSweep_RegistryKeyPlan(const std::vector<RegKeyRecord>& keys);
