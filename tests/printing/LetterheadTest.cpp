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
#include "records/FileIo.h"
#include "records/IoError.h"
#include "support/WorkFolder.h"

#include <QAction>
#include <QDir>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <unistd.h>

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
            if (out.pages.size() > 1) {  // the letterhead is on every page
                EXPECT_EQ(out.pages.last().texts().mid(0, 3), texts.last().mid(0, 3));
            }
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
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
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
    // An image already in the working folder is kept by its name there.
    EXPECT_EQ(window.info().logo, QStringLiteral("logo.png"));
    EXPECT_EQ(window.info().logoFile(), good);
    EXPECT_TRUE(popOcultar.isEnabled());

    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const ClinicInfo saved = ClinicInfo::Load();
    EXPECT_EQ(saved.clinic, QStringLiteral("Clínica Sorriso"));
    EXPECT_EQ(saved.registration, QStringLiteral("CRO-SP 12345"));
    EXPECT_EQ(saved.logo, QStringLiteral("logo.png"));
    EXPECT_EQ(saved.logoFile(), good);
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


QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

int failWithEio(int) { return errno = EIO, -1; }
int closeThenFail(int fd) { return ::close(fd), errno = EIO, -1; }

// A failed sync or close leaves the letterhead as it was, and the window says so and stays.
TEST_F(LetterheadTest, AFailedWriteLeavesTheOldLetterheadAndIsReported)
{
    const struct {
        const char* what;
        bool datasync;   // else close
        bool existing;   // a letterhead was there before
    } cases[] = {
        {"sync fails over an old letterhead", true, true},
        {"close fails over an old letterhead", false, true},
        {"sync fails on the first letterhead", true, false},
        {"close fails on the first letterhead", false, false},
    };
    for (const auto& c : cases) {
        work.remove(ClinicInfo::FileName());
        if (c.existing)
            sampleClinic().save();
        const QByteArray before = c.existing ? work.read(ClinicInfo::FileName()) : QByteArray();
        ClinicInfo changed = sampleClinic();
        changed.clinic = QStringLiteral("Outra Clínica");
        if (c.datasync)
            FileIoHooksForTesting().datasync = failWithEio;
        else
            FileIoHooksForTesting().close = closeThenFail;
        EXPECT_THROW(changed.save(), IoError) << c.what;
        report::ClinicDialog window(dialogs, changed);
        window.accept();
        FileIoHooksForTesting() = {};
        EXPECT_NE(window.result(), QDialog::Accepted) << c.what;
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.kind, platform::NoticeKind::Error) << c.what;
        EXPECT_TRUE(box.text.contains(ClinicInfo::FileName())) << c.what << box.text.toStdString();
        EXPECT_EQ(work.exists(ClinicInfo::FileName()), c.existing) << c.what;
        if (c.existing) {
            EXPECT_EQ(work.read(ClinicInfo::FileName()), before) << c.what;
        }
        const QStringList left = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_FALSE(left.join(u'|').contains(QStringLiteral(".tmp"))) << c.what << left.join(u'|').toStdString();
    }
}

// The stored logo is found in the working folder, also when an older path no longer exists.
TEST_F(LetterheadTest, TheLogoIsFoundInTheWorkingFolder)
{
    QTemporaryDir elsewhere;
    const QString outside = QDir(elsewhere.path()).filePath(QStringLiteral("marca.png"));
    QImage(8, 8, QImage::Format_RGB32).save(outside);
    writePng(QStringLiteral("Logotipo.png"));
    writePng(QStringLiteral("velho.png"));
    const struct {
        QString stored;
        QString found;  // empty: no logo
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("Logotipo.png"), work.file(QStringLiteral("Logotipo.png"))},
        {outside, outside},  // an older version's path that still exists
        {QStringLiteral("/home/outro/computador/velho.png"), work.file(QStringLiteral("velho.png"))},
        {QStringLiteral("/home/outro/computador/sumiu.png"), QString()},
        {QStringLiteral("sumiu.png"), QString()},
    };
    for (const auto& c : cases) {
        ClinicInfo info;
        info.logo = c.stored;
        EXPECT_EQ(info.logoFile(), c.found) << c.stored.toStdString();
        EXPECT_EQ(info.logoImage().isNull(), c.found.isEmpty()) << c.stored.toStdString();
    }
}

