// The Tweed page's widgets: one builder per group box. Captions come from the field table.

#include "tweed/TweedPage.h"

#include "entry/EntryFilter.h"
#include "platform/PageContext.h"
#include "tweed/DiagnosisPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string_view>

namespace qv {

namespace {

constexpr int kFieldWidth = 42;
constexpr int kResultWidth = 46;

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

QLabel* caption(QWidget* parent, const QString& text) { return new QLabel(text, parent); }

QString captionText(const char* name) { return TweedFieldOf(name).captionText(); }

void setColour(QLabel* label, Rgb c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
    label->setPalette(p);
}

void bold(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// Caption + widget on one row of a two-column grid.
void putRow(QGridLayout* grid, int row, QWidget* captionLabel, QWidget* value, int column = 0)
{
    grid->addWidget(captionLabel, row, column);
    grid->addWidget(value, row, column + 1, Qt::AlignRight);
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
    right->addWidget(buildGradeLabel());
    right->addStretch(1);
    columns->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buildButtons(buttons);
    work->addLayout(buttons);

    m_parcialBox = new QCheckBox(QStringLiteral("parcial"), this);
    m_parcialBox->setObjectName(QStringLiteral("parcial"));
    m_parcialBox->hide();
    m_completoBox = new QCheckBox(QStringLiteral("completo"), this);
    m_completoBox->setObjectName(QStringLiteral("completo"));
    m_completoBox->hide();

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
        m_context.exitProgram();
    });
    connect(m_total, &QPushButton::clicked, this, [this] {
        if (m_links.openSpaceEntry)
            m_links.openSpaceEntry();
    });
    connect(m_tracado, &QPushButton::clicked, this, [this] {
        if (m_links.openTracing)
            m_links.openTracing();
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

// An entry of the field table, with its caption as its buddy.
QLineEdit* TweedPage::addEntry(QWidget* group, const char* name)
{
    auto* e = new QLineEdit(group);
    e->setObjectName(QLatin1String(name));
    e->setFixedWidth(kFieldWidth);
    e->setAlignment(Qt::AlignRight);
    auto* label = caption(group, captionText(name));
    label->setBuddy(e);
    label->setObjectName(QLatin1String(name) + QStringLiteral("Caption"));
    m_entries.insert(QLatin1String(name), e);
    return e;
}

QLabel* TweedPage::addResult(QWidget* group, const char* name, const QString& description)
{
    const TweedField& field = TweedFieldOf(name);
    auto* l = new QLabel(group);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFixedWidth(kResultWidth);
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setMinimumHeight(l->fontMetrics().height() + 6);
    if (field.bold)
        bold(l);
    setColour(l, Rgb{0, 0, 255});
    l->setAccessibleDescription(description);
    m_resultLabels.insert(QLatin1String(name), l);
    return l;
}

// The caption label of a field, bold where its value is.
QLabel* TweedPage::captionOf(QWidget* group, const char* name)
{
    QLabel* c = caption(group, captionText(name));
    return c;
}

void TweedPage::buildPatient(QGridLayout* grid)
{
    m_twPaciente = new QLineEdit(this);
    m_twPaciente->setObjectName(QStringLiteral("twPaciente"));
    m_entries.insert(QStringLiteral("twPaciente"), m_twPaciente);
    auto* pacienteCaption = caption(this, captionText("twPaciente"));
    pacienteCaption->setBuddy(m_twPaciente);
    m_Idade = new QLineEdit(this);
    m_Idade->setObjectName(QStringLiteral("Idade"));
    m_Idade->setFixedWidth(40);
    m_Idade->setAlignment(Qt::AlignRight);
    m_entries.insert(QStringLiteral("Idade"), m_Idade);
    auto* idadeCaption = caption(this, captionText("Idade"));
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
    for (const TweedField& f : TweedFields()) {
        if (f.group != TweedGroup::Tweed || !f.input)
            continue;
        QLineEdit* e = addEntry(tw, f.objectName);
        putRow(grid, row++, tw->findChild<QLabel*>(e->objectName() + QStringLiteral("Caption")), e);
    }

    auto* rule = new QFrame(tw);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, row++, 0, 1, 2);

    for (const char* name : {"twanbres", "twafpafares"})
        putRow(grid, row++, captionOf(tw, name), addResult(tw, name, captionText(name)));

    const QString hornCaption = captionText("hornres");
    auto* hornTitle = caption(tw, hornCaption);
    hornTitle->setAlignment(Qt::AlignCenter);
    grid->addWidget(hornTitle, row++, 0, 1, 2);
    m_hornres = new QLabel(tw);
    m_hornres->setObjectName(QStringLiteral("hornres"));
    m_hornres->setAlignment(Qt::AlignCenter);
    bold(m_hornres);
    m_hornres->setMinimumHeight(m_hornres->fontMetrics().height() + 4);
    m_hornres->setAccessibleDescription(hornCaption);
    m_resultLabels.insert(QStringLiteral("hornres"), m_hornres);
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
    const auto result = [&](const char* name, int row, int column) {
        QLabel* l = addResult(dc, name, title + QStringLiteral(" - ") + captionText(name));
        putRow(grid, row, captionOf(dc, name), l, column);
        return l;
    };
    result("dcfmares", 0, 0);
    result("dcfmiares", 0, 2);
    m_dcimpares = result("dcimpares", 1, 0);
    result("dcdcres", 1, 2);

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

    // One area: its entries and results in the table's order, the molar class after the
    // middle area's entries.
    const auto area = [&](const char* name, const QString& title, TweedGroup group) {
        auto* g = new QGroupBox(title, esp);
        g->setObjectName(QLatin1String(name));
        auto* grid = new QGridLayout(g);
        compact(grid);
        areas->addWidget(g, 0, Qt::AlignTop);
        int row = 0;
        for (const TweedField& f : TweedFields()) {
            if (f.group != group || !f.input)
                continue;
            QLineEdit* e = addEntry(g, f.objectName);
            e->setAccessibleDescription(title + QStringLiteral(" - ") + f.captionText());
            putRow(grid, row++, g->findChild<QLabel*>(e->objectName() + QStringLiteral("Caption")), e);
            if (std::string_view(f.objectName) == "anmcorr") {
                auto* classes = new QVBoxLayout;
                classes->setSpacing(2);
                m_anmcl2 = new QRadioButton(QStringLiteral("Classe II"), g);
                m_anmcl2->setObjectName(QStringLiteral("anmcl2"));
                m_anmcl3 = new QRadioButton(QStringLiteral("Classe III"), g);
                m_anmcl3->setObjectName(QStringLiteral("anmcl3"));
                m_molarClass = new QButtonGroup(this);
                m_molarClass->addButton(m_anmcl2);
                m_molarClass->addButton(m_anmcl3);
                classes->addWidget(m_anmcl2);
                classes->addWidget(m_anmcl3);
                grid->addLayout(classes, row++, 0, 1, 2);
            }
        }
        for (const TweedField& f : TweedFields()) {
            if (f.group != group || !f.result)
                continue;
            QLabel* l = addResult(g, f.objectName, title + QStringLiteral(" - ") + f.captionText());
            putRow(grid, row++, captionOf(g, f.objectName), l);
        }
    };
    area("espant", QStringLiteral("Área Anterior"), TweedGroup::Anterior);
    area("espmed", QStringLiteral("Área Média"), TweedGroup::Middle);
    area("esppos", QStringLiteral("Área Posterior"), TweedGroup::Posterior);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    const QString totalCaption = captionText("andiscres");
    auto* totalLabel = caption(esp, totalCaption);
    bold(totalLabel);
    QLabel* total = addResult(esp, "andiscres", totalCaption);
    m_total = new QPushButton(QStringLiteral("Análise Total do Espaço"), esp);
    m_total->setObjectName(QStringLiteral("total"));
    // The tracing fills the measurements as the total space window fills the spaces: one below the other.
    m_tracado = new QPushButton(QStringLiteral("Traçado Cefalométrico"), esp);
    m_tracado->setObjectName(QStringLiteral("tracado"));
    auto* windows = new QVBoxLayout;
    windows->setSpacing(2);
    windows->addWidget(m_total);
    windows->addWidget(m_tracado);
    bottom->addLayout(windows);
    bottom->addStretch(1);
    bottom->addWidget(totalLabel, 0, Qt::AlignBottom);
    bottom->addWidget(total, 0, Qt::AlignBottom);
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
    // Where each result sits: row and column pair of the grid.
    struct Place {
        const char* name;
        int row, column;
    };
    const Place places[] = {{"idfmares", 0, 0},  {"idanbres", 1, 0},  {"idangzres", 2, 0}, {"idplocres", 3, 0},
                            {"idsnbres", 4, 0},  {"idifres", 5, 0},   {"idsub1res", 7, 0}, {"iddmares", 0, 2},
                            {"iddcres", 1, 2},   {"idmtmres", 2, 2},  {"iddmmres", 3, 2},  {"idspeeres", 4, 2},
                            {"idcorrres", 5, 2}, {"iddmpres", 6, 2},  {"idsub2res", 7, 2}, {"idtotres", 8, 2}};
    for (const Place& p : places) {
        QLabel* l = addResult(id, p.name, title + QStringLiteral(" - ") + captionText(p.name));
        QLabel* c = captionOf(id, p.name);
        if (TweedFieldOf(p.name).bold)
            bold(c);
        putRow(grid, p.row, c, l, p.column);
    }
    m_idtotres = result("idtotres");
    grid->setHorizontalSpacing(6);
    grid->setColumnMinimumWidth(1, kResultWidth + 24);  // room between the two halves
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return id;
}

QLabel* TweedPage::buildGradeLabel()
{
    m_idlabel = new QLabel(this);
    m_idlabel->setObjectName(QStringLiteral("idlabel"));
    m_idlabel->setAlignment(Qt::AlignCenter);
    QFont f = m_idlabel->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 1);
    m_idlabel->setFont(f);
    m_idlabel->setMinimumHeight(m_idlabel->fontMetrics().lineSpacing() + 6);
    m_idlabel->setAccessibleDescription(QStringLiteral("Grau do Índice de Dificuldade"));
    setColour(m_idlabel, kGradeRed);
    m_resultLabels.insert(QStringLiteral("idlabel"), m_idlabel);
    return m_idlabel;
}

void TweedPage::buildButtons(QBoxLayout* row)
{
    const auto addButton = [&](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        row->addWidget(b);
    };
    addButton(m_tCalcular, "tCalcular", QStringLiteral("CALCULAR"));
    m_tCalcular->setMinimumWidth(m_tCalcular->fontMetrics().horizontalAdvance(QStringLiteral("GUIA DIAGNÓSTICO")) + 24);
    addButton(m_tLimpar, "tLimpar", QStringLiteral("LIMPAR"));
    addButton(m_tsalvar, "tsalvar", QStringLiteral("SALVAR"));
    addButton(m_tabrir, "tabrir", QStringLiteral("ABRIR"));
    addButton(m_timprimir, "timprimir", QStringLiteral("IMPRIMIR"));
    addButton(m_tSair, "tSair", QStringLiteral("SAIR"));
}

void TweedPage::installFilters()
{
    const auto warn = m_context.warner();
    for (const char* name : {"twfma", "twfmia", "twimpa", "twploc", "twsna", "twsnb", "twangz", "twafa", "twafp"})
        EntryFilter::install(entry(name), EntryRule::real(RealFamily::Positive, 5, warn));
    EntryFilter::install(m_dcopcres, EntryRule::real(RealFamily::Positive, 5, warn));
    for (const char* name : {"twaobo", "twls", "twqt", "anaer", "anaep", "anmer", "anmep", "anper", "anpep"})
        EntryFilter::install(entry(name), EntryRule::real(RealFamily::Signed, 5, warn));

    EntryRule spee = EntryRule::real(RealFamily::Signed, 5, warn);
    spee.afterLeave = [](QLineEdit* field) {
        const QString negative = ForceNegative(field->text());
        if (negative != field->text())
            field->setText(negative);
    };
    EntryFilter::install(entry("anmspee"), spee);

    EntryRule corr = EntryRule::real(RealFamily::Signed, 5, warn);
    corr.afterLeave = [this](QLineEdit* field) {
        const QString warning = MolarCorrectionWarning(field->text(), m_anmcl2->isChecked(), m_anmcl3->isChecked());
        if (!warning.isEmpty())
            m_context.warn(warning);
    };
    EntryFilter::install(entry("anmcorr"), corr);

    EntryFilter::install(m_Idade, EntryRule::integer(warn));
    EntryFilter::install(m_twPaciente, EntryRule::name(warn));
}

}  // namespace qv
