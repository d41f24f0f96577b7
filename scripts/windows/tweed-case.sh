# Sourced by e2e.sh with the Tweed page shown: types one case as a clinician does, by keyboard
# events, in the page's own order (Tab moves to the next field), then CALCULAR, "Yes" to keep the
# IMPA, SALVAR, and the notice's OK. Positions are relative to the main window, laid out alike on
# Linux and Windows (the program's own style and fonts).
page="$(visible '^Quorvel$')"
xdotool mousemove --window "$page" 178 40 click 1   # Paciente
sleep 0.3
xdotool type --delay 40 "JOAO TESTE"
xdotool key Tab; xdotool type --delay 40 "15"       # Idade
xdotool key Tab space                               # Masculino
xdotool key Tab                                     # Análise: Inicial, as it is
# FMA, FMIA, IMPA, Pl. ocl., SNA, SNB, AO-BO, Z, LS, QT, AFA, AFP; anterior ER, EP; middle ER, EP,
# curve of Spee, molar correction.
for value in 25 60 95 10 82 80 2 75 1 12 45 30 20 18 30 28 1.5 0; do
  xdotool key Tab
  xdotool type --delay 40 "$value"
done
xdotool key Tab                                     # Classe II / III, left alone
for value in 24 22; do                              # posterior ER, EP
  xdotool key Tab
  xdotool type --delay 40 "$value"
done
xdotool key Tab
sleep 0.3
xdotool mousemove --window "$page" 93 693 click 1   # CALCULAR
for _ in $(seq 50); do [ -n "$(visible '^Confirm')" ] && break; sleep 0.2; done
[ -n "$(visible '^Confirm')" ] || fail "CALCULAR asked nothing"
xdotool windowfocus --sync "$(visible '^Confirm')" 2>/dev/null || true
xdotool key Return                                  # keep the IMPA: Yes
sleep 1
xdotool mousemove --window "$page" 339 693 click 1  # SALVAR
for _ in $(seq 50); do [ -n "$(visible '^Análise de Tweed')" ] && break; sleep 0.2; done
[ -n "$(visible '^Análise de Tweed')" ] || fail "SALVAR said nothing"
import -window root "$shot"
xdotool windowfocus --sync "$(visible '^Análise de Tweed')" 2>/dev/null || true
xdotool key Return                                  # "Arquivo Gravado com sucesso!"
sleep 0.5
