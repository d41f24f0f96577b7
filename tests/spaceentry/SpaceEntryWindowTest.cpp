// Form4 against a fake main window and two fake analysis pages: opening and leaving,
// SALVAR into the Tweed page, LIMPAR, the entry rules, IMPORTAR and its refusals.

#include "spaceentry/SpaceEntryWindow.h"

#include "support/WorkFolder.h"

#include <QAction>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

using namespace qv;
using namespace qv::test;
using platform::Answer;
using platform::NoticeKind;

namespace {

const QString kCaption = QStringLiteral("Análise Total do Espaço");
const char* const kPresent[] = {"i01", "i03", "i06", "i12", "i15"};

QString name16(char row, int k) { return QStringLiteral("%1%2").arg(QChar(row)).arg(k, 2, 10, QLatin1Char('0')); }

// The main window and the two pages as the window reaches them.
struct FakeAnalyses {
    bool form2Enabled = true;
    BoltonLowerRow boltonRow{};
    QString boltonName;
    QString tweedName = QStringLiteral("MARIA");
    bool boltonCalculated = false;
    std::vector<SpaceSums> filled;  // every spaceSummed

    SpaceImportSource source() const { return {boltonRow, boltonName, tweedName, boltonCalculated}; }
};

class SpaceEntryTest : public WorkFolderTest {
protected:
    SpaceEntryTest()
    {
        dialogs.setHideItem(&popOcultar);
        QObject::connect(&form4, &SpaceEntryWindow::mainWindowEnabledRequested, &form4,
                         [this](bool enabled) { fake.form2Enabled = enabled; });
        QObject::connect(&form4, &SpaceEntryWindow::spaceSummed, &form4,
                         [this](const SpaceSums& sums) { fake.filled.push_back(sums); });
    }

    QAction popOcultar;
    FakeAnalyses fake;
    SpaceEntryWindow form4{dialogs};

    QLineEdit* entry(const QString& name) const
    {
        auto* f = form4.findChild<QLineEdit*>(name);
        EXPECT_NE(f, nullptr) << name.toStdString();
        return f;
    }
    QPushButton* button(const char* name) const { return form4.findChild<QPushButton*>(QString::fromLatin1(name)); }

    QList<QLineEdit*> allEntries() const
    {
        QList<QLineEdit*> out;
        for (int k = 1; k <= 16; ++k)
            out << entry(name16('s', k));
        for (const char* name : kPresent)
            out << entry(QString::fromLatin1(name));
        return out;
    }
    // The Bolton page's lower row, third molar to third molar, all texts different.
    void fillBoltonLowerRow(const QString& paciente = QStringLiteral("MARIA"))
    {
        fake.boltonName = paciente;
        fake.boltonRow = {QStringLiteral("11.1"), QStringLiteral("10.2")};
        for (int k = 1; k <= 12; ++k)
            fake.boltonRow[size_t(k + 1)] = QStringLiteral("%1.5").arg(k);
        fake.boltonRow[14] = QStringLiteral("10.3");
        fake.boltonRow[15] = QStringLiteral("12.345");
    }
    QStringList required() const
    {
        QStringList out;
        for (int k = 1; k <= 16; ++k)
            out << entry(name16('s', k))->text();
        return out;
    }
};

void type(QWidget* w, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void leave(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &out);
}

TEST_F(SpaceEntryTest, ControlsCarryTheirNames)
{
    EXPECT_EQ(form4.objectName(), QStringLiteral("Form4"));
    EXPECT_EQ(form4.windowTitle(), kCaption);
    EXPECT_EQ(allEntries().size(), 21);
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", "Espaço Requerido"}, {"Label2", "Espaço Presente"}, {"Label7", "Área Posterior"},
        {"Label6", "Área Média"},       {"Label3", "Área Anterior"},   {"Label5", "Área Média"},
        {"Label4", "Área Posterior"}};
    for (const auto& [name, text] : labels) {
        auto* l = form4.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), QString::fromUtf8(text));
    }
    for (int k = 1; k <= 4; ++k)
        EXPECT_NE(form4.findChild<QWidget*>(QStringLiteral("Shape%1").arg(k)), nullptr) << k;
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("IMPORTAR"));
    EXPECT_EQ(button("Button1")->text(), QStringLiteral("CANCELAR"));
    EXPECT_EQ(button("Button3")->text(), QStringLiteral("LIMPAR"));
    EXPECT_EQ(button("Button2")->text(), QStringLiteral("SALVAR"));
    for (QLineEdit* f : allEntries())
        EXPECT_FALSE(f->accessibleName().isEmpty()) << f->objectName().toStdString();
}

