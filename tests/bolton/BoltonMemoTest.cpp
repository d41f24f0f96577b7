// The reference memos: layout of the text and the values they show.

#include "analysis/BoltonMemo.h"
#include "bolton/PublishedTable.h"

#include <QRegularExpression>
#include <QStringList>

#include "bolton/QStringPrinting.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

const QString kRule = QString(89, u'-');

TEST(BoltonMemo, OverallTableText)
{
    const QStringList lines = Memo12Text().split(u'\n');
    ASSERT_EQ(lines.size(), 3 + 9 + 8);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral("S\tI\t\tS\tI\t\tS\tI"));
    EXPECT_EQ(lines[2], kRule);
    EXPECT_EQ(lines[3], QStringLiteral("85 --\t77,6\t\t94 --\t85,8\t\t103 --\t94,0"));
    EXPECT_EQ(lines[4], QString());
    EXPECT_EQ(lines[5], QStringLiteral("86 --\t78,5\t\t95 --\t86,7\t\t104 --\t95,0"));
    EXPECT_EQ(lines[17], QStringLiteral("92 --\t84,0\t\t101 --\t92,2\t\t110 --\t100,4"));
    // The third group has one row fewer.
    EXPECT_EQ(lines[19], QStringLiteral("93 --\t84,9\t\t102 --\t93,1"));
}

TEST(BoltonMemo, AnteriorTableText)
{
    const QStringList lines = Memo6Text().split(u'\n');
    ASSERT_EQ(lines.size(), 3 + 11 + 10);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral("S\tI\t\tS\tI\t\tS\tI"));
    EXPECT_EQ(lines[2], kRule);
    EXPECT_EQ(lines[3], QStringLiteral("40,0 --\t30,9\t\t45,5 --\t35,1\t\t50,5 --\t39,0"));
    EXPECT_EQ(lines[21], QStringLiteral("44,5 --\t34,4\t\t50,0 --\t38,6\t\t55,0 --\t42,5"));
    EXPECT_EQ(lines[22], QString());
    EXPECT_EQ(lines[23], QStringLiteral("45,0 --\t34,7"));
}

// Reads the memo's entries back in table order (down each group, then the next group).
std::vector<std::pair<double, double>> entries(const QString& text, const std::vector<int>& groups)
{
    std::vector<std::vector<std::pair<double, double>>> columns(groups.size());
    const QStringList lines = text.split(u'\n');
    static const QRegularExpression entry(QStringLiteral("^([0-9]+(?:,[0-9])?) --\t([0-9]+,[0-9])$"));
    for (qsizetype l = 3; l < lines.size(); l += 2) {
        const QStringList cells = lines[l].split(QStringLiteral("\t\t"));
        for (qsizetype g = 0; g < cells.size(); ++g) {
            const auto m = entry.match(cells[g]);
            EXPECT_TRUE(m.hasMatch()) << cells[g].toStdString();
            columns[size_t(g)].emplace_back(m.captured(1).replace(u',', u'.').toDouble(),
                                            m.captured(2).replace(u',', u'.').toDouble());
        }
    }
    std::vector<std::pair<double, double>> rows;
    for (size_t g = 0; g < groups.size(); ++g) {
        EXPECT_EQ(int(columns[g].size()), groups[g]);
        rows.insert(rows.end(), columns[g].begin(), columns[g].end());
    }
    return rows;
}

TEST(BoltonMemo, ShowsEveryPublishedValue)
{
    EXPECT_EQ(entries(Memo12Text(), {9, 9, 8}), test::kOverall);
    EXPECT_EQ(entries(Memo6Text(), {11, 10, 10}), test::kAnterior);
}

}  // namespace
