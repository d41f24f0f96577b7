#include "analysis/GuideRules.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

const char* const kSize = " A dimensão do apinhamento não foi informada!";
const char* const kMolars = " A posição dos terceiros molares deve ser informada!";
const char* const kNone = " Nenhuma Desarmonia selecionada! Caso o paciente não possua\rdesarmonia esquelética marcar a opção NÃO!";
const char* const kClassII = " O tipo de Desarmonia Horizontal Classe II não foi selecionado!";
const char* const kOpen = " O tipo de Desarmonia Vertical - Mordida Aberta não foi selecionado!";
const char* const kDeep = " O tipo de Desarmonia Vertical - Mordida Profunda não foi selecionado!";
const char* const kFacial = " O tipo de Desarmonia Facial não foi selecionado!";

struct FaultCase {
    const char* name;
    std::function<void(GuideAnswers&)> set;
    const char* message;  // empty: the answers are valid
};

void Skeletal(GuideAnswers& a)
{
    a.dpadq = true;
    a.clsim = true;
    a.clnao = false;
}

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class AnswerFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(AnswerFaultTest, FirstFaultInOrder)
{
    GuideAnswers a;
    GetParam().set(a);
    EXPECT_EQ(AnswerFault(a).toStdString(), std::string(GetParam().message));
}

// Each row leaves every later check failing too, so only the order picks the message.
INSTANTIATE_TEST_SUITE_P(
    Precedence, AnswerFaultTest,
    ::testing::Values(
        FaultCase{"CrowdingSizeBeforeMolars", [](GuideAnswers& a) { a.daapinh = true; }, kSize},
        FaultCase{"CrowdingSizeBeforeSkeletal",
                  [](GuideAnswers& a) {
                      a.clsim = true, a.clnao = false, a.daapinh = true;
                  },
                  kSize},
        FaultCase{"MolarsMissing", [](GuideAnswers&) {}, kMolars},
        FaultCase{"MolarsBeforeSkeletal", [](GuideAnswers& a) { a.clsim = true, a.clnao = false; }, kMolars},
        FaultCase{"NoSkeletalDisharmonyNeedsNothingElse", [](GuideAnswers& a) { a.dpinadeq = true; }, ""},
        FaultCase{"BoxesUnderNaoAreNotChecked",
                  [](GuideAnswers& a) {
                      a.dpadq = true, a.horcl2 = true, a.aberta = true;
                  },
                  ""},
        FaultCase{"SimWithNothingUnderIt", Skeletal, kNone},
        FaultCase{"ClassIIWithoutSubdivisionFirst",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.horcl2 = true, a.aberta = true, a.desarm = true;
                  },
                  kClassII},
        FaultCase{"OpenBiteWithoutGradeBeforeFacial",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.horcl2 = true, a.sem = true, a.aberta = true, a.desarm = true;
                  },
                  kOpen},
        FaultCase{"DeepBiteWithoutGradeBeforeFacial",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.profunda = true, a.desarm = true;
                  },
                  kDeep},
        FaultCase{"DeepBiteIgnoresSuave",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.profunda = true, a.suave = true;
                  },
                  kDeep},
        FaultCase{"FacialWithoutGrade",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.profunda = true, a.severa = true, a.desarm = true;
                  },
                  kFacial},
        FaultCase{"CompleteSkeletal",
                  [](GuideAnswers& a) {
                      Skeletal(a), a.daapinh = true, a.maior = true, a.horcl3 = true, a.aberta = true,
                                   a.suave = true, a.desarm = true, a.dessevera = true;
                  },
                  ""},
        FaultCase{"ClassIIIAlone", [](GuideAnswers& a) { Skeletal(a), a.horcl3 = true; }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
