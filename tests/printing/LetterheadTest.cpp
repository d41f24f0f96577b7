// The clinic's letterhead: its settings file, its window, and its place in the header of every
// report; and projects whose header would leave no room are refused.

#include "PdfProbe.h"
#include "PrintSamples.h"

#include "platform/PageContext.h"
#include "printing/ClinicDialog.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "records/Cp1252.h"
#include "records/IoError.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QSettings>

#include <gtest/gtest.h>

namespace qv {
namespace {

using report::ClinicInfo;

ClinicInfo sampleClinic()
{
    ClinicInfo c;
    c.clinic = QStringLiteral("Clínica Sorriso, Ortodontia; \"Centro\"");
    c.professional = QStringLiteral("Dra. Ana Souza");
    c.registration = QStringLiteral("CRO-SP 12345");
    c.address = QStringLiteral("Rua das Flores, 100 \\ sala 2 - São Paulo");
    c.phone = QStringLiteral("(11) 5555-0000");
    c.email = QStringLiteral("contato@sorriso.example");
    return c;
}

class LetterheadTest : public test::WorkFolderTest {
protected:
    void SetUp() override { dialogs.setHideItem(&popOcultar); }

    // Prints each of the four reports into memory; the texts of their first pages.
    QList<QStringList> firstPages()
    {
        work.write(HistoryFilePath(QStringLiteral("ANA")), ToCp1252(test::SampleHistoryFile(QStringLiteral("ANA"), 2)));
        ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
        auto& out = static_cast<report::MemoryOutput&>(engine.output());
        const std::vector<std::function<PrintOutcome()>> prints = {
            [&] { return PrintTweed(engine, page, test::SampleTweedDiagnosed()); },
            [&] { return PrintBolton(engine, page, test::SampleBolton()); },
            [&] { return PrintHistory(engine, page, QStringLiteral("ANA"), 8); },
            [&] { return PrintPlan(engine, page, QStringLiteral("ANA"), QStringLiteral("Fase 1."), 1, [] { return true; }); },
        };
        QList<QStringList> texts;
        for (const auto& print : prints) {
            EXPECT_EQ(print(), PrintOutcome::Ran);
            texts.append(out.pages.value(0).texts());
            if (out.pages.size() > 1)  // the letterhead is on every page
                EXPECT_EQ(out.pages.last().texts().mid(0, 3), texts.last().mid(0, 3));
        }
        return texts;
    }

    QString writePng(const QString& name)
    {
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(QColor(31, 78, 121));
        EXPECT_TRUE(logo.save(work.file(name)));
        return work.file(name);
    }

    QAction popOcultar;
    platform::PageContext page{dialogs, [] { return QStringLiteral("Quorvel"); }};
};

TEST_F(LetterheadTest, SettingsFileKeepsEveryFieldAsTypedAndIsReadable)
{
    EXPECT_TRUE(ClinicInfo::Load().isEmpty());  // no file: no letterhead
    ClinicInfo c = sampleClinic();
    c.logo = QStringLiteral("/home/ana/logo, novo.png");
    c.save();
    EXPECT_EQ(ClinicInfo::Load(), c);
    const QString text = QString::fromUtf8(work.read(ClinicInfo::FileName()));
    EXPECT_TRUE(text.contains(QStringLiteral("registro=\"CRO-SP 12345\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("profissional=\"Dra. Ana Souza\"")));
    // Another program reading it with QSettings sees the same texts.
    QSettings settings(work.file(ClinicInfo::FileName()), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("consultorio/endereco")).toString(), c.address);
    EXPECT_THROW(c.save(work.file(QStringLiteral("sem-pasta/x.ini"))), IoError);
}

TEST_F(LetterheadTest, WithoutLetterheadEveryReportShowsTheProgramAsBefore)
{
    for (const QStringList& texts : firstPages()) {
        ASSERT_GE(texts.size(), 3);
        EXPECT_EQ(texts[0], QStringLiteral("Quorvel"));
        EXPECT_TRUE(texts[2].startsWith(QStringLiteral("Paciente:"))) << texts[2].toStdString();
        EXPECT_FALSE(texts.join(u'|').contains(QStringLiteral("Telefone")));
    }
}

TEST_F(LetterheadTest, EveryReportShowsTheLetterheadWhenSet)
{
    sampleClinic().save();
    const QStringList titles = {QStringLiteral("Análise Cefalométrica de Tweed"), QStringLiteral("Análise de Bolton"),
                                QStringLiteral("Histórico do Tratamento"), QStringLiteral("Plano de Tratamento")};
    const QList<QStringList> pages = firstPages();
    ASSERT_EQ(pages.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QStringList& t = pages[i];
        ASSERT_GE(t.size(), 6);
        EXPECT_EQ(t.mid(0, 5), (QStringList{sampleClinic().clinic, QStringLiteral("Dra. Ana Souza — CRO-SP 12345"),
                                            sampleClinic().address,
                                            QStringLiteral("Telefone: (11) 5555-0000 · contato@sorriso.example"), titles[i]}))
            << t.join(u'|').toStdString();
        EXPECT_FALSE(t.contains(QStringLiteral("Quorvel")));
    }
    // Only a registration: it stands alone, without a dash.
    ClinicInfo c;
    c.registration = QStringLiteral("CRO-RJ 999");
    c.save();
    EXPECT_EQ(firstPages()[1].mid(0, 2), (QStringList{QStringLiteral("CRO-RJ 999"), titles[1]}));
}

TEST_F(LetterheadTest, LogoIsDrawnInThePrintedHeader)
{
    ClinicInfo c = sampleClinic();
    c.logo = writePng(QStringLiteral("logo.png"));
    c.save();
    const QString pdf = work.file(QStringLiteral("bolton.pdf"));
    ReportEngine engine(dialogs, std::make_unique<report::PdfFileOutput>(pdf));
    ASSERT_EQ(PrintBolton(engine, page, test::SampleBolton()), PrintOutcome::Ran);
    test::KeepReport(pdf, QStringLiteral("bolton-letterhead.pdf"));
    const QString images = test::RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_EQ(images.count(QStringLiteral("\n")) - 2, 1) << images.toStdString();  // two heading lines, one image
    EXPECT_TRUE(test::PdfText(pdf, 1).contains(QStringLiteral("CRO-SP 12345")));

    // A logo gone from disk since it was chosen: the header goes on without it.
    QFile::remove(c.logo);
    ASSERT_EQ(PrintBolton(engine, page, test::SampleBolton()), PrintOutcome::Ran);
    EXPECT_EQ(test::RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).count(u'\n'), 2);
}

