#pragma once
// Bolton's published tables, typed in from the printed analysis for the tests alone, so that
// neither the data source nor the program's own copy checks itself.

#include <utility>
#include <vector>

namespace qv::test {

// S (maxillary twelve) -> I (mandibular twelve)
inline const std::vector<std::pair<double, double>> kOverall = {
    {85, 77.6},  {86, 78.5},  {87, 79.4},  {88, 80.3},  {89, 81.3},  {90, 82.1},  {91, 83.1},
    {92, 84.0},  {93, 84.9},  {94, 85.8},  {95, 86.7},  {96, 87.6},  {97, 88.6},  {98, 89.5},
    {99, 90.4},  {100, 91.3}, {101, 92.2}, {102, 93.1}, {103, 94.0}, {104, 95.0}, {105, 95.9},
    {106, 96.8}, {107, 97.8}, {108, 98.6}, {109, 99.5}, {110, 100.4},
};

// S (maxillary six) -> I (mandibular six)
inline const std::vector<std::pair<double, double>> kAnterior = {
    {40.0, 30.9}, {40.5, 31.3}, {41.0, 31.7}, {41.5, 32.0}, {42.0, 32.4}, {42.5, 32.8},
    {43.0, 33.2}, {43.5, 33.6}, {44.0, 34.0}, {44.5, 34.4}, {45.0, 34.7}, {45.5, 35.1},
    {46.0, 35.5}, {46.5, 35.9}, {47.0, 36.3}, {47.5, 36.7}, {48.0, 37.1}, {48.5, 37.4},
    {49.0, 37.8}, {49.5, 38.2}, {50.0, 38.6}, {50.5, 39.0}, {51.0, 39.4}, {51.5, 39.8},
    {52.0, 40.1}, {52.5, 40.5}, {53.0, 40.9}, {53.5, 41.3}, {54.0, 41.7}, {54.5, 42.1},
    {55.0, 42.5},
};

}  // namespace qv::test
