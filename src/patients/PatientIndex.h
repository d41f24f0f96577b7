#pragma once
// Every patient of the analyses folder, from the file names alone: which Tweed stages, Bolton,
// history and plan files exist, and when any of them last changed. Only the history is read
// (for its visits); a file that cannot be read is shown as such and never stops the listing.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace qv {

// The four Tweed stages, in treatment order.
enum PatientStage : int { StageInicial = 0, StageInter1, StageInter2, StageFinal };
inline constexpr int kStageCount = 4;
// "INICIAL", "INTER1", "INTER2", "FINAL": the stage as written in file names.
QString StageWordOf(int stage);

enum class PatientFileKind { Tweed, Bolton, History, Plan, Tracing };

struct PatientFileName {
    QString patient;
    PatientFileKind kind = PatientFileKind::Tweed;
    int stage = -1;  // for Tweed files and tracings
    bool operator==(const PatientFileName&) const = default;
};

// The patient and kind of a file name ("ANA-INTER1.twe", "ANA-FINAL.tra", "ANA.bol", "ANA.pln", "ANA.otl"),
// extensions and stage words in any case; nothing for any other name, for hidden files and
// for a name that leaves no patient.
std::optional<PatientFileName> ParsePatientFileName(const QString& fileName);

// Case and accents folded away: "João" and "JOAO" give the same key.
QString FoldForSearch(const QString& text);

struct HistorySummary {
    bool readable = true;
    int visits = 0;
    QString lastVisit;  // the date line of the last visit, as written
    bool operator==(const HistorySummary&) const = default;
};

// Visits of a history file: each block begins with its date line and ends with the separator
// of 145 dashes; a last block without its separator still counts.
HistorySummary SummariseHistory(const QByteArray& bytes);

struct PatientRow {
    QString name;
    QString key;  // FoldForSearch(name)
    std::array<QString, kStageCount> tweed;  // file names, empty where the stage has none
    std::array<QString, kStageCount> tracings;  // the stages' cephalometric tracings, likewise
    QString bolton, history, plan;
    HistorySummary historyInfo;
    QDateTime lastChange;  // latest modification of any of the files

    bool hasTweed() const;
    // Files the patients window opens in a page (the tracings are not among them).
    int fileCount() const;
    // "Inicial, Final": the stages traced, in treatment order; empty when none is.
    QString tracedStages() const;
    // The file of a kind (stage for Tweed); empty when there is none.
    QString file(PatientFileKind kind, int stage = -1) const;
    bool operator==(const PatientRow&) const = default;
};

// Name order as a clinician reads a list: accents and case folded first, then exact text.
bool PatientNameLess(const PatientRow& a, const PatientRow& b);

// Lists a folder into rows sorted by name. Remembers what it read of each history file, so a
// rescan reads again only the histories whose size or time changed. A missing folder gives
// no rows and folderFound() false.
class PatientScanner {
public:
    explicit PatientScanner(QString folder);
    const QString& folder() const { return m_folder; }
    QList<PatientRow> scan();
    bool folderFound() const { return m_found; }

private:
    struct CachedHistory {
        qint64 size = -1;
        qint64 modifiedMs = 0;
        HistorySummary summary;
    };

    QString m_folder;
    bool m_found = false;
    QHash<QString, CachedHistory> m_histories;  // by file name
};

}  // namespace qv
