#include "analysis/BoltonMemo.h"

#include "entry/RealEntry.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

QString decimalComma(double v)
{
    QString t = F1(v);
    t.replace(u'.', u',');
    return t;
}

}  // namespace

const BoltonRows& PublishedOverallTable()
{
    static const BoltonRows rows = {
        {85, 77.6}, {86, 78.5}, {87, 79.4}, {88, 80.3}, {89, 81.3},  {90, 82.1},  {91, 83.1},
        {92, 84.0}, {93, 84.9}, {94, 85.8}, {95, 86.7}, {96, 87.6},  {97, 88.6},  {98, 89.5},
        {99, 90.4}, {100, 91.3}, {101, 92.2}, {102, 93.1}, {103, 94.0}, {104, 95.0}, {105, 95.9},
        {106, 96.8}, {107, 97.8}, {108, 98.6}, {109, 99.5}, {110, 100.4}};
    return rows;
}

const BoltonRows& PublishedAnteriorTable()
{
    static const BoltonRows rows = {
        {40.0, 30.9}, {40.5, 31.3}, {41.0, 31.7}, {41.5, 32.0}, {42.0, 32.4}, {42.5, 32.8}, {43.0, 33.2},
        {43.5, 33.6}, {44.0, 34.0}, {44.5, 34.4}, {45.0, 34.7}, {45.5, 35.1}, {46.0, 35.5}, {46.5, 35.9},
        {47.0, 36.3}, {47.5, 36.7}, {48.0, 37.1}, {48.5, 37.4}, {49.0, 37.8}, {49.5, 38.2}, {50.0, 38.6},
        {50.5, 39.0}, {51.0, 39.4}, {51.5, 39.8}, {52.0, 40.1}, {52.5, 40.5}, {53.0, 40.9}, {53.5, 41.3},
        {54.0, 41.7}, {54.5, 42.1}, {55.0, 42.5}};
    return rows;
}

QString BoltonMemoText(const BoltonRows& rows, const std::vector<int>& groupSizes, bool wholeMaxillary)
{
    QStringList lines;
    lines << QString();
    QStringList header;
    for (size_t g = 0; g < groupSizes.size(); ++g)
        header << QStringLiteral("S\tI");
    lines << header.join(QStringLiteral("\t\t"));
    lines << QString(89, u'-');

    int tallest = 0;
    for (int n : groupSizes)
        tallest = std::max(tallest, n);
    for (int line = 0; line < tallest; ++line) {
        if (line > 0)
            lines << QString();
        QStringList entries;
        int first = 0;
        for (int n : groupSizes) {
            if (line < n) {
                const auto& [s, i] = rows[size_t(first + line)];
                const QString maxillary = wholeMaxillary && s == std::floor(s) ? F0(s) : decimalComma(s);
                entries << maxillary + QStringLiteral(" --\t") + decimalComma(i);
            }
            first += n;
        }
        lines << entries.join(QStringLiteral("\t\t"));
    }
    return lines.join(u'\n');
}

QString Memo12Text() { return BoltonMemoText(PublishedOverallTable(), {9, 9, 8}, true); }

QString Memo6Text() { return BoltonMemoText(PublishedAnteriorTable(), {11, 10, 10}, false); }

}  // namespace qv
