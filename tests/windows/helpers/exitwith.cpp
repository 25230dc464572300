// Test helper: ends with the status given as its first argument (0 without one).
#include <cstdlib>

int main(int argc, char** argv) {
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
