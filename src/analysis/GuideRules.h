#pragma once
// The answers of the guide as named fields, and the checks run before a diagnosis is generated.

#include "records/GuideAnswers.h"

#include <QString>

#include <array>

namespace qv {

struct GuideAnswerField {
    const char16_t* name;  // objectName of the answer control
    bool GuideAnswers::*member;
};

// Every answer, in the order of the window's sections (parents before the boxes they show).
inline constexpr std::array<GuideAnswerField, 23> kGuideAnswerFields{{
    {u"daapinh", &GuideAnswers::daapinh},   {u"menor", &GuideAnswers::menor},
    {u"maior", &GuideAnswers::maior},       {u"dmapinh", &GuideAnswers::dmapinh},
    {u"dmrel", &GuideAnswers::dmrel},       {u"dmpro", &GuideAnswers::dmpro},
    {u"dpadq", &GuideAnswers::dpadq},       {u"dpinadeq", &GuideAnswers::dpinadeq},
    {u"clsim", &GuideAnswers::clsim},       {u"clnao", &GuideAnswers::clnao},
    {u"horcl2", &GuideAnswers::horcl2},     {u"direita", &GuideAnswers::direita},
    {u"esquerda", &GuideAnswers::esquerda}, {u"sem", &GuideAnswers::sem},
    {u"horcl3", &GuideAnswers::horcl3},     {u"aberta", &GuideAnswers::aberta},
    {u"profunda", &GuideAnswers::profunda}, {u"suave", &GuideAnswers::suave},
    {u"media", &GuideAnswers::media},       {u"severa", &GuideAnswers::severa},
    {u"desarm", &GuideAnswers::desarm},     {u"dessuave", &GuideAnswers::dessuave},
    {u"dessevera", &GuideAnswers::dessevera},
}};

// The reminder shown before the guide, and before a diagnosis is regenerated from a file.
QString SuggestionReminderText();

// The message of the first incomplete answer, or an empty text when the answers can be used.
// Only one fault is reported per press, in a fixed order.
QString AnswerFault(const GuideAnswers& answers);

}  // namespace qv
