#include "tweed/TweedPage.h"

#include "printing/PrintActions.h"
#include "tweed/TweedReportTexts.h"

#include "entry/EntryFilter.h"
#include "guide/DiagnosisPanel.h"
#include "platform/PageContext.h"
#include "records/IoError.h"
#include "records/PatientName.h"
#include "records/Statistics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

const QString kCalcular = QStringLiteral("CALCULAR");
const QString kGuia = QStringLiteral("GUIA DIAGNÓSTICO");
const QString kLimpar = QStringLiteral("LIMPAR");
const QString kVoltar = QStringLiteral("VOLTAR");

constexpr int kFieldWidth = 42;
constexpr int kResultWidth = 46;

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

void compact(QLayout* layout)
{
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
}

void keepPlace(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

// Radio buttons of a group with no button checked.
void uncheckAll(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

QLabel* caption(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    return l;
}

}  // namespace

TweedPage::TweedPage(platform::PageContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("TabSheet1"));

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(4);

    auto* work = new QVBoxLayout;
    work->setSpacing(4);
    page->addLayout(work, 1);

    auto* patient = new QGridLayout;
    patient->setHorizontalSpacing(6);
    patient->setVerticalSpacing(2);
    buildPatient(patient);
    work->addLayout(patient);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(4);
    work->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildTweedGroup());
    left->addWidget(buildDcGroup());
    left->addStretch(1);
    columns->addLayout(left);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(buildSpaceGroup());
    right->addWidget(buildDifficultyGroup());
    m_idlabel = new QLabel(this);
    m_idlabel->setObjectName(QStringLiteral("idlabel"));
    m_idlabel->setAlignment(Qt::AlignCenter);
    {
        QFont f = m_idlabel->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() + 1);
        m_idlabel->setFont(f);
    }
    m_idlabel->setMinimumHeight(m_idlabel->fontMetrics().lineSpacing() + 6);
    m_idlabel->setAccessibleDescription(QStringLiteral("Grau do Índice de Dificuldade"));
    setColour(m_idlabel, kGradeRed);
    right->addWidget(m_idlabel);
    right->addStretch(1);
    columns->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    auto addButton = [&](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
    };
    addButton(m_tCalcular, "tCalcular", kCalcular);
    m_tCalcular->setMinimumWidth(m_tCalcular->fontMetrics().horizontalAdvance(kGuia) + 24);
    addButton(m_tLimpar, "tLimpar", kLimpar);
    addButton(m_tsalvar, "tsalvar", QStringLiteral("SALVAR"));
    addButton(m_tabrir, "tabrir", QStringLiteral("ABRIR"));
    addButton(m_timprimir, "timprimir", QStringLiteral("IMPRIMIR"));
    addButton(m_tSair, "tSair", QStringLiteral("SAIR"));
    work->addLayout(buttons);

    m_parcial = new QCheckBox(QStringLiteral("parcial"), this);
    m_parcial->setObjectName(QStringLiteral("parcial"));
    m_parcial->hide();
    m_completo = new QCheckBox(QStringLiteral("completo"), this);
    m_completo->setObjectName(QStringLiteral("completo"));
    m_completo->hide();

    m_ds = new DiagnosisPanel(this);
    m_ds->setFixedWidth(270);
    page->addWidget(m_ds);

    installFilters();

    connect(m_tCalcular, &QPushButton::clicked, this, &TweedPage::tCalcularClick);
    connect(m_tLimpar, &QPushButton::clicked, this, &TweedPage::tLimparClick);
    connect(m_tsalvar, &QPushButton::clicked, this, &TweedPage::tsalvarClick);
    connect(m_tabrir, &QPushButton::clicked, this, &TweedPage::tabrirClick);
    connect(m_timprimir, &QPushButton::clicked, this, &TweedPage::timprimirClick);
    connect(m_tSair, &QPushButton::clicked, this, [this] {
        if (m_links.exitProgram)
            m_links.exitProgram();
    });
    connect(m_total, &QPushButton::clicked, this, [this] {
        if (m_links.openSpaceEntry)
            m_links.openSpaceEntry();
    });
    connect(m_dcsim, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            dcsimClick();
    });
    connect(m_dcnao, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            dcnaoClick();
    });
}

// ---- construction ----

QLineEdit* TweedPage::addEntry(QWidget* group, const char* name, const QString& text)
{
    auto* e = new QLineEdit(group);
    e->setObjectName(QLatin1String(name));
    e->setFixedWidth(kFieldWidth);
    e->setAlignment(Qt::AlignRight);
    auto* label = caption(group, text);
    label->setBuddy(e);
    label->setObjectName(QLatin1String(name) + QStringLiteral("Caption"));
    return e;
}

QLabel* TweedPage::addResult(QWidget* group, const char* name, const QString& description, bool bold)
{
    auto* l = new QLabel(group);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFixedWidth(kResultWidth);
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setMinimumHeight(l->fontMetrics().height() + 6);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    setColour(l, Rgb{0, 0, 255});
    l->setAccessibleDescription(description);
    return l;
}

