// Builds the program's data files from their readable sources:
//   quorvel_mkdata <bolton_tables.txt> <output folder>
// writes Bolton.cef and a fresh Stats.cef (flag 0, counters 0) into the folder.

#include "analysis/BoltonTable.h"
#include "records/StatsFile.h"
#include "analysis/CephNorms.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvel_mkdata <bolton_tables.txt> <output folder>\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    qv::BoltonTable table;
    std::vector<std::pair<double, double>>* rows = nullptr;
    QTextStream in(&source);
    int lineNo = 0;
    while (!in.atEnd()) {
        ++lineNo;
        QString line = in.readLine();
        line = line.left(line.indexOf(u'#') < 0 ? line.size() : line.indexOf(u'#')).trimmed();
        if (line.isEmpty())
            continue;
        if (line == QLatin1String("[anterior]")) {
            rows = &table.anterior;
            continue;
        }
        if (line == QLatin1String("[overall]")) {
            rows = &table.overall;
            continue;
        }
        const QStringList cols = line.split(QRegularExpression(QStringLiteral("\\s+")));
        bool ok1 = false, ok2 = false;
        const double s = cols.value(0).toDouble(&ok1);
        const double i = cols.value(1).toDouble(&ok2);
        if (!rows || cols.size() != 2 || !ok1 || !ok2) {
            std::fprintf(stderr, "%s:%d: expected a section and two numbers\n", argv[1], lineNo);
            return 1;
        }
        rows->emplace_back(s, i);
    }
    if (table.anterior.size() != qv::BoltonTable::kAnteriorRows || table.overall.size() != qv::BoltonTable::kOverallRows) {
        std::fprintf(stderr, "%s: expected 31 anterior and 26 overall rows\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QFile bolton(out.filePath(QStringLiteral("Bolton.cef")));
    QFile stats(out.filePath(QStringLiteral("Stats.cef")));
    if (!bolton.open(QIODevice::WriteOnly) || bolton.write(table.encode()) != qv::BoltonTable::kRecords * 8
        || !stats.open(QIODevice::WriteOnly) || stats.write(qv::StatsRecord{}.encode()) != qv::StatsRecord::kSize) {
        std::fprintf(stderr, "cannot write into %s\n", argv[2]);
        return 1;
    }
    // The clinic's norms start as the shipped ones; the clinic edits its copy.
    QFile norms(out.filePath(QString::fromLatin1(qv::kNormsFileName)));
    const QByteArray normsBytes = qv::EncodeNorms(qv::CephNorms::defaults());
    if (!norms.open(QIODevice::WriteOnly) || norms.write(normsBytes) != normsBytes.size()) {
        std::fprintf(stderr, "cannot write into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
