#pragma once
// The Bolton calculation on the page's texts: sums of twelve and six teeth per arch, their
// ratios, the side of the excess, the ideal value from Bolton's table and the excess.
// Every step reads the one-decimal texts written by the step before.

#include "records/BoltonSheet.h"
#include "analysis/BoltonTable.h"

#include <QString>

#include <array>

namespace qv {

// The warning that refuses the calculation (an empty field, or an arch sum that is or shows as
// zero), or an empty text when it may go ahead.
QString BoltonRefusal(const BoltonSheet& in);

// The molar question is skipped when all four molars are filled and their values do not add to 0.
bool MolarsFilled(const BoltonSheet& in);

inline const QString kMolarQuestion = QStringLiteral(
    "As dimensões dos segundos e terceiros molares inferiores não são necessárias para a Análise de "
    "Bolton, mas caso não sejam preenchidas não será possível a importação dos valores para a Análise "
    "de Tweed. Deseja continuar?");

// Which result label each text goes to. The sums stage needs no table; the table stage is
// what a missing or short Bolton.cef leaves unwritten.
struct BoltonResultLabel {
    const char* name;
    QString BoltonResults::*text;
    bool fromTable;
};
extern const std::array<BoltonResultLabel, 26> kBoltonResultLabels;

// Sums, fractions, ratios and the side of each excess.
BoltonResults ComputeBoltonSums(const BoltonSheet& in);
// Ideal values, excesses and diagnosis lines, from the texts ComputeBoltonSums wrote.
void CompleteBolton(BoltonResults& r, const BoltonTable& table);
// Both stages; the inputs must have passed BoltonRefusal.
BoltonResults ComputeBolton(const BoltonSheet& in, const BoltonTable& table);

}  // namespace qv
