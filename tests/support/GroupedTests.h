#pragma once

#include <cstddef>

// One test file of a grouped test program: its name (the file's, as CTest knows the test) and
// its main(), which the build renames <name>_main.
struct GroupedTest
{
    const char *name;
    int (*run)(int argc, char *argv[]);
};

// The main() of a grouped program: `<program> <test> [Qt Test arguments]` runs one test file's
// main() with the remaining arguments, and argv[0] named after the test, so that the application
// name and everything derived from it stay as they were for a program of its own. A process the
// test starts from its own program with arguments of its own (a child role, a single test
// function) finds its test in DOCCAM_TEST_PROGRAM, which is set for it.
// Thread contract: called once, from main(), before any thread is started.
int runGroupedTest(int argc, char *argv[], const GroupedTest *tests, std::size_t count);