namespace {

QLabel* buddyOf(QLineEdit* e)
{
    return e->parentWidget()->findChild<QLabel*>(e->objectName() + QStringLiteral("Caption"), Qt::FindDirectChildrenOnly);
}

// Caption + widget on one row of a two-column grid.
void putRow(QGridLayout* grid, int row, QWidget* captionLabel, QWidget* value, int column = 0)
{
    grid->addWidget(captionLabel, row, column);
    grid->addWidget(value, row, column + 1, Qt::AlignRight);
}

void putEntry(QGridLayout* grid, int row, QLineEdit* e, int column = 0) { putRow(grid, row, buddyOf(e), e, column); }

}  // namespace

void TweedPage::buildPatient(QGridLayout* grid)
{
    m_twPaciente = new QLineEdit(this);
    m_twPaciente->setObjectName(QStringLiteral("twPaciente"));
    auto* pacienteCaption = caption(this, QStringLiteral("Paciente"));
    pacienteCaption->setBuddy(m_twPaciente);
    m_Idade = new QLineEdit(this);
    m_Idade->setObjectName(QStringLiteral("Idade"));
    m_Idade->setFixedWidth(40);
    m_Idade->setAlignment(Qt::AlignRight);
    auto* idadeCaption = caption(this, QStringLiteral("Idade"));
    idadeCaption->setBuddy(m_Idade);

    auto* names = new QGridLayout;
    names->setHorizontalSpacing(4);
    names->setVerticalSpacing(2);
    names->addWidget(pacienteCaption, 0, 0);
    names->addWidget(m_twPaciente, 0, 1);
    names->addWidget(idadeCaption, 1, 0);
    names->addWidget(m_Idade, 1, 1, Qt::AlignLeft);
    grid->addLayout(names, 0, 0, Qt::AlignBottom);

    auto* genero = new QGroupBox(QStringLiteral("Gênero"), this);
    genero->setObjectName(QStringLiteral("genero"));
    auto* g = new QHBoxLayout(genero);
    compact(g);
    m_GenMasc = new QRadioButton(QStringLiteral("Masculino"), genero);
    m_GenMasc->setObjectName(QStringLiteral("GenMasc"));
    m_GenFem = new QRadioButton(QStringLiteral("Feminino"), genero);
    m_GenFem->setObjectName(QStringLiteral("GenFem"));
    g->addWidget(m_GenMasc);
    g->addWidget(m_GenFem);
    m_gender = new QButtonGroup(this);
    m_gender->addButton(m_GenMasc);
    m_gender->addButton(m_GenFem);
    grid->addWidget(genero, 0, 1);

    auto* stage = new QGroupBox(QStringLiteral("Análise"), this);
    stage->setObjectName(QStringLiteral("GroupBox1"));
    auto* s = new QHBoxLayout(stage);
    compact(s);
    auto* stages = new QButtonGroup(this);
    auto addStage = [&](QRadioButton*& b, const char* name, const QString& text) {
        b = new QRadioButton(text, stage);
        b->setObjectName(QLatin1String(name));
        s->addWidget(b);
        stages->addButton(b);
    };
    addStage(m_inicial, "inicial", QStringLiteral("Inicial"));
    addStage(m_inter1, "inter1", QStringLiteral("Inter 1"));
    addStage(m_inter2, "inter2", QStringLiteral("Inter 2"));
    addStage(m_final, "final", QStringLiteral("Final"));
    m_inicial->setChecked(true);
    grid->addWidget(stage, 0, 2);
    grid->setColumnStretch(0, 1);
}

