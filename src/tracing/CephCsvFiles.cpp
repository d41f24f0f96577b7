#include "tracing/CephCsvFiles.h"

#include "records/FileIo.h"
#include "analysis/TracingFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <tuple>

namespace qv {

namespace {

struct Found {
    QString patient;
    int stage;
    QString fileName;
    QString key;  // the name with case and accents folded, for a clinician's order
};

QString sortKey(const QString& name)
{
    QString folded = name.normalized(QString::NormalizationForm_D);
    folded.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return folded.toCaseFolded();
}

// The patient and stage of "NOME-STAGE.tra"; stage -1 for any other name.
Found parse(const QString& fileName)
{
    Found f{QString(), -1, fileName, QString()};
    if (fileName.startsWith(u'.') || !fileName.endsWith(QLatin1String(".tra"), Qt::CaseInsensitive))
        return f;
    const QString base = fileName.chopped(4);
    const qsizetype dash = base.lastIndexOf(u'-');
    if (dash <= 0)
        return f;
    const QString word = base.mid(dash + 1).toUpper();
    f.stage = int(CephStageWords().indexOf(word));
    f.patient = base.left(dash);
    return f;
}

}  // namespace

const QStringList& CephStageWords()
{
    static const QStringList words{QStringLiteral("INICIAL"), QStringLiteral("INTER1"), QStringLiteral("INTER2"),
                                   QStringLiteral("FINAL")};
    return words;
}

CephCsvFiles ReadCephCsvRows(const AnalysisCatalogue& catalogue, const QString& folder, const QString& patient)
{
    std::vector<Found> found;
    const QDir dir(folder);
    if (!patient.isEmpty()) {
        for (int s = 0; s < CephStageWords().size(); ++s) {
            const QString name = QFileInfo(TracingFileName(patient, CephStageWords()[s])).fileName();
            if (QFileInfo::exists(dir.filePath(name)))
                found.push_back({patient, s, name, QString()});
        }
    } else {
        for (const QString& name : dir.entryList({QStringLiteral("*.tra")}, QDir::Files)) {
            Found f = parse(name);
            if (f.stage >= 0)
                found.push_back(std::move(f));
        }
        for (Found& f : found)
            f.key = sortKey(f.patient);
        std::sort(found.begin(), found.end(), [](const Found& x, const Found& y) {
            return std::tie(x.key, x.patient, x.stage) < std::tie(y.key, y.patient, y.stage);
        });
    }

    CephCsvFiles out;
    out.rows.reserve(found.size());
    for (const Found& f : found) {
        std::optional<TracingDocument> doc;
        try {
            doc = DecodeTracing(ReadFileBytes(dir.filePath(f.fileName))).document;
        } catch (const IoError&) {
        }
        if (!doc) {
            out.skipped << f.fileName;
            continue;
        }
        out.rows.push_back({f.patient, CephStageWords()[f.stage], MeasureCephalometrics(catalogue, doc->landmarks, doc->calibration),
                            doc->proposed});
    }
    return out;
}

}  // namespace qv
