// Counts the blocks of operator new that are still alive in this test
// program, so that a test can see what an operation frees.
#pragma once

#include <cstddef>

long LiveAllocations();