QGroupBox* TweedPage::buildTweedGroup()
{
    auto* tw = new QGroupBox(QStringLiteral("Análise de Tweed"), this);
    tw->setObjectName(QStringLiteral("tw"));
    auto* grid = new QGridLayout(tw);
    compact(grid);
    int row = 0;
    auto entry = [&](QLineEdit*& e, const char* name, const QString& text) {
        e = addEntry(tw, name, text);
        putEntry(grid, row++, e);
    };
    entry(m_twfma, "twfma", QStringLiteral("FMA (22° a 28°)"));
    entry(m_twfmia, "twfmia", QStringLiteral("FMIA (65° a 68°)"));
    entry(m_twimpa, "twimpa", QStringLiteral("IMPA (88° a 94°)"));
    entry(m_twploc, "twploc", QStringLiteral("Pl. ocl. - Hf (8° a 12°)"));
    entry(m_twsna, "twsna", QStringLiteral("SNA ( 80° a 84°)"));
    entry(m_twsnb, "twsnb", QStringLiteral("SNB (78° a 82°)"));
    entry(m_twaobo, "twaobo", QStringLiteral("AO - BO ( 0 a 4 mm)"));
    entry(m_twangz, "twangz", QStringLiteral("Ang. Z ( 70° a 80°)"));
    entry(m_twls, "twls", QStringLiteral("LS"));
    entry(m_twqt, "twqt", QStringLiteral("QT"));
    entry(m_twafa, "twafa", QStringLiteral("AFA"));
    entry(m_twafp, "twafp", QStringLiteral("AFP"));

    auto* rule = new QFrame(tw);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, row++, 0, 1, 2);

    const QString anbCaption = QStringLiteral("ANB ( 1° a 5°)");
    m_twanbres = addResult(tw, "twanbres", anbCaption, false);
    putRow(grid, row++, caption(tw, anbCaption), m_twanbres);
    const QString ratioCaption = QStringLiteral("AFP / AFA ( 65% a 75%)");
    m_twafpafares = addResult(tw, "twafpafares", ratioCaption, false);
    putRow(grid, row++, caption(tw, ratioCaption), m_twafpafares);

    const QString hornCaption = QStringLiteral("Índice de Altura Facial de Horn");
    auto* hornTitle = caption(tw, hornCaption);
    hornTitle->setAlignment(Qt::AlignCenter);
    grid->addWidget(hornTitle, row++, 0, 1, 2);
    m_hornres = new QLabel(tw);
    m_hornres->setObjectName(QStringLiteral("hornres"));
    m_hornres->setAlignment(Qt::AlignCenter);
    QFont f = m_hornres->font();
    f.setBold(true);
    m_hornres->setFont(f);
    m_hornres->setMinimumHeight(m_hornres->fontMetrics().height() + 4);
    m_hornres->setAccessibleDescription(hornCaption);
    grid->addWidget(m_hornres, row++, 0, 1, 2);
    return tw;
}

