#pragma once
// A Tweed page in a fresh working folder, with fake dialogs, recording what it asks of the windows around it.

#include "tweed/DiagnosisPanel.h"
#include "platform/PageContext.h"
#include "records/StatsFile.h"
#include "support/WorkFolder.h"
#include "tweed/TweedPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>
#include <string>
#include <vector>

namespace qv::test {

inline const QString kTweedCaption = QStringLiteral("Análise de Tweed");

// The twelve measurements, the eight space fields, age and name of one patient.
inline const std::vector<std::pair<const char*, const char*>> kSamplePatient = {
    {"twfma", "25.0"},  {"twfmia", "66.0"},  {"twimpa", "95.0"},   {"twploc", "10.0"},  {"twsna", "82.0"},
    {"twsnb", "78.5"},  {"twaobo", "2.0"},   {"twangz", "75.0"},   {"twls", "15.0"},    {"twqt", "12.0"},
    {"twafa", "100.0"}, {"twafp", "66.0"},   {"anaer", "10.0"},    {"anaep", "7.5"},    {"anmer", "20.0"},
    {"anmep", "19.0"},  {"anmspee", "-1.5"}, {"anmcorr", "-2.0"},  {"anper", "12.0"},   {"anpep", "8.0"},
    {"Idade", "13"},    {"twPaciente", "ANA"}};

inline const std::vector<const char*> kResultLabels = {
    "twanbres", "twafpafares", "hornres",   "dcfmares",  "dcfmiares", "dcimpares", "dcdcres",   "anadmres",
    "anadcres", "anamtmres",   "anantres",  "anmdmres",  "anmedres",  "anpdmres",  "anpcresres", "anposres",
    "andiscres", "idfmares",   "idanbres",  "idangzres", "idplocres", "idsnbres",  "idifres",   "idsub1res",
    "iddmares", "iddcres",     "idmtmres",  "iddmmres",  "idspeeres", "idcorrres", "iddmpres",  "idsub2res",
    "idtotres", "idlabel"};

inline const std::vector<const char*> kEntryFields = {
    "twfma", "twfmia", "twimpa", "twploc", "twsna", "twsnb",   "twaobo",  "twangz", "twls",  "twqt",  "twafa",
    "twafp", "anaer",  "anaep",  "anmer",  "anmep", "anmspee", "anmcorr", "anper",  "anpep", "Idade", "twPaciente"};

// A panel as a generation fills it: every section, both middle suggestions, five skeletal slots.
inline PanelState SamplePanel()
{
    PanelState p;
    p.antInfo = p.medInfo = p.posInfo = p.descInfo = true;
    p.dsant = QStringLiteral("Extração");
    p.ant = {true, {"4", "4", "4", "4"}};
    p.dsmed = QStringLiteral("Extração");
    p.med = {true, {"8", "8", "8", "8"}};
    p.ou = true;
    p.dsmed2 = QStringLiteral("Extração");
    p.med2 = {true, {"4", "4", "5", "5"}};
    p.dspos = QStringLiteral("Aguardar desenvolvimento dos\r3º Molares");
    p.dsdesc = {QStringLiteral("Extração"), QStringLiteral("Extração"), QStringLiteral("Extração"),
                QStringLiteral("Usar placa de altura, elásticos\rverticais e forças direcionais extrusivas.\rOrtodontia e cirurgia"),
                QStringLiteral("Tratamento compensatório por\rposicionamento dentário")};
    p.ouDesc = {true, true, true, true};
    p.desc[0] = {true, {"8", "8", "8", "8"}};
    p.desc[1] = {true, {"4", "4", "", ""}};
    p.desc[2] = {true, {"X  4", "4  X", "X  5", "5  X"}};
    p.desc[3] = {true, {"5", "5", "5", "5"}};
    return p;
}

class TweedPageTest : public WorkFolderTest {
public:
    void SetUp() override
    {
        page = std::make_unique<TweedPage>(context);
        // The page's requests to the windows around it, in the order they are made.
        TweedPage* p = page.get();
        QObject::connect(p, &TweedPage::guideRequested, p, [this](const QString& caption, const GuideInputs& readings) {
            calls.push_back("openGuide");
            guideCaptions.push_back(caption);
            guideReadings.push_back(readings);
        });
        QObject::connect(p, &TweedPage::guideClearRequested, p, [this] { calls.push_back("clearGuide"); });
        QObject::connect(p, &TweedPage::spaceEntryRequested, p, [this] { calls.push_back("openSpaceEntry"); });
        QObject::connect(p, &TweedPage::tracingRequested, p, [this] { calls.push_back("openTracing"); });
        QObject::connect(p, &TweedPage::spaceEntryClearRequested, p, [this] {
            calls.push_back("clearSpaceEntry");
            // Within LockPage: after "total" is disabled, before the name is locked.
            spaceClearedLocked.push_back(!button("total")->isEnabled() && !edit("twPaciente")->isReadOnly());
        });
        context.setExitProgram([this] { calls.push_back("exitProgram"); });
    }
    void TearDown() override
    {
        page.reset();
        WorkFolderTest::TearDown();
    }

    template <typename T>
    T* find(const char* name) const
    {
        T* w = page->findChild<T*>(QLatin1String(name));
        if (!w)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    QLabel* label(const char* name) const { return find<QLabel>(name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QRadioButton* radio(const char* name) const { return find<QRadioButton>(name); }
    QCheckBox* flag(const char* name) const { return find<QCheckBox>(name); }
    std::string text(const char* name) const
    {
        if (auto* e = page->findChild<QLineEdit*>(QLatin1String(name)))
            return e->text().toStdString();
        return label(name)->text().toStdString();
    }
    bool shown(const char* name) const { return !find<QWidget>(name)->isHidden(); }

    void fillSample(bool girl = false)
    {
        for (const auto& [name, value] : kSamplePatient)
            edit(name)->setText(QString::fromUtf8(value));
        radio(girl ? "GenFem" : "GenMasc")->setChecked(true);
    }
    // CALCULAR with the IMPA question answered as given; takes the question box.
    Box calculateAnswering(platform::Answer answer)
    {
        dialogs.answers.push_back(answer);
        page->tCalcularClick();
        const Box b = dialogs.take();
        EXPECT_EQ(b.type, Box::Question);
        return b;
    }
    qint32 tweedCount() const { return StatsRecord::decode(work.read(QStringLiteral("Stats.cef"))).tweedCount; }
    std::vector<std::string> resultTexts() const
    {
        std::vector<std::string> out;
        for (const char* n : kResultLabels)
            out.push_back(text(n));
        return out;
    }

    platform::PageContext context{dialogs, [] { return kTweedCaption; }};
    std::unique_ptr<TweedPage> page;
    std::vector<std::string> calls;
    std::vector<bool> spaceClearedLocked;
    std::vector<QString> guideCaptions;
    std::vector<GuideInputs> guideReadings;
};

}  // namespace qv::test
