#include "records/GuideAnswers.h"

#include <initializer_list>

namespace qv {

namespace {

using C = GuideControl;

std::size_t at(C c) { return std::size_t(c); }

void show(GuideForm& f, std::initializer_list<C> controls)
{
    for (C c : controls)
        f.shown[at(c)] = true;
}

void enable(GuideForm& f, std::initializer_list<C> controls, bool on)
{
    for (C c : controls)
        f.enabled[at(c)] = on;
}

// Hiding comes first; unchecking then runs the box's own rule when it was checked.
void hideAndUncheck(GuideForm& f, std::initializer_list<C> controls)
{
    for (C c : controls) {
        f.shown[at(c)] = false;
        SetGuideControl(f, c, false);
    }
}

// The rule of a control whose state has just changed to `on`.
void runRule(GuideForm& f, C c, bool on)
{
    switch (c) {
    case C::clsim:
        if (on)
            show(f, {C::horcl2, C::horcl3, C::aberta, C::profunda, C::desarm, C::Label1, C::Label2});
        break;
    case C::clnao:
        if (on) {
            hideAndUncheck(f, {C::horcl2, C::horcl3, C::aberta, C::profunda, C::desarm});
            f.shown[at(C::Label1)] = false;
            f.shown[at(C::Label2)] = false;
        }
        break;
    case C::horcl2:
        f.enabled[at(C::horcl3)] = !on;
        if (on)
            show(f, {C::direita, C::esquerda, C::sem});
        else
            hideAndUncheck(f, {C::direita, C::esquerda, C::sem});
        break;
    case C::horcl3:
        f.enabled[at(C::horcl2)] = !on;
        break;
    case C::direita:
        enable(f, {C::esquerda, C::sem}, !on);
        break;
    case C::esquerda:
        enable(f, {C::direita, C::sem}, !on);
        break;
    case C::sem:
        enable(f, {C::esquerda, C::direita}, !on);
        break;
    case C::aberta:
        f.enabled[at(C::profunda)] = !on;
        if (on)
            show(f, {C::suave, C::media, C::severa});
        else
            hideAndUncheck(f, {C::suave, C::media, C::severa});
        break;
    // The deep bite has two grades: it borrows media, captioned "Suave", and severa. The caption
    // comes back before media is unchecked, so media's rule then frees both open-bite grades.
    case C::profunda:
        f.enabled[at(C::aberta)] = !on;
        f.mediaIsMedium = !on;
        if (on)
            show(f, {C::media, C::severa});
        else
            hideAndUncheck(f, {C::media, C::severa});
        break;
    case C::suave:
        enable(f, {C::media, C::severa}, !on);
        break;
    case C::media:
        if (f.mediaIsMedium)
            enable(f, {C::suave, C::severa}, !on);
        else
            f.enabled[at(C::severa)] = !on;
        break;
    case C::severa:
        if (f.mediaIsMedium)
            enable(f, {C::suave, C::media}, !on);
        else
            f.enabled[at(C::media)] = !on;
        break;
    case C::desarm:
        if (on)
            show(f, {C::dessuave, C::dessevera});
        else
            hideAndUncheck(f, {C::dessuave, C::dessevera});
        break;
    case C::dessuave:
        f.enabled[at(C::dessevera)] = !on;
        break;
    case C::dessevera:
        f.enabled[at(C::dessuave)] = !on;
        break;
    case C::daapinh:
        if (on)
            show(f, {C::menor, C::maior});
        else
            hideAndUncheck(f, {C::menor, C::maior});
        break;
    case C::menor:
        f.enabled[at(C::maior)] = !on;
        break;
    case C::maior:
        f.enabled[at(C::menor)] = !on;
        break;
    case C::dpadq:
        f.enabled[at(C::dpinadeq)] = !on;
        break;
    case C::dpinadeq:
        f.enabled[at(C::dpadq)] = !on;
        break;
    case C::dmapinh:
    case C::dmrel:
    case C::dmpro:
    case C::Label1:
    case C::Label2:
        break;
    }
}

}  // namespace

GuideAnswers GuideForm::answers() const
{
    GuideAnswers a;
    bool* const members[kGuideAnswerCount] = {
        &a.daapinh, &a.menor, &a.maior,  &a.dmapinh,  &a.dmrel,  &a.dmpro,  &a.dpadq,   &a.dpinadeq,
        &a.clsim,   &a.clnao, &a.horcl2, &a.direita,  &a.esquerda, &a.sem,  &a.horcl3,  &a.aberta,
        &a.profunda, &a.suave, &a.media, &a.severa,   &a.desarm, &a.dessuave, &a.dessevera};
    for (std::size_t i = 0; i < kGuideAnswerCount; ++i)
        *members[i] = checked[i];
    return a;
}

GuideForm InitialGuideForm()
{
    GuideForm f;
    f.enabled.fill(true);
    show(f, {C::daapinh, C::dmapinh, C::dmrel, C::dmpro, C::dpadq, C::dpinadeq, C::clsim, C::clnao});
    f.checked[at(C::clnao)] = true;
    return f;
}

void SetGuideControl(GuideForm& f, GuideControl c, bool on)
{
    if (c == C::Label1 || c == C::Label2)
        return;  // not answers: only the rules show them
    // A checked radio button cannot be unchecked by itself: its partner takes over.
    if (!on && (c == C::clsim || c == C::clnao)) {
        if (f.checked[at(c)])
            SetGuideControl(f, c == C::clsim ? C::clnao : C::clsim, true);
        return;
    }
    if (f.checked[at(c)] == on)
        return;
    f.checked[at(c)] = on;
    // The radio button that was checked is unchecked first; it has no rule for that.
    if (c == C::clsim)
        f.checked[at(C::clnao)] = false;
    else if (c == C::clnao)
        f.checked[at(C::clsim)] = false;
    runRule(f, c, on);
}

void ClearGuideForm(GuideForm& f)
{
    for (C c : {C::daapinh, C::dmapinh, C::dmrel, C::dmpro, C::dpadq, C::dpinadeq})
        SetGuideControl(f, c, false);
    SetGuideControl(f, C::clnao, true);
}

StoredGuideAnswers StoreGuideAnswers(const GuideAnswers& g)
{
    StoredGuideAnswers s;
    s.daapinh = g.daapinh;
    s.menor = g.menor;
    s.dmapinh = g.dmapinh;
    s.dmrel = g.dmrel;
    s.dmpro = g.dmpro;
    s.dpadq = g.dpadq;
    s.clsim = g.clsim;
    s.horcl2 = g.horcl2;
    s.subdivisionCode = g.direita ? 'd' : g.esquerda ? 'e' : 's';
    s.horcl3 = g.horcl3;
    s.aberta = g.aberta;
    // With both bites marked (only a damaged or hand-made file has that) media belongs to the deep
    // bite, and a checked severa is then the open bite's grade: store it so, or reopening loses it.
    s.openBiteGrade = g.suave ? 's' : (g.media && !(g.profunda && g.severa)) ? 'm' : 'v';
    s.profunda = g.profunda;
    s.media = g.media;
    s.desarm = g.desarm;
    s.dessuave = g.dessuave;
    return s;
}

GuideForm RestoreGuideForm(const StoredGuideAnswers& s, GuideForm f)
{
    const auto set = [&f](C c, bool on) { SetGuideControl(f, c, on); };
    const auto checked = [&f](C c) { return f.isChecked(c); };

    set(C::daapinh, s.daapinh);
    if (checked(C::daapinh)) {
        set(C::menor, s.menor);
        if (!checked(C::menor))
            set(C::maior, true);
    }
    set(C::dmapinh, s.dmapinh);
    set(C::dmrel, s.dmrel);
    set(C::dmpro, s.dmpro);
    set(C::dpadq, s.dpadq);
    if (!checked(C::dpadq))
        set(C::dpinadeq, true);
    set(C::clsim, s.clsim);
    if (!checked(C::clsim))
        return f;
    set(C::horcl2, s.horcl2);
    if (checked(C::horcl2))
        set(s.subdivisionCode == 'd' ? C::direita : s.subdivisionCode == 'e' ? C::esquerda : C::sem, true);
    set(C::horcl3, s.horcl3);
    set(C::aberta, s.aberta);
    if (checked(C::aberta))
        set(s.openBiteGrade == 's' ? C::suave : s.openBiteGrade == 'm' ? C::media : C::severa, true);
    set(C::profunda, s.profunda);
    if (checked(C::profunda)) {
        set(C::media, s.media);  // the deep bite's "Suave"
        if (!checked(C::media))
            set(C::severa, true);
    }
    set(C::desarm, s.desarm);
    if (checked(C::desarm)) {
        set(C::dessuave, s.dessuave);
        if (!checked(C::dessuave))
            set(C::dessevera, true);
    }
    return f;
}

}  // namespace qv
