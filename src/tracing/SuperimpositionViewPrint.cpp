#include "tracing/SuperimpositionViewPrint.h"

#include <QPagedPaintDevice>

namespace qv {

int SuperimpositionDocument::lastPage() const
{
    return int(SuperimpositionPages(m_sheet, pageLayout().paintRectPixels(96).height()).size());
}

int SuperimpositionDocument::print(QPagedPaintDevice& device, int from, int to, const report::ProgressFn& progress,
                                   QList<report::LaidPage>* laidOut) const
{
    const auto pages = SuperimpositionPages(m_sheet, device.pageLayout().paintRectPixels(96).height());
    return PaintSuperimpositionPages(device, m_stages, m_sheet, from, to, [&](int n) {
        if (progress && !progress(n, int(pages.size())))
            return false;
        if (laidOut) {
            report::LaidPage laid;
            if (n == 1)
                laid.blocks << m_sheet.title << m_sheet.note;
            laid.blocks << m_sheet.header.join(QLatin1Char(' '));
            for (int r = pages[size_t(n - 1)].first; r < pages[size_t(n - 1)].second; ++r)
                laid.blocks << m_sheet.rows[size_t(r)].join(QLatin1Char(' '));
            laidOut->append(laid);
        }
        return true;
    });
}

}  // namespace qv
