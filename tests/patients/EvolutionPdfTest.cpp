// SALVAR PDF of the evolution: the save dialog offers the patient's own file name, and the
// report is written whole, readable by its owner only, or not at all.

#include "StageSamples.h"
#include "printing/PdfProbe.h"

#include "patients/EvolutionReport.h"
#include "patients/EvolutionView.h"
#include "printing/PrintActions.h"
#include "support/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

using platform::NoticeKind;
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

class EvolutionPdf : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        const auto stages = test::FourStages(patient);
        const char* names[] = {"-INICIAL.twe", "-INTER1.twe", "-INTER2.twe", "-FINAL.twe"};
        std::array<QString, 4> files;
        for (int k = 0; k < 4; ++k) {
            files[size_t(k)] = patient + QLatin1String(names[k]);
            work.write(QStringLiteral("Análises/") + files[size_t(k)], stages[size_t(k)]);
        }
        view.setDialogs(&dialogs);
        view.showPatient(QStringLiteral("Análises"), patient, files);
    }
    // SALVAR PDF answered with this path; the save-file box is taken and checked.
    void save(const QString& answer)
    {
        dialogs.saveFiles.push_back(answer);
        view.findChild<QPushButton*>(QStringLiteral("evpdf"))->click();
        const test::Box box = dialogs.take();
        EXPECT_EQ(box.type, test::Box::SaveFile);
        EXPECT_EQ(box.text, EvolutionPdfName(patient));
        EXPECT_EQ(dialogs.lastSaveRequest.filter, QStringLiteral("Arquivo PDF|*.pdf"));
    }
    static QFile::Permissions mode(const QString& path)
    {
        return QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                           | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                           | QFile::WriteOther | QFile::ExeOther);
    }

    const QString patient = QStringLiteral("MARIA DA SILVA");
    EvolutionView view;
};

TEST_F(EvolutionPdf, OffersThePatientsNameAndWritesThePrivateReport)
{
    QV_NEEDS_LINUX_TOOLS();  // reads the PDF back with poppler-utils
    // The answer's ending decides whether ".pdf" is added.
    const std::pair<const char*, const char*> cases[] = {{"evolucao", "evolucao.pdf"},
                                                         {"MARIA DA SILVA-EVOLUÇÃO.pdf", "MARIA DA SILVA-EVOLUÇÃO.pdf"},
                                                         {"Relatorio.PDF", "Relatorio.PDF"}};
    for (const auto& [answer, written] : cases) {
        SCOPED_TRACE(answer);
        save(work.file(QString::fromUtf8(answer)));
        const QString path = work.file(QString::fromUtf8(written));
        ASSERT_TRUE(QFile::exists(path));
        if (test::kPosixPermissions)
            EXPECT_EQ(mode(path), kOwnerOnly);
        ASSERT_EQ(test::PdfPages(path), 2);
        EXPECT_TRUE(test::PdfText(path, 1).contains(patient)) << test::PdfText(path, 1).toStdString();
        EXPECT_TRUE(test::PdfText(path, 1).contains(QStringLiteral("FMA (22° a 28°)")));
    }
}

TEST_F(EvolutionPdf, AReplacedFileBecomesPrivate)
{
    const QString path = work.file(QStringLiteral("anterior.pdf"));
    work.write(QStringLiteral("anterior.pdf"), "old report");
    ASSERT_TRUE(QFile::setPermissions(path, kOwnerOnly | QFile::ReadGroup | QFile::ReadOther));
    save(path);
    if (test::kPosixPermissions)
        EXPECT_EQ(mode(path), kOwnerOnly);
    EXPECT_TRUE(work.read(QStringLiteral("anterior.pdf")).startsWith("%PDF"));
    // No temporary file or lock is left beside it.
    const QStringList left = QDir(work.path()).entryList({QStringLiteral("*anterior*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("anterior.pdf")});
}

TEST_F(EvolutionPdf, CancellingWritesNothing)
{
    const QStringList before = QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    save(QString());
    EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

TEST_F(EvolutionPdf, WithoutTheReportProjectItSaysSoAndWritesNothing)
{
    work.remove(QStringLiteral("Análises.rav"));
    save(work.file(QStringLiteral("evolucao.pdf")));
    dialogs.expectNotice(NoticeKind::Error, MissingFeatureText(), QStringLiteral("Evolução do tratamento"));
    EXPECT_FALSE(work.exists(QStringLiteral("evolucao.pdf")));
}

TEST_F(EvolutionPdf, AFolderItCannotWriteIsReportedAndLeftEmpty)
{
    QV_NEEDS_POSIX_PERMISSIONS();
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("fechada")));
    const QString folder = work.file(QStringLiteral("fechada"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const test::Unprivileged user(work);
    ASSERT_TRUE(user.ok());
    save(folder + QStringLiteral("/evolucao.pdf"));
    const test::Box box = dialogs.take();
    EXPECT_EQ(box.kind, NoticeKind::Error);
    EXPECT_EQ(box.caption, QStringLiteral("Quorvel"));
    EXPECT_TRUE(box.text.contains(QStringLiteral("evolucao.pdf"))) << box.text.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace qv
