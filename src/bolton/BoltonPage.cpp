#include "bolton/BoltonPage.h"
#include "printing/PrintActions.h"
#include "records/PatientName.h"

#include "records/BoltonFile.h"
#include "platform/PageContext.h"
#include "records/IoError.h"
#include "records/Statistics.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>

#include <optional>

namespace qv {

namespace {

// The page's states as the user sees them. The molar fields lock in Calculated only when the
// calculation went through the molar question.
struct StateRow {
    BoltonPage::State state;
    bool calcularEnabled;
    const char* limparCaption;
    std::optional<bool> opened;  // unset: the flag stays as it is (Entry after a refused reopen)
    bool entriesLocked;
    bool molarsLockAfterQuestion;
};

constexpr StateRow kStates[] = {
    {BoltonPage::State::Entry, true, "LIMPAR", std::nullopt, false, false},
    {BoltonPage::State::Calculated, false, "VOLTAR", false, true, true},
    {BoltonPage::State::Opened, false, "LIMPAR", true, true, false},
};

}  // namespace

BoltonPage::BoltonPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("TabSheet2"));
    m_controls = BuildBoltonPage(this, context);

    connect(m_controls.calcular, &QPushButton::clicked, this, &BoltonPage::bCalcularClick);
    connect(m_controls.limpar, &QPushButton::clicked, this, &BoltonPage::blimparClick);
    connect(m_controls.salvar, &QPushButton::clicked, this, &BoltonPage::bsalvarClick);
    connect(m_controls.abrir, &QPushButton::clicked, this, &BoltonPage::babrirClick);
    connect(m_controls.imprimir, &QPushButton::clicked, this, &BoltonPage::bimprimirClick);
    connect(m_controls.sair, &QPushButton::clicked, this, [this] { m_context.exitProgram(); });
    enterState(State::Entry);
}

void BoltonPage::enterState(State state)
{
    const StateRow& row = kStates[int(state)];
    Q_ASSERT(row.state == state);
    m_state = state;
    if (row.opened)
        m_opened = *row.opened;
    m_controls.calcular->setEnabled(row.calcularEnabled);
    m_controls.limpar->setText(QString::fromLatin1(row.limparCaption));
    m_controls.abrirb->setChecked(m_opened);
    const bool molarsLocked = row.molarsLockAfterQuestion && m_molarsLocked;
    for (size_t k = 0; k < BoltonFields().size(); ++k)
        m_controls.fields[k]->setReadOnly(BoltonFields()[k].kind == BoltonFieldKind::Molar ? molarsLocked
                                                                                          : row.entriesLocked);
}

BoltonSheet BoltonPage::sheet() const
{
    BoltonSheet s;
    for (size_t k = 0; k < BoltonFields().size(); ++k)
        BoltonFields()[k].of(s) = m_controls.fields[k]->text();
    return s;
}

void BoltonPage::show(const BoltonSheet& sheet)
{
    for (size_t k = 0; k < BoltonFields().size(); ++k)
        m_controls.fields[k]->setText(BoltonFields()[k].of(sheet));
}

void BoltonPage::showResults(const BoltonResults& results)
{
    m_results = results;
    for (size_t k = 0; k < kBoltonResultLabels.size(); ++k)
        m_controls.results[k]->setText(results.*kBoltonResultLabels[k].text);
}

void BoltonPage::bCalcularClick() { calculate(); }

void BoltonPage::calculate()
{
    const BoltonSheet in = sheet();
    const QString refusal = BoltonRefusal(in);
    if (!refusal.isEmpty()) {
        m_context.warn(refusal);
        return;
    }
    bool lockMolars = false;
    if (!MolarsFilled(in) && !m_opened) {
        // Closing the box without an answer is no consent either.
        if (m_context.confirm(kMolarQuestion) != platform::Answer::Yes)
            return;
        lockMolars = true;
    }
    try {
        RecordStatistic('b');
        BoltonResults r = ComputeBoltonSums(in);
        showResults(r);
        // Read at every calculation, so a changed table takes effect without a restart.
        const BoltonTable table = ReadBoltonTables();
        CompleteBolton(r, table);
        showResults(r);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_molarsLocked = lockMolars;
    enterState(m_opened ? State::Opened : State::Calculated);
}

void BoltonPage::blimparClick()
{
    if (m_state == State::Calculated)
        goBack();
    else
        clearAll();
}

void BoltonPage::goBack()
{
    showResults({});
    enterState(State::Entry);
}

void BoltonPage::clearAll()
{
    show(BoltonSheet{});
    showResults({});
    m_opened = false;
    enterState(State::Entry);
}

void BoltonPage::NewAnalysis() { clearAll(); }

void BoltonPage::bsalvarClick()
{
    if (m_results.diag12.isEmpty()) {
        m_context.warn(QStringLiteral("A Análise não está concluída!"));
        return;
    }
    const BoltonSheet s = sheet();
    if (s.bpaciente.isEmpty()) {
        m_context.warn(QStringLiteral("O nome do paciente deve ser preenchido!"));
        return;
    }
    // A name read from a file was never filtered: it must not lead outside the analyses folder.
    if (!IsSafePatientName(s.bpaciente)) {
        m_context.error(QStringLiteral("O nome do paciente contém caracteres inválidos!"));
        return;
    }
    const QString path = BoltonFilePath(s.bpaciente);
    // Decided and written under the lock beside the file: two computers saving the same new
    // patient cannot both pass the "already exists" test.
    m_context.beforeSave();
    try {
        if (SaveNewBoltonFile(path, s) == BoltonSave::AlreadyExists) {
            m_context.error(QStringLiteral("Já existe análise para este paciente!"));
            return;
        }
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_context.inform(QStringLiteral("Arquivo Gravado com sucesso!"));
}

void BoltonPage::bimprimirClick()
{
    if (m_reports)
        PrintBolton(*m_reports, m_context, sheet(), m_results);
}

void BoltonPage::LoadBoltonFile(const QString& path) { show(ReadBoltonFile(path)); }

void BoltonPage::babrirClick()
{
    openFile(m_context.dialogs().OpenFile({QStringLiteral("bol"), QStringLiteral("Arquivo de Análise de Bolton|*.bol")}));
}

void BoltonPage::openFile(const QString& path)
{
    platform::Dialogs& dialogs = m_context.dialogs();
    // The open-file dialog disabled the tray item; every way out of here enables it again.
    struct EnableHideItem {
        platform::Dialogs& d;
        ~EnableHideItem() { d.setHideItemEnabled(true); }
    } enableAtEnd{dialogs};

    if (!path.contains(QStringLiteral(".bol")))
        return;
    const QString paciente = sheet().bpaciente;
    if (!paciente.isEmpty() && path.contains(paciente)) {
        m_context.error(QStringLiteral("O arquivo já está aberto!"));
        return;
    }
    // As LIMPAR / VOLTAR would: a calculated page only goes back, any other is emptied.
    if (m_state == State::Calculated)
        goBack();
    else
        clearAll();
    try {
        LoadBoltonFile(path);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_opened = true;
    enterState(State::Entry);
    calculate();
}

}  // namespace qv
