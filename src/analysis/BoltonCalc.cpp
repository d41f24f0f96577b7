#include "analysis/BoltonCalc.h"

#include "entry/RealEntry.h"

namespace qv {

namespace {

// Left to right, as the teeth stand.
double sum(const std::array<QString, 12>& teeth, int first, int last)
{
    double total = 0;
    for (int k = first; k <= last; ++k)
        total += ParseReal(teeth[size_t(k - 1)]);
    return total;
}

// A sum that is zero or is shown as 0.0 cannot be a denominator: the ratios are taken from the
// shown sums.
bool zeroAsShown(double total) { return total == 0 || ParseReal(F1(total)) == 0; }

const QString kOverallInfo = QStringLiteral("Soma dos 12 dentes (distal do\r1º molar à distal do 1º molar do\rlado oposto).");
const QString kAnteriorInfo = QStringLiteral("Soma dos 6 dentes anteriores\r(distal do canino à distal do canino\rdo lado oposto).");

struct Side {
    QString busca, buscaRes, infoBuscaRes, resInfo;
};

// Below the threshold the maxillary arch is in excess, otherwise the mandibular one.
Side side(double ratio, double threshold, const QString& thresholdText, const QString& sup, const QString& inf,
          const QString& teeth)
{
    if (ratio < threshold)
        return {QStringLiteral("- ") + thresholdText + QStringLiteral(" :"), sup, QStringLiteral("S ") + teeth,
                QStringLiteral("Exc S")};
    return {QStringLiteral("+ ") + thresholdText + QStringLiteral(" :"), inf, QStringLiteral("I ") + teeth,
            QStringLiteral("Exc I")};
}

QString diagnosis(const QString& resInfo, const QString& res)
{
    return (resInfo == QStringLiteral("Exc I") ? QStringLiteral("Excesso mandibular de ") : QStringLiteral("Excesso maxilar de "))
           + res + QStringLiteral("mm");
}

}  // namespace

const std::array<BoltonResultLabel, 26> kBoltonResultLabels = {{
    {"sup12res", &BoltonResults::sup12res, false},
    {"sup6res", &BoltonResults::sup6res, false},
    {"inf12res", &BoltonResults::inf12res, false},
    {"inf6res", &BoltonResults::inf6res, false},
    {"cinf12res", &BoltonResults::cinf12res, false},
    {"csup12res", &BoltonResults::csup12res, false},
    {"x10012res", &BoltonResults::x10012res, false},
    {"cinf6res", &BoltonResults::cinf6res, false},
    {"csup6res", &BoltonResults::csup6res, false},
    {"x1006res", &BoltonResults::x1006res, false},
    {"busca12", &BoltonResults::busca12, false},
    {"busca12res", &BoltonResults::busca12res, false},
    {"infobusca12res", &BoltonResults::infobusca12res, false},
    {"res12info", &BoltonResults::res12info, false},
    {"busca6", &BoltonResults::busca6, false},
    {"busca6res", &BoltonResults::busca6res, false},
    {"infobusca6res", &BoltonResults::infobusca6res, false},
    {"res6info", &BoltonResults::res6info, false},
    {"tab12res", &BoltonResults::tab12res, true},
    {"tab6res", &BoltonResults::tab6res, true},
    {"res12", &BoltonResults::res12, true},
    {"res6", &BoltonResults::res6, true},
    {"diag12info", &BoltonResults::diag12info, true},
    {"diag12", &BoltonResults::diag12, true},
    {"diag6info", &BoltonResults::diag6info, true},
    {"diag6", &BoltonResults::diag6, true},
}};

QString BoltonRefusal(const BoltonSheet& in)
{
    bool empty = in.bpaciente.isEmpty();
    for (size_t k = 0; k < 12; ++k)
        empty = empty || in.s[k].isEmpty() || in.i[k].isEmpty();
    if (empty)
        return QStringLiteral("Todos os campos devem ser preenchidos antes do cálculo!");
    if (zeroAsShown(sum(in.s, 1, 12)))
        return QStringLiteral("A soma dos 12 dentes superiores não pode ser igual a ZERO!");
    if (zeroAsShown(sum(in.s, 4, 9)))
        return QStringLiteral("A soma dos 6 dentes anteriores superiores não pode ser igual a ZERO!");
    if (zeroAsShown(sum(in.i, 1, 12)))
        return QStringLiteral("A soma dos 12 dentes inferiores não pode ser igual a ZERO!");
    if (zeroAsShown(sum(in.i, 4, 9)))
        return QStringLiteral("A soma dos 6 dentes anteriores inferiores não pode ser igual a ZERO!");
    return QString();
}

bool MolarsFilled(const BoltonSheet& in)
{
    if (in.termole.isEmpty() || in.segmole.isEmpty() || in.termold.isEmpty() || in.segmold.isEmpty())
        return false;
    return ParseReal(in.termole) + ParseReal(in.segmole) + ParseReal(in.termold) + ParseReal(in.segmold) != 0;
}

BoltonResults ComputeBoltonSums(const BoltonSheet& in)
{
    BoltonResults r;
    r.sup12res = F1(sum(in.s, 1, 12));
    r.sup6res = F1(sum(in.s, 4, 9));
    r.inf12res = F1(sum(in.i, 1, 12));
    r.inf6res = F1(sum(in.i, 4, 9));

    r.cinf12res = r.inf12res;
    r.csup12res = r.sup12res;
    const double r12 = 100 * ParseReal(r.cinf12res) / ParseReal(r.csup12res);
    r.x10012res = F1(r12) + QStringLiteral(" %");
    r.cinf6res = r.inf6res;
    r.csup6res = r.sup6res;
    const double r6 = 100 * ParseReal(r.cinf6res) / ParseReal(r.csup6res);
    r.x1006res = F1(r6) + QStringLiteral(" %");

    const Side overall = side(r12, 91.3, QStringLiteral("91.3"), r.sup12res, r.inf12res, QStringLiteral("12"));
    r.busca12 = overall.busca;
    r.busca12res = overall.buscaRes;
    r.infobusca12res = overall.infoBuscaRes;
    r.res12info = overall.resInfo;
    const Side anterior = side(r6, 77.2, QStringLiteral("77.2"), r.sup6res, r.inf6res, QStringLiteral("06"));
    r.busca6 = anterior.busca;
    r.busca6res = anterior.buscaRes;
    r.infobusca6res = anterior.infoBuscaRes;
    r.res6info = anterior.resInfo;
    return r;
}

void CompleteBolton(BoltonResults& r, const BoltonTable& table)
{
    // A mandibular excess looks up the mandibular sum that fits the actual maxillary one, and
    // the other way round.
    const double ideal12 = r.busca12 == QStringLiteral("+ 91.3 :")
                               ? BoltonLookup(BoltonTable::kOverallRows, 1, table.overall, ParseReal(r.sup12res))
                               : BoltonLookup(BoltonTable::kOverallRows, 2, table.overall, ParseReal(r.inf12res));
    r.tab12res = F1(ideal12);
    const double ideal6 = r.busca6 == QStringLiteral("+ 77.2 :")
                              ? BoltonLookup(BoltonTable::kAnteriorRows, 1, table.anterior, ParseReal(r.sup6res))
                              : BoltonLookup(BoltonTable::kAnteriorRows, 2, table.anterior, ParseReal(r.inf6res));
    r.tab6res = F1(ideal6);

    r.res12 = F1(ParseReal(r.busca12res) - ParseReal(r.tab12res));
    r.res6 = F1(ParseReal(r.busca6res) - ParseReal(r.tab6res));

    r.diag12info = kOverallInfo;
    r.diag12 = diagnosis(r.res12info, r.res12);
    r.diag6info = kAnteriorInfo;
    r.diag6 = diagnosis(r.res6info, r.res6);
}

BoltonResults ComputeBolton(const BoltonSheet& in, const BoltonTable& table)
{
    BoltonResults r = ComputeBoltonSums(in);
    CompleteBolton(r, table);
    return r;
}

}  // namespace qv
