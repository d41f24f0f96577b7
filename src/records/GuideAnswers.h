#pragma once
// The checked state of every answer control of the guide window, named as the control.

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

}  // namespace qv
