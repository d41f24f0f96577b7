#pragma once
// The texts of the page's two reference memos: Bolton's published tables in three column
// groups, aligned with tabs, with decimal commas as the clinician reads them on paper.

#include <QString>

#include <utility>
#include <vector>

namespace qv {

using BoltonRows = std::vector<std::pair<double, double>>;

// Bolton's published tables, as the memos show them.
const BoltonRows& PublishedOverallTable();   // 26 rows, S 85 .. 110
const BoltonRows& PublishedAnteriorTable();  // 31 rows, S 40.0 .. 55.0

// groupSizes: rows per column group, left to right. Whole maxillary values are written
// without decimals when wholeMaxillary is set. Lines are separated by '\n'.
QString BoltonMemoText(const BoltonRows& rows, const std::vector<int>& groupSizes, bool wholeMaxillary);

QString Memo12Text();  // the overall table, groups of rows 1-9, 10-18, 19-26
QString Memo6Text();   // the anterior table, groups of rows 1-11, 12-21, 22-31

}  // namespace qv
