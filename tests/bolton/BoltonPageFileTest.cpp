// SALVAR and ABRIR on the Bolton page: the bytes written, files never overwritten, names that
// would leave the analyses folder, the open dialog's rules, short files, the opened state.

#include "bolton/BoltonPageFixture.h"

#include "records/BoltonFile.h"
#include "records/IoError.h"

#include <QDir>

using namespace qv;
using namespace qv::test;
using platform::NoticeKind;

namespace {

const QString kSaved = QStringLiteral("Arquivo Gravado com sucesso!");
const QString kExists = QStringLiteral("Já existe análise para este paciente!");
const QString kOpen = QStringLiteral("O arquivo já está aberto!");
const QString kInvalidName = QStringLiteral("O nome do paciente contém caracteres inválidos!");

class BoltonFilePageTest : public BoltonPageTest {
protected:
    QString analysis(const QString& name) const { return QStringLiteral("Análises/") + name; }

    // A file as another session saved it.
    void store(const QString& fileName, const BoltonSheet& r) const { work.write(analysis(fileName), EncodeBoltonSheet(r)); }
    static BoltonSheet record(const QString& paciente)
    {
        BoltonSheet r;
        r.bpaciente = paciente;
        for (int k = 0; k < 12; ++k) {
            r.s[size_t(k)] = QString::fromLatin1(kUpper[k]);
            r.i[size_t(k)] = QString::fromLatin1(kLower[k]);
        }
        return r;
    }
    // ABRIR, choosing the given file of the analyses folder (an empty name cancels).
    void open(const QString& fileName)
    {
        dialogs.files.push_back(fileName.isEmpty() ? QString() : work.file(analysis(fileName)));
        popOcultar.setEnabled(true);
        button(QStringLiteral("babrir"))->click();
        const Box chooser = dialogs.take();
        EXPECT_EQ(chooser.type, Box::OpenFile);
        EXPECT_EQ(chooser.text, QStringLiteral("Arquivo de Análise de Bolton|*.bol"));
        EXPECT_FALSE(chooser.hideItemEnabled);
    }
    QStringList analyses() const { return QDir(work.file(QStringLiteral("Análises"))).entryList(QDir::Files); }
};

TEST_F(BoltonFilePageTest, SaveWritesTheRecordUnderThePatientsName)
{
    fillTeeth(QStringLiteral("ÇÃO"));
    fillMolars(QStringLiteral("11.0"), QStringLiteral("10.5"), QStringLiteral("10.0"), QStringLiteral("12.0"));
    button(QStringLiteral("bCalcular"))->click();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Information, kSaved, kBoltonCaption);

    const QByteArray bytes = work.read(analysis(QStringLiteral("ÇÃO.bol")));
    ASSERT_EQ(bytes.size(), 219);
    EXPECT_EQ(bytes.left(4), QByteArray("\x03\xC7\xC3O"));
    EXPECT_EQ(bytes.mid(4, 47), QByteArray(47, '\0'));
    EXPECT_EQ(bytes.mid(51, 6), QByteArray("\x04" "10.0\0", 6));  // s01
    EXPECT_EQ(bytes.mid(123, 6), QByteArray("\x04" "11.0\0", 6));  // i01
    // termole, termold, segmole, segmold
    EXPECT_EQ(bytes.mid(195, 24), QByteArray("\x04" "11.0\0\x04" "12.0\0\x04" "10.5\0\x04" "10.0\0", 24));
    EXPECT_EQ(state(), State::Calculated);
}

TEST_F(BoltonFilePageTest, SaveNeverOverwrites)
{
    calculate();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Information, kSaved, kBoltonCaption);
    const QByteArray first = work.read(analysis(QStringLiteral("MARIA DA SILVA.bol")));

    // Other values after VOLTAR: the stored analysis stays as it was.
    button(QStringLiteral("blimpar"))->click();
    field(QStringLiteral("s01"))->setText(QStringLiteral("9.0"));
    button(QStringLiteral("bCalcular"))->click();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Error, kExists, kBoltonCaption);
    EXPECT_EQ(work.read(analysis(QStringLiteral("MARIA DA SILVA.bol"))), first);
}

TEST_F(BoltonFilePageTest, SaveNeedsACompletedCalculation)
{
    fillAll();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("A Análise não está concluída!"), kBoltonCaption);
    EXPECT_TRUE(analyses().isEmpty());
}

