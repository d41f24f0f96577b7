#pragma once
// The evolution of one patient's treatment: the Tweed stages side by side, each recomputed
// from its file, the change from the first stage to the last, and the series of the chart.

#include "analysis/StageCalculation.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv {

struct EvolutionStage {
    int stage = 0;  // PatientStage
    StageResults results;
};

struct EvolutionRow {
    enum Kind { Section, Number, Integer, Percent, Horn, Grade };
    Kind kind = Number;
    std::optional<TweedKey> key;  // the field the row shows; none for a section
    QString name;   // objectName on the Tweed page of what the row shows ("grade": from idlabel)
    QString label;
    bool result = false;  // computed, not typed
    QStringList cells;    // one per stage column
    QString change;       // from the first stage column to the last
};

struct ChartMeasure {
    QString caption;  // as on the Tweed page, with its range
    QString title;    // "FMA"
    QString heading;  // the chart panel's title: the caption with its range as the table shows it
    NormBand band;
    QList<std::optional<double>> values;  // one per stage column
    QStringList labels;                   // the values as the chart labels them (ChartPointLabel)
};

struct Evolution {
    QString patient;
    QList<int> stages;      // the stages present, in treatment order
    QStringList headers;    // "Inicial", "Inter 1", …
    QStringList notes;      // per stage column: empty, or why it has no results
    QList<EvolutionRow> rows;
    QList<ChartMeasure> chart;  // FMA, FMIA, IMPA, ANB, Z
    QString changeHeader() const;
};

// A caption's measurement with its range as a chart's title: "ANB ( 1° a 5°)" reads "ANB (1° a 5°)".
QString ChartHeading(const QString& caption);
// The label beside a point of the chart: one decimal, as every value of the table ("29.0").
QString ChartPointLabel(double value);

// The stage's title as a clinician reads it: "Inicial", "Inter 1", "Inter 2", "Final".
QString StageTitle(int stage);
// The grade word of a difficulty label ("Moderado" for "ÍNDICE DE DIFICULDADE MODERADO: 75.5").
QString GradeOf(const QString& idlabel);

// Stages in any order; they are put in treatment order.
Evolution BuildEvolution(const QString& patient, QList<EvolutionStage> stages);

}  // namespace qv
