#include "analysis/GuideRules.h"

namespace qv {

QString SuggestionReminderText()
{
    return QStringLiteral("O diagnóstico gerado é meramente sugestivo, devendo o profissional considerar\r"
                          "              outros aspectos antes da definição do plano de tratamento!");
}

QString AnswerFault(const GuideAnswers& a)
{
    if (a.daapinh && !a.menor && !a.maior)
        return QStringLiteral(" A dimensão do apinhamento não foi informada!");
    if (!a.dpadq && !a.dpinadeq)
        return QStringLiteral(" A posição dos terceiros molares deve ser informada!");
    // Without a skeletal disharmony nothing under it is asked for.
    if (!a.clsim)
        return {};
    if (!a.horcl2 && !a.horcl3 && !a.aberta && !a.profunda && !a.desarm)
        return QStringLiteral(" Nenhuma Desarmonia selecionada! Caso o paciente não possua\r"
                              "desarmonia esquelética marcar a opção NÃO!");
    if (a.horcl2 && !a.direita && !a.esquerda && !a.sem)
        return QStringLiteral(" O tipo de Desarmonia Horizontal Classe II não foi selecionado!");
    if (a.aberta && !a.suave && !a.media && !a.severa)
        return QStringLiteral(" O tipo de Desarmonia Vertical - Mordida Aberta não foi selecionado!");
    if (a.profunda && !a.media && !a.severa)
        return QStringLiteral(" O tipo de Desarmonia Vertical - Mordida Profunda não foi selecionado!");
    if (a.desarm && !a.dessuave && !a.dessevera)
        return QStringLiteral(" O tipo de Desarmonia Facial não foi selecionado!");
    return {};
}

}  // namespace qv