TEST_F(BoltonFilePageTest, LongNamesAndMolarsAreCutInTheRecordOnly)
{
    const QString name = QString(30, u'A') + QString(30, u'Ç');
    fillTeeth(name);
    fillMolars(QStringLiteral("12.345"));
    button(QStringLiteral("bCalcular"))->click();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Information, kSaved, kBoltonCaption);
    const QByteArray bytes = work.read(analysis(name + QStringLiteral(".bol")));
    ASSERT_EQ(bytes.size(), 219);
    EXPECT_EQ(quint8(bytes[0]), 50);
    EXPECT_EQ(bytes.mid(195, 6), QByteArray("\x05" "12.34"));

    page.NewAnalysis();
    open(name + QStringLiteral(".bol"));
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->text(), QString(30, u'A') + QString(20, u'Ç'));
    EXPECT_EQ(field(QStringLiteral("termole"))->text(), QStringLiteral("12.34"));
}

TEST_F(BoltonFilePageTest, MissingAnalysesFolderIsReportedWithoutSuccess)
{
    ASSERT_TRUE(QDir(work.path()).rmdir(QStringLiteral("Análises")));
    calculate();
    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Error, IoError::cannotWrite(analysis(QStringLiteral("MARIA DA SILVA.bol"))).message(),
                         QStringLiteral("Quorvel"));
    EXPECT_EQ(state(), State::Calculated);
}

// A record written elsewhere may hold a name the name field would never let through.
class UnsafeNames : public BoltonFilePageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnsafeNames, AreRefusedAtSavingAndNothingIsWritten)
{
    store(QStringLiteral("X.bol"), record(QString::fromUtf8(GetParam())));
    open(QStringLiteral("X.bol"));
    ASSERT_EQ(state(), State::Opened);
    const QStringList before = analyses();
    const QStringList folderBefore = QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    button(QStringLiteral("bsalvar"))->click();
    dialogs.expectNotice(NoticeKind::Error, kInvalidName, kBoltonCaption);
    EXPECT_EQ(analyses(), before);
    EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), folderBefore);
}

INSTANTIATE_TEST_SUITE_P(Bolton, UnsafeNames, ::testing::Values("../FORA", "SUB/NOME", "A\\B", "NOME.TXT", "NOME\nDOIS"));

TEST_F(BoltonFilePageTest, OpenRecalculatesIntoTheOpenedState)
{
    store(QStringLiteral("MARIA.bol"), record(QStringLiteral("MARIA")));
    fillAll();  // whatever was typed goes
    open(QStringLiteral("MARIA.bol"));
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(state(), State::Opened);
    EXPECT_EQ(boltonCount(), 1);
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->text(), QStringLiteral("MARIA"));
    EXPECT_EQ(field(QStringLiteral("i12"))->text(), QStringLiteral("11.0"));
    for (QLineEdit* m : molarFields())
        EXPECT_TRUE(m->text().isEmpty());
    EXPECT_EQ(label(QStringLiteral("diag6"))->text(), QStringLiteral("Excesso mandibular de 2.3mm"));

    // The molars can be added afterwards; LIMPAR then empties everything.
    field(QStringLiteral("termole"))->setText(QStringLiteral("11.0"));
    button(QStringLiteral("blimpar"))->click();
    EXPECT_EQ(state(), State::Entry);
    EXPECT_FALSE(abrirb()->isChecked());
    EXPECT_TRUE(field(QStringLiteral("termole"))->text().isEmpty());
    EXPECT_TRUE(resultsEmpty());
}

TEST_F(BoltonFilePageTest, OpenAfterACalculationReturnsToEntryFirst)
{
    store(QStringLiteral("JOANA.bol"), record(QStringLiteral("JOANA")));
    calculate();
    open(QStringLiteral("JOANA.bol"));
    EXPECT_EQ(state(), State::Opened);
    EXPECT_EQ(boltonCount(), 2);
}

