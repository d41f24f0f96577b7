#pragma once
// The shared main of the benchmark programs that use widgets.

#include <QString>

#include <functional>

namespace qv::bench {

// Another thing a benchmark program can do instead of timing: run when `option` is given
// ("--screenshots <folder>" hands `run` the folder when it takes a value).
struct OtherMode {
    const char* option = nullptr;
    bool takesValue = false;
    std::function<int(const QString& value)> run;
};

// A QApplication (offscreen unless QT_QPA_PLATFORM says otherwise), the program's modules found
// where the build puts them, then Google Benchmark with the remaining arguments.
int RunWidgetBenchmarks(int argc, char** argv, const OtherMode& other = {});

}  // namespace qv::bench