QGroupBox* TweedPage::buildDcGroup()
{
    const QString title = QStringLiteral("Discrepância Cefalométrica");
    auto* dc = new QGroupBox(title, this);
    dc->setObjectName(QStringLiteral("dc"));
    auto* grid = new QGridLayout(dc);
    compact(grid);
    grid->setHorizontalSpacing(6);
    auto result = [&](QLabel*& l, const char* name, const QString& text, int row, int column) {
        l = addResult(dc, name, title + QStringLiteral(" - ") + text, false);
        putRow(grid, row, caption(dc, text), l, column);
    };
    result(m_dcfmares, "dcfmares", QStringLiteral("FMA"), 0, 0);
    result(m_dcfmiares, "dcfmiares", QStringLiteral("FMIA"), 0, 2);
    result(m_dcimpares, "dcimpares", QStringLiteral("IMPA"), 1, 0);
    result(m_dcdcres, "dcdcres", QStringLiteral("DC"), 1, 2);

    m_dcopc = new QLabel(QStringLiteral("Deseja manter este IMPA?"), dc);
    m_dcopc->setObjectName(QStringLiteral("dcopc"));
    keepPlace(m_dcopc);
    m_dcopc->hide();
    grid->addWidget(m_dcopc, 2, 0, 1, 4);

    auto* choice = new QHBoxLayout;
    choice->setSpacing(6);
    m_dcsim = new QRadioButton(QStringLiteral("Sim"), dc);
    m_dcsim->setObjectName(QStringLiteral("dcsim"));
    m_dcnao = new QRadioButton(QStringLiteral("Não"), dc);
    m_dcnao->setObjectName(QStringLiteral("dcnao"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_dcsim);
    group->addButton(m_dcnao);
    m_dcsim->setChecked(true);
    m_dcopcres = new QLineEdit(dc);
    m_dcopcres->setObjectName(QStringLiteral("dcopcres"));
    m_dcopcres->setFixedWidth(kFieldWidth);
    m_dcopcres->setAlignment(Qt::AlignRight);
    // Its caption is the question above it.
    m_dcopc->setBuddy(m_dcopcres);
    for (QWidget* w : {static_cast<QWidget*>(m_dcsim), static_cast<QWidget*>(m_dcnao), static_cast<QWidget*>(m_dcopcres)}) {
        keepPlace(w);
        w->hide();
    }
    choice->addWidget(m_dcsim);
    choice->addWidget(m_dcnao);
    choice->addStretch(1);
    choice->addWidget(m_dcopcres);
    grid->addLayout(choice, 3, 0, 1, 4);
    return dc;
}

QGroupBox* TweedPage::buildSpaceGroup()
{
    auto* esp = new QGroupBox(QStringLiteral("Análise Total do Espaço"), this);
    esp->setObjectName(QStringLiteral("esp"));
    auto* outer = new QVBoxLayout(esp);
    compact(outer);
    auto* areas = new QHBoxLayout;
    areas->setSpacing(6);
    outer->addLayout(areas);

    auto area = [&](const char* name, const QString& title) {
        auto* g = new QGroupBox(title, esp);
        g->setObjectName(QLatin1String(name));
        auto* grid = new QGridLayout(g);
        compact(grid);
        areas->addWidget(g, 0, Qt::AlignTop);
        return std::make_pair(g, grid);
    };
    auto entry = [&](QGroupBox* g, QGridLayout* grid, int row, QLineEdit*& e, const char* name, const QString& text) {
        e = addEntry(g, name, text);
        e->setAccessibleDescription(g->title() + QStringLiteral(" - ") + text);
        putEntry(grid, row, e);
    };
    auto result = [&](QGroupBox* g, QGridLayout* grid, int row, QLabel*& l, const char* name, const QString& text, bool bold) {
        l = addResult(g, name, g->title() + QStringLiteral(" - ") + text, bold);
        putRow(grid, row, caption(g, text), l);
    };

    auto [ant, antGrid] = area("espant", QStringLiteral("Área Anterior"));
    entry(ant, antGrid, 0, m_anaer, "anaer", QStringLiteral("ER"));
    entry(ant, antGrid, 1, m_anaep, "anaep", QStringLiteral("EP"));
    result(ant, antGrid, 2, m_anadmres, "anadmres", QStringLiteral("DM"), false);
    result(ant, antGrid, 3, m_anadcres, "anadcres", QStringLiteral("DC"), false);
    result(ant, antGrid, 4, m_anamtmres, "anamtmres", QStringLiteral("MTM"), false);
    result(ant, antGrid, 5, m_anantres, "anantres", QStringLiteral("Disc. Área Ant."), true);

    auto [med, medGrid] = area("espmed", QStringLiteral("Área Média"));
    entry(med, medGrid, 0, m_anmer, "anmer", QStringLiteral("ER"));
    entry(med, medGrid, 1, m_anmep, "anmep", QStringLiteral("EP"));
    entry(med, medGrid, 2, m_anmspee, "anmspee", QStringLiteral("Curva Spee"));
    entry(med, medGrid, 3, m_anmcorr, "anmcorr", QStringLiteral("Correção Molar"));
    auto* classes = new QVBoxLayout;
    classes->setSpacing(2);
    m_anmcl2 = new QRadioButton(QStringLiteral("Classe II"), med);
    m_anmcl2->setObjectName(QStringLiteral("anmcl2"));
    m_anmcl3 = new QRadioButton(QStringLiteral("Classe III"), med);
    m_anmcl3->setObjectName(QStringLiteral("anmcl3"));
    m_molarClass = new QButtonGroup(this);
    m_molarClass->addButton(m_anmcl2);
    m_molarClass->addButton(m_anmcl3);
    classes->addWidget(m_anmcl2);
    classes->addWidget(m_anmcl3);
    medGrid->addLayout(classes, 4, 0, 1, 2);
    result(med, medGrid, 5, m_anmdmres, "anmdmres", QStringLiteral("DM"), false);
    result(med, medGrid, 6, m_anmedres, "anmedres", QStringLiteral("Disc. Área Med."), true);

    auto [pos, posGrid] = area("esppos", QStringLiteral("Área Posterior"));
    entry(pos, posGrid, 0, m_anper, "anper", QStringLiteral("ER"));
    entry(pos, posGrid, 1, m_anpep, "anpep", QStringLiteral("EP"));
    result(pos, posGrid, 2, m_anpdmres, "anpdmres", QStringLiteral("DM"), false);
    result(pos, posGrid, 3, m_anpcresres, "anpcresres", QStringLiteral("Cresc. Esper."), false);
    result(pos, posGrid, 4, m_anposres, "anposres", QStringLiteral("Disc. Área Pos."), true);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    const QString totalCaption = QStringLiteral("Discrepância Total");
    auto* totalLabel = caption(esp, totalCaption);
    QFont f = totalLabel->font();
    f.setBold(true);
    totalLabel->setFont(f);
    m_andiscres = addResult(esp, "andiscres", totalCaption, true);
    m_total = new QPushButton(QStringLiteral("Análise Total do Espaço"), esp);
    m_total->setObjectName(QStringLiteral("total"));
    bottom->addWidget(m_total);
    bottom->addStretch(1);
    bottom->addWidget(totalLabel);
    bottom->addWidget(m_andiscres);
    outer->addLayout(bottom);
    return esp;
}

QGroupBox* TweedPage::buildDifficultyGroup()
{
    const QString title = QStringLiteral("Índice de Dificuldade");
    auto* id = new QGroupBox(title, this);
    id->setObjectName(QStringLiteral("id"));
    auto* grid = new QGridLayout(id);
    compact(grid);
    grid->setHorizontalSpacing(8);
    auto item = [&](QLabel*& l, const char* name, const QString& text, int row, int column, bool bold) {
        l = addResult(id, name, title + QStringLiteral(" - ") + text, bold);
        auto* c = caption(id, text);
        if (bold) {
            QFont f = c->font();
            f.setBold(true);
            c->setFont(f);
        }
        putRow(grid, row, c, l, column);
    };
    item(m_idfmares, "idfmares", QStringLiteral("FMA"), 0, 0, false);
    item(m_idanbres, "idanbres", QStringLiteral("ANB"), 1, 0, false);
    item(m_idangzres, "idangzres", QStringLiteral("Ângulo Z"), 2, 0, false);
    item(m_idplocres, "idplocres", QStringLiteral("Pl. Ocl. Hf"), 3, 0, false);
    item(m_idsnbres, "idsnbres", QStringLiteral("SNB"), 4, 0, false);
    item(m_idifres, "idifres", QStringLiteral("Índice Facial"), 5, 0, false);
    item(m_idsub1res, "idsub1res", QStringLiteral("Sub Total"), 7, 0, true);
    item(m_iddmares, "iddmares", QStringLiteral("DMAnt"), 0, 2, false);
    item(m_iddcres, "iddcres", QStringLiteral("DC"), 1, 2, false);
    item(m_idmtmres, "idmtmres", QStringLiteral("MTM"), 2, 2, false);
    item(m_iddmmres, "iddmmres", QStringLiteral("DMMed"), 3, 2, false);
    item(m_idspeeres, "idspeeres", QStringLiteral("C. Spee"), 4, 2, false);
    item(m_idcorrres, "idcorrres", QStringLiteral("Correção Molar"), 5, 2, false);
    item(m_iddmpres, "iddmpres", QStringLiteral("DMPost"), 6, 2, false);
    item(m_idsub2res, "idsub2res", QStringLiteral("Sub Total"), 7, 2, true);
    item(m_idtotres, "idtotres", QStringLiteral("Total"), 8, 2, true);
    grid->setHorizontalSpacing(6);
    grid->setColumnMinimumWidth(1, kResultWidth + 24);  // room between the two halves
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return id;
}

void TweedPage::installFilters()
{
    const auto warn = m_context.warner();
    for (QLineEdit* e : {m_twfma, m_twfmia, m_twimpa, m_twploc, m_twsna, m_twsnb, m_twangz, m_twafa, m_twafp, m_dcopcres})
        EntryFilter::install(e, EntryRule::real(RealFamily::Positive, 5, warn));
    for (QLineEdit* e : {m_twaobo, m_twls, m_twqt, m_anaer, m_anaep, m_anmer, m_anmep, m_anper, m_anpep})
        EntryFilter::install(e, EntryRule::real(RealFamily::Signed, 5, warn));

    EntryRule spee = EntryRule::real(RealFamily::Signed, 5, warn);
    spee.afterLeave = [](QLineEdit* field) {
        const QString negative = ForceNegative(field->text());
        if (negative != field->text())
            field->setText(negative);
    };
    EntryFilter::install(m_anmspee, spee);

    EntryRule corr = EntryRule::real(RealFamily::Signed, 5, warn);
    corr.afterLeave = [this](QLineEdit* field) {
        const QString warning = MolarCorrectionWarning(field->text(), m_anmcl2->isChecked(), m_anmcl3->isChecked());
        if (!warning.isEmpty())
            m_context.warn(warning);
    };
    EntryFilter::install(m_anmcorr, corr);

    EntryFilter::install(m_Idade, EntryRule::integer(warn));
    EntryFilter::install(m_twPaciente, EntryRule::name(warn));
}

// ---- workflow ----

TweedPage::State TweedPage::state() const
{
    if (m_tCalcular->text() == kCalcular)
        return m_dcopc->isHidden() ? State::Editing : State::ImpaChoice;
    return m_tCalcular->isEnabled() ? State::Concluded : State::Diagnosed;
}

TweedInputs TweedPage::inputs() const
{
    TweedInputs in;
    in.twfma = m_twfma->text();
    in.twfmia = m_twfmia->text();
    in.twimpa = m_twimpa->text();
    in.twploc = m_twploc->text();
    in.twsna = m_twsna->text();
    in.twsnb = m_twsnb->text();
    in.twaobo = m_twaobo->text();
    in.twangz = m_twangz->text();
    in.twls = m_twls->text();
    in.twqt = m_twqt->text();
    in.twafa = m_twafa->text();
    in.twafp = m_twafp->text();
    in.anaer = m_anaer->text();
    in.anaep = m_anaep->text();
    in.anmer = m_anmer->text();
    in.anmep = m_anmep->text();
    in.anmspee = m_anmspee->text();
    in.anmcorr = m_anmcorr->text();
    in.anper = m_anper->text();
    in.anpep = m_anpep->text();
    in.dcnao = m_dcnao->isChecked();
    in.dcopcres = m_dcopcres->text();
    in.Idade = m_Idade->text();
    in.twPaciente = m_twPaciente->text();
    in.GenMasc = m_GenMasc->isChecked();
    in.GenFem = m_GenFem->isChecked();
    return in;
}

void TweedPage::tCalcularClick()
{
    if (m_tCalcular->text() == kCalcular) {
        calculate();
        return;
    }
    if (m_links.openGuide)
        m_links.openGuide();
}

void TweedPage::calculate()
{
    const TweedInputs in = inputs();
    const TweedRefusal refusal = CheckTweedInputs(in);
    if (refusal != TweedRefusal::None) {
        m_context.warn(RefusalText(refusal));
        if (refusal == TweedRefusal::ZeroAfa)
            m_twafa->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        RecordStatistic('t');
    } catch (const IoError& e) {
        // Not counted, so nothing is computed either.
        m_context.failure(e.message());
        return;
    }
    writeResults(ComputeTweed(in));
    m_ds->ClearPanel();
    m_diagnosisAnswers.reset();

    if (m_ds->abrirFlag()->isChecked()) {
        conclude(false);
        return;
    }
    if (m_dcnao->isChecked())
        m_dcimpares->setText(m_dcopcres->text());
    switch (m_context.confirm(ImpaQuestionText(m_dcimpares->text()))) {
    case platform::Answer::Yes:
        conclude(true);
        break;
    case platform::Answer::No:
        enterImpaChoice();
        break;
    case platform::Answer::Closed:
        break;
    }
}

void TweedPage::setColour(QLabel* label, Rgb colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, toColor(colour));
    label->setPalette(p);
}

