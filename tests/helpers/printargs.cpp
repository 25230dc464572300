// Test helper: prints each argument it was given on a line of its own, in brackets, as split.
#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::printf("[%s]\n", argv[i]);
    }
}
