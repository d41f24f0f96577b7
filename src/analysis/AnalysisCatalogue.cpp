#include "analysis/AnalysisCatalogue.h"

#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <set>

namespace qv {

namespace {

constexpr qint64 kLargestDefinition = 1 << 20;  // a definition of a hundred measures is a few kilobytes

void loadFolder(AnalysisCatalogue& c, const QString& folder, bool shipped)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        const QString shown = shipped ? name : QString::fromUtf8(kClinicAnalysesFolder) + u'/' + name;
        QFile file(dir.filePath(name));
        if (file.size() > kLargestDefinition) {
            c.refused << QStringLiteral("%1: o arquivo é grande demais para uma definição de análise").arg(shown);
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            c.refused << QStringLiteral("%1: não foi possível ler o arquivo (%2)").arg(shown, file.errorString());
            continue;
        }
        ReadDefinition read = ReadAnalysisDefinition(file.readAll(), shown, shipped);
        if (!read.analysis) {
            c.refused << read.error;
            continue;
        }
        if (c.indexOf(read.analysis->title) >= 0) {
            c.refused << QStringLiteral("%1: já existe uma análise com o título \"%2\"").arg(shown, read.analysis->title);
            continue;
        }
        c.analyses.push_back(std::move(*read.analysis));
    }
}

}  // namespace

int AnalysisCatalogue::indexOf(const QString& title) const
{
    for (size_t i = 0; i < analyses.size(); ++i)
        if (analyses[i].title == title)
            return int(i);
    return -1;
}

const AnalysisDefinition* AnalysisCatalogue::find(const QString& title) const
{
    const int i = indexOf(title);
    return i < 0 ? nullptr : &analyses[size_t(i)];
}

QStringList AnalysisCatalogue::titles() const
{
    QStringList t;
    for (const AnalysisDefinition& a : analyses)
        t << a.title;
    return t;
}

AnalysisCatalogue LoadAnalyses(const QString& shippedFolder, const QString& clinicFolder)
{
    AnalysisCatalogue c;
    loadFolder(c, shippedFolder, true);
    if (!clinicFolder.isEmpty())
        loadFolder(c, clinicFolder, false);
    return c;
}

AnalysisCatalogue LoadAnalyses()
{
    return LoadAnalyses(QString::fromLatin1(kShippedAnalysesFolder), QString::fromUtf8(kClinicAnalysesFolder));
}

std::shared_ptr<const AnalysisCatalogue> CurrentAnalyses()
{
    // What the clinic's folder holds, enough to see that it changed.
    const QDir dir(QString::fromUtf8(kClinicAnalysesFolder));
    QString signature = dir.absolutePath();
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        signature += QStringLiteral("|%1 %2 %3").arg(f.fileName()).arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    static QString last;
    static std::shared_ptr<const AnalysisCatalogue> current;
    if (!current || signature != last) {
        current = std::make_shared<const AnalysisCatalogue>(LoadAnalyses());
        last = signature;
    }
    return current;
}

const AnalysisCatalogue& ShippedAnalyses()
{
    static const AnalysisCatalogue shipped = LoadAnalyses(QString::fromLatin1(kShippedAnalysesFolder), {});
    return shipped;
}

std::vector<Landmark> LandmarksFor(const AnalysisCatalogue& catalogue, const QStringList& titles)
{
    std::set<Landmark> all;
    for (const AnalysisDefinition& a : catalogue.analyses)
        if (titles.contains(a.title))
            all.insert(a.landmarks.begin(), a.landmarks.end());
    return {all.begin(), all.end()};
}

}  // namespace qv
