#include "records/TweedModel.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <string>

namespace qv {

namespace {

using S = TweedSheet;
using G = TweedGroup;

// In the order of the report's parameters.
const std::array kFields = std::to_array<TweedField>({
    {"twPaciente", G::Patient, u"Paciente", &S::twPaciente, nullptr, 1, nullptr, u"", false, true, 50},
    {"Idade", G::Patient, u"Idade", &S::Idade, nullptr, 52, nullptr, u"", false, true, 2},
    {"twfma", G::Tweed, u"FMA (22° a 28°)", &S::twfma, nullptr, 56, "fma", u"°", false, true},
    {"twfmia", G::Tweed, u"FMIA (65° a 68°)", &S::twfmia, nullptr, 62, "fmia", u"°", false, true},
    {"twimpa", G::Tweed, u"IMPA (88° a 94°)", &S::twimpa, nullptr, 68, "impa", u"°", false, true},
    {"twploc", G::Tweed, u"Pl. ocl. - Hf (8° a 12°)", &S::twploc, nullptr, 74, "ploc", u"°", false, true},
    {"twsna", G::Tweed, u"SNA ( 80° a 84°)", &S::twsna, nullptr, 80, "sna", u"°", false, true},
    {"twsnb", G::Tweed, u"SNB (78° a 82°)", &S::twsnb, nullptr, 86, "snb", u"°", false, true},
    {"twanbres", G::Tweed, u"ANB ( 1° a 5°)", nullptr, [](const TweedResults& r) { return r.twanbres; }, -1, "anb", u"°", false, true},
    {"twaobo", G::Tweed, u"AO - BO ( 0 a 4 mm)", &S::twaobo, nullptr, 92, "aobo", u"mm", false, true},
    {"twangz", G::Tweed, u"Ang. Z ( 70° a 80°)", &S::twangz, nullptr, 98, "angz", u"°", false, true},
    {"twls", G::Tweed, u"LS", &S::twls, nullptr, 104, "ls", u"", false, true},
    {"twqt", G::Tweed, u"QT", &S::twqt, nullptr, 110, "qt", u"", false, true},
    {"twafa", G::Tweed, u"AFA", &S::twafa, nullptr, 116, "afa", u"", false, true},
    {"twafp", G::Tweed, u"AFP", &S::twafp, nullptr, 122, "afp", u"", false, true},
    {"twafpafares", G::Tweed, u"AFP / AFA ( 65% a 75%)", nullptr, [](const TweedResults& r) { return r.horn.percent; }, -1, "afpafa", u"", false, true},
    {"hornres", G::Tweed, u"Índice de Altura Facial de Horn", nullptr, [](const TweedResults& r) { return r.horn.text; }, -1, "horn", u"", true, false},
    {"idfmares", G::Difficulty, u"FMA", nullptr, [](const TweedResults& r) { return r.difficulty.idfmares; }, -1, "ifma", u"", false, true},
    {"idanbres", G::Difficulty, u"ANB", nullptr, [](const TweedResults& r) { return r.difficulty.idanbres; }, -1, "ianb", u"", false, true},
    {"idangzres", G::Difficulty, u"Ângulo Z", nullptr, [](const TweedResults& r) { return r.difficulty.idangzres; }, -1, "iangz", u"", false, true},
    {"idplocres", G::Difficulty, u"Pl. Ocl. Hf", nullptr, [](const TweedResults& r) { return r.difficulty.idplocres; }, -1, "iploc", u"", false, true},
    {"idsnbres", G::Difficulty, u"SNB", nullptr, [](const TweedResults& r) { return r.difficulty.idsnbres; }, -1, "isnb", u"", false, true},
    {"idifres", G::Difficulty, u"Índice Facial", nullptr, [](const TweedResults& r) { return r.difficulty.idifres; }, -1, "iif", u"", false, true},
    {"idsub1res", G::Difficulty, u"Sub Total", nullptr, [](const TweedResults& r) { return r.difficulty.idsub1res; }, -1, "isub1", u"", true, true},
    {"iddmares", G::Difficulty, u"DMAnt", nullptr, [](const TweedResults& r) { return r.difficulty.iddmares; }, -1, "idma", u"", false, true},
    {"iddcres", G::Difficulty, u"DC", nullptr, [](const TweedResults& r) { return r.difficulty.iddcres; }, -1, "idc", u"", false, true},
    {"idmtmres", G::Difficulty, u"MTM", nullptr, [](const TweedResults& r) { return r.difficulty.idmtmres; }, -1, "imtm", u"", false, true},
    {"iddmmres", G::Difficulty, u"DMMed", nullptr, [](const TweedResults& r) { return r.difficulty.iddmmres; }, -1, "idmm", u"", false, true},
    {"idspeeres", G::Difficulty, u"C. Spee", nullptr, [](const TweedResults& r) { return r.difficulty.idspeeres; }, -1, "ispee", u"", false, true},
    {"idcorrres", G::Difficulty, u"Correção Molar", nullptr, [](const TweedResults& r) { return r.difficulty.idcorrres; }, -1, "icorr", u"", false, true},
    {"iddmpres", G::Difficulty, u"DMPost", nullptr, [](const TweedResults& r) { return r.difficulty.iddmpres; }, -1, "idmp", u"", false, true},
    {"idsub2res", G::Difficulty, u"Sub Total", nullptr, [](const TweedResults& r) { return r.difficulty.idsub2res; }, -1, "isub2", u"", true, true},
    {"idtotres", G::Difficulty, u"Total", nullptr, [](const TweedResults& r) { return r.difficulty.idtotres; }, -1, "itot", u"", true, true},
    {"anaer", G::Anterior, u"ER", &S::anaer, nullptr, 128, "aer", u"", false, true},
    {"anaep", G::Anterior, u"EP", &S::anaep, nullptr, 134, "aep", u"", false, true},
    {"anadmres", G::Anterior, u"DM", nullptr, [](const TweedResults& r) { return r.space.anadmres; }, -1, "adm", u"", false, true},
    {"anadcres", G::Anterior, u"DC", nullptr, [](const TweedResults& r) { return r.space.anadcres; }, -1, "adc", u"", false, true},
    {"anamtmres", G::Anterior, u"MTM", nullptr, [](const TweedResults& r) { return r.space.anamtmres; }, -1, "amtm", u"", false, true},
    {"anantres", G::Anterior, u"Disc. Área Ant.", nullptr, [](const TweedResults& r) { return r.space.anantres; }, -1, "adisc", u"", true, true},
    {"anmer", G::Middle, u"ER", &S::anmer, nullptr, 140, "mer", u"", false, true},
    {"anmep", G::Middle, u"EP", &S::anmep, nullptr, 146, "mep", u"", false, true},
    {"anmdmres", G::Middle, u"DM", nullptr, [](const TweedResults& r) { return r.space.anmdmres; }, -1, "mdm", u"", false, true},
    {"anmspee", G::Middle, u"Curva Spee", &S::anmspee, nullptr, 152, "spee", u"", false, true},
    {"anmcorr", G::Middle, u"Correção Molar", &S::anmcorr, nullptr, 158, "corr", u"", false, true},
    {"anmedres", G::Middle, u"Disc. Área Med.", nullptr, [](const TweedResults& r) { return r.space.anmedres; }, -1, "mdisc", u"", true, true},
    {"anper", G::Posterior, u"ER", &S::anper, nullptr, 164, "per", u"", false, true},
    {"anpep", G::Posterior, u"EP", &S::anpep, nullptr, 170, "pep", u"", false, true},
    {"anpdmres", G::Posterior, u"DM", nullptr, [](const TweedResults& r) { return r.space.anpdmres; }, -1, "pdm", u"", false, true},
    {"anpcresres", G::Posterior, u"Cresc. Esper.", nullptr, [](const TweedResults& r) { return r.space.anpcresres; }, -1, "cres", u"", false, true},
    {"anposres", G::Posterior, u"Disc. Área Pos.", nullptr, [](const TweedResults& r) { return r.space.anposres; }, -1, "pdisc", u"", true, true},
    {"andiscres", G::Space, u"Discrepância Total", nullptr, [](const TweedResults& r) { return r.space.andiscres; }, -1, "total", u"", true, true},
    {"dcfmares", G::Dc, u"FMA", nullptr, [](const TweedResults& r) { return r.targets.dcfmares; }, -1, "dcfma", u"", false, true},
    {"dcfmiares", G::Dc, u"FMIA", nullptr, [](const TweedResults& r) { return r.targets.dcfmiares; }, -1, "dcfmia", u"", false, true},
    {"dcimpares", G::Dc, u"IMPA", nullptr, [](const TweedResults& r) { return r.targets.dcimpares; }, -1, "dcimpa", u"", false, true},
    {"dcdcres", G::Dc, u"DC", nullptr, [](const TweedResults& r) { return r.dcdcres; }, -1, "dcdc", u"", false, true},
    {"idlabel", G::Grade, nullptr, nullptr, [](const TweedResults& r) { return r.difficulty.idlabel; }, -1, "dif", u"", true, false},
});

}  // namespace

std::span<const TweedField> TweedFields() { return kFields; }

const TweedField& TweedFieldOf(const char* objectName)
{
    for (const TweedField& f : kFields)
        if (std::string_view(f.objectName) == objectName)
            return f;
    throw std::out_of_range(std::string("no Tweed field ") + objectName);
}

}  // namespace qv