TEST_F(BoltonFilePageTest, OpenRefusedByACheckStaysEditableAndSkipsTheQuestionLater)
{
    BoltonSheet r = record(QStringLiteral("PEDRO"));
    r.i[9].clear();
    store(QStringLiteral("PEDRO.bol"), r);
    open(QStringLiteral("PEDRO.bol"));
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Todos os campos devem ser preenchidos antes do cálculo!"),
                         kBoltonCaption);
    EXPECT_TRUE(abrirb()->isChecked());
    EXPECT_TRUE(noneReadOnly(teethAndName()));
    EXPECT_EQ(boltonCount(), 0);

    field(QStringLiteral("i10"))->setText(QStringLiteral("7.0"));
    button(QStringLiteral("bCalcular"))->click();  // no molar question
    EXPECT_EQ(state(), State::Opened);
}

struct Choice {
    const char* name;
    const char* typedName;  // bpaciente before ABRIR
    const char* file;       // chosen in the dialog ("" cancels)
    bool alreadyOpen;       // "O arquivo já está aberto!"
};

class OpenChoices : public BoltonFilePageTest, public ::testing::WithParamInterface<Choice> {};

TEST_P(OpenChoices, LeaveThePageAsItWas)
{
    const Choice& c = GetParam();
    store(QStringLiteral("XABY.bol"), record(QStringLiteral("XABY")));
    store(QStringLiteral("XABY.BOL"), record(QStringLiteral("XABY")));
    store(QStringLiteral("XABY.txt"), record(QStringLiteral("XABY")));
    fillAll();
    field(QStringLiteral("bpaciente"))->setText(QString::fromUtf8(c.typedName));
    open(QString::fromUtf8(c.file));
    if (c.alreadyOpen)
        dialogs.expectNotice(NoticeKind::Error, kOpen, kBoltonCaption);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->text(), QString::fromUtf8(c.typedName));
    EXPECT_EQ(field(QStringLiteral("s01"))->text(), QStringLiteral("10.0"));
    EXPECT_EQ(state(), State::Entry);
    EXPECT_EQ(boltonCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Bolton, OpenChoices,
    ::testing::Values(Choice{"cancelled", "AB", "", false},
                      // The test is on the whole path, case-sensitive.
                      Choice{"nameInsidePath", "AB", "XABY.bol", true},
                      Choice{"wholeName", "XABY", "XABY.bol", true},
                      // Only ".bol" in small letters counts as a Bolton file.
                      Choice{"capitalExtension", "ZZ", "XABY.BOL", false},
                      Choice{"otherExtension", "ZZ", "XABY.txt", false}),
    [](const ::testing::TestParamInfo<Choice>& info) { return std::string(info.param.name); });

TEST_F(BoltonFilePageTest, OtherCaseOfTheNameIsNotTheOpenFile)
{
    store(QStringLiteral("XABY.bol"), record(QStringLiteral("XABY")));
    field(QStringLiteral("bpaciente"))->setText(QStringLiteral("Xaby"));
    open(QStringLiteral("XABY.bol"));
    EXPECT_EQ(state(), State::Opened);
    EXPECT_EQ(field(QStringLiteral("bpaciente"))->text(), QStringLiteral("XABY"));
}

TEST_F(BoltonFilePageTest, ShortFileIsReportedAfterThePageWasCleared)
{
    work.write(analysis(QStringLiteral("CURTO.bol")), EncodeBoltonSheet(record(QStringLiteral("CURTO"))).left(218));
    reopenRefused();
    fillAll();
    open(QStringLiteral("CURTO.bol"));
    dialogs.expectNotice(NoticeKind::Error, IoError::tooShort(work.file(analysis(QStringLiteral("CURTO.bol")))).message(),
                         QStringLiteral("Quorvel"));
    EXPECT_TRUE(popOcultar.isEnabled());
    for (QLineEdit* f : teethAndName() + molarFields())
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_FALSE(abrirb()->isChecked());
    EXPECT_EQ(state(), State::Entry);
    EXPECT_EQ(boltonCount(), 0);
}

TEST_F(BoltonFilePageTest, OversizedLengthBytesReadAsTheCapacity)
{
    QByteArray bytes = EncodeBoltonSheet(record(QStringLiteral("ANA")));
    bytes[51] = char(200);  // s01 "10.0" claims 200 characters
    work.write(analysis(QStringLiteral("ANA.bol")), bytes);
    open(QStringLiteral("ANA.bol"));
    EXPECT_EQ(field(QStringLiteral("s01"))->text(), QStringLiteral("10.0") + QChar(0));
    EXPECT_EQ(field(QStringLiteral("s02"))->text(), QStringLiteral("6.5"));
    EXPECT_EQ(state(), State::Opened);
}

}  // namespace
