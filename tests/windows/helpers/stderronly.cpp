// Test helper: complains on standard error only and ends with status 3.
#include <cstdio>

int main() {
    std::fputs("stderronly: something went wrong\n", stderr);
    return 3;
}
