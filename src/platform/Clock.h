// Where the program's idea of "now" comes from, so that times can be fixed in tests.
#pragma once

#include <chrono>

namespace corvane {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point Now() const = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::system_clock::time_point Now() const override {
        return std::chrono::system_clock::now();
    }
};

} // namespace corvane
