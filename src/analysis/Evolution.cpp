#include "analysis/Evolution.h"

#include "entry/RealEntry.h"

#include <QRegularExpression>

#include <algorithm>

namespace qv {

namespace {

struct RowDef {
    EvolutionRow::Kind kind;
    const char* name;
    const char* label;
    bool result;
};

// The captions of the Tweed page's measurements, with their ranges.
const QString kFmaCaption = QStringLiteral("FMA (22° a 28°)");
const QString kFmiaCaption = QStringLiteral("FMIA (65° a 68°)");
const QString kImpaCaption = QStringLiteral("IMPA (88° a 94°)");
const QString kAnbCaption = QStringLiteral("ANB ( 1° a 5°)");
const QString kZCaption = QStringLiteral("Ang. Z ( 70° a 80°)");

using K = EvolutionRow::Kind;
const RowDef kRows[] = {
    {K::Section, "", "Paciente", false},
    {K::Integer, "Idade", "Idade (anos)", false},
    {K::Section, "", "Análise de Tweed", false},
    {K::Number, "twfma", "FMA (22° a 28°)", false},
    {K::Number, "twfmia", "FMIA (65° a 68°)", false},
    {K::Number, "twimpa", "IMPA (88° a 94°)", false},
    {K::Number, "twploc", "Pl. ocl. - Hf (8° a 12°)", false},
    {K::Number, "twsna", "SNA ( 80° a 84°)", false},
    {K::Number, "twsnb", "SNB (78° a 82°)", false},
    {K::Number, "twanbres", "ANB ( 1° a 5°)", true},
    {K::Number, "twaobo", "AO - BO ( 0 a 4 mm)", false},
    {K::Number, "twangz", "Ang. Z ( 70° a 80°)", false},
    {K::Number, "twls", "LS", false},
    {K::Number, "twqt", "QT", false},
    {K::Number, "twafa", "AFA", false},
    {K::Number, "twafp", "AFP", false},
    {K::Percent, "twafpafares", "AFP / AFA ( 65% a 75%)", true},
    {K::Horn, "hornres", "Índice de Altura Facial de Horn", true},
    {K::Section, "", "Discrepância Cefalométrica", false},
    {K::Number, "dcfmiares", "FMIA alvo", true},
    {K::Number, "dcimpares", "IMPA alvo", true},
    {K::Number, "dcdcres", "Discrepância cefalométrica (DC)", true},
    {K::Section, "", "Análise Total do Espaço (mm)", false},
    {K::Number, "anaer", "Área anterior: espaço requerido", false},
    {K::Number, "anaep", "Área anterior: espaço presente", false},
    {K::Number, "anantres", "Disc. Área Anterior", true},
    {K::Number, "anmer", "Área média: espaço requerido", false},
    {K::Number, "anmep", "Área média: espaço presente", false},
    {K::Number, "anmspee", "Curva de Spee", false},
    {K::Number, "anmcorr", "Correção Molar", false},
    {K::Number, "anmedres", "Disc. Área Média", true},
    {K::Number, "anper", "Área posterior: espaço requerido", false},
    {K::Number, "anpep", "Área posterior: espaço presente", false},
    {K::Number, "anposres", "Disc. Área Posterior", true},
    {K::Number, "andiscres", "Discrepância Total", true},
    {K::Section, "", "Índice de Dificuldade", false},
    {K::Number, "idtotres", "Índice de dificuldade (total)", true},
    {K::Grade, "grade", "Grau de dificuldade", true},
};

// Worse is higher: the change of a graded text reads as better or worse.
int Rank(K kind, const QString& text)
{
    static const QStringList horn = {QStringLiteral("Face Equilibrada"), QStringLiteral("Tratamento Ortodôntico"),
                                     QStringLiteral("Tratamento Orto-Cirúrgico")};
    static const QStringList grade = {QStringLiteral("Suave"), QStringLiteral("Moderado"), QStringLiteral("Severo")};
    return int((kind == K::Horn ? horn : grade).indexOf(text));
}

QString Signed(const QString& formatted, double value)
{
    return value > 0 && formatted != QLatin1String("0") && formatted != QLatin1String("0.0") ? u'+' + formatted
                                                                                              : formatted;
}

QString Change(K kind, const QString& first, const QString& last)
{
    if (first.isEmpty() || last.isEmpty())
        return {};
    switch (kind) {
    case K::Section:
        return {};
    case K::Number: {
        const double d = ParseReal(last) - ParseReal(first);
        return Signed(F1(d), d);
    }
    case K::Integer: {
        const double d = ParseReal(last) - ParseReal(first);
        return Signed(F0(d), d);
    }
    case K::Percent: {
        QString a = first;
        QString b = last;
        a.remove(u'%');
        b.remove(u'%');
        const double d = ParseReal(b) - ParseReal(a);
        return Signed(F0(d), d) + u'%';
    }
    case K::Horn:
    case K::Grade: {
        const int a = Rank(kind, first);
        const int b = Rank(kind, last);
        if (a < 0 || b < 0)
            return {};
        return a == b ? QStringLiteral("igual") : (b < a ? QStringLiteral("melhorou") : QStringLiteral("piorou"));
    }
    }
    return {};
}

}  // namespace

std::optional<NormBand> NormBandOf(const QString& caption)
{
    static const QRegularExpression range(QStringLiteral(R"(\(\s*(-?\d+(?:\.\d+)?)\D*?\s+a\s+(-?\d+(?:\.\d+)?))"));
    const QRegularExpressionMatch m = range.match(caption);
    if (!m.hasMatch())
        return std::nullopt;
    return NormBand{m.captured(1).toDouble(), m.captured(2).toDouble()};
}

QString ChartHeading(const QString& caption)
{
    // The captions pad short ranges to line up on the Tweed page; a title needs no padding.
    static const QRegularExpression padding(QStringLiteral("\\(\\s+"));
    return QString(caption).replace(padding, QStringLiteral("(")).simplified();
}

QString ChartPointLabel(double value) { return F1(value); }

QString StageTitle(int stage)
{
    static const QStringList titles = {QStringLiteral("Inicial"), QStringLiteral("Inter 1"), QStringLiteral("Inter 2"),
                                       QStringLiteral("Final")};
    return stage >= 0 && stage < titles.size() ? titles[stage] : QString();
}

QString GradeOf(const QString& idlabel)
{
    static const QRegularExpression grade(QStringLiteral("DIFICULDADE (\\w+):"));
    const QRegularExpressionMatch m = grade.match(idlabel);
    if (!m.hasMatch())
        return {};
    const QString word = m.captured(1);
    return word.left(1) + word.mid(1).toLower();
}

QString Evolution::changeHeader() const
{
    if (stages.size() < 2)
        return QStringLiteral("Variação");
    return QStringLiteral("Variação\n%1 → %2").arg(StageTitle(stages.front()), StageTitle(stages.back()));
}

Evolution BuildEvolution(const QString& patient, QList<EvolutionStage> stages)
{
    std::stable_sort(stages.begin(), stages.end(),
                     [](const EvolutionStage& a, const EvolutionStage& b) { return a.stage < b.stage; });
    Evolution ev;
    ev.patient = patient;
    for (const EvolutionStage& s : stages) {
        ev.stages << s.stage;
        ev.headers << StageTitle(s.stage);
        if (!s.results.readable)
            ev.notes << QStringLiteral("Arquivo ilegível ou incompleto");
        else
            ev.notes << s.results.refusal;
    }
    for (const RowDef& def : kRows) {
        EvolutionRow row;
        row.kind = def.kind;
        row.name = QLatin1String(def.name);
        row.label = def.label;
        row.result = def.result;
        if (def.kind != K::Section) {
            for (const EvolutionStage& s : stages)
                row.cells << (def.kind == K::Grade ? GradeOf(s.results.text(QStringLiteral("idlabel")))
                                                    : s.results.text(row.name));
            if (row.cells.size() >= 2)
                row.change = Change(def.kind, row.cells.front(), row.cells.back());
        }
        ev.rows << row;
    }
    const std::pair<const QString*, const char*> measures[] = {
        {&kFmaCaption, "twfma"}, {&kFmiaCaption, "twfmia"}, {&kImpaCaption, "twimpa"},
        {&kAnbCaption, "twanbres"}, {&kZCaption, "twangz"}};
    for (const auto& [caption, name] : measures) {
        ChartMeasure m;
        m.caption = *caption;
        m.title = caption->section(u'(', 0, 0).trimmed();
        m.heading = ChartHeading(*caption);
        m.band = NormBandOf(*caption).value_or(NormBand{});
        for (const EvolutionStage& s : stages) {
            const QString text = s.results.text(QLatin1String(name));
            m.values << (text.trimmed().isEmpty() ? std::nullopt : std::optional<double>(ParseReal(text)));
            m.labels << (m.values.back() ? ChartPointLabel(*m.values.back()) : QString());
        }
        ev.chart << m;
    }
    return ev;
}

}  // namespace qv