void TweedPage::writeResults(const TweedResults& r)
{
    m_twanbres->setText(r.twanbres);
    m_hornres->setText(r.horn.text);
    setColour(m_hornres, r.horn.colour);
    m_twafpafares->setText(r.horn.percent);
    m_dcfmares->setText(r.targets.dcfmares);
    m_dcfmiares->setText(r.targets.dcfmiares);
    m_dcimpares->setText(r.targets.dcimpares);

    const SpaceResults& s = r.space;
    m_anadmres->setText(s.anadmres);
    m_anadcres->setText(s.anadcres);
    m_dcdcres->setText(r.dcdcres);
    m_anamtmres->setText(s.anamtmres);
    m_anantres->setText(s.anantres);
    m_anmdmres->setText(s.anmdmres);
    m_anmedres->setText(s.anmedres);
    m_anpdmres->setText(s.anpdmres);
    m_anpcresres->setText(s.anpcresres);
    m_anposres->setText(s.anposres);
    m_andiscres->setText(s.andiscres);

    const DifficultyResults& d = r.difficulty;
    m_idfmares->setText(d.idfmares);
    m_idanbres->setText(d.idanbres);
    m_idangzres->setText(d.idangzres);
    m_idplocres->setText(d.idplocres);
    m_idsnbres->setText(d.idsnbres);
    m_idifres->setText(d.idifres);
    m_idsub1res->setText(d.idsub1res);
    m_iddmares->setText(d.iddmares);
    m_iddcres->setText(d.iddcres);
    m_idmtmres->setText(d.idmtmres);
    m_iddmmres->setText(d.iddmmres);
    m_idspeeres->setText(d.idspeeres);
    m_idcorrres->setText(d.idcorrres);
    m_iddmpres->setText(d.iddmpres);
    m_idsub2res->setText(d.idsub2res);
    m_idtotres->setText(d.idtotres);
    setColour(m_idtotres, d.colour);
    m_idlabel->setText(d.idlabel);
    setColour(m_idlabel, d.colour);
}

