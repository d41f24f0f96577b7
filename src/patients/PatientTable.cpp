#include "patients/PatientTable.h"

#include <QLocale>

namespace qv {

namespace {

const QString kPresent = QStringLiteral("✔");

bool SameName(const PatientRow& a, const PatientRow& b) { return a.name == b.name; }

}  // namespace

PatientTableModel::PatientTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PatientTableModel::setRows(const QList<PatientRow>& rows)
{
    if (m_rows.isEmpty() || rows.isEmpty()) {
        // Nothing to keep: one reset is cheaper for the view than thousands of insertions.
        if (m_rows.isEmpty() && rows.isEmpty())
            return;
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    // Both lists are in name order: walk them together, removing, inserting and updating.
    int i = 0;
    int j = 0;
    while (i < m_rows.size() || j < rows.size()) {
        if (i < m_rows.size() && j < rows.size() && SameName(m_rows[i], rows[j])) {
            if (!(m_rows[i] == rows[j])) {
                m_rows[i] = rows[j];
                emit dataChanged(index(i, 0), index(i, ColumnCount - 1));
            }
            ++i;
            ++j;
        } else if (j >= rows.size() || (i < m_rows.size() && PatientNameLess(m_rows[i], rows[j]))) {
            // Gone: remove the run of old rows before the next new one.
            int last = i;
            while (last + 1 < m_rows.size()
                   && (j >= rows.size() || PatientNameLess(m_rows[last + 1], rows[j])))
                ++last;
            beginRemoveRows({}, i, last);
            m_rows.remove(i, last - i + 1);
            endRemoveRows();
        } else {
            // New: insert the run of new rows before the next old one.
            int last = j;
            while (last + 1 < rows.size()
                   && (i >= m_rows.size() || PatientNameLess(rows[last + 1], m_rows[i])))
                ++last;
            beginInsertRows({}, i, i + (last - j));
            for (int k = j; k <= last; ++k)
                m_rows.insert(i + (k - j), rows[k]);
            endInsertRows();
            i += last - j + 1;
            j = last + 1;
        }
    }
}

int PatientTableModel::rowOf(const QString& name) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].name == name)
            return r;
    return -1;
}

std::optional<std::pair<PatientFileKind, int>> PatientTableModel::fileKindOf(int column)
{
    switch (column) {
    case Inicial:
    case Inter1:
    case Inter2:
    case Final:
        return std::pair{PatientFileKind::Tweed, column - Inicial};
    case Bolton:
        return std::pair{PatientFileKind::Bolton, -1};
    case History:
        return std::pair{PatientFileKind::History, -1};
    case Plan:
        return std::pair{PatientFileKind::Plan, -1};
    default:
        return std::nullopt;
    }
}

QString PatientTableModel::fileAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const auto kind = fileKindOf(index.column());
    return kind ? m_rows[index.row()].file(kind->first, kind->second) : QString();
}

bool PatientTableModel::rowLess(int a, int b, int column) const
{
    const PatientRow& x = m_rows[a];
    const PatientRow& y = m_rows[b];
    if (column == History) {
        // More visits first when sorted up; an unreadable history after every readable one.
        const int vx = x.history.isEmpty() ? -2 : (x.historyInfo.readable ? x.historyInfo.visits : -1);
        const int vy = y.history.isEmpty() ? -2 : (y.historyInfo.readable ? y.historyInfo.visits : -1);
        if (vx != vy)
            return vx < vy;
    } else if (column == Traced) {
        const auto count = [](const PatientRow& r) {
            return std::count_if(r.tracings.begin(), r.tracings.end(), [](const QString& f) { return !f.isEmpty(); });
        };
        if (count(x) != count(y))
            return count(x) < count(y);
    } else if (column == LastChange) {
        if (x.lastChange != y.lastChange)
            return x.lastChange < y.lastChange;
    } else if (const auto kind = fileKindOf(column)) {
        const bool hx = !x.file(kind->first, kind->second).isEmpty();
        const bool hy = !y.file(kind->first, kind->second).isEmpty();
        if (hx != hy)
            return !hx;
    }
    return a < b;  // the model's own order is the name order
}

int PatientTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int PatientTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString PatientTableModel::historyText(const HistorySummary& h)
{
    if (!h.readable)
        return QStringLiteral("ilegível");
    if (h.visits == 0)
        return QStringLiteral("sem consultas");
    const QString count = h.visits == 1 ? QStringLiteral("1 consulta") : QStringLiteral("%1 consultas").arg(h.visits);
    return h.lastVisit.isEmpty() ? count : QStringLiteral("%1, última %2").arg(count, h.lastVisit);
}

QString PatientTableModel::dateText(const QDateTime& when)
{
    return when.isValid() ? when.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : QString();
}

QVariant PatientTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const PatientRow& row = m_rows[index.row()];
    const int column = index.column();
    if (role == FileRole)
        return fileAt(index);
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Name:
            return row.name;
        case History:
            return row.history.isEmpty() ? QString() : historyText(row.historyInfo);
        case LastChange:
            return dateText(row.lastChange);
        case Traced: {
            // As short as the marks beside it ("I 1 F"); the tooltip and screen readers have the names.
            QStringList marks;
            for (int st = 0; st < kStageCount; ++st)
                if (!row.tracings[size_t(st)].isEmpty())
                    marks << QStringList{QStringLiteral("I"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("F")}[st];
            return marks.join(u' ');
        }
        default:
            return fileAt(index).isEmpty() ? QString() : kPresent;
        }
    }
    if (role == Qt::ToolTipRole) {
        const QString file = fileAt(index);
        if (!file.isEmpty())
            return QStringLiteral("%1\nDuplo clique ou Enter para abrir").arg(file);
        if (column == Name && row.hasTweed())
            return QStringLiteral("Duplo clique ou Enter para ver a evolução do tratamento");
        if (column == Traced && !row.tracedStages().isEmpty())
            return QStringLiteral("Fases com traçado cefalométrico: %1\nSobreposição... sobrepõe as fases").arg(row.tracedStages());
        return {};
    }
    if (role == Qt::AccessibleTextRole && column == Traced)
        return row.tracedStages();
    if (role == Qt::TextAlignmentRole && column != Name && column != History)
        return int(Qt::AlignCenter);
    return {};
}

QVariant PatientTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const QStringList titles = {
        QStringLiteral("Paciente"), QStringLiteral("Tweed\nInicial"), QStringLiteral("Tweed\nInter 1"),
        QStringLiteral("Tweed\nInter 2"), QStringLiteral("Tweed\nFinal"), QStringLiteral("Bolton"),
        QStringLiteral("Histórico"), QStringLiteral("Plano"), QStringLiteral("Traçados"), QStringLiteral("Última alteração")};
    static const QStringList tips = {
        QStringLiteral("Nome do paciente"),
        QStringLiteral("Análise de Tweed, fase inicial"),
        QStringLiteral("Análise de Tweed, fase intermediária 1"),
        QStringLiteral("Análise de Tweed, fase intermediária 2"),
        QStringLiteral("Análise de Tweed, fase final"),
        QStringLiteral("Análise de Bolton"),
        QStringLiteral("Histórico do tratamento: consultas registradas e a data da última"),
        QStringLiteral("Plano de tratamento"),
        QStringLiteral("Fases com traçado cefalométrico"),
        QStringLiteral("Data da última alteração de qualquer arquivo do paciente")};
    if (section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return titles[section];
    if (role == Qt::ToolTipRole)
        return tips[section];
    return {};
}

PatientFilter::PatientFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

void PatientFilter::setSourceTable(PatientTableModel* model)
{
    m_table = model;
    setSourceModel(model);
}

void PatientFilter::setSearch(const QString& text)
{
    if (text == m_search)
        return;
    m_search = text;
    m_words = FoldForSearch(text).split(u' ', Qt::SkipEmptyParts);
    invalidateRowsFilter();
}

bool PatientFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (m_words.isEmpty() || !m_table)
        return true;
    const QString& key = m_table->rowAt(sourceRow).key;
    for (const QString& word : m_words)
        if (!key.contains(word))
            return false;
    return true;
}

bool PatientFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return m_table ? m_table->rowLess(left.row(), right.row(), left.column()) : left.row() < right.row();
}

}  // namespace qv
