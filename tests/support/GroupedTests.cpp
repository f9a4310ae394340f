#include "GroupedTests.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int runGroupedTest(int argc, char *argv[], const GroupedTest *tests, std::size_t count)
{
    const auto find = [&](const char *name) -> const GroupedTest * {
        for (std::size_t i = 0; name && i < count; ++i) {
            if (std::strcmp(tests[i].name, name) == 0)
                return &tests[i];
        }
        return nullptr;
    };
    const GroupedTest *test = argc >= 2 ? find(argv[1]) : nullptr;
    const bool named = test != nullptr;
    if (!test)
        test = find(std::getenv("DOCCAM_TEST_PROGRAM"));
    if (!test && count == 1)
        test = &tests[0];
    if (!test) {
        std::fprintf(stderr, "usage: %s <test> [Qt Test arguments]\ntests in this program:\n", argv[0]);
        for (std::size_t i = 0; i < count; ++i)
            std::fprintf(stderr, "  %s\n", tests[i].name);
        return 2;
    }
    setenv("DOCCAM_TEST_PROGRAM", test->name, 1);

    static std::string self;
    self = argv[0];
    const std::size_t slash = self.rfind('/');
    self = (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + test->name;
    static std::vector<char *> arguments;
    arguments.assign(1, &self[0]);
    for (int i = named ? 2 : 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    static int argumentCount;
    argumentCount = int(arguments.size());
    arguments.push_back(nullptr);
    return test->run(argumentCount, arguments.data());
}
