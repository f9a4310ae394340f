// The object that makes the test programs' precompiled headers (tests/CMakeLists.txt); it has
// nothing of its own.