void TweedPage::conclude(bool answeredYes)
{
    m_tCalcular->setText(kGuia);
    if (answeredYes)
        m_tLimpar->setText(kVoltar);
    LockPage();
}

void TweedPage::LockPage()
{
    m_total->setEnabled(false);
    if (m_links.clearSpaceEntry)
        m_links.clearSpaceEntry();
    m_twPaciente->setReadOnly(true);
    m_Idade->setReadOnly(true);
    (m_GenFem->isChecked() ? m_GenMasc : m_GenFem)->setEnabled(false);
    for (QRadioButton* b : {m_inicial, m_inter1, m_inter2, m_final})
        if (!b->isChecked())
            b->setEnabled(false);
    for (QLineEdit* e : {m_twfma, m_twfmia, m_twimpa, m_twploc, m_twsna, m_twsnb, m_twaobo, m_twangz, m_twls, m_twqt,
                         m_twafa, m_twafp})
        e->setReadOnly(true);
    (m_dcsim->isChecked() ? m_dcnao : m_dcsim)->setEnabled(false);
    m_dcopcres->setReadOnly(true);
    for (QLineEdit* e : {m_anaer, m_anaep, m_anmer, m_anmep, m_anmspee, m_anmcorr, m_anper, m_anpep})
        e->setReadOnly(true);
    m_parcial->setChecked(true);
}

void TweedPage::enterImpaChoice()
{
    m_dcopc->show();
    m_dcsim->show();
    m_dcnao->show();
    m_dcnao->setChecked(true);
    dcnaoClick();
    m_dcopcres->clear();
}

void TweedPage::dcsimClick()
{
    m_dcopcres->hide();
    m_dcopcres->clear();
}

void TweedPage::dcnaoClick() { m_dcopcres->show(); }

void TweedPage::tLimparClick()
{
    if (m_tLimpar->text() == kLimpar)
        fullClear();
    else
        backToEditing();
}

void TweedPage::NewAnalysis()
{
    tLimparClick();
    tLimparClick();
}

