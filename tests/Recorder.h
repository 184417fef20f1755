// A log of what the test classes were asked to do, in order.
#pragma once
#include <string>
#include <vector>

struct Recorder {
    std::vector<std::string> events;
    void Add(const std::string& event) { events.push_back(event); }
    void Clear() { events.clear(); }
};
