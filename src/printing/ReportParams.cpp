#include "printing/ReportParams.h"

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

QString StageWord(bool inicial, bool inter1, bool inter2)
{
    if (inicial)
        return QStringLiteral("INICIAL");
    if (inter1)
        return QStringLiteral("INTER1");
    if (inter2)
        return QStringLiteral("INTER2");
    return QStringLiteral("FINAL");
}

TweedReportPlan BuildTweedReport(const TweedReportTexts& t)
{
    Params p;
    const PanelState& ds = t.panel;

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

    p.set(QStringLiteral("nome"), QStringLiteral("Paciente") + kSep + t.twPaciente + QStringLiteral("  -  ")
                                      + StageWord(t.inicial, t.inter1, t.inter2));
    p.line(QStringLiteral("idade"), QStringLiteral("Idade"), t.Idade, QStringLiteral(" anos"));
    p.set(QStringLiteral("genero"), t.GenMasc ? QStringLiteral("Gênero:  Masculino") : QStringLiteral("Gênero:  Feminino"));

    const QString deg = QStringLiteral("°");
    p.line(QStringLiteral("fma"), QStringLiteral("FMA (22° a 28°)"), t.twfma, deg);
    p.line(QStringLiteral("fmia"), QStringLiteral("FMIA (65° a 68°)"), t.twfmia, deg);
    p.line(QStringLiteral("impa"), QStringLiteral("IMPA (88° a 94°)"), t.twimpa, deg);
    p.line(QStringLiteral("ploc"), QStringLiteral("Pl. ocl. - Hf (8° a 12°)"), t.twploc, deg);
    p.line(QStringLiteral("sna"), QStringLiteral("SNA ( 80° a 84°)"), t.twsna, deg);
    p.line(QStringLiteral("snb"), QStringLiteral("SNB (78° a 82°)"), t.twsnb, deg);
    p.line(QStringLiteral("anb"), QStringLiteral("ANB ( 1° a 5°)"), t.twanbres, deg);
    p.line(QStringLiteral("aobo"), QStringLiteral("AO - BO ( 0 a 4 mm)"), t.twaobo, QStringLiteral("mm"));
    p.line(QStringLiteral("angz"), QStringLiteral("Ang. Z ( 70° a 80°)"), t.twangz, deg);
    p.line(QStringLiteral("ls"), QStringLiteral("LS"), t.twls);
    p.line(QStringLiteral("qt"), QStringLiteral("QT"), t.twqt);
    p.line(QStringLiteral("afa"), QStringLiteral("AFA"), t.twafa);
    p.line(QStringLiteral("afp"), QStringLiteral("AFP"), t.twafp);
    p.line(QStringLiteral("afpafa"), QStringLiteral("AFP / AFA ( 65% a 75%)"), t.twafpafares);
    p.set(QStringLiteral("horn"), t.hornres);

    p.line(QStringLiteral("ifma"), QStringLiteral("FMA"), t.idfmares);
    p.line(QStringLiteral("ianb"), QStringLiteral("ANB"), t.idanbres);
    p.line(QStringLiteral("iangz"), QStringLiteral("Ângulo Z"), t.idangzres);
    p.line(QStringLiteral("iploc"), QStringLiteral("Pl. Ocl. Hf"), t.idplocres);
    p.line(QStringLiteral("isnb"), QStringLiteral("SNB"), t.idsnbres);
    p.line(QStringLiteral("iif"), QStringLiteral("Índice Facial"), t.idifres);
    p.line(QStringLiteral("isub1"), QStringLiteral("Sub Total"), t.idsub1res);
    p.line(QStringLiteral("idma"), QStringLiteral("DMAnt"), t.iddmares);
    p.line(QStringLiteral("idc"), QStringLiteral("DC"), t.iddcres);
    p.line(QStringLiteral("imtm"), QStringLiteral("MTM"), t.idmtmres);
    p.line(QStringLiteral("idmm"), QStringLiteral("DMMed"), t.iddmmres);
    p.line(QStringLiteral("ispee"), QStringLiteral("C. Spee"), t.idspeeres);
    p.line(QStringLiteral("icorr"), QStringLiteral("Correção Molar"), t.idcorrres);
    p.line(QStringLiteral("idmp"), QStringLiteral("DMPost"), t.iddmpres);
    p.line(QStringLiteral("isub2"), QStringLiteral("Sub Total"), t.idsub2res);
    p.line(QStringLiteral("itot"), QStringLiteral("Total"), t.idtotres);

    p.line(QStringLiteral("aer"), QStringLiteral("ER"), t.anaer);
    p.line(QStringLiteral("aep"), QStringLiteral("EP"), t.anaep);
    p.line(QStringLiteral("adm"), QStringLiteral("DM"), t.anadmres);
    p.line(QStringLiteral("adc"), QStringLiteral("DC"), t.anadcres);
    p.line(QStringLiteral("amtm"), QStringLiteral("MTM"), t.anamtmres);
    p.line(QStringLiteral("adisc"), QStringLiteral("Disc. Área Ant."), t.anantres);
    p.line(QStringLiteral("mer"), QStringLiteral("ER"), t.anmer);
    p.line(QStringLiteral("mep"), QStringLiteral("EP"), t.anmep);
    p.line(QStringLiteral("mdm"), QStringLiteral("DM"), t.anmdmres);
    p.line(QStringLiteral("spee"), QStringLiteral("Curva Spee"), t.anmspee);
    p.line(QStringLiteral("corr"), QStringLiteral("Correção Molar"), t.anmcorr);
    p.line(QStringLiteral("mdisc"), QStringLiteral("Disc. Área Med."), t.anmedres);
    p.line(QStringLiteral("per"), QStringLiteral("ER"), t.anper);
    p.line(QStringLiteral("pep"), QStringLiteral("EP"), t.anpep);
    p.line(QStringLiteral("pdm"), QStringLiteral("DM"), t.anpdmres);
    p.line(QStringLiteral("cres"), QStringLiteral("Cresc. Esper."), t.anpcresres);
    p.line(QStringLiteral("pdisc"), QStringLiteral("Disc. Área Pos."), t.anposres);
    p.line(QStringLiteral("total"), QStringLiteral("Discrepância Total"), t.andiscres);

    p.line(QStringLiteral("dcfma"), QStringLiteral("FMA"), t.dcfmares);
    p.line(QStringLiteral("dcfmia"), QStringLiteral("FMIA"), t.dcfmiares);
    p.line(QStringLiteral("dcimpa"), QStringLiteral("IMPA"), t.dcnao ? t.dcopcres : t.dcimpares);
    p.line(QStringLiteral("dcdc"), QStringLiteral("DC"), t.dcdcres);
    p.set(QStringLiteral("dif"), t.idlabel);

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

ReportParamList BuildBoltonReport(const BoltonReportTexts& t)
{
    Params p;
    p.set(QStringLiteral("nome"), QStringLiteral("Paciente") + kSep + t.bpaciente);
    for (int k = 0; k < 12; ++k)
        p.set(QStringLiteral("s") + QString::number(k + 1), t.s[size_t(k)]);
    for (int k = 0; k < 12; ++k)
        p.set(QStringLiteral("i") + QString::number(k + 1), t.i[size_t(k)]);
    p.set(QStringLiteral("rs12"), t.sup12res);
    p.set(QStringLiteral("rs6"), t.sup6res);
    p.set(QStringLiteral("ri12"), t.inf12res);
    p.set(QStringLiteral("ri6"), t.inf6res);
    p.set(QStringLiteral("busca12"), t.busca12);
    p.set(QStringLiteral("busca6"), t.busca6);
    p.set(QStringLiteral("busca12res"), t.busca12res);
    p.set(QStringLiteral("busca6res"), t.busca6res);
    p.set(QStringLiteral("infobusca12res"), t.infobusca12res);
    p.set(QStringLiteral("infobusca6res"), t.infobusca6res);
    p.set(QStringLiteral("res12info"), t.res12info);
    p.set(QStringLiteral("res6info"), t.res6info);
    p.set(QStringLiteral("tab12res"), t.tab12res);
    p.set(QStringLiteral("tab6res"), t.tab6res);
    p.set(QStringLiteral("res12"), t.res12);
    p.set(QStringLiteral("res6"), t.res6);
    p.set(QStringLiteral("contai12"), t.cinf12res);
    p.set(QStringLiteral("contas12"), t.csup12res);
    p.set(QStringLiteral("contai6"), t.cinf6res);
    p.set(QStringLiteral("contas6"), t.csup6res);
    p.set(QStringLiteral("contatotal12"), t.x10012res);
    p.set(QStringLiteral("contatotal6"), t.x1006res);
    p.set(QStringLiteral("diag12"), t.diag12info + QStringLiteral("\r\r") + t.diag12);
    p.set(QStringLiteral("diag6"), t.diag6info + QStringLiteral("\r\r") + t.diag6);
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