TEST_F(SpaceEntryTest, PosteriorEntriesRedAnteriorBlue)
{
    auto colour = [&](const QString& name) { return entry(name)->palette().color(QPalette::Text); };
    for (const char* name : {"s01", "s02", "s15", "s16", "i01", "i15"})
        EXPECT_EQ(colour(QString::fromLatin1(name)), QColor(255, 0, 0)) << name;
    for (const char* name : {"s06", "s07", "s08", "s09", "s10", "s11", "i06"})
        EXPECT_EQ(colour(QString::fromLatin1(name)), QColor(0, 0, 255)) << name;
    for (const char* name : {"s03", "s04", "s05", "s12", "s13", "s14", "i03", "i12"})
        EXPECT_EQ(colour(QString::fromLatin1(name)), form4.palette().color(QPalette::Text)) << name;
}

TEST_F(SpaceEntryTest, GroupsStandLeftToRightUnderTheirHeadings)
{
    form4.show();
    QCoreApplication::processEvents();
    auto x = [&](const char* name) { return form4.findChild<QWidget*>(QString::fromLatin1(name))->geometry(); };
    struct Group {
        const char *heading, *first, *last, *present, *shapeAfter;
    };
    const Group groups[] = {{"Label7", "s01", "s02", "i01", "Shape1"},
                            {"Label6", "s03", "s05", "i03", "Shape2"},
                            {"Label3", "s06", "s11", "i06", "Shape3"},
                            {"Label5", "s12", "s14", "i12", "Shape4"},
                            {"Label4", "s15", "s16", "i15", nullptr}};
    for (const Group& g : groups) {
        const int left = x(g.first).left();
        const int right = x(g.last).right();
        EXPECT_LE(x(g.heading).left(), left + 1) << g.heading;
        EXPECT_GE(x(g.heading).right(), right - 1) << g.heading;
        EXPECT_LE(std::abs(x(g.present).center().x() - (left + right) / 2), 2) << g.present;
        EXPECT_GT(x(g.present).top(), x(g.first).bottom()) << g.present;
        if (g.shapeAfter) {
            EXPECT_GT(x(g.shapeAfter).left(), right) << g.shapeAfter;
        }
    }
    for (int k = 1; k < 16; ++k)
        EXPECT_LT(x(name16('s', k).toLatin1().constData()).left(), x(name16('s', k + 1).toLatin1().constData()).left());
    EXPECT_LT(button("Button4")->x(), button("Button1")->x());
    EXPECT_LT(button("Button1")->x(), button("Button3")->x());
    EXPECT_LT(button("Button3")->x(), button("Button2")->x());

    // The whole window is laid out without cutting anything.
    for (QWidget* w : form4.findChildren<QWidget*>()) {
        if (w->isVisible()) {
            EXPECT_TRUE(form4.rect().contains(QRect(w->mapTo(&form4, QPoint(0, 0)), w->size()))) << w->objectName().toStdString();
        }
    }

    const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        const char* typed[] = {"10.0", "10.5", "7.0", "7.5", "6.5", "8.5", "6.5", "5.5", "5.5", "6.5", "8.5", "6.5", "7.5", "7.0", "10.5", "10.0"};
        for (int k = 1; k <= 16; ++k)
            entry(name16('s', k))->setText(QString::fromLatin1(typed[k - 1]));
        for (const char* name : kPresent)
            entry(QString::fromLatin1(name))->setText(QStringLiteral("20.0"));
        form4.grab().save(QDir(shots).filePath(QStringLiteral("form4.png")));
    }
}

