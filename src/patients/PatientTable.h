#pragma once
// The patients as a table model (one row each, one column per kind of file) and the search
// filter over it. Qt Core only: the window puts them in a view.

#include "patients/PatientIndex.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>

namespace qv {

class PatientTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name = 0, Inicial, Inter1, Inter2, Final, Bolton, History, Plan, Traced, LastChange, ColumnCount };
    // The file a cell stands for (empty text for none), for opening it.
    static constexpr int FileRole = Qt::UserRole + 1;

    explicit PatientTableModel(QObject* parent = nullptr);

    // Takes a new listing (sorted by PatientNameLess) and changes only what differs, so a
    // rescan keeps the selection, the current cell and the scroll position.
    void setRows(const QList<PatientRow>& rows);
    const QList<PatientRow>& rows() const { return m_rows; }
    const PatientRow& rowAt(int row) const { return m_rows[row]; }
    int rowOf(const QString& name) const;

    // The kind and stage of the file a column shows; nothing for the name and date columns.
    static std::optional<std::pair<PatientFileKind, int>> fileKindOf(int column);
    QString fileAt(const QModelIndex& index) const;
    // Order of two rows by a column; ties keep the name order.
    bool rowLess(int a, int b, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // How a cell reads; also used by tests and the report of what the list shows.
    static QString historyText(const HistorySummary& h);
    static QString dateText(const QDateTime& when);

private:
    QList<PatientRow> m_rows;
};

// Keeps the rows whose name holds every word of the search, case and accents ignored.
class PatientFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PatientFilter(QObject* parent = nullptr);
    void setSourceTable(PatientTableModel* model);
    void setSearch(const QString& text);
    const QString& search() const { return m_search; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    PatientTableModel* m_table = nullptr;
    QString m_search;
    QStringList m_words;  // folded
};

}  // namespace qv
