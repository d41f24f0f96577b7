// The history and plan files: any bytes split into the name and lines; writing those lines and
// reading them again gives the same name and lines.

#include "FuzzCheck.h"
#include "records/HistoryFile.h"
#include "records/PlanFile.h"
#include "records/TextFile.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    const PlanContents plan = ParsePlan(bytes);
    const QByteArray encoded = EncodePlan(plan);
    const PlanContents again = ParsePlan(encoded);
    fuzz::Check(again.patient == plan.patient, "name line");
    fuzz::Check(again.lines == plan.lines, "lines");
    fuzz::Check(EncodePlan(again) == encoded, "bytes of a decoded text");
    const HistoryContents history = ParseHistory(bytes);
    fuzz::Check(history.patient == plan.patient && history.lines == plan.lines, "history reads as the plan");
    // What a field keeps of the text is storable and stays so.
    const QString text = plan.lines.join(u'\n');
    const QString kept = StorableText(text);
    fuzz::Check(StorableText(kept) == kept, "storable text");
    return 0;
}
