// The chain completion exactly as first written: restart the sweep from the first entry after
// every append. Cubic, kept only as the reference that the fast plan is checked against.
#pragma once

#include "EntrySet.h"
#include "RemovalPlan.h"

#include <cstddef>
#include <string>
#include <vector>

void LiteralSweep_Complete(std::vector<ChainEntry>& list, std::size_t limit = RemovalPlan_MaxEntries);

// The directory and registry plans built on the literal sweep, with the same dropped entries
// (paths naming no directory, key paths naming a root) as the fast plan.
std::vector<std::string> LiteralSweep_DirectoryPlan(const std::vector<FileRecord>& files);
std::vector<RegKeyRecord> LiteralSweep_RegistryKeyPlan(const std::vector<RegKeyRecord>& keys);
