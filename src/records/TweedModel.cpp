#include "records/TweedModel.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <string>

namespace qv {

namespace {

using S = TweedSheet;
using G = TweedGroup;
using K = TweedKey;
using E = EvolutionSpec;

// In the order of the report's parameters.
constexpr std::array kFields = std::to_array<TweedField>({
    {K::twPaciente, "twPaciente", G::Patient, u"Paciente", &S::twPaciente, nullptr, 1, nullptr, u"", false, true, 50},
    {K::Idade, "Idade", G::Patient, u"Idade", &S::Idade, nullptr, 52, nullptr, u"", false, true, 2, nullptr, std::nullopt, {E::Patient, E::Integer, u"Idade (anos)"}, std::nullopt},
    {K::twfma, "twfma", G::Tweed, u"FMA (22° a 28°)", &S::twfma, nullptr, 56, "fma", u"°", false, true, 5, u"FMA", NormBand{22, 28}, {E::Tweed, E::Number, nullptr, true}, Measure::FMA},
    {K::twfmia, "twfmia", G::Tweed, u"FMIA (65° a 68°)", &S::twfmia, nullptr, 62, "fmia", u"°", false, true, 5, u"FMIA", NormBand{65, 68}, {E::Tweed, E::Number, nullptr, true}, Measure::FMIA},
    {K::twimpa, "twimpa", G::Tweed, u"IMPA (88° a 94°)", &S::twimpa, nullptr, 68, "impa", u"°", false, true, 5, u"IMPA", NormBand{88, 94}, {E::Tweed, E::Number, nullptr, true}, Measure::IMPA},
    {K::twploc, "twploc", G::Tweed, u"Pl. ocl. - Hf (8° a 12°)", &S::twploc, nullptr, 74, "ploc", u"°", false, true, 5, u"Pl. ocl. - Hf", NormBand{8, 12}, {E::Tweed}, Measure::PlOcl},
    {K::twsna, "twsna", G::Tweed, u"SNA ( 80° a 84°)", &S::twsna, nullptr, 80, "sna", u"°", false, true, 5, u"SNA", NormBand{80, 84}, {E::Tweed}, Measure::SNA},
    {K::twsnb, "twsnb", G::Tweed, u"SNB (78° a 82°)", &S::twsnb, nullptr, 86, "snb", u"°", false, true, 5, u"SNB", NormBand{78, 82}, {E::Tweed}, Measure::SNB},
    {K::twanbres, "twanbres", G::Tweed, u"ANB ( 1° a 5°)", nullptr, [](const TweedResults& r) { return r.twanbres; }, -1, "anb", u"°", false, true, 5, u"ANB", NormBand{1, 5}, {E::Tweed, E::Number, nullptr, true}, std::nullopt},
    {K::twaobo, "twaobo", G::Tweed, u"AO - BO ( 0 a 4 mm)", &S::twaobo, nullptr, 92, "aobo", u"mm", false, true, 5, u"AO - BO", NormBand{0, 4}, {E::Tweed}, Measure::AoBo},
    {K::twangz, "twangz", G::Tweed, u"Ang. Z ( 70° a 80°)", &S::twangz, nullptr, 98, "angz", u"°", false, true, 5, u"Ang. Z", NormBand{70, 80}, {E::Tweed, E::Number, nullptr, true}, Measure::AngZ},
    {K::twls, "twls", G::Tweed, u"LS", &S::twls, nullptr, 104, "ls", u"", false, true, 5, nullptr, std::nullopt, {E::Tweed}, Measure::LS},
    {K::twqt, "twqt", G::Tweed, u"QT", &S::twqt, nullptr, 110, "qt", u"", false, true, 5, nullptr, std::nullopt, {E::Tweed}, Measure::QT},
    {K::twafa, "twafa", G::Tweed, u"AFA", &S::twafa, nullptr, 116, "afa", u"", false, true, 5, nullptr, std::nullopt, {E::Tweed}, Measure::AFA},
    {K::twafp, "twafp", G::Tweed, u"AFP", &S::twafp, nullptr, 122, "afp", u"", false, true, 5, nullptr, std::nullopt, {E::Tweed}, Measure::AFP},
    {K::twafpafares, "twafpafares", G::Tweed, u"AFP / AFA ( 65% a 75%)", nullptr, [](const TweedResults& r) { return r.horn.percent; }, -1, "afpafa", u"", false, true, 5, u"AFP / AFA", NormBand{65, 75}, {E::Tweed, E::Percent}, std::nullopt},
    {K::hornres, "hornres", G::Tweed, u"Índice de Altura Facial de Horn", nullptr, [](const TweedResults& r) { return r.horn.text; }, -1, "horn", u"", true, false, 5, nullptr, std::nullopt, {E::Tweed, E::Horn}, std::nullopt},
    {K::idfmares, "idfmares", G::Difficulty, u"FMA", nullptr, [](const TweedResults& r) { return r.difficulty.idfmares; }, -1, "ifma", u"", false, true},
    {K::idanbres, "idanbres", G::Difficulty, u"ANB", nullptr, [](const TweedResults& r) { return r.difficulty.idanbres; }, -1, "ianb", u"", false, true},
    {K::idangzres, "idangzres", G::Difficulty, u"Ângulo Z", nullptr, [](const TweedResults& r) { return r.difficulty.idangzres; }, -1, "iangz", u"", false, true},
    {K::idplocres, "idplocres", G::Difficulty, u"Pl. Ocl. Hf", nullptr, [](const TweedResults& r) { return r.difficulty.idplocres; }, -1, "iploc", u"", false, true},
    {K::idsnbres, "idsnbres", G::Difficulty, u"SNB", nullptr, [](const TweedResults& r) { return r.difficulty.idsnbres; }, -1, "isnb", u"", false, true},
    {K::idifres, "idifres", G::Difficulty, u"Índice Facial", nullptr, [](const TweedResults& r) { return r.difficulty.idifres; }, -1, "iif", u"", false, true},
    {K::idsub1res, "idsub1res", G::Difficulty, u"Sub Total", nullptr, [](const TweedResults& r) { return r.difficulty.idsub1res; }, -1, "isub1", u"", true, true},
    {K::iddmares, "iddmares", G::Difficulty, u"DMAnt", nullptr, [](const TweedResults& r) { return r.difficulty.iddmares; }, -1, "idma", u"", false, true},
    {K::iddcres, "iddcres", G::Difficulty, u"DC", nullptr, [](const TweedResults& r) { return r.difficulty.iddcres; }, -1, "idc", u"", false, true},
    {K::idmtmres, "idmtmres", G::Difficulty, u"MTM", nullptr, [](const TweedResults& r) { return r.difficulty.idmtmres; }, -1, "imtm", u"", false, true},
    {K::iddmmres, "iddmmres", G::Difficulty, u"DMMed", nullptr, [](const TweedResults& r) { return r.difficulty.iddmmres; }, -1, "idmm", u"", false, true},
    {K::idspeeres, "idspeeres", G::Difficulty, u"C. Spee", nullptr, [](const TweedResults& r) { return r.difficulty.idspeeres; }, -1, "ispee", u"", false, true},
    {K::idcorrres, "idcorrres", G::Difficulty, u"Correção Molar", nullptr, [](const TweedResults& r) { return r.difficulty.idcorrres; }, -1, "icorr", u"", false, true},
    {K::iddmpres, "iddmpres", G::Difficulty, u"DMPost", nullptr, [](const TweedResults& r) { return r.difficulty.iddmpres; }, -1, "idmp", u"", false, true},
    {K::idsub2res, "idsub2res", G::Difficulty, u"Sub Total", nullptr, [](const TweedResults& r) { return r.difficulty.idsub2res; }, -1, "isub2", u"", true, true},
    {K::idtotres, "idtotres", G::Difficulty, u"Total", nullptr, [](const TweedResults& r) { return r.difficulty.idtotres; }, -1, "itot", u"", true, true, 5, nullptr, std::nullopt, {E::Difficulty, E::Number, u"Índice de dificuldade (total)"}, std::nullopt},
    {K::anaer, "anaer", G::Anterior, u"ER", &S::anaer, nullptr, 128, "aer", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área anterior: espaço requerido"}, std::nullopt},
    {K::anaep, "anaep", G::Anterior, u"EP", &S::anaep, nullptr, 134, "aep", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área anterior: espaço presente"}, std::nullopt},
    {K::anadmres, "anadmres", G::Anterior, u"DM", nullptr, [](const TweedResults& r) { return r.space.anadmres; }, -1, "adm", u"", false, true},
    {K::anadcres, "anadcres", G::Anterior, u"DC", nullptr, [](const TweedResults& r) { return r.space.anadcres; }, -1, "adc", u"", false, true},
    {K::anamtmres, "anamtmres", G::Anterior, u"MTM", nullptr, [](const TweedResults& r) { return r.space.anamtmres; }, -1, "amtm", u"", false, true},
    {K::anantres, "anantres", G::Anterior, u"Disc. Área Ant.", nullptr, [](const TweedResults& r) { return r.space.anantres; }, -1, "adisc", u"", true, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Disc. Área Anterior"}, std::nullopt},
    {K::anmer, "anmer", G::Middle, u"ER", &S::anmer, nullptr, 140, "mer", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área média: espaço requerido"}, std::nullopt},
    {K::anmep, "anmep", G::Middle, u"EP", &S::anmep, nullptr, 146, "mep", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área média: espaço presente"}, std::nullopt},
    {K::anmdmres, "anmdmres", G::Middle, u"DM", nullptr, [](const TweedResults& r) { return r.space.anmdmres; }, -1, "mdm", u"", false, true},
    {K::anmspee, "anmspee", G::Middle, u"Curva Spee", &S::anmspee, nullptr, 152, "spee", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Curva de Spee"}, std::nullopt},
    {K::anmcorr, "anmcorr", G::Middle, u"Correção Molar", &S::anmcorr, nullptr, 158, "corr", u"", false, true, 5, nullptr, std::nullopt, {E::Space}, std::nullopt},
    {K::anmedres, "anmedres", G::Middle, u"Disc. Área Med.", nullptr, [](const TweedResults& r) { return r.space.anmedres; }, -1, "mdisc", u"", true, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Disc. Área Média"}, std::nullopt},
    {K::anper, "anper", G::Posterior, u"ER", &S::anper, nullptr, 164, "per", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área posterior: espaço requerido"}, std::nullopt},
    {K::anpep, "anpep", G::Posterior, u"EP", &S::anpep, nullptr, 170, "pep", u"", false, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Área posterior: espaço presente"}, std::nullopt},
    {K::anpdmres, "anpdmres", G::Posterior, u"DM", nullptr, [](const TweedResults& r) { return r.space.anpdmres; }, -1, "pdm", u"", false, true},
    {K::anpcresres, "anpcresres", G::Posterior, u"Cresc. Esper.", nullptr, [](const TweedResults& r) { return r.space.anpcresres; }, -1, "cres", u"", false, true},
    {K::anposres, "anposres", G::Posterior, u"Disc. Área Pos.", nullptr, [](const TweedResults& r) { return r.space.anposres; }, -1, "pdisc", u"", true, true, 5, nullptr, std::nullopt, {E::Space, E::Number, u"Disc. Área Posterior"}, std::nullopt},
    {K::andiscres, "andiscres", G::Space, u"Discrepância Total", nullptr, [](const TweedResults& r) { return r.space.andiscres; }, -1, "total", u"", true, true, 5, nullptr, std::nullopt, {E::Space}, std::nullopt},
    {K::dcfmares, "dcfmares", G::Dc, u"FMA", nullptr, [](const TweedResults& r) { return r.targets.dcfmares; }, -1, "dcfma", u"", false, true},
    {K::dcfmiares, "dcfmiares", G::Dc, u"FMIA", nullptr, [](const TweedResults& r) { return r.targets.dcfmiares; }, -1, "dcfmia", u"", false, true, 5, nullptr, std::nullopt, {E::Dc, E::Number, u"FMIA alvo"}, std::nullopt},
    {K::dcimpares, "dcimpares", G::Dc, u"IMPA", nullptr, [](const TweedResults& r) { return r.targets.dcimpares; }, -1, "dcimpa", u"", false, true, 5, nullptr, std::nullopt, {E::Dc, E::Number, u"IMPA alvo"}, std::nullopt},
    {K::dcdcres, "dcdcres", G::Dc, u"DC", nullptr, [](const TweedResults& r) { return r.dcdcres; }, -1, "dcdc", u"", false, true, 5, nullptr, std::nullopt, {E::Dc, E::Number, u"Discrepância cefalométrica (DC)"}, std::nullopt},
    {K::idlabel, "idlabel", G::Grade, nullptr, nullptr, [](const TweedResults& r) { return r.difficulty.idlabel; }, -1, "dif", u"", true, false, 5, nullptr, std::nullopt, {E::Difficulty, E::Grade, u"Grau de dificuldade"}, std::nullopt},
});

static_assert(kFields.size() == size_t(kTweedKeyCount));

// Lookups by key index the table: every row sits at its key's place.
constexpr bool KeysInOrder()
{
    for (size_t i = 0; i < kFields.size(); ++i)
        if (kFields[i].key != TweedKey(i))
            return false;
    return true;
}
static_assert(KeysInOrder(), "the field table is in the order of TweedKey");

}  // namespace

std::span<const TweedField> TweedFields() { return kFields; }

const TweedField& TweedFieldOf(TweedKey key) { return kFields[size_t(key)]; }

const TweedField& TweedFieldOf(Measure measure)
{
    for (const TweedField& f : kFields)
        if (f.measure == measure)
            return f;
    throw std::out_of_range("no Tweed field for a tracing measurement");
}

const TweedField& TweedFieldOf(const char* objectName)
{
    for (const TweedField& f : kFields)
        if (std::string_view(f.objectName) == objectName)
            return f;
    throw std::out_of_range(std::string("no Tweed field ") + objectName);
}

}  // namespace qv
