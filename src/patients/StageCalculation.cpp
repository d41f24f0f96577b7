#include "patients/StageCalculation.h"

#include "records/TweedFile.h"
#include "tweed/TweedAnalysis.h"

namespace qv {

StageResults CalculateStage(const QByteArray& twe)
{
    StageResults out;
    if (twe.size() < TweedFileRecord::kSize)
        return out;  // the page's reader refuses a short file before filling anything
    out.readable = true;
    const TweedFileRecord r = TweedFileRecord::decode(twe);

    // The page after LoadTweedFile: the stored texts in their fields, the gender the flag
    // names, and the clinician's IMPA only when "Não" was chosen (dcsim empties it).
    TweedInputs in;
    for (const TweedMeasurementField& f : TweedMeasurementFields()) {
        out.texts.insert(QLatin1String(f.name), r.*(f.member));
    }
    in.twfma = r.twfma;
    in.twfmia = r.twfmia;
    in.twimpa = r.twimpa;
    in.twploc = r.twploc;
    in.twsna = r.twsna;
    in.twsnb = r.twsnb;
    in.twaobo = r.twaobo;
    in.twangz = r.twangz;
    in.twls = r.twls;
    in.twqt = r.twqt;
    in.twafa = r.twafa;
    in.twafp = r.twafp;
    in.anaer = r.anaer;
    in.anaep = r.anaep;
    in.anmer = r.anmer;
    in.anmep = r.anmep;
    in.anmspee = r.anmspee;
    in.anmcorr = r.anmcorr;
    in.anper = r.anper;
    in.anpep = r.anpep;
    in.dcnao = r.dcnao;
    in.dcopcres = r.dcnao ? r.dcopcres : QString();
    in.Idade = r.Idade;
    in.twPaciente = r.twPaciente;
    in.GenMasc = r.GenMasc;
    in.GenFem = !r.GenMasc;
    out.texts.insert(QStringLiteral("twPaciente"), in.twPaciente);
    out.texts.insert(QStringLiteral("Idade"), in.Idade);
    out.texts.insert(QStringLiteral("dcopcres"), in.dcopcres);

    const TweedRefusal refusal = CheckTweedInputs(in);
    if (refusal != TweedRefusal::None) {
        out.refusal = RefusalText(refusal);
        return out;
    }
    const TweedResults res = ComputeTweed(in);
    const std::pair<const char*, QString> results[] = {
        {"twanbres", res.twanbres},
        {"twafpafares", res.horn.percent},
        {"hornres", res.horn.text},
        {"dcfmares", res.targets.dcfmares},
        {"dcfmiares", res.targets.dcfmiares},
        // An opened analysis shows the clinician's IMPA as the target in force.
        {"dcimpares", in.dcopcres.isEmpty() ? res.targets.dcimpares : in.dcopcres},
        {"dcdcres", res.dcdcres},
        {"anadmres", res.space.anadmres},
        {"anadcres", res.space.anadcres},
        {"anamtmres", res.space.anamtmres},
        {"anantres", res.space.anantres},
        {"anmdmres", res.space.anmdmres},
        {"anmedres", res.space.anmedres},
        {"anpdmres", res.space.anpdmres},
        {"anpcresres", res.space.anpcresres},
        {"anposres", res.space.anposres},
        {"andiscres", res.space.andiscres},
        {"idfmares", res.difficulty.idfmares},
        {"idanbres", res.difficulty.idanbres},
        {"idangzres", res.difficulty.idangzres},
        {"idplocres", res.difficulty.idplocres},
        {"idsnbres", res.difficulty.idsnbres},
        {"idifres", res.difficulty.idifres},
        {"idsub1res", res.difficulty.idsub1res},
        {"iddmares", res.difficulty.iddmares},
        {"iddcres", res.difficulty.iddcres},
        {"idmtmres", res.difficulty.idmtmres},
        {"iddmmres", res.difficulty.iddmmres},
        {"idspeeres", res.difficulty.idspeeres},
        {"idcorrres", res.difficulty.idcorrres},
        {"iddmpres", res.difficulty.iddmpres},
        {"idsub2res", res.difficulty.idsub2res},
        {"idtotres", res.difficulty.idtotres},
        {"idlabel", res.difficulty.idlabel},
    };
    for (const auto& [name, text] : results)
        out.texts.insert(QLatin1String(name), text);
    return out;
}

}  // namespace qv
