#include "analysis/Landmarks.h"

#include <QStringList>

namespace qv {

namespace {

constexpr LandmarkInfo kInfo[kLandmarkCount] = {
    {"S", "S (sela)", "Centro da sela túrcica."},
    {"N", "N (násio)", "Ponto mais anterior da sutura frontonasal."},
    {"Po", "Po (pório)", "Ponto mais alto do meato acústico externo."},
    {"Or", "Or (orbitário)", "Ponto mais baixo da margem inferior da órbita."},
    {"ENA", "ENA (espinha nasal anterior)", "Ponta da espinha nasal anterior."},
    {"ENP", "ENP (espinha nasal posterior)", "Ponta da espinha nasal posterior."},
    {"A", "A (subespinhal)", "Ponto mais profundo da concavidade anterior da maxila."},
    {"B", "B (supramentoniano)", "Ponto mais profundo da concavidade anterior da mandíbula."},
    {"Ar", "Ar (articular)", "Cruzamento da borda posterior do ramo com a base do crânio."},
    {"Rp", "Rp (borda posterior do ramo, junto ao ângulo)",
     "Onde a tangente traçada a partir de Ar toca a borda posterior do ramo."},
    {"Tg", "Tg (borda inferior da mandíbula, junto ao ângulo)",
     "Onde a tangente traçada a partir de Me toca a borda inferior da mandíbula."},
    {"Me", "Me (mentoniano)", "Ponto mais baixo do contorno da sínfise."},
    {"Ii", "Ii (borda incisal do incisivo inferior)", "Borda incisal do incisivo central inferior mais vestibularizado."},
    {"Ai", "Ai (ápice do incisivo inferior)", "Ápice da raiz do mesmo incisivo inferior."},
    {"Is", "Is (face vestibular mais proeminente do incisivo superior)",
     "Ponto mais vestibular da coroa do incisivo central superior."},
    {"OclP", "OclP (plano oclusal, molares)", "Meio da intercuspidação dos primeiros molares."},
    {"OclA", "OclA (plano oclusal, incisivos/pré-molares)", "Meio do trespasse dos incisivos ou dos pré-molares."},
    {"Ls", "Ls (lábio superior, ponto mais anterior)", "Ponto mais anterior do lábio superior."},
    {"Li", "Li (lábio inferior, ponto mais anterior)", "Ponto mais anterior do lábio inferior."},
    {"Pog'", "Pog' (pogônio mole)", "Ponto mais anterior do mento no perfil mole."},
    {"Pog", "Pog (pogônio)", "Ponto mais anterior do contorno ósseo do mento."},
    {"Gn", "Gn (gnátio)", "No contorno da sínfise, entre Pog e Me."},
    {"Go", "Go (gônio)", "Ponto mais posterior e inferior do ângulo da mandíbula."},
    {"Co", "Co (condílio)", "Ponto mais superior e posterior do côndilo."},
    {"Ba", "Ba (básio)", "Ponto mais inferior da margem anterior do forame magno."},
    {"Pt", "Pt (ponto Pt)", "Ponto posterior e superior da fissura pterigomaxilar."},
    {"As", "As (ápice do incisivo superior)", "Ápice da raiz do incisivo central superior."},
    {"Prn", "Prn (pronasal)", "Ponta do nariz, ponto mais anterior."},
    {"Sn", "Sn (subnasal)", "Onde a columela encontra o lábio superior."},
    {"Cm", "Cm (columela)", "Ponto mais anterior da columela."},
    {"D", "D (centro da sínfise)", "Centro do contorno da sínfise mandibular."},
    {"Pm", "Pm (protuberância mentoniana)",
     "Onde o contorno anterior da sínfise passa de côncavo a convexo, acima de Pog."},
    {"Dc", "Dc (centro do côndilo)", "Centro do côndilo sobre a linha Ba-N."},
    {"R1", "R1 (borda anterior do ramo)", "Ponto mais profundo da curva da borda anterior do ramo."},
    {"R2", "R2 (borda posterior do ramo)", "Na borda posterior do ramo, em frente a R1."},
    {"R3", "R3 (incisura sigmoide)", "Ponto mais baixo da incisura sigmoide."},
    {"R4", "R4 (borda inferior do ramo)", "Na borda inferior da mandíbula, abaixo de R3."},
    {"U6", "U6 (primeiro molar superior)", "Face distal do primeiro molar superior, no plano oclusal."},
    {"N'", "N' (násio mole)", "Ponto mais profundo do perfil mole entre a testa e o nariz."},
};

}  // namespace

const LandmarkInfo& Info(Landmark l) { return kInfo[Index(l)]; }

QString LandmarkCode(Landmark l) { return QString::fromUtf8(Info(l).code); }

std::optional<Landmark> LandmarkFromCode(const QString& code)
{
    for (int i = 0; i < kLandmarkCount; ++i)
        if (code == QLatin1String(kInfo[i].code))
            return LandmarkAt(i);
    return std::nullopt;
}

std::optional<Landmark> LandmarkSet::firstMissing() const
{
    for (int i = 0; i < kTweedLandmarkCount; ++i)
        if (!m_placed.test(size_t(i)))
            return LandmarkAt(i);
    return std::nullopt;
}

std::optional<Landmark> LandmarkSet::firstMissing(std::span<const Landmark> order) const
{
    for (Landmark l : order)
        if (!has(l))
            return l;
    return std::nullopt;
}

QString LandmarkCodes(const std::vector<Landmark>& points)
{
    QStringList codes;
    for (Landmark l : points)
        codes << LandmarkCode(l);
    return codes.join(QStringLiteral(", "));
}

}  // namespace qv
