#include "notes/HistoryPage.h"

#include "printing/PrintActions.h"

#include "entry/EntryFilter.h"
#include "platform/PageContext.h"
#include "records/HistoryFile.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "notes/StorableTextEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "notes/RecordsPageLayout.h"

namespace qv {

using platform::NoticeKind;

namespace {

QFont fieldFont(QWidget* w)
{
    QFont f = w->font();
    f.setPixelSize(17);  // the 145-dash separator then fits on one line of historico
    return f;
}

}  // namespace

HistoryPage::HistoryPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("TabSheet4"));
    setWindowTitle(Caption());

    auto* pacienteLabel = new QLabel(QStringLiteral("Paciente"), this);
    m_plpaciente = new QLineEdit(this);
    m_plpaciente->setObjectName(QStringLiteral("plpaciente"));
    pacienteLabel->setBuddy(m_plpaciente);
    EntryFilter::install(m_plpaciente, EntryRule::name(context.warner()));

    auto* label4 = new QLabel(QStringLiteral("Descrição do atendimento"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    m_insere = new StorableTextEdit(this);
    m_insere->setObjectName(QStringLiteral("insere"));
    m_insere->setFont(fieldFont(m_insere));
    label4->setBuddy(m_insere);

    auto* label5 = new QLabel(QStringLiteral("Histórico"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    m_historico = new QPlainTextEdit(this);
    m_historico->setObjectName(QStringLiteral("historico"));
    m_historico->setReadOnly(true);
    m_historico->setFont(fieldFont(m_historico));
    m_historico->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_historico->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_historico->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_historico->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_historico->setFocusPolicy(Qt::ClickFocus);  // Tab passes it by
    m_historico->setBackgroundRole(QPalette::Window);
    QPalette pal = m_historico->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    m_historico->setPalette(pal);
    label5->setBuddy(m_historico);

    auto* pllimpar = RecordsPageButton(this, "pllimpar", QStringLiteral("LIMPAR"));
    auto* plsalvar = RecordsPageButton(this, "plsalvar", QStringLiteral("SALVAR"));
    auto* plabrir = RecordsPageButton(this, "plabrir", QStringLiteral("ABRIR"));
    m_plimprimir = RecordsPageButton(this, "plimprimir", QStringLiteral("IMPRIMIR"));
    auto* plsair = RecordsPageButton(this, "plsair", QStringLiteral("SAIR"));
    connect(pllimpar, &QPushButton::clicked, this, &HistoryPage::pllimparClick);
    connect(plsalvar, &QPushButton::clicked, this, &HistoryPage::plsalvarClick);
    connect(plabrir, &QPushButton::clicked, this, &HistoryPage::plabrirClick);
    connect(m_plimprimir, &QPushButton::clicked, this, &HistoryPage::plimprimirClick);
    connect(plsair, &QPushButton::clicked, this, [this] {
        m_context.exitProgram();
    });

    QVBoxLayout* page = StartRecordsPage(this, pacienteLabel, m_plpaciente);
    page->addWidget(label4);
    page->addWidget(m_insere, 2);
    page->addSpacing(8);
    page->addWidget(label5);
    page->addWidget(m_historico, 5);
    FinishRecordsPage(page, {pllimpar, plsalvar, plabrir, m_plimprimir, plsair});

    setTabOrder(m_plpaciente, m_insere);
    setTabOrder(m_insere, pllimpar);
}

QPlainTextEdit* HistoryPage::insere() const { return m_insere; }

void HistoryPage::plimprimirClick()
{
    if (m_reports)
        PrintHistory(*m_reports, m_context, m_plpaciente->text(), int(DisplayedLines(m_historico).size()));
}

void HistoryPage::notice(platform::NoticeKind kind, const QString& text) const
{
    const QString caption = m_callerCaption.isEmpty() ? m_context.caption() : m_callerCaption;
    m_context.dialogs().ShowNotice(kind, text, caption);
}

void HistoryPage::runFor(const QString& caption, void (HistoryPage::*action)())
{
    const QString previous = m_callerCaption;
    m_callerCaption = caption;
    try {
        (this->*action)();
    } catch (...) {
        m_callerCaption = previous;
        throw;
    }
    m_callerCaption = previous;
}

void HistoryPage::pllimparClick()
{
    m_plpaciente->clear();
    m_insere->clear();
    m_historico->clear();
}

void HistoryPage::ReloadHistory(const QString& path)
{
    const HistoryContents contents = ReadHistoryFile(path);
    m_plpaciente->setText(contents.patient);
    // One text for all lines: a history of thousands of visits loads at once.
    m_historico->setPlainText(contents.lines.join(u'\n'));
}

void HistoryPage::plsalvarClick()
{
    try {
        const QString patient = m_plpaciente->text();
        if (!PatientNameSavable(patient, [this](NoticeKind k, const QString& t) { notice(k, t); }))
            return;
        const QString path = HistoryFileName(patient);
        const QStringList description = DisplayedLines(m_insere);
        if (description.isEmpty()) {
            notice(NoticeKind::Warning, QStringLiteral("O Campo descrição do atendimento deve ser preenchido antes de salvar!"));
            return;
        }
        const QByteArray block = HistoryBlock(HistoryDateText(today()), description);
        m_context.beforeSave();
        const bool existed = SaveHistoryVisit(path, patient, block) == HistorySave::Appended;
        m_insere->clear();
        m_historico->clear();
        ReloadHistory(path);
        notice(NoticeKind::Information, existed ? QStringLiteral("Plano de Tratamento atualizado com sucesso!")
                                 : QStringLiteral("Plano de Tratamento gravado com sucesso!"));
    } catch (const IoError& e) {
        m_context.failure(e.message());
    }
}

void HistoryPage::plabrirClick()
{
    openFile(m_context.dialogs().OpenFile(
        {QStringLiteral("pln"), QStringLiteral("Arquivo de Plano de Tratamento|*.pln")}));
}

void HistoryPage::openFile(const QString& path)
{
    try {
        if (IsRecordsFile(path, ".pln")) {
            pllimparClick();
            ReloadHistory(path);
        }
    } catch (const IoError& e) {
        m_context.failure(e.message());
    }
    m_context.dialogs().setHideItemEnabled(true);
}

}  // namespace qv
