#include "analysis/TweedAnalysis.h"

#include "entry/RealEntry.h"

#include <cmath>
#include <optional>

namespace qv {

namespace {

double P(const QString& text) { return ParseReal(text); }

// A text of the plain decimal shape (spaces, sign, digits, point, digits) held exactly as
// mantissa / 10^scale. Other shapes (exponents, junk) are left to ParseReal.
struct ExactDecimal {
    __int128 mantissa = 0;  // signed
    int scale = 0;
    int digits = 0;  // significant digits of the mantissa
};

std::optional<ExactDecimal> plainDecimal(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    if (i == n)
        return ExactDecimal{};  // empty reads as 0
    bool negative = false;
    if (text[i] == u'+' || text[i] == u'-') {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype start = i;
    ExactDecimal d;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (point)
            ++d.scale;
        if (d.mantissa == 0 && c == u'0')
            continue;  // leading zeros carry nothing
        if (++d.digits > 30)
            return std::nullopt;
        d.mantissa = d.mantissa * 10 + (c.unicode() - u'0');
    }
    if (i == start)
        return std::nullopt;  // a lone sign
    if (d.scale > 30)
        return std::nullopt;
    if (negative)
        d.mantissa = -d.mantissa;
    return d;
}

__int128 pow10(int e)
{
    __int128 p = 1;
    while (e-- > 0)
        p *= 10;
    return p;
}

template <typename T>
int sign(T v)
{
    return (v > T(0)) - (v < T(0));
}

QString rangeItem(double x, double low, double high, double weight)
{
    if (x < low)
        return F1((low - x) * weight);
    if (x > high)
        return F1((x - high) * weight);
    return QStringLiteral("0.0");
}

// Outside a measurement's norm, as the field table states it.
QString normItem(double x, TweedKey key, double weight)
{
    const NormBand norm = *TweedFieldOf(key).norm;
    return rangeItem(x, norm.low, norm.high, weight);
}

QString deficitItem(const QString& discrepancy, double weight)
{
    const double d = P(discrepancy);
    if (d < 0)
        return F1(std::fabs(d) * weight);
    return QStringLiteral("0.0");
}

}  // namespace

TweedRefusal CheckTweedInputs(const TweedInputs& in)
{
    for (const QString* field : {&in.twfma, &in.twfmia, &in.twimpa, &in.twploc, &in.twsna, &in.twsnb, &in.twaobo,
                                 &in.twangz, &in.twls, &in.twqt, &in.twafa, &in.twafp, &in.anaep, &in.anaer,
                                 &in.anmep, &in.anmer, &in.anmspee, &in.anmcorr, &in.anpep, &in.anper})
        if (field->isEmpty())
            return TweedRefusal::Incomplete;
    if (in.dcnao && in.dcopcres.isEmpty())
        return TweedRefusal::Incomplete;
    if (in.Idade.isEmpty() || in.twPaciente.isEmpty())
        return TweedRefusal::Incomplete;
    if (!in.GenFem && !in.GenMasc)
        return TweedRefusal::NoGender;
    if (P(in.twafa) == 0)
        return TweedRefusal::ZeroAfa;
    return TweedRefusal::None;
}

QString RefusalText(TweedRefusal refusal)
{
    switch (refusal) {
    case TweedRefusal::None:
        break;
    case TweedRefusal::Incomplete:
        return QStringLiteral("Todos os campos devem ser preenchidos antes do cálculo!");
    case TweedRefusal::NoGender:
        return QStringLiteral("O gênero do paciente não foi selecionado!");
    case TweedRefusal::ZeroAfa:
        return QStringLiteral("O valor do campo AFA deve ser diferente de ZERO!");
    }
    return QString();
}

int CompareRatio(const QString& afp, const QString& afa, int percent)
{
    const auto p = plainDecimal(afp);
    const auto a = plainDecimal(afa);
    // afp / afa against percent / 100, cross-multiplied: 100 * afp * 10^sa against percent * afa * 10^sp,
    // both within 10^37 so the difference fits.
    if (p && a && a->mantissa != 0 && p->digits + a->scale + 3 <= 37 && a->digits + p->scale + 3 <= 37) {
        const __int128 left = p->mantissa * 100 * pow10(a->scale);
        const __int128 right = a->mantissa * percent * pow10(p->scale);
        return sign(left - right) * sign(a->mantissa);
    }
    const double r = P(afp) / P(afa);
    return sign(r - percent / 100.0);
}

HornResult ClassifyHorn(const QString& afp, const QString& afa)
{
    HornResult h;
    if (CompareRatio(afp, afa, 55) < 0 || CompareRatio(afp, afa, 85) > 0) {
        h.text = QStringLiteral("Tratamento Orto-Cirúrgico");
        h.colour = kGradeRed;
    } else if (CompareRatio(afp, afa, 65) >= 0 && CompareRatio(afp, afa, 75) < 0) {
        h.text = QStringLiteral("Face Equilibrada");
        h.colour = kGradeGreen;
    } else {
        h.text = QStringLiteral("Tratamento Ortodôntico");
        h.colour = kGradeOlive;
    }
    const double r = P(afp) / P(afa);
    h.percent = F0(r * 100) + u'%';
    return h;
}

DcTargets ComputeDcTargets(const QString& twfma)
{
    DcTargets t;
    const double fma = P(twfma);
    t.dcfmares = F1(fma);
    const double shown = P(t.dcfmares);
    if (fma > 20 && fma < 30)
        t.dcfmiares = QStringLiteral("68.0");
    else if (fma >= 30)
        t.dcfmiares = QStringLiteral("65.0");
    else
        t.dcfmiares = F1(180 - shown - 92);
    if (fma <= 20)
        t.dcimpares = QStringLiteral("92.0");
    else
        t.dcimpares = F1(180 - shown - P(t.dcfmiares));
    return t;
}

QString CephalometricDiscrepancy(const QString& impaTarget, const QString& twimpa)
{
    return F1((P(impaTarget) - P(twimpa)) * 0.8);
}

QString SoftTissueModification(const QString& anadcres, const QString& twls, const QString& twqt)
{
    const double dc = P(anadcres);
    const double ls = P(twls);
    const double qt = P(twqt);
    if (dc >= 0 || ls <= qt || dc <= qt - ls)
        return QStringLiteral("0.0");
    return F1((qt - ls) - dc);
}

QString ExpectedGrowth(const QString& idade, bool genMasc, bool genFem)
{
    const double age = P(idade);
    if (genFem && age < 14)
        return F1((14 - age) * 3);
    if (genMasc) {
        if (age >= 16)
            return QStringLiteral("0.0");
        return F1((16 - age) * 3);
    }
    return QStringLiteral("0.0");
}

SpaceResults ComputeTotalSpace(const SpaceInputs& in)
{
    SpaceResults s;
    s.anadmres = F1(P(in.anaep) - P(in.anaer));
    s.anadcres = CephalometricDiscrepancy(in.impaTarget, in.twimpa);
    s.anamtmres = SoftTissueModification(s.anadcres, in.twls, in.twqt);
    s.anantres = F1(P(s.anadmres) + (P(s.anamtmres) + P(s.anadcres)));
    s.anmdmres = F1(P(in.anmep) - P(in.anmer));
    s.anmedres = F1(P(in.anmcorr) + (P(s.anmdmres) + P(in.anmspee)));
    s.anpdmres = F1(P(in.anpep) - P(in.anper));
    s.anpcresres = ExpectedGrowth(in.Idade, in.GenMasc, in.GenFem);
    s.anposres = F1(P(s.anpcresres) + P(s.anpdmres));
    s.andiscres = F1(P(s.anposres) + (P(s.anantres) + P(s.anmedres)));
    return s;
}

QString DifficultyGradeText(const QString& idtotres)
{
    const double t = P(idtotres);
    if (t < 60)
        return QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: ") + idtotres;
    if (t < 120)
        return QStringLiteral("ÍNDICE DE DIFICULDADE MODERADO: ") + idtotres;
    return QStringLiteral("ÍNDICE DE DIFICULDADE SEVERO: ") + idtotres;
}

DifficultyResults ComputeDifficulty(const DifficultyInputs& in)
{
    DifficultyResults d;
    d.idfmares = normItem(P(in.twfma), TweedKey::twfma, 5);
    d.idanbres = normItem(P(in.twanbres), TweedKey::twanbres, 15);
    d.idangzres = normItem(P(in.twangz), TweedKey::twangz, 2);
    d.idplocres = normItem(P(in.twploc), TweedKey::twploc, 3);
    d.idsnbres = normItem(P(in.twsnb), TweedKey::twsnb, 5);
    d.idifres = rangeItem(P(in.twafp) * 100 / P(in.twafa), 65, 68, 3);
    double sum1 = 0;
    for (const QString* item : {&d.idfmares, &d.idanbres, &d.idangzres, &d.idplocres, &d.idsnbres, &d.idifres})
        sum1 += P(*item);
    d.idsub1res = F1(sum1);

    d.iddmares = deficitItem(in.anadmres, 1.5);
    d.iddcres = F1(std::fabs(P(in.anadcres)));
    d.idmtmres = F1(std::fabs(P(in.anamtmres)) * 0.5);
    d.iddmmres = deficitItem(in.anmdmres, 1);
    d.idspeeres = F1(std::fabs(P(in.anmspee)));
    d.idcorrres = F1(std::fabs(P(in.anmcorr)) * 2);
    d.iddmpres = deficitItem(in.anposres, 0.5);
    double sum2 = 0;
    for (const QString* item :
         {&d.iddmares, &d.iddcres, &d.idmtmres, &d.iddmmres, &d.idspeeres, &d.idcorrres, &d.iddmpres})
        sum2 += P(*item);
    d.idsub2res = F1(sum2);

    d.idtotres = F1(P(d.idsub2res) + P(d.idsub1res));
    const double t = P(d.idtotres);
    d.colour = t < 60 ? kGradeGreen : t < 120 ? kGradeOlive : kGradeRed;
    d.idlabel = DifficultyGradeText(d.idtotres);
    return d;
}

TweedResults ComputeTweed(const TweedInputs& in)
{
    TweedResults r;
    r.twanbres = F1(P(in.twsna) - P(in.twsnb));
    r.horn = ClassifyHorn(in.twafp, in.twafa);
    r.targets = ComputeDcTargets(in.twfma);

    SpaceInputs s;
    s.anaer = in.anaer;
    s.anaep = in.anaep;
    s.anmer = in.anmer;
    s.anmep = in.anmep;
    s.anmspee = in.anmspee;
    s.anmcorr = in.anmcorr;
    s.anper = in.anper;
    s.anpep = in.anpep;
    s.twls = in.twls;
    s.twqt = in.twqt;
    s.twimpa = in.twimpa;
    s.impaTarget = in.dcnao ? in.dcopcres : r.targets.dcimpares;
    s.Idade = in.Idade;
    s.GenMasc = in.GenMasc;
    s.GenFem = in.GenFem;
    r.space = ComputeTotalSpace(s);
    r.dcdcres = r.space.anadcres;

    DifficultyInputs d;
    d.twfma = in.twfma;
    d.twanbres = r.twanbres;
    d.twangz = in.twangz;
    d.twploc = in.twploc;
    d.twsnb = in.twsnb;
    d.twafp = in.twafp;
    d.twafa = in.twafa;
    d.anadmres = r.space.anadmres;
    d.anadcres = r.space.anadcres;
    d.anamtmres = r.space.anamtmres;
    d.anmdmres = r.space.anmdmres;
    d.anmspee = in.anmspee;
    d.anmcorr = in.anmcorr;
    d.anposres = r.space.anposres;
    r.difficulty = ComputeDifficulty(d);
    return r;
}

void KeepClinicianImpa(TweedResults& results, const TweedSheet& opened)
{
    if (!opened.dcopcres.isEmpty())
        results.targets.dcimpares = opened.dcopcres;
}

QString ImpaQuestionText(const QString& dcimpares)
{
    return QStringLiteral("             IMPA = ") + dcimpares + QStringLiteral("\rDeseja Manter o IMPA atual?");
}

}  // namespace qv
