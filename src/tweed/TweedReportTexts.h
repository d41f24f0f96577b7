#pragma once
// What the Tweed report reads from the page: the texts of its fields and labels, by name.

#include "printing/ReportParams.h"

class QWidget;

namespace qv {

TweedReportTexts ReadTweedReportTexts(const QWidget& page);

}  // namespace qv