TEST_F(LetterheadTest, AChosenLogoIsKeptInTheWorkingFolder)
{
    QTemporaryDir elsewhere;
    const auto image = [&](const QString& name, const QColor& colour) {
        QImage logo(10, 5, QImage::Format_RGB32);
        logo.fill(colour);
        const QString path = QDir(elsewhere.path()).filePath(name);
        EXPECT_TRUE(logo.save(path, "PNG"));
        return path;
    };
    const QString inside = writePng(QStringLiteral("meu logo.png"));
    const struct {
        QString chosen;
        QString stored;
    } cases[] = {
        {inside, QStringLiteral("meu logo.png")},  // already there: not copied
        {image(QStringLiteral("marca.png"), Qt::red), QStringLiteral("Logotipo.png")},
        {image(QStringLiteral("nova marca.PNG"), Qt::green), QStringLiteral("Logotipo.png")},  // replaces the older copy
        {image(QStringLiteral("foto.JPEG"), Qt::blue), QStringLiteral("Logotipo.jpeg")},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = bytesOf(c.chosen);
        EXPECT_EQ(ClinicInfo::KeepLogo(c.chosen), c.stored) << c.chosen.toStdString();
        EXPECT_EQ(work.read(c.stored), bytes) << c.chosen.toStdString();
    }
    EXPECT_EQ(QDir(work.path()).entryList({QStringLiteral("Logotipo*")}, QDir::Files),
              (QStringList{QStringLiteral("Logotipo.jpeg"), QStringLiteral("Logotipo.png")}));
    EXPECT_THROW(ClinicInfo::KeepLogo(QDir(elsewhere.path()).filePath(QStringLiteral("sumiu.png"))), IoError);
}

TEST_F(LetterheadTest, TheWindowCopiesALogoFromElsewhereOnlyWhenSaved)
{
    QTemporaryDir elsewhere;
    const QString chosen = QDir(elsewhere.path()).filePath(QStringLiteral("marca.png"));
    QImage(12, 6, QImage::Format_RGB32).save(chosen);
    sampleClinic().save();
    const QByteArray before = work.read(ClinicInfo::FileName());
    {
        report::ClinicDialog window(dialogs, ClinicInfo::Load());
        dialogs.files.push_back(chosen);
        window.chooseLogo();
        dialogs.take();
        window.reject();
    }
    EXPECT_FALSE(work.exists(QStringLiteral("Logotipo.png")));
    EXPECT_EQ(work.read(ClinicInfo::FileName()), before);

    report::ClinicDialog window(dialogs, ClinicInfo::Load());
    dialogs.files.push_back(chosen);
    window.chooseLogo();
    dialogs.take();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(ClinicInfo::Load().logo, QStringLiteral("Logotipo.png"));
    EXPECT_EQ(window.info().logo, QStringLiteral("Logotipo.png"));
    EXPECT_EQ(work.read(QStringLiteral("Logotipo.png")), bytesOf(chosen));

    // A letterhead of an older version, naming the image where it lies: OK brings it in.
    ClinicInfo older = sampleClinic();
    older.logo = chosen;
    older.save();
    work.remove(QStringLiteral("Logotipo.png"));
    report::ClinicDialog again(dialogs, ClinicInfo::Load());
    again.accept();
    EXPECT_EQ(ClinicInfo::Load().logo, QStringLiteral("Logotipo.png"));
    EXPECT_EQ(work.read(QStringLiteral("Logotipo.png")), bytesOf(chosen));
}

// Every label answers to its own Alt+letter and moves the focus to its control.
TEST_F(LetterheadTest, EveryLabelHasItsControlAndItsOwnShortcut)
{
    report::ClinicDialog window(dialogs, ClinicInfo{});
    auto* form = window.findChild<QFormLayout*>();
    ASSERT_NE(form, nullptr);
    const struct {
        const char* label;
        const char* control;
    } rows[] = {{"&Consultório:", "consultorio"}, {"&Profissional:", "profissional"}, {"&Registro:", "registro"},
                {"&Endereço:", "endereco"},       {"&Telefone:", "telefone"},         {"E-&mail:", "email"},
                {"&Logotipo:", "chooseLogo"}};
    ASSERT_EQ(form->rowCount(), int(std::size(rows)));
    QStringList keys;
    for (int i = 0; i < form->rowCount(); ++i) {
        auto* label = qobject_cast<QLabel*>(form->itemAt(i, QFormLayout::LabelRole)->widget());
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), QString::fromUtf8(rows[i].label));
        ASSERT_NE(label->buddy(), nullptr) << rows[i].label;  // without one the "&" is shown as it is
        EXPECT_EQ(label->buddy()->objectName(), QString::fromLatin1(rows[i].control));
        keys << label->text().mid(label->text().indexOf(u'&') + 1, 1).toLower();
    }
    for (auto* button : window.findChildren<QPushButton*>()) {
        const qsizetype amp = button->text().indexOf(u'&');
        if (amp >= 0)
            keys << button->text().mid(amp + 1, 1).toLower();
    }
    QStringList unique = keys;
    unique.removeDuplicates();
    EXPECT_EQ(unique.size(), keys.size()) << keys.join(u',').toStdString();
}

}  // namespace
}  // namespace qv
