#include "tracing/CephTable.h"

#include "entry/RealEntry.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace qv {

namespace {

const QColor kValue(0, 0, 255);
const QColor kMissing(120, 120, 120);
const QColor kAmber(255, 204, 102);
const QColor kRed(255, 128, 128);
constexpr int kRowHeight = 21;
constexpr int kMarkedRowHeight = 34;

enum Column { Name, Value, Norm, Off, ColumnCount };

// A value resting on points still only proposed: the value on its line and the mark under it in
// smaller italics, so the column keeps its width and every measure its name. The text stays
// "84.1° (proposto)" for a screen reader and a copy.
class MarkedValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.endsWith(ProposedMark())) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        o.text.clear();
        QStyle* style = o.widget ? o.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &o, o.widget).adjusted(0, 1, -3, -1);
        const int half = r.height() / 2;
        painter->save();
        painter->setPen(o.palette.color(QPalette::Text));
        painter->setFont(o.font);
        painter->drawText(r.adjusted(0, 0, 0, -half), Qt::AlignRight | Qt::AlignVCenter, text.chopped(ProposedMark().size()));
        QFont small = o.font;
        small.setItalic(true);
        small.setPointSizeF(o.font.pointSizeF() * 0.85);
        painter->setFont(small);
        painter->drawText(r.adjusted(0, r.height() - half, 0, 0), Qt::AlignRight | Qt::AlignVCenter, ProposedMark().trimmed());
        painter->restore();
    }
};

}  // namespace

CephRowTexts CephRow(CephKey k, const AnalysisCatalogue& catalogue, const CephValues& values, const CephNorms& norms,
                     const LandmarkSet& points, const LandmarkFlags& proposed)
{
    const MeasureDefinition& m = MeasureOf(catalogue, k);
    return WordResult(values[k], m.unit, norms[k], MissingLandmarks(m, points), ProposedLandmarks(m.landmarks, proposed));
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
    table->setItemDelegateForColumn(Value, new MarkedValueDelegate(table));
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

void CephTable::show(const CephValues& values, const CephNorms& norms, const LandmarkSet& points, const LandmarkFlags& proposed)
{
    for (int row = 0; row < int(m_keys.size()); ++row) {
        const CephKey m = m_keys[size_t(row)];
        if (m.measure < 0)
            continue;
        const CephRowTexts t = CephRow(m, *m_catalogue, values, norms, points, proposed);
        QTableWidgetItem* value = table->item(row, Value);
        QTableWidgetItem* norm = table->item(row, Norm);
        QTableWidgetItem* off = table->item(row, Off);
        const int height = t.mark.isEmpty() ? kRowHeight : kMarkedRowHeight;
        if (table->rowHeight(row) != height)
            table->setRowHeight(row, height);
        if (norm->text() != t.norm) {
            norm->setText(t.norm);
            norm->setToolTip(t.norm.isEmpty() ? QStringLiteral("sem norma") : QStringLiteral("norma: ") + t.norm);
        }
        // The colour alone says nothing to a screen reader: the value is read with its deviation,
        // and with the points it still waits to have confirmed.
        const AnalysisDefinition& a = m_catalogue->analyses[size_t(m.analysis)];
        QString described = a.measures[size_t(m.measure)].caption + QStringLiteral(", ") + a.title + QStringLiteral(": ") + t.spoken +
                            (t.norm.isEmpty() ? QString() : QStringLiteral("; norma ") + t.norm);
        if (!t.proposed.empty())
            described += QStringLiteral("\n") + ProposedPointsText(t.proposed);
        if (value->text() == t.marked() && off->text() == t.deviation && value->toolTip() == described)
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
        value->setText(t.marked());
        off->setText(t.deviation);
        value->setData(Qt::AccessibleTextRole, t.spoken);
        value->setData(Qt::AccessibleDescriptionRole, described);
        value->setToolTip(described);
        off->setData(Qt::AccessibleDescriptionRole, described);
        off->setToolTip(described);
    }
}

}  // namespace qv
