#include "patients/PatientIndex.h"

#include "platform/FolderReader.h"
#include "records/Cp1252.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <vector>


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
    const bool tracing = EndsWithNoCase(name, QLatin1StringView(".tra"));
    if (tracing || EndsWithNoCase(name, QLatin1StringView(".twe"))) {
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
            return std::nullopt;  // a Tweed file or tracing without its stage belongs to nobody's list
        out.kind = tracing ? PatientFileKind::Tracing : PatientFileKind::Tweed;
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
    // Names are Windows-1252 text: Latin-1 letters fold through a table, which is what the
    // decomposition below gives for them, many times faster.
    static constexpr char16_t kLatin1Base[64] = {
        u'a', u'a', u'a', u'a', u'a', u'a', u'æ', u'c', u'e', u'e', u'e', u'e', u'i', u'i', u'i', u'i',
        u'ð', u'n', u'o', u'o', u'o', u'o', u'o', u'×', u'ø', u'u', u'u', u'u', u'u', u'y', u'þ', 0,
        u'a', u'a', u'a', u'a', u'a', u'a', u'æ', u'c', u'e', u'e', u'e', u'e', u'i', u'i', u'i', u'i',
        u'ð', u'n', u'o', u'o', u'o', u'o', u'o', u'÷', u'ø', u'u', u'u', u'u', u'u', u'y', u'þ', u'y'};
    bool latin1 = true;
    for (QChar c : text)
        if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xC0)) {
            latin1 = false;
            break;
        }
    if (latin1) {
        QString out(text.size(), Qt::Uninitialized);
        QChar* o = out.data();
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80)
                *o++ = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
            else if (kLatin1Base[u - 0xC0] != 0)
                *o++ = QChar(kLatin1Base[u - 0xC0]);
            else
                *o++ = c.toCaseFolded();  // ß
        }
        return out;
    }
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

QString PatientRow::tracedStages() const
{
    static const char16_t* const kNames[kStageCount] = {u"Inicial", u"Inter 1", u"Inter 2", u"Final"};
    QStringList stages;
    for (int s = 0; s < kStageCount; ++s)
        if (!tracings[size_t(s)].isEmpty())
            stages << QString::fromUtf16(kNames[s]);
    return stages.join(QStringLiteral(", "));
}

QString PatientRow::file(PatientFileKind kind, int stage) const
{
    switch (kind) {
    case PatientFileKind::Tracing:
        return (stage >= 0 && stage < kStageCount) ? tracings[size_t(stage)] : QString();
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

QList<PatientRow> PatientScanner::scan()
{
    platform::FolderReader reader(m_folder);
    m_found = reader.found();
    QList<PatientRow> rows;
    if (!m_found)
        return rows;

    QHash<QString, qsizetype> byName;
    std::vector<qint64> newest;
    QSet<QString> seenHistories;
    QString fileName;
    while (reader.next(fileName)) {
        const std::optional<PatientFileName> parsed = ParsePatientFileName(fileName);
        if (!parsed)
            continue;
        const platform::FileStat st = reader.stat();
        if (st.directory)
            continue;
        auto found = byName.constFind(parsed->patient);
        qsizetype index;
        if (found == byName.constEnd()) {
            index = rows.size();
            byName.insert(parsed->patient, index);
            PatientRow row;
            row.name = parsed->patient;
            row.key = FoldForSearch(row.name);
            rows.append(std::move(row));
            newest.push_back(std::numeric_limits<qint64>::min());
        } else {
            index = *found;
        }
        PatientRow& row = rows[index];
        if (st.ok)
            newest[size_t(index)] = std::max(newest[size_t(index)], st.modifiedMs);
        switch (parsed->kind) {
        case PatientFileKind::Tweed:
            row.tweed[size_t(parsed->stage)] = fileName;
            break;
        case PatientFileKind::Tracing:
            row.tracings[size_t(parsed->stage)] = fileName;
            break;
        case PatientFileKind::Bolton:
            row.bolton = fileName;
            break;
        case PatientFileKind::History: {
            row.history = fileName;
            seenHistories.insert(fileName);
            auto cached = m_histories.find(fileName);
            if (st.ok && cached != m_histories.end() && cached->size == st.size && cached->modifiedMs == st.modifiedMs) {
                row.historyInfo = cached->summary;
                break;
            }
            const std::optional<QByteArray> bytes = st.ok ? reader.read(st.size) : std::nullopt;
            row.historyInfo = bytes ? SummariseHistory(*bytes) : HistorySummary{false, 0, {}};
            m_histories.insert(fileName, {st.ok ? st.size : -1, st.modifiedMs, row.historyInfo});
            break;
        }
        case PatientFileKind::Plan:
            row.plan = fileName;
            break;
        }
    }
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (newest[size_t(i)] != std::numeric_limits<qint64>::min())
            rows[i].lastChange = QDateTime::fromMSecsSinceEpoch(newest[size_t(i)]);
    // Forget histories that are gone, so a file made again later is read again.
    for (auto h = m_histories.begin(); h != m_histories.end();)
        h = seenHistories.contains(h.key()) ? std::next(h) : m_histories.erase(h);
    std::sort(rows.begin(), rows.end(), PatientNameLess);
    return rows;
}

}  // namespace qv
