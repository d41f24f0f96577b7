#pragma once
// The checked state of every answer control of the guide window, named as the control, and the
// guide's consistency rules as plain data: the window shows a GuideForm, the Tweed file restores
// one, and both run the same rules.

#include <array>
#include <cstddef>

namespace qv {

struct GuideAnswers {
    // A - anterior area
    bool daapinh = false;
    bool menor = false;
    bool maior = false;
    // B - middle area
    bool dmapinh = false;
    bool dmrel = false;
    bool dmpro = false;
    // C - posterior area
    bool dpadq = false;
    bool dpinadeq = false;
    // D - skeletal disharmony
    bool clsim = false;
    bool clnao = true;
    bool horcl2 = false;
    bool direita = false;
    bool esquerda = false;
    bool sem = false;
    bool horcl3 = false;
    bool aberta = false;
    bool profunda = false;
    bool suave = false;
    bool media = false;
    bool severa = false;
    bool desarm = false;
    bool dessuave = false;
    bool dessevera = false;

    bool operator==(const GuideAnswers&) const = default;
};

// The guide's controls whose state the rules change: the answers in the order of the window's
// sections (the order of GuideAnswers), then the two separators shown under clsim.
enum class GuideControl {
    daapinh, menor, maior, dmapinh, dmrel, dmpro, dpadq, dpinadeq, clsim, clnao, horcl2, direita, esquerda,
    sem, horcl3, aberta, profunda, suave, media, severa, desarm, dessuave, dessevera, Label1, Label2,
};
inline constexpr std::size_t kGuideControls = std::size_t(GuideControl::Label2) + 1;
inline constexpr std::size_t kGuideAnswerCount = std::size_t(GuideControl::dessevera) + 1;

// What the guide window shows: each control checked, shown and enabled, and whether the box
// media carries "Média" (open bite) or "Suave" (deep bite).
struct GuideForm {
    std::array<bool, kGuideControls> checked{};
    std::array<bool, kGuideControls> shown{};
    std::array<bool, kGuideControls> enabled{};
    bool mediaIsMedium = true;

    bool isChecked(GuideControl c) const { return checked[std::size_t(c)]; }
    bool isShown(GuideControl c) const { return shown[std::size_t(c)]; }
    bool isEnabled(GuideControl c) const { return enabled[std::size_t(c)]; }
    GuideAnswers answers() const;
    bool operator==(const GuideForm&) const = default;
};

// The window as created: clnao checked, only the always-shown answers visible, all enabled.
GuideForm InitialGuideForm();

// Sets a control as a click does: when its state changes, its rule runs (and the rules of the
// boxes that rule hides and unchecks). Checking one of clsim/clnao unchecks the other;
// unchecking one checks the other. Setting a state the control already holds runs nothing.
void SetGuideControl(GuideForm& form, GuideControl control, bool checked);

// LIMPAR: unchecks the first six answers of sections A to C and checks clnao.
void ClearGuideForm(GuideForm& form);

// The answers as the Tweed file stores them: flags, and a letter for the Class II subdivision
// ('d', 'e', 's') and for the open bite's grade ('s', 'm', 'v').
struct StoredGuideAnswers {
    bool daapinh = false, menor = false, dmapinh = false, dmrel = false, dmpro = false, dpadq = false;
    bool clsim = false, horcl2 = false, horcl3 = false, aberta = false, profunda = false, media = false;
    bool desarm = false, dessuave = false;
    char subdivisionCode = 's';
    char openBiteGrade = 'v';
    bool operator==(const StoredGuideAnswers&) const = default;
};

StoredGuideAnswers StoreGuideAnswers(const GuideAnswers& answers);

// A cleared guide with the stored answers set in the order that lets the rules derive what is
// not stored (the partner of an unchecked box, the grade for another letter); only the first
// six answers unless clsim is stored. The window restores onto the form it shows; a file is
// restored onto the guide as created.
GuideForm RestoreGuideForm(const StoredGuideAnswers& stored, GuideForm onto = InitialGuideForm());

}  // namespace qv