TEST_F(SpaceEntryTest, OpenDisablesTheMainWindowAndTheTrayItem)
{
    popOcultar.setEnabled(true);
    form4.setImportSource(fake.source());
    form4.Open();
    EXPECT_TRUE(form4.isVisible());
    EXPECT_FALSE(fake.form2Enabled);
    EXPECT_FALSE(popOcultar.isEnabled());

    form4.close();  // the close box
    EXPECT_FALSE(form4.isVisible());
    EXPECT_TRUE(fake.form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_TRUE(fake.filled.empty());
}

TEST_F(SpaceEntryTest, SalvarWritesTheSixSumsAndLeaves)
{
    form4.setImportSource(fake.source());
    form4.Open();
    const char* anterior[] = {"5.5", "7.0", "6.0", "6.0", "7.0", "5.5"};
    for (int k = 0; k < 6; ++k)
        entry(name16('s', 6 + k))->setText(QString::fromLatin1(anterior[k]));
    entry(QStringLiteral("i06"))->setText(QStringLiteral("35.0"));
    entry(QStringLiteral("s01"))->setText(QStringLiteral("12.5"));
    entry(QStringLiteral("i12"))->setText(QStringLiteral("3"));  // never left: read as it stands
    button("Button2")->click();
    ASSERT_EQ(fake.filled.size(), 1u);
    const SpaceSums& sums = fake.filled.front();
    EXPECT_EQ(sums.anaer, QStringLiteral("37.0"));
    EXPECT_EQ(sums.anaep, QStringLiteral("35.0"));
    EXPECT_EQ(sums.anmer, QStringLiteral("0.0"));
    EXPECT_EQ(sums.anmep, QStringLiteral("3.0"));
    EXPECT_EQ(sums.anper, QStringLiteral("12.5"));
    EXPECT_EQ(sums.anpep, QStringLiteral("0.0"));
    EXPECT_FALSE(form4.isVisible());
    EXPECT_TRUE(fake.form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());
    // The entries stay for the next opening.
    EXPECT_EQ(entry(QStringLiteral("s01"))->text(), QStringLiteral("12.5"));
}

TEST_F(SpaceEntryTest, SalvarWithNothingTypedWritesZeros)
{
    form4.setImportSource(fake.source());
    form4.Open();
    button("Button2")->click();
    ASSERT_EQ(fake.filled.size(), 1u);
    for (const QString* t : {&fake.filled[0].anaer, &fake.filled[0].anaep, &fake.filled[0].anmer, &fake.filled[0].anmep,
                             &fake.filled[0].anper, &fake.filled[0].anpep})
        EXPECT_EQ(*t, QStringLiteral("0.0"));
}

TEST_F(SpaceEntryTest, CancelarKeepsTheEntriesAndWritesNothing)
{
    form4.setImportSource(fake.source());
    form4.Open();
    type(entry(QStringLiteral("s03")), QStringLiteral("4"));
    button("Button1")->click();
    EXPECT_FALSE(form4.isVisible());
    EXPECT_TRUE(fake.form2Enabled);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_TRUE(fake.filled.empty());
    form4.setImportSource(fake.source());
    form4.Open();
    EXPECT_EQ(entry(QStringLiteral("s03"))->text(), QStringLiteral("4"));
}

TEST_F(SpaceEntryTest, EntriesFollowThePositiveRulesWithFourCharacters)
{
    QLineEdit* s03 = entry(QStringLiteral("s03"));
    type(s03, QStringLiteral("12"));
    leave(s03);
    EXPECT_EQ(s03->text(), QStringLiteral("12.0"));
    QLineEdit* s04 = entry(QStringLiteral("s04"));
    type(s04, QStringLiteral("123"));
    leave(s04);
    EXPECT_EQ(s04->text(), QStringLiteral("123.0"));
    QLineEdit* i06 = entry(QStringLiteral("i06"));
    type(i06, QStringLiteral("1,255"));
    EXPECT_EQ(i06->text(), QStringLiteral("1.25"));

    type(entry(QStringLiteral("s16")), QStringLiteral("x"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"), kCaption);
    type(entry(QStringLiteral("i15")), QStringLiteral("-"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Este campo só admite valores REAIS POSITIVOS!"), kCaption);
    EXPECT_TRUE(entry(QStringLiteral("i15"))->text().isEmpty());
    // These entries keep the edit field's own menu.
    EXPECT_EQ(s03->contextMenuPolicy(), Qt::DefaultContextMenu);
}

TEST_F(SpaceEntryTest, LimparEmptiesEveryEntryAndEnablesImportar)
{
    for (QLineEdit* f : allEntries())
        f->setText(QStringLiteral("1.0"));
    button("Button4")->setEnabled(false);
    form4.Button3Click();
    for (QLineEdit* f : allEntries())
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_TRUE(button("Button4")->isEnabled());
}

TEST_F(SpaceEntryTest, ImportarCopiesTheLowerRowAsItStands)
{
    fillBoltonLowerRow();
    for (const char* name : kPresent)
        entry(QString::fromLatin1(name))->setText(QStringLiteral("20.0"));
    entry(QStringLiteral("s05"))->setText(QStringLiteral("99.0"));
    form4.setImportSource(fake.source());
    button("Button4")->click();
    EXPECT_EQ(required(), (QStringList{"11.1", "10.2", "1.5", "2.5", "3.5", "4.5", "5.5", "6.5", "7.5", "8.5", "9.5",
                                       "10.5", "11.5", "12.5", "10.3", "12.345"}));
    for (const char* name : kPresent)
        EXPECT_EQ(entry(QString::fromLatin1(name))->text(), QStringLiteral("20.0")) << name;
}

struct IncompleteCase {
    const char* name;
    int emptyMolar;  // position in the lower row, or -1 for an empty Bolton page
    bool boltonCalculated;
    bool importarStaysEnabled;
};

class ImportarIncomplete : public SpaceEntryTest, public ::testing::WithParamInterface<IncompleteCase> {};

TEST_P(ImportarIncomplete, WarnsAndMayDisableImportar)
{
    const IncompleteCase& c = GetParam();
    if (c.emptyMolar >= 0) {
        fillBoltonLowerRow();
        fake.boltonRow[size_t(c.emptyMolar)].clear();
    }
    fake.boltonCalculated = c.boltonCalculated;
    form4.setImportSource(fake.source());
    form4.Open();  // the main window is disabled from here on
    ASSERT_FALSE(fake.form2Enabled);
    button("Button4")->click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não foi possível importar pois a análise de Bolton não está completa!"),
                         QStringLiteral("Importar"));
    EXPECT_EQ(button("Button4")->isEnabled(), c.importarStaysEnabled);
    for (const QString& t : required())
        EXPECT_TRUE(t.isEmpty());
    form4.Button3Click();
    EXPECT_TRUE(button("Button4")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(SpaceEntry, ImportarIncomplete,
                         ::testing::Values(IncompleteCase{"emptyBoltonPage", -1, false, true},
                                           IncompleteCase{"termoleWhileEntry", 0, false, true},
                                           IncompleteCase{"segmoleWhileEntry", 1, false, true},
                                           IncompleteCase{"segmoldWhileEntry", 14, false, true},
                                           IncompleteCase{"termoldWhileEntry", 15, false, true},
                                           IncompleteCase{"segmoldAfterCalculation", 14, true, false},
                                           IncompleteCase{"termoleAfterCalculation", 0, true, false}),
                         [](const ::testing::TestParamInfo<IncompleteCase>& info) { return std::string(info.param.name); });

TEST_F(SpaceEntryTest, ImportarWithoutLinksWarnsAndStaysEnabled)
{
    SpaceEntryWindow bare(dialogs);
    bare.Button4Click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Não foi possível importar pois a análise de Bolton não está completa!"),
                         QStringLiteral("Importar"));
    EXPECT_TRUE(bare.findChild<QPushButton*>(QStringLiteral("Button4"))->isEnabled());
}

struct NameCase {
    const char* name;
    const char* tweedName;
    const char* boltonName;
    std::optional<Answer> answer;  // set when the question is asked
    bool copies;
};

class ImportarNames : public SpaceEntryTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ImportarNames, AskBeforeMixingPatients)
{
    const NameCase& c = GetParam();
    fake.tweedName = QString::fromUtf8(c.tweedName);
    fillBoltonLowerRow(QString::fromUtf8(c.boltonName));
    form4.setImportSource(fake.source());
    form4.Open();
    if (c.answer)
        dialogs.answers.push_back(*c.answer);
    button("Button4")->click();
    if (c.answer) {
        const Box question = dialogs.take();
        EXPECT_EQ(question.type, Box::Question);
        EXPECT_EQ(question.caption, QStringLiteral("Confirm"));
        EXPECT_EQ(question.text, QStringLiteral("O nome do paciente da Análise de Bolton não é o mesmo da análise de Tweed. "
                                                "Deseja continuar com a importação?"));
        EXPECT_FALSE(question.hideItemEnabled);
        EXPECT_TRUE(popOcultar.isEnabled());
    }
    EXPECT_EQ(required().first(), c.copies ? QStringLiteral("11.1") : QString());
}

INSTANTIATE_TEST_SUITE_P(SpaceEntry, ImportarNames,
                         ::testing::Values(NameCase{"same", "JOSÉ", "JOSÉ", std::nullopt, true},
                                           NameCase{"caseDiffersNo", "JOSÉ", "JOSé", Answer::No, false},
                                           NameCase{"differYes", "JOSÉ", "JOÃO", Answer::Yes, true},
                                           NameCase{"closedUnanswered", "JOSÉ", "JOÃO", Answer::Closed, false},
                                           NameCase{"trailingSpace", "JOSÉ", "JOSÉ ", Answer::No, false}),
                         [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

}  // namespace
