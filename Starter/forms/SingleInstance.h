// Detects a Starter already running in the same user session.
#pragma once

// True when no other Starter runs in this session; this process then counts as the running one
// until it ends.
bool SingleInstance_Claim();
