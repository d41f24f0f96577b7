#include "tweed/TweedReportTexts.h"

#include "guide/DiagnosisPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace qv {

TweedReportTexts ReadTweedReportTexts(const QWidget& page)
{
    const auto text = [&page](const char* name) {
        const QString n = QLatin1String(name);
        if (const auto* e = page.findChild<QLineEdit*>(n))
            return e->text();
        if (const auto* l = page.findChild<QLabel*>(n))
            return l->text();
        return QString();
    };
    const auto checked = [&page](const char* name) {
        const auto* r = page.findChild<QRadioButton*>(QLatin1String(name));
        return r && r->isChecked();
    };

    TweedReportTexts t;
    t.twPaciente = text("twPaciente");
    t.Idade = text("Idade");
    t.GenMasc = checked("GenMasc");
    t.inicial = checked("inicial");
    t.inter1 = checked("inter1");
    t.inter2 = checked("inter2");
    t.twfma = text("twfma");
    t.twfmia = text("twfmia");
    t.twimpa = text("twimpa");
    t.twploc = text("twploc");
    t.twsna = text("twsna");
    t.twsnb = text("twsnb");
    t.twanbres = text("twanbres");
    t.twaobo = text("twaobo");
    t.twangz = text("twangz");
    t.twls = text("twls");
    t.twqt = text("twqt");
    t.twafa = text("twafa");
    t.twafp = text("twafp");
    t.twafpafares = text("twafpafares");
    t.hornres = text("hornres");
    t.idfmares = text("idfmares");
    t.idanbres = text("idanbres");
    t.idangzres = text("idangzres");
    t.idplocres = text("idplocres");
    t.idsnbres = text("idsnbres");
    t.idifres = text("idifres");
    t.idsub1res = text("idsub1res");
    t.iddmares = text("iddmares");
    t.iddcres = text("iddcres");
    t.idmtmres = text("idmtmres");
    t.iddmmres = text("iddmmres");
    t.idspeeres = text("idspeeres");
    t.idcorrres = text("idcorrres");
    t.iddmpres = text("iddmpres");
    t.idsub2res = text("idsub2res");
    t.idtotres = text("idtotres");
    t.idlabel = text("idlabel");
    t.anaer = text("anaer");
    t.anaep = text("anaep");
    t.anadmres = text("anadmres");
    t.anadcres = text("anadcres");
    t.anamtmres = text("anamtmres");
    t.anantres = text("anantres");
    t.anmer = text("anmer");
    t.anmep = text("anmep");
    t.anmdmres = text("anmdmres");
    t.anmspee = text("anmspee");
    t.anmcorr = text("anmcorr");
    t.anmedres = text("anmedres");
    t.anper = text("anper");
    t.anpep = text("anpep");
    t.anpdmres = text("anpdmres");
    t.anpcresres = text("anpcresres");
    t.anposres = text("anposres");
    t.andiscres = text("andiscres");
    t.dcfmares = text("dcfmares");
    t.dcfmiares = text("dcfmiares");
    t.dcimpares = text("dcimpares");
    t.dcdcres = text("dcdcres");
    t.dcnao = checked("dcnao");
    t.dcopcres = text("dcopcres");
    if (const auto* panel = page.findChild<DiagnosisPanel*>(QStringLiteral("ds")))
        t.panel = panel->state();
    return t;
}

}  // namespace qv
