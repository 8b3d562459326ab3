// Every test program, and every program a test starts, runs with the build's
// folders for the machine's common data and the user's own data, and the
// build's settings file: a test never reads an installed catalog or the real
// user's settings, nor writes the real user's data folder. Set before main(),
// so that it holds for the tests' own programs as well.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("ZEFRANT_COMMON_APPDATA", ZEFRANT_TEST_COMMON_APPDATA, 1);
        setenv("ZEFRANT_USER_DATA", ZEFRANT_TEST_USER_DATA, 1);
        setenv("ZEFRANT_SETTINGS", ZEFRANT_TEST_SETTINGS, 1);
    }
};
const TestEnvironment environment;

} // namespace
