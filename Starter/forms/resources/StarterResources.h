// Resource identifiers shared by the resource script and the code that loads them.
#pragma once

#define IDI_STARTER 1
