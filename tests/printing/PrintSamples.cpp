#include "PrintSamples.h"

namespace qv::test {

TweedReportSample SampleTweed()
{
    TweedReportSample t;
    t.sheet.twPaciente = QStringLiteral("ANA");
    t.sheet.Idade = QStringLiteral("34");
    t.sheet.GenFem = true;
    t.sheet.stage = AnalysisStage::INTER1;
    t.sheet.twfma = QStringLiteral("25.0");
    t.sheet.twfmia = QStringLiteral("68.0");
    t.sheet.twimpa = QStringLiteral("95.0");
    t.sheet.twploc = QStringLiteral("10.0");
    t.sheet.twsna = QStringLiteral("82.0");
    t.sheet.twsnb = QStringLiteral("78.5");
    t.results.twanbres = QStringLiteral("3.5");
    t.sheet.twaobo = QStringLiteral("-1.5");
    t.sheet.twangz = QStringLiteral("75.0");
    t.sheet.twls = QStringLiteral("15.0");
    t.sheet.twqt = QStringLiteral("12.0");
    t.sheet.twafa = QStringLiteral("70.0");
    t.sheet.twafp = QStringLiteral("45.0");
    t.results.horn.percent = QStringLiteral("64%");
    t.results.horn.text = QStringLiteral("Tratamento Ortodôntico");

    t.results.difficulty.idfmares = QStringLiteral("0.0");
    t.results.difficulty.idanbres = QStringLiteral("0.0");
    t.results.difficulty.idangzres = QStringLiteral("0.0");
    t.results.difficulty.idplocres = QStringLiteral("0.0");
    t.results.difficulty.idsnbres = QStringLiteral("0.0");
    t.results.difficulty.idifres = QStringLiteral("2.1");
    t.results.difficulty.idsub1res = QStringLiteral("2.1");
    t.results.difficulty.iddmares = QStringLiteral("3.8");
    t.results.difficulty.iddcres = QStringLiteral("6.4");
    t.results.difficulty.idmtmres = QStringLiteral("0.0");
    t.results.difficulty.iddmmres = QStringLiteral("1.0");
    t.results.difficulty.idspeeres = QStringLiteral("1.5");
    t.results.difficulty.idcorrres = QStringLiteral("4.0");
    t.results.difficulty.iddmpres = QStringLiteral("0.0");
    t.results.difficulty.idsub2res = QStringLiteral("16.7");
    t.results.difficulty.idtotres = QStringLiteral("18.8");
    t.results.difficulty.idlabel = QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: 18.8");

    t.sheet.anaer = QStringLiteral("10.0");
    t.sheet.anaep = QStringLiteral("7.5");
    t.results.space.anadmres = QStringLiteral("-2.5");
    t.results.space.anadcres = QStringLiteral("-6.4");
    t.results.space.anamtmres = QStringLiteral("0.0");
    t.results.space.anantres = QStringLiteral("-8.9");
    t.sheet.anmer = QStringLiteral("20.0");
    t.sheet.anmep = QStringLiteral("19.0");
    t.results.space.anmdmres = QStringLiteral("-1.0");
    t.sheet.anmspee = QStringLiteral("-1.5");
    t.sheet.anmcorr = QStringLiteral("-2.0");
    t.results.space.anmedres = QStringLiteral("-4.5");
    t.sheet.anper = QStringLiteral("12.0");
    t.sheet.anpep = QStringLiteral("8.0");
    t.results.space.anpdmres = QStringLiteral("-4.0");
    t.results.space.anpcresres = QStringLiteral("0.0");
    t.results.space.anposres = QStringLiteral("-4.0");
    t.results.space.andiscres = QStringLiteral("-17.4");

    t.results.targets.dcfmares = QStringLiteral("25.0");
    t.results.targets.dcfmiares = QStringLiteral("68.0");
    t.results.targets.dcimpares = QStringLiteral("87.0");
    t.results.dcdcres = QStringLiteral("-6.4");
    return t;
}

TweedReportSample SampleTweedDiagnosed()
{
    TweedReportSample t = SampleTweed();
    PanelState& ds = t.panel;
    const QString x = QStringLiteral("Extração");
    ds.antInfo = ds.medInfo = ds.posInfo = ds.descInfo = true;
    ds.dsant = x;
    ds.ant = {true, {QStringLiteral("X  4"), QStringLiteral("4  X"), QStringLiteral("X  4"), QStringLiteral("4  X")}};
    ds.dsmed = x;
    ds.med = {true, {QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8")}};
    ds.ou = true;
    ds.dsmed2 = x;
    ds.med2 = {true, {QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("5")}};
    ds.dspos = x;
    ds.pos = {true, {QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8")}};
    // The tallest texts the guide writes into slots 4 and 5.
    ds.dsdesc = {x, x, x, QStringLiteral("Extração, força de inclinação\rdistal e usar forças\rdirecionais intrusivas"),
                 QStringLiteral("Tratamento compensatório por\rposicionamento dentário")};
    ds.ouDesc = {true, true, true, true};
    ds.desc[0] = {true, {QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("8")}};
    ds.desc[1] = {true, {QStringLiteral("4"), QStringLiteral("4"), QString(), QString()}};
    ds.desc[2] = {true, {QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("5")}};
    ds.desc[3] = {true, {QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5")}};
    return t;
}

BoltonSample SampleBolton()
{
    BoltonSample sample;
    BoltonSheet& t = sample.sheet;
    BoltonResults& b = sample.results;
    t.bpaciente = QStringLiteral("BIA");
    const char* upper[12] = {"10.0", "7.0", "7.5", "8.0", "6.5", "8.5", "8.5", "6.5", "8.0", "7.5", "7.0", "10.0"};
    const char* lower[12] = {"11.0", "7.0", "7.0", "7.0", "6.0", "5.5", "5.5", "6.0", "7.0", "7.0", "7.0", "11.0"};
    for (int k = 0; k < 12; ++k) {
        t.s[size_t(k)] = QString::fromLatin1(upper[k]);
        t.i[size_t(k)] = QString::fromLatin1(lower[k]);
    }
    b.sup12res = QStringLiteral("95.0");
    b.sup6res = QStringLiteral("46.0");
    b.inf12res = QStringLiteral("88.0");
    b.inf6res = QStringLiteral("37.0");
    b.cinf12res = QStringLiteral("88.0");
    b.csup12res = QStringLiteral("95.0");
    b.x10012res = QStringLiteral("92.6 %");
    b.cinf6res = QStringLiteral("37.0");
    b.csup6res = QStringLiteral("46.0");
    b.x1006res = QStringLiteral("80.4 %");
    b.busca12 = QStringLiteral("+ 91.3 :");
    b.busca12res = QStringLiteral("88.0");
    b.infobusca12res = QStringLiteral("I 12");
    b.tab12res = QStringLiteral("86.7");
    b.res12 = QStringLiteral("1.3");
    b.res12info = QStringLiteral("Exc I");
    b.busca6 = QStringLiteral("+ 77.2 :");
    b.busca6res = QStringLiteral("37.0");
    b.infobusca6res = QStringLiteral("I 06");
    b.tab6res = QStringLiteral("35.5");
    b.res6 = QStringLiteral("1.5");
    b.res6info = QStringLiteral("Exc I");
    b.diag12info = QStringLiteral("Soma dos 12 dentes (distal do\r1º molar à distal do 1º molar do\rlado oposto).");
    b.diag12 = QStringLiteral("Excesso mandibular de 1.3mm");
    b.diag6info = QStringLiteral("Soma dos 6 dentes anteriores\r(distal do canino à distal do canino\rdo lado oposto).");
    b.diag6 = QStringLiteral("Excesso mandibular de 1.5mm");
    return sample;
}

ReportParamList SampleBoltonReport()
{
    const BoltonSample b = SampleBolton();
    return BuildBoltonReport(b.sheet, b.results);
}

QString SampleHistoryFile(const QString& patient, int visits)
{
    QString f = patient + QStringLiteral("\r\n");
    for (int v = 1; v <= visits; ++v) {
        f += QStringLiteral("%1/03/2024\r\n\r\n").arg(v % 28 + 1, 2, 10, QChar(u'0'));
        f += QStringLiteral("Consulta %1: ajuste do arco superior, troca das ligaduras elásticas e "
                            "orientação de higiene.\r\n").arg(v);
        f += QString(145, u'-') + QStringLiteral("\r\n");
    }
    return f;
}

}  // namespace qv::test
