#include "analysis/Evolution.h"

#include "entry/RealEntry.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>

namespace qv {

namespace {

using K = EvolutionRow::Kind;
using Section = EvolutionSpec::Section;

// The sections of the table, in its order, with their titles.
const std::pair<Section, const char16_t*> kSections[] = {
    {Section::Patient, u"Paciente"},
    {Section::Tweed, u"Análise de Tweed"},
    {Section::Dc, u"Discrepância Cefalométrica"},
    {Section::Space, u"Análise Total do Espaço (mm)"},
    {Section::Difficulty, u"Índice de Dificuldade"},
};

K KindOf(EvolutionSpec::Kind kind)
{
    switch (kind) {
    case EvolutionSpec::Number:
        return K::Number;
    case EvolutionSpec::Integer:
        return K::Integer;
    case EvolutionSpec::Percent:
        return K::Percent;
    case EvolutionSpec::Horn:
        return K::Horn;
    case EvolutionSpec::Grade:
        return K::Grade;
    }
    return K::Number;
}

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
    for (const auto& [section, title] : kSections) {
        EvolutionRow heading;
        heading.kind = K::Section;
        heading.label = QString::fromUtf16(title);
        ev.rows << heading;
        for (const TweedField& f : TweedFields()) {
            if (f.evolution.section != section)
                continue;
            EvolutionRow row;
            row.kind = KindOf(f.evolution.kind);
            row.key = f.key;
            // The grade row shows the word of the difficulty label, not the label.
            row.name = row.kind == K::Grade ? QStringLiteral("grade") : QLatin1String(f.objectName);
            row.label = f.evolution.label ? QString::fromUtf16(f.evolution.label) : f.captionText();
            row.result = f.result != nullptr;
            for (const EvolutionStage& s : stages)
                row.cells << (row.kind == K::Grade ? GradeOf(s.results.text(f.key)) : s.results.text(f.key));
            if (row.cells.size() >= 2)
                row.change = Change(row.kind, row.cells.front(), row.cells.back());
            ev.rows << row;
        }
    }
    for (const TweedField& f : TweedFields()) {
        if (!f.evolution.chart)
            continue;
        ChartMeasure m;
        m.caption = f.captionText();
        m.title = f.titleText();
        m.heading = ChartHeading(m.caption);
        m.band = f.norm.value_or(NormBand{});
        for (const EvolutionStage& s : stages) {
            const QString& text = s.results.text(f.key);
            m.values << (text.trimmed().isEmpty() ? std::nullopt : std::optional<double>(ParseReal(text)));
            m.labels << (m.values.back() ? ChartPointLabel(*m.values.back()) : QString());
        }
        ev.chart << m;
    }
    return ev;
}

}  // namespace qv
