#include "notes/PlanPage.h"

#include "printing/PrintActions.h"

#include "entry/EntryFilter.h"
#include "platform/PageContext.h"
#include "notes/HistoryPage.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/PlanFile.h"
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

const QString kOpenMark = QStringLiteral("open");

}  // namespace

PlanPage::PlanPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("TabSheet5"));
    setWindowTitle(Caption());

    auto* pacienteLabel = new QLabel(QStringLiteral("Paciente"), this);
    m_popaciente = new QLineEdit(this);
    m_popaciente->setObjectName(QStringLiteral("popaciente"));
    pacienteLabel->setBuddy(m_popaciente);
    // Refusals on this page carry its own caption.
    EntryFilter::install(m_popaciente, EntryRule::name([this](const QString& text) { notice(NoticeKind::Warning, text); }));

    auto* label11 = new QLabel(QStringLiteral("Descrição do atendimento"), this);
    label11->setObjectName(QStringLiteral("Label11"));
    m_outline = new StorableTextEdit(this);
    m_outline->setObjectName(QStringLiteral("outline"));
    QFont f = m_outline->font();
    f.setPixelSize(17);
    m_outline->setFont(f);
    label11->setBuddy(m_outline);

    m_label10 = new QLabel(this);
    m_label10->setObjectName(QStringLiteral("Label10"));
    m_label10->hide();

    auto* button1 = RecordsPageButton(this, "Button1", QStringLiteral("LIMPAR"));
    auto* button2 = RecordsPageButton(this, "Button2", QStringLiteral("SALVAR"));
    auto* button4 = RecordsPageButton(this, "Button4", QStringLiteral("ABRIR"));
    m_button5 = RecordsPageButton(this, "Button5", QStringLiteral("IMPRIMIR"));
    auto* button6 = RecordsPageButton(this, "Button6", QStringLiteral("SAIR"));
    connect(button1, &QPushButton::clicked, this, &PlanPage::polimparclick);
    connect(button2, &QPushButton::clicked, this, &PlanPage::posalvarclick);
    connect(button4, &QPushButton::clicked, this, &PlanPage::poabrirclick);
    connect(m_button5, &QPushButton::clicked, this, &PlanPage::poimprimirclick);
    connect(button6, &QPushButton::clicked, this, [this] {
        m_context.exitProgram();
    });

    QVBoxLayout* page = StartRecordsPage(this, pacienteLabel, m_popaciente);
    page->addWidget(label11);
    page->addWidget(m_outline, 1);
    FinishRecordsPage(page, {button1, button2, button4, m_button5, button6});

    setTabOrder(m_popaciente, m_outline);
    setTabOrder(m_outline, button1);
}

QPlainTextEdit* PlanPage::outline() const { return m_outline; }

void PlanPage::poimprimirclick()
{
    if (m_reports)
        PrintPlan(*m_reports, m_context, m_popaciente->text(), m_outline->toPlainText(),
                  int(DisplayedLines(m_outline).size()), [this] { return posalvarclick(); });
}

void PlanPage::notice(NoticeKind kind, const QString& text) { m_context.dialogs().ShowNotice(kind, text, Caption()); }

void PlanPage::polimparclick()
{
    m_popaciente->clear();
    m_outline->clear();
    m_label10->clear();
}

bool PlanPage::posalvarclick()
{
    const QString patient = m_popaciente->text();
    if (!PatientNameSavable(patient, [this](NoticeKind k, const QString& t) { notice(k, t); }))
        return false;
    m_context.beforeSave();
    try {
        WritePlanFile(PlanFileName(patient), {patient, DisplayedLines(m_outline)});
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return false;
    }
    notice(NoticeKind::Information, m_label10->text() == kOpenMark ? QStringLiteral("Plano de Tratamento atualizado com sucesso!")
                                                                   : QStringLiteral("Plano de Tratamento salvo com sucesso!"));
    m_label10->setText(kOpenMark);
    return true;
}

void PlanPage::poabrirclick()
{
    openFile(m_context.dialogs().OpenFile(
        {QStringLiteral("otl"), QStringLiteral("Arquivo de Plano de Tratamento|*.otl")}));
}

void PlanPage::openFile(const QString& path)
{
    try {
        if (IsRecordsFile(path, ".otl")) {
            polimparclick();
            const PlanContents plan = ReadPlanFile(path);
            m_popaciente->setText(plan.patient);
            m_outline->setPlainText(plan.lines.join(u'\n'));
        }
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    m_context.dialogs().setHideItemEnabled(true);
    m_label10->setText(kOpenMark);
}

void PlanPage::pllimparClick()
{
    if (m_history)
        m_history->runFor(Caption(), &HistoryPage::pllimparClick);
}

void PlanPage::plabrirClick()
{
    if (m_history)
        m_history->runFor(Caption(), &HistoryPage::plabrirClick);
}

void PlanPage::plsalvarClick()
{
    if (m_history)
        m_history->runFor(Caption(), &HistoryPage::plsalvarClick);
}

}  // namespace qv
