#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ordinalette::bench {

// The given number of file names of the kinds a photo folder holds: camera names in both letter
// cases, numbered names, Japanese names; the same names on every run.
std::vector<std::string> sampleFileNames(int count);

// Creates an empty file of every name in folder.
void createFiles(const std::string& folder, const std::vector<std::string>& names);

// Wall time of one call of work, in milliseconds.
double millisecondsOf(const std::function<void()>& work);

// Calls a and b runs times each, taking turns at going first, so that both meet the same
// machine load and folder states.
void takeTurns(int runs, const std::function<void()>& a, const std::function<void()>& b);

// The middle one of the times (the upper middle one of an even count).
double median(std::vector<double> times);

// Median wall time of runs calls of work, in milliseconds.
double medianMilliseconds(int runs, const std::function<void()>& work);

} // namespace ordinalette::bench