void TweedPage::fullClear()
{
    m_twPaciente->clear();
    m_Idade->clear();
    uncheckAll(m_gender);
    for (QLineEdit* e : {m_twfma, m_twfmia, m_twimpa, m_twploc, m_twsna, m_twsnb, m_twaobo, m_twangz, m_twls, m_twqt,
                         m_twafa, m_twafp, m_anaer, m_anaep, m_anmer, m_anmep, m_anmspee, m_anmcorr, m_anper, m_anpep})
        e->clear();
    uncheckAll(m_molarClass);
    backToEditing();
    if (m_links.clearSpaceEntry)
        m_links.clearSpaceEntry();
    if (m_links.clearGuide)
        m_links.clearGuide();
}

void TweedPage::backToEditing()
{
    for (QLabel* l : {m_twanbres, m_twafpafares, m_hornres, m_idfmares, m_idanbres, m_idangzres, m_idplocres,
                      m_idsnbres, m_idifres, m_idsub1res, m_iddmares, m_iddcres, m_idmtmres, m_iddmmres, m_idspeeres,
                      m_idcorrres, m_iddmpres, m_idsub2res, m_idtotres, m_dcfmares, m_dcfmiares, m_dcimpares,
                      m_dcdcres})
        l->clear();
    if (!m_dcsim->isChecked())
        m_dcsim->setChecked(true);  // its handler hides and empties dcopcres
    m_dcopc->hide();
    m_dcsim->hide();
    m_dcnao->hide();
    for (QLabel* l : {m_anadmres, m_anadcres, m_anamtmres, m_anantres, m_anmdmres, m_anmedres, m_anpdmres,
                      m_anpcresres, m_anposres, m_andiscres, m_idlabel})
        l->clear();
    m_tCalcular->setText(kCalcular);
    m_tLimpar->setText(kLimpar);
    m_tCalcular->setEnabled(true);
    m_total->setEnabled(true);
    m_ds->ClearPanel();
    m_diagnosisAnswers.reset();
    setInputsReadOnly(false);
    for (QWidget* w : {static_cast<QWidget*>(m_GenMasc), static_cast<QWidget*>(m_GenFem),
                       static_cast<QWidget*>(m_inicial), static_cast<QWidget*>(m_final),
                       static_cast<QWidget*>(m_inter1), static_cast<QWidget*>(m_inter2),
                       static_cast<QWidget*>(m_dcnao), static_cast<QWidget*>(m_dcsim)})
        w->setEnabled(true);
    m_parcial->setChecked(false);
    m_completo->setChecked(false);
    m_ds->abrirFlag()->setChecked(false);
    m_inicial->setChecked(true);
}

void TweedPage::setInputsReadOnly(bool readOnly)
{
    for (QLineEdit* e : {m_twPaciente, m_Idade, m_twfma, m_twfmia, m_twimpa, m_twploc, m_twsna, m_twsnb, m_twaobo,
                         m_twangz, m_twls, m_twqt, m_twafa, m_twafp, m_dcopcres, m_anaer, m_anaep, m_anmer, m_anmep,
                         m_anmspee, m_anmcorr, m_anper, m_anpep})
        e->setReadOnly(readOnly);
}

// ---- for the guide ----

GuideInputs TweedPage::diagnosisReadings() const
{
    return {m_anantres->text(), m_anmedres->text(), m_anposres->text(), m_twanbres->text()};
}

void TweedPage::concludeDiagnosis()
{
    m_tCalcular->setEnabled(false);
    if (m_links.guideAnswers)
        m_diagnosisAnswers = m_links.guideAnswers();
}

// ---- the analysis file ----

AnalysisStage TweedPage::stage() const
{
    if (m_inicial->isChecked())
        return AnalysisStage::INICIAL;
    if (m_inter1->isChecked())
        return AnalysisStage::INTER1;
    if (m_inter2->isChecked())
        return AnalysisStage::INTER2;
    return AnalysisStage::FINAL;
}

// The heading dsantinfo is shown by every generation and by nothing else.
bool TweedPage::diagnosisShown() const { return m_ds->state().antInfo; }

TweedFileRecord TweedPage::fileRecord() const
{
    const TweedInputs in = inputs();
    TweedFileRecord r;
    r.guideDone = diagnosisShown();
    r.twPaciente = in.twPaciente;
    r.Idade = in.Idade;
    r.GenMasc = in.GenMasc;
    r.twfma = in.twfma;
    r.twfmia = in.twfmia;
    r.twimpa = in.twimpa;
    r.twploc = in.twploc;
    r.twsna = in.twsna;
    r.twsnb = in.twsnb;
    r.twaobo = in.twaobo;
    r.twangz = in.twangz;
    r.twls = in.twls;
    r.twqt = in.twqt;
    r.twafa = in.twafa;
    r.twafp = in.twafp;
    r.anaer = in.anaer;
    r.anaep = in.anaep;
    r.anmer = in.anmer;
    r.anmep = in.anmep;
    r.anmspee = in.anmspee;
    r.anmcorr = in.anmcorr;
    r.anper = in.anper;
    r.anpep = in.anpep;
    r.dcnao = in.dcnao;
    r.dcopcres = in.dcopcres;
    // A diagnosis regenerated from a file leaves the guide cleared: store the answers it came from.
    if (r.guideDone && m_diagnosisAnswers)
        r.guide = *m_diagnosisAnswers;
    else if (m_links.guideAnswers)
        r.guide = m_links.guideAnswers();
    return r;
}

