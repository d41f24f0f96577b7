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
const QString kDash = QStringLiteral("—");

enum Column { Name, Value, Norm, Off, ColumnCount };

QString levelWords(Deviation::Level level)
{
    switch (level) {
    case Deviation::Within:
        return QStringLiteral("dentro de 1 desvio-padrão");
    case Deviation::Beyond1:
        return QStringLiteral("fora de 1 desvio-padrão");
    case Deviation::Beyond2:
        return QStringLiteral("fora de 2 desvios-padrão");
    }
    return {};
}

}  // namespace

QString CephValueText(Ceph m, double value)
{
    const CephUnit unit = Info(m).unit;
    return F1(value) + (unit == CephUnit::Degree ? QString() : QStringLiteral(" ")) + UnitText(unit);
}

CephRowTexts CephRow(Ceph m, const CephValues& values, const CephNorms& norms, const LandmarkSet& points)
{
    CephRowTexts t;
    const MeasureResult& r = values[m];
    t.norm = NormText(norms[m]);
    switch (r.status) {
    case MeasureResult::Value: {
        t.value = CephValueText(m, r.value);
        t.spoken = t.value;
        if (const auto d = DeviationOf(r.value, norms[m])) {
            t.deviation = DeviationText(*d);
            t.level = d->level;
            t.spoken += QStringLiteral(", ") + t.deviation + QStringLiteral(", ") + levelWords(d->level);
        }
        return t;
    }
    case MeasureResult::Missing: {
        QStringList missing;
        for (Landmark l : MissingLandmarks(m, points))
            missing << LandmarkCode(l);
        t.deviation = QStringLiteral("falta ") + missing.join(QStringLiteral(", "));
        break;
    }
    case MeasureResult::Uncalibrated:
        t.deviation = QStringLiteral("sem calibração");
        break;
    case MeasureResult::Undefined:
        t.deviation = QStringLiteral("indefinida");
        break;
    }
    t.value = kDash;
    t.spoken = QStringLiteral("sem valor, ") + t.deviation;
    return t;
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

void CephTable::setAnalyses(const std::vector<CephAnalysis>& analyses)
{
    m_keys.clear();
    for (CephAnalysis a : analyses) {
        m_keys.push_back(-1 - int(a));
        for (Ceph m : MeasuresOf(a))
            m_keys.push_back(int(m));
    }
    table->clearSpans();
    table->setRowCount(int(m_keys.size()));
    for (int row = 0; row < int(m_keys.size()); ++row) {
        const int key = m_keys[size_t(row)];
        if (key < 0) {
            auto* heading = new QTableWidgetItem(Title(CephAnalysis(-1 - key)));
            QFont f = heading->font();
            f.setBold(true);
            heading->setFont(f);
            heading->setBackground(QColor(230, 230, 230));
            table->setItem(row, Name, heading);
            table->setSpan(row, Name, 1, ColumnCount);
            continue;
        }
        const Ceph m = Ceph(key);
        auto* caption = new QTableWidgetItem(Caption(m));
        caption->setToolTip(Caption(m) + QStringLiteral(" (") + Title(Info(m).analysis) + QLatin1Char(')'));
        table->setItem(row, Name, caption);
        for (int c : {Value, Norm, Off}) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, c, item);
        }
    }
}

int CephTable::rowOf(Ceph m) const
{
    const auto at = std::find(m_keys.begin(), m_keys.end(), int(m));
    return at == m_keys.end() ? -1 : int(at - m_keys.begin());
}

void CephTable::show(const CephValues& values, const CephNorms& norms, const LandmarkSet& points)
{
    for (int row = 0; row < int(m_keys.size()); ++row) {
        if (m_keys[size_t(row)] < 0)
            continue;
        const Ceph m = Ceph(m_keys[size_t(row)]);
        const CephRowTexts t = CephRow(m, values, norms, points);
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
        const QString described = Caption(m) + QStringLiteral(", ") + Title(Info(m).analysis) + QStringLiteral(": ") + t.spoken +
                                  (t.norm.isEmpty() ? QString() : QStringLiteral("; norma ") + t.norm);
        value->setData(Qt::AccessibleTextRole, t.spoken);
        value->setData(Qt::AccessibleDescriptionRole, described);
        value->setToolTip(described);
        off->setData(Qt::AccessibleDescriptionRole, described);
        off->setToolTip(described);
    }
}

}  // namespace qv
