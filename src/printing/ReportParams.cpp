#include "printing/ReportParams.h"

#include "records/TweedFile.h"

namespace qv {

namespace {

const QString kSep = QString::fromUtf16(kReportSeparator);

class Params {
public:
    void set(const QString& name, const QString& text) { list.append({name, text}); }
    // caption + ":  " + value + unit
    void line(const QString& name, const QString& caption, const QString& value, const QString& unit = QString())
    {
        set(name, caption + kSep + value + unit);
    }
    ReportParamList list;
};

// Crosses in the order of the report: anterior, middle, second middle, posterior, skeletal 1 .. 4.
struct CrossSlot {
    const ExtractionCross* cross;
    QChar prefix;  // of the quadrant parameters
    int first;     // number of the first quadrant parameter
};

}  // namespace

QString DiagnosisJoint() { return QStringLiteral("\r\r\r\rou\r\r"); }

TweedReportPlan BuildTweedReport(const TweedSheet& t, const TweedResults& r, const PanelState& ds)
{
    Params p;

    // Crosses: set only when the upper-left quadrant holds a tooth.
    const std::array<CrossSlot, 8> crosses = {{{&ds.ant, u'a', 1},
                                               {&ds.med, u'm', 1},
                                               {&ds.med2, u'm', 5},
                                               {&ds.pos, u'p', 1},
                                               {&ds.desc[0], u'd', 1},
                                               {&ds.desc[1], u'd', 5},
                                               {&ds.desc[2], u'd', 9},
                                               {&ds.desc[3], u'd', 13}}};
    for (size_t n = 0; n < crosses.size(); ++n) {
        const CrossSlot& c = crosses[n];
        if (c.cross->quadrants[0].isEmpty())
            continue;
        const QString number = QString::number(n + 1);
        p.set(QStringLiteral("cruzh") + number, QStringLiteral("____"));
        p.set(QStringLiteral("cruzv") + number, QStringLiteral("||"));
        for (int q = 0; q < 4; ++q)
            p.set(QString(c.prefix) + QString::number(c.first + q), c.cross->quadrants[size_t(q)]);
    }

    p.set(QStringLiteral("nome"), TweedFieldOf(TweedKey::twPaciente).captionText() + kSep + t.twPaciente + QStringLiteral("  -  ")
                                      + StageText(t.stage));
    p.line(QStringLiteral("idade"), TweedFieldOf(TweedKey::Idade).captionText(), t.Idade, QStringLiteral(" anos"));
    p.set(QStringLiteral("genero"), t.GenMasc ? QStringLiteral("Gênero:  Masculino") : QStringLiteral("Gênero:  Feminino"));

    for (const TweedField& f : TweedFields()) {
        if (!f.reportParam)
            continue;
        const QString name = QLatin1String(f.reportParam);
        QString value = f.value(t, r);
        // The clinician's own IMPA while it is in force, not the target.
        if (f.key == TweedKey::dcimpares && t.dcnao)
            value = t.dcopcres;
        if (f.captionInReport)
            p.line(name, f.captionText(), value, QString::fromUtf16(f.unit));
        else
            p.set(name, value);
    }

    TweedReportPlan plan;
    const QString J = DiagnosisJoint();
    if (ds.antInfo) {
        plan.lastPage = 2;
        p.set(QStringLiteral("discantinfo"), QStringLiteral("Discrepância Anterior"));
        p.set(QStringLiteral("discant"), ds.dsant);
    }
    if (ds.medInfo) {
        p.set(QStringLiteral("discmedinfo"), QStringLiteral("Discrepância Média"));
        p.set(QStringLiteral("discmed"), ds.ou ? ds.dsmed + J + ds.dsmed2 : ds.dsmed);
        plan.alternatives.append({QStringLiteral("discmed1"), ds.dsmed});
        if (ds.ou) {
            plan.alternatives.append({QStringLiteral("discmedou2"), QStringLiteral("ou")});
            plan.alternatives.append({QStringLiteral("discmed2"), ds.dsmed2});
        }
    }
    if (ds.posInfo) {
        p.set(QStringLiteral("discposinfo"), QStringLiteral("Discrepância Posterior"));
        p.set(QStringLiteral("discpos"), ds.dspos);
    }
    if (ds.descInfo) {
        p.set(QStringLiteral("desarminfo"), QStringLiteral("Desarmonia Esquelética"));
        // The last non-empty slot, searched from slot 5 down to slot 2.
        int last = 0;
        for (int k = 4; k >= 1; --k)
            if (!ds.dsdesc[size_t(k)].isEmpty()) {
                last = k;
                break;
            }
        QString desarm = ds.dsdesc[0];
        for (int k = 1; k <= last; ++k)
            desarm += J + ds.dsdesc[size_t(k)];
        for (int k = 0; k <= last; ++k) {
            const QString n = QString::number(k + 1);
            if (k > 0)
                plan.alternatives.append({QStringLiteral("desarmou") + n, QStringLiteral("ou")});
            plan.alternatives.append({QStringLiteral("desarm") + n, ds.dsdesc[size_t(k)]});
        }
        p.set(QStringLiteral("desarm"), desarm);
    }
    plan.params = std::move(p.list);
    return plan;
}

ReportParamList BuildBoltonReport(const BoltonSheet& sheet, const BoltonResults& r)
{
    Params p;
    for (const BoltonField& f : BoltonFields()) {
        if (f.reportParam.isEmpty())
            continue;
        if (f.captionedInReport)
            p.line(f.reportParam, f.caption, f.of(sheet));
        else
            p.set(f.reportParam, f.of(sheet));
    }
    // Each result as its label shows it; the diagnoses join the fixed text and the finding.
    const std::pair<const char*, QString BoltonResults::*> results[] = {
        {"rs12", &BoltonResults::sup12res},
        {"rs6", &BoltonResults::sup6res},
        {"ri12", &BoltonResults::inf12res},
        {"ri6", &BoltonResults::inf6res},
        {"busca12", &BoltonResults::busca12},
        {"busca6", &BoltonResults::busca6},
        {"busca12res", &BoltonResults::busca12res},
        {"busca6res", &BoltonResults::busca6res},
        {"infobusca12res", &BoltonResults::infobusca12res},
        {"infobusca6res", &BoltonResults::infobusca6res},
        {"res12info", &BoltonResults::res12info},
        {"res6info", &BoltonResults::res6info},
        {"tab12res", &BoltonResults::tab12res},
        {"tab6res", &BoltonResults::tab6res},
        {"res12", &BoltonResults::res12},
        {"res6", &BoltonResults::res6},
        {"contai12", &BoltonResults::cinf12res},
        {"contas12", &BoltonResults::csup12res},
        {"contai6", &BoltonResults::cinf6res},
        {"contas6", &BoltonResults::csup6res},
        {"contatotal12", &BoltonResults::x10012res},
        {"contatotal6", &BoltonResults::x1006res},
    };
    for (const auto& [name, text] : results)
        p.set(QString::fromLatin1(name), r.*text);
    p.set(QStringLiteral("diag12"), r.diag12info + QStringLiteral("\r\r") + r.diag12);
    p.set(QStringLiteral("diag6"), r.diag6info + QStringLiteral("\r\r") + r.diag6);
    return p.list;
}

QStringList SplitFileLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString HistoryMemo(const QStringList& fileLines, int count)
{
    QString memo;
    for (int k = 0; k < count; ++k) {
        const qsizetype index = qsizetype(k) + 1;  // past the name line
        if (index < fileLines.size())
            memo += fileLines[index];
        memo += QStringLiteral("\r\n");
    }
    return memo;
}

ReportParamList BuildHistoryReport(const QString& plpaciente, const QString& memo1)
{
    return {{QStringLiteral("nome"), QStringLiteral("Paciente") + kSep + plpaciente}, {QStringLiteral("memo1"), memo1}};
}

QString PlanMemo(const QString& outline)
{
    QString t = outline;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return t;
}

ReportParamList BuildPlanReport(const QString& popaciente, const QString& outline)
{
    return {{QStringLiteral("nome"), QStringLiteral("Paciente") + kSep + popaciente},
            {QStringLiteral("memo1"), PlanMemo(outline)}};
}

}  // namespace qv