void TweedPage::timprimirClick()
{
    if (m_reports)
        PrintTweed(*m_reports, m_context, ReadTweedReportTexts(*this));
}

void TweedPage::tsalvarClick()
{
    const TweedFileRecord record = fileRecord();
    const QString path = TweedFileName(m_twPaciente->text(), stage());

    TweedSaveState s;
    s.concluded = !m_idlabel->text().isEmpty();
    s.diagnosed = record.guideDone;
    s.nameSafe = IsSafePatientName(m_twPaciente->text());
    s.fileExists = QFileInfo::exists(path);
    s.parcial = m_parcial->isChecked();
    s.completo = m_completo->isChecked();
    const TweedSaveDecision d = DecideTweedSave(s);

    if (d.checkParcial)
        m_parcial->setChecked(true);
    if (d.checkCompleto)
        m_completo->setChecked(true);
    try {
        if (d.action == TweedSaveDecision::Create)
            CreateTweedFile(path, record);
        else if (d.action == TweedSaveDecision::Rewrite)
            RewriteTweedFile(path, record);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    switch (d.kind) {
    case TweedSaveDecision::Warning:
        m_context.warn(d.message);
        break;
    case TweedSaveDecision::Error:
        m_context.error(d.message);
        break;
    case TweedSaveDecision::Information:
        m_context.inform(d.message);
        break;
    case TweedSaveDecision::NoBox:
        break;
    }
}

void TweedPage::tabrirClick()
{
    platform::Dialogs& dialogs = m_context.dialogs();
    const QString path =
        dialogs.OpenFile({QStringLiteral("twe"), QStringLiteral("Arquivo de Análise de Tweed|*.twe")});
    if (IsTweedPath(path)) {
        if (IsTweedFileAlreadyOpen(path, m_twPaciente->text(), m_tCalcular->text() != kCalcular, stage()))
            m_context.error(QStringLiteral("O arquivo já está aberto!"));
        else
            openAnalysis(path);
    }
    // Every way out: the guide holds no answers (a regenerated diagnosis stays on the panel),
    // and the tray item the open-file dialog disabled is back.
    if (m_links.clearGuide)
        m_links.clearGuide();
    dialogs.setHideItemEnabled(true);
}

void TweedPage::openAnalysis(const QString& path)
{
    tLimparClick();
    m_ds->abrirFlag()->setChecked(true);
    if (m_links.clearGuide)
        m_links.clearGuide();
    switch (StageFromPath(path)) {
    case AnalysisStage::FINAL:
        m_final->setChecked(true);
        break;
    case AnalysisStage::INTER1:
        m_inter1->setChecked(true);
        break;
    case AnalysisStage::INTER2:
        m_inter2->setChecked(true);
        break;
    case AnalysisStage::INICIAL:
        m_inicial->setChecked(true);
        break;
    }
    m_parcial->setChecked(true);

    TweedFileRecord record;
    try {
        record = LoadTweedFile(path);
    } catch (const IoError& e) {
        m_context.failure(e.message());
        return;
    }
    tCalcularClick();  // with abrir checked: no IMPA question, concluded at once
    if (!m_dcopcres->text().isEmpty())
        m_dcimpares->setText(m_dcopcres->text());

    // A recalculation stopped by a check leaves the page editable: a diagnosis generated now
    // would come from empty results and leave CALCULAR disabled.
    if (!record.guideDone || state() != State::Concluded)
        return;
    m_completo->setChecked(true);
    if (m_links.keepGuideMinimised)
        m_links.keepGuideMinimised(true);
    tCalcularClick();  // "GUIA DIAGNÓSTICO": the reminder, then the guide (minimised)
    if (m_links.generateDiagnosis)
        m_links.generateDiagnosis();
    if (m_links.keepGuideMinimised)
        m_links.keepGuideMinimised(false);
}

TweedFileRecord TweedPage::LoadTweedFile(const QString& path)
{
    const QByteArray bytes = ReadTweedFileBytes(path);
    const TweedFileRecord r = TweedFileRecord::decode(bytes);
    m_twPaciente->setText(r.twPaciente);
    m_Idade->setText(r.Idade);
    (r.GenMasc ? m_GenMasc : m_GenFem)->setChecked(true);
    for (const TweedMeasurementField& f : TweedMeasurementFields())
        findChild<QLineEdit*>(QLatin1String(f.name))->setText(r.*(f.member));
    if (r.dcnao) {
        m_dcnao->setChecked(true);  // its handler shows dcopcres
        m_dcopcres->hide();
        m_dcopcres->setText(r.dcopcres);
    } else {
        m_dcsim->setChecked(true);  // its handler hides and empties dcopcres
    }
    if (r.guideDone && m_links.setGuideAnswer && m_links.guideAnswer)
        RestoreGuideAnswers(bytes, {m_links.setGuideAnswer, m_links.guideAnswer});
    return r;
}

}  // namespace qv
