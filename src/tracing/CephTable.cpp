#include "tracing/CephTable.h"

#include "entry/RealEntry.h"

#include <QHeaderView>
#include <QTableWidget>

namespace qv {

namespace {

const QColor kValue(0, 0, 255);
const QColor kMissing(120, 120, 120);
const QColor kAmber(255, 204, 102);
const QColor kRed(255, 128, 128);
constexpr int kRowHeight = 21;

enum Column { Name, Value, Norm, Off, ColumnCount };

}  // namespace

CephRowTexts CephRow(CephKey k, const AnalysisCatalogue& catalogue, const CephValues& values, const CephNorms& norms,
                     const LandmarkSet& points)
{
    const MeasureDefinition& m = MeasureOf(catalogue, k);
    return WordResult(values[k], m.unit, norms[k], MissingLandmarks(m, points));
}

QTableWidget* CephTable::build()
{
    table = new QTableWidget(0, ColumnCount);
    table->setObjectName(QStringLiteral("cefalometria"));
    table->setAccessibleName(QStringLiteral("Medidas das análises"));
    table->setHorizontalHeaderLabels({QStringLiteral("Medida"), QStringLiteral("Valor"), QStringLiteral("Norma"),
                                      QStringLiteral("Desvio")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* h = table->horizontalHeader();
    h->setSectionResizeMode(Name, QHeaderView::Stretch);
    for (int c : {Value, Norm, Off})
        h->setSectionResizeMode(c, QHeaderView::Fixed);
    table->setColumnWidth(Value, 62);
    table->setColumnWidth(Norm, 88);
    table->setColumnWidth(Off, 70);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

void CephTable::setAnalyses(std::shared_ptr<const AnalysisCatalogue> catalogue, const std::vector<int>& analyses)
{
    m_catalogue = std::move(catalogue);
    m_keys.clear();
    for (int a : analyses) {
        m_keys.push_back({a, -1});
        for (size_t m = 0; m < m_catalogue->analyses[size_t(a)].measures.size(); ++m)
            m_keys.push_back({a, int(m)});
    }
    table->clearSpans();
    table->setRowCount(int(m_keys.size()));
    for (int row = 0; row < int(m_keys.size()); ++row) {
        const CephKey key = m_keys[size_t(row)];
        const AnalysisDefinition& a = m_catalogue->analyses[size_t(key.analysis)];
        if (key.measure < 0) {
            auto* heading = new QTableWidgetItem(a.title);
            QFont f = heading->font();
            f.setBold(true);
            heading->setFont(f);
            heading->setBackground(QColor(230, 230, 230));
            table->setItem(row, Name, heading);
            table->setSpan(row, Name, 1, ColumnCount);
            continue;
        }
        const QString& name = a.measures[size_t(key.measure)].caption;
        auto* caption = new QTableWidgetItem(name);
        caption->setToolTip(name + QStringLiteral(" (") + a.title + QLatin1Char(')'));
        table->setItem(row, Name, caption);
        for (int c : {Value, Norm, Off}) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, c, item);
        }
    }
}

int CephTable::rowOf(CephKey k) const
{
    const auto at = std::find(m_keys.begin(), m_keys.end(), k);
    return at == m_keys.end() ? -1 : int(at - m_keys.begin());
}

void CephTable::show(const CephValues& values, const CephNorms& norms, const LandmarkSet& points)
{
    for (int row = 0; row < int(m_keys.size()); ++row) {
        const CephKey m = m_keys[size_t(row)];
        if (m.measure < 0)
            continue;
        const CephRowTexts t = CephRow(m, *m_catalogue, values, norms, points);
        QTableWidgetItem* value = table->item(row, Value);
        QTableWidgetItem* norm = table->item(row, Norm);
        QTableWidgetItem* off = table->item(row, Off);
        if (norm->text() != t.norm) {
            norm->setText(t.norm);
            norm->setToolTip(t.norm.isEmpty() ? QStringLiteral("sem norma") : QStringLiteral("norma: ") + t.norm);
        }
        if (value->text() == t.value && off->text() == t.deviation && value->data(Qt::AccessibleTextRole) == t.spoken)
            continue;
        const bool measured = values[m].ok();
        const QBrush background = !t.level || *t.level == Deviation::Within ? QBrush()
                                  : *t.level == Deviation::Beyond1          ? QBrush(kAmber)
                                                                            : QBrush(kRed);
        for (QTableWidgetItem* item : {value, off}) {
            QFont f = item->font();
            f.setItalic(!measured);
            item->setFont(f);
            item->setBackground(background);
            item->setForeground(!measured ? kMissing : background.style() == Qt::NoBrush ? kValue : QColor(Qt::black));
        }
        value->setText(t.value);
        off->setText(t.deviation);
        // The colour alone says nothing to a screen reader: the value is read with its deviation.
        const AnalysisDefinition& a = m_catalogue->analyses[size_t(m.analysis)];
        const QString described = a.measures[size_t(m.measure)].caption + QStringLiteral(", ") + a.title + QStringLiteral(": ") + t.spoken +
                                  (t.norm.isEmpty() ? QString() : QStringLiteral("; norma ") + t.norm);
        value->setData(Qt::AccessibleTextRole, t.spoken);
        value->setData(Qt::AccessibleDescriptionRole, described);
        value->setToolTip(described);
        off->setData(Qt::AccessibleDescriptionRole, described);
        off->setToolTip(described);
    }
}

}  // namespace qv