TEST_F(LetterheadTest, WindowRefusesAnUnreadableLogoAndSavesTheFields)
{
    report::ClinicDialog window(dialogs, ClinicInfo::Load());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Dados do Consultório"));
    window.findChild<QLineEdit*>(QStringLiteral("consultorio"))->setText(QStringLiteral("  Clínica Sorriso "));
    window.findChild<QLineEdit*>(QStringLiteral("registro"))->setText(QStringLiteral("CRO-SP 12345"));

    work.write(QStringLiteral("falso.png"), "isto não é uma imagem");
    const QString good = writePng(QStringLiteral("logo.png"));
    for (const QString& chosen : {work.file(QStringLiteral("falso.png")), work.file(QStringLiteral("nada.png"))}) {
        dialogs.files.push_back(chosen);
        window.chooseLogo();
        EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.kind, platform::NoticeKind::Warning);
        EXPECT_EQ(box.caption, QStringLiteral("Dados do Consultório"));
        EXPECT_TRUE(box.text.contains(QStringLiteral("não é uma imagem"))) << box.text.toStdString();
        EXPECT_TRUE(window.info().logo.isEmpty());
    }
    dialogs.files.push_back(good);
    window.chooseLogo();
    EXPECT_EQ(dialogs.take().type, test::Box::OpenFile);
    EXPECT_EQ(window.info().logo, good);
    EXPECT_TRUE(popOcultar.isEnabled());

    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const ClinicInfo saved = ClinicInfo::Load();
    EXPECT_EQ(saved.clinic, QStringLiteral("Clínica Sorriso"));
    EXPECT_EQ(saved.registration, QStringLiteral("CRO-SP 12345"));
    EXPECT_EQ(saved.logo, good);
}

TEST_F(LetterheadTest, HeaderThatLeavesNoRoomIsRefusedAtLoading)
{
    QString tall;
    for (int i = 0; i < 80; ++i)
        tall += QStringLiteral("<p>linha</p>");
    work.write(ReportEngine::ProjectFile(),
               ToCp1252(QStringLiteral("<project>\n<header>\n%1</header>\n<report name=\"report2\" title=\"T\"><page><p>x</p>"
                                       "</page></report></project>\n")
                            .arg(tall)));
    ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
    EXPECT_EQ(PrintBolton(engine, page, test::SampleBolton()), PrintOutcome::Failed);
    const test::Box box = dialogs.take();
    EXPECT_TRUE(box.text.contains(QStringLiteral("linha 2: o cabeçalho e o rodapé"))) << box.text.toStdString();
    EXPECT_EQ(static_cast<report::MemoryOutput&>(engine.output()).runs, 0);
}

TEST_F(LetterheadTest, AnAbsurdlyLongLetterheadStillPrints)
{
    ClinicInfo c = sampleClinic();
    c.address = QString(6000, u'x');
    c.save();
    ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
    ASSERT_EQ(PrintBolton(engine, page, test::SampleBolton()), PrintOutcome::Ran);
    const auto& out = static_cast<report::MemoryOutput&>(engine.output());
    ASSERT_EQ(out.pages.size(), 1);
    // The header is cut to leave the body a quarter of the page, which says it goes on.
    EXPECT_EQ(out.pages[0].texts().last(), QStringLiteral("Página 1 de 1"));
    EXPECT_TRUE(out.pages[0].texts().contains(report::TruncationNotice(1)));
}

}  // namespace
}  // namespace qv
