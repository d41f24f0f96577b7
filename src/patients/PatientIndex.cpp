#include "patients/PatientIndex.h"

#include "records/Cp1252.h"

#include <QByteArrayView>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace qv {

namespace {

constexpr std::array<const char*, kStageCount> kStageWords = {"INICIAL", "INTER1", "INTER2", "FINAL"};
constexpr int kSeparatorLength = 145;

bool EndsWithNoCase(QStringView text, QLatin1StringView suffix)
{
    return text.endsWith(suffix, Qt::CaseInsensitive);
}

bool IsSeparator(QByteArrayView line)
{
    return line.size() == kSeparatorLength
        && std::all_of(line.begin(), line.end(), [](char c) { return c == '-'; });
}

}  // namespace

QString StageWordOf(int stage)
{
    return (stage >= 0 && stage < kStageCount) ? QLatin1String(kStageWords[size_t(stage)]) : QString();
}

std::optional<PatientFileName> ParsePatientFileName(const QString& fileName)
{
    if (fileName.startsWith(u'.'))
        return std::nullopt;
    const QStringView name(fileName);
    PatientFileName out;
    QStringView base;
    if (EndsWithNoCase(name, QLatin1StringView(".twe"))) {
        const QStringView stem = name.chopped(4);
        for (int s = 0; s < kStageCount; ++s) {
            const QString suffix = u'-' + QLatin1String(kStageWords[size_t(s)]);
            if (stem.endsWith(suffix, Qt::CaseInsensitive)) {
                base = stem.chopped(suffix.size());
                out.stage = s;
                break;
            }
        }
        if (out.stage < 0)
            return std::nullopt;  // a Tweed file without its stage belongs to nobody's list
        out.kind = PatientFileKind::Tweed;
    } else if (EndsWithNoCase(name, QLatin1StringView(".bol"))) {
        out.kind = PatientFileKind::Bolton;
        base = name.chopped(4);
    } else if (EndsWithNoCase(name, QLatin1StringView(".pln"))) {
        out.kind = PatientFileKind::History;
        base = name.chopped(4);
    } else if (EndsWithNoCase(name, QLatin1StringView(".otl"))) {
        out.kind = PatientFileKind::Plan;
        base = name.chopped(4);
    } else {
        return std::nullopt;
    }
    if (base.trimmed().isEmpty())
        return std::nullopt;
    out.patient = base.toString();
    return out;
}

QString FoldForSearch(const QString& text)
{
    // Plain ASCII (most names typed without accents) needs no decomposition.
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text.toCaseFolded();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out.append(c);
    return out.toCaseFolded();
}

HistorySummary SummariseHistory(const QByteArray& bytes)
{
    HistorySummary out;
    QByteArrayView lastDate;
    bool inBlock = false;
    bool first = true;  // the patient's name
    qsizetype pos = 0;
    const qsizetype n = bytes.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView line(bytes.constData() + pos, end - pos);
        // CR LF, a lone CR and a lone LF each end one line.
        pos = end;
        if (pos < n && bytes[pos] == '\r')
            ++pos;
        if (pos < n && bytes[pos] == '\n' && (pos == end || bytes[pos - 1] == '\r'))
            ++pos;
        if (first) {
            first = false;
            continue;
        }
        if (inBlock) {
            if (IsSeparator(line))
                inBlock = false;
        } else if (!line.trimmed().isEmpty()) {
            inBlock = true;
            ++out.visits;
            lastDate = line;
        }
    }
    out.lastVisit = FromCp1252(lastDate.toByteArray()).trimmed();
    return out;
}

bool PatientRow::hasTweed() const
{
    return std::any_of(tweed.begin(), tweed.end(), [](const QString& f) { return !f.isEmpty(); });
}

int PatientRow::fileCount() const
{
    int count = int(std::count_if(tweed.begin(), tweed.end(), [](const QString& f) { return !f.isEmpty(); }));
    for (const QString* f : {&bolton, &history, &plan})
        count += f->isEmpty() ? 0 : 1;
    return count;
}

QString PatientRow::file(PatientFileKind kind, int stage) const
{
    switch (kind) {
    case PatientFileKind::Tweed:
        return (stage >= 0 && stage < kStageCount) ? tweed[size_t(stage)] : QString();
    case PatientFileKind::Bolton:
        return bolton;
    case PatientFileKind::History:
        return history;
    case PatientFileKind::Plan:
        return plan;
    }
    return {};
}

bool PatientNameLess(const PatientRow& a, const PatientRow& b)
{
    if (const int c = a.key.compare(b.key); c != 0)
        return c < 0;
    return a.name < b.name;
}

PatientScanner::PatientScanner(QString folder) : m_folder(std::move(folder)) {}

HistorySummary PatientScanner::history(const QString& path, qint64 size, const QDateTime& modified)
{
    auto it = m_histories.find(path);
    if (it != m_histories.end() && it->size == size && it->modified == modified)
        return it->summary;
    HistorySummary summary;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        summary = SummariseHistory(file.readAll());
    else
        summary.readable = false;
    m_histories.insert(path, {size, modified, summary});
    return summary;
}

QList<PatientRow> PatientScanner::scan()
{
    const QDir dir(m_folder);
    m_found = dir.exists();
    QList<PatientRow> rows;
    if (!m_found)
        return rows;

    QHash<QString, qsizetype> byName;
    QSet<QString> seenHistories;
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString fileName = it.fileName();
        const std::optional<PatientFileName> parsed = ParsePatientFileName(fileName);
        if (!parsed)
            continue;
        const QFileInfo info = it.fileInfo();
        auto found = byName.constFind(parsed->patient);
        qsizetype index;
        if (found == byName.constEnd()) {
            index = rows.size();
            byName.insert(parsed->patient, index);
            PatientRow row;
            row.name = parsed->patient;
            row.key = FoldForSearch(row.name);
            rows.append(std::move(row));
        } else {
            index = *found;
        }
        PatientRow& row = rows[index];
        const QDateTime modified = info.lastModified();
        if (!row.lastChange.isValid() || modified > row.lastChange)
            row.lastChange = modified;
        switch (parsed->kind) {
        case PatientFileKind::Tweed:
            row.tweed[size_t(parsed->stage)] = fileName;
            break;
        case PatientFileKind::Bolton:
            row.bolton = fileName;
            break;
        case PatientFileKind::History:
            row.history = fileName;
            row.historyInfo = history(info.filePath(), info.size(), modified);
            seenHistories.insert(info.filePath());
            break;
        case PatientFileKind::Plan:
            row.plan = fileName;
            break;
        }
    }
    // Forget histories that are gone, so a file made again later is read again.
    for (auto h = m_histories.begin(); h != m_histories.end();)
        h = seenHistories.contains(h.key()) ? std::next(h) : m_histories.erase(h);
    std::sort(rows.begin(), rows.end(), PatientNameLess);
    return rows;
}

}  // namespace qv
