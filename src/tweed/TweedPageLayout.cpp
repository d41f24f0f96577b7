// The Tweed page's controls: one builder per group box. Captions come from the field table.

#include "tweed/TweedPageLayout.h"

#include "records/TweedModel.h"
#include "analysis/TweedAnalysis.h"

#include "entry/EntryFilter.h"
#include "entry/RealEntry.h"
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

QString captionText(TweedKey key) { return TweedFieldOf(key).captionText(); }

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

// Builds the controls of one page; each group box has its builder.
struct Builder {
    QWidget* owner;
    TweedPageControls& c;
    platform::PageContext& context;

    void build();
    QLineEdit* addEntry(QWidget* group, TweedKey key);
    QLabel* addResult(QWidget* group, TweedKey key, const QString& description);
    QLabel* captionOf(QWidget* group, TweedKey key);
    void buildPatient(QGridLayout* grid);
    QGroupBox* buildTweedGroup();
    QGroupBox* buildDcGroup();
    QGroupBox* buildSpaceGroup();
    QGroupBox* buildDifficultyGroup();
    QLabel* buildGradeLabel();
    void buildButtons(QBoxLayout* row);
    void installFilters();
};

}  // namespace

TweedPageControls BuildTweedPage(QWidget* pageWidget, platform::PageContext& context)
{
    TweedPageControls controls;
    Builder b{pageWidget, controls, context};
    b.build();
    return controls;
}

void Builder::build()
{
    owner->setObjectName(QStringLiteral("TabSheet1"));

    auto* page = new QHBoxLayout(owner);
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

    c.parcial = new QCheckBox(QStringLiteral("parcial"), owner);
    c.parcial->setObjectName(QStringLiteral("parcial"));
    c.parcial->hide();
    c.completo = new QCheckBox(QStringLiteral("completo"), owner);
    c.completo->setObjectName(QStringLiteral("completo"));
    c.completo->hide();

    c.ds = new DiagnosisPanel(owner);
    c.ds->setFixedWidth(270);
    page->addWidget(c.ds);

    installFilters();
}

// An entry of the field table, with its caption as its buddy.
QLineEdit* Builder::addEntry(QWidget* group, TweedKey key)
{
    const char* name = TweedFieldOf(key).objectName;
    auto* e = new QLineEdit(group);
    e->setObjectName(QLatin1String(name));
    e->setFixedWidth(kFieldWidth);
    e->setAlignment(Qt::AlignRight);
    auto* label = caption(group, captionText(key));
    label->setBuddy(e);
    label->setObjectName(QLatin1String(name) + QStringLiteral("Caption"));
    c.entries.insert(QLatin1String(name), e);
    return e;
}

QLabel* Builder::addResult(QWidget* group, TweedKey key, const QString& description)
{
    const TweedField& field = TweedFieldOf(key);
    const char* name = field.objectName;
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
    c.results.insert(QLatin1String(name), l);
    return l;
}

// The caption label of a field, bold where its value is.
QLabel* Builder::captionOf(QWidget* group, TweedKey key)
{
    QLabel* c = caption(group, captionText(key));
    return c;
}

void Builder::buildPatient(QGridLayout* grid)
{
    c.twPaciente = new QLineEdit(owner);
    c.twPaciente->setObjectName(QStringLiteral("twPaciente"));
    c.entries.insert(QStringLiteral("twPaciente"), c.twPaciente);
    auto* pacienteCaption = caption(owner, captionText(TweedKey::twPaciente));
    pacienteCaption->setBuddy(c.twPaciente);
    c.Idade = new QLineEdit(owner);
    c.Idade->setObjectName(QStringLiteral("Idade"));
    c.Idade->setFixedWidth(40);
    c.Idade->setAlignment(Qt::AlignRight);
    c.entries.insert(QStringLiteral("Idade"), c.Idade);
    auto* idadeCaption = caption(owner, captionText(TweedKey::Idade));
    idadeCaption->setBuddy(c.Idade);

    auto* names = new QGridLayout;
    names->setHorizontalSpacing(4);
    names->setVerticalSpacing(2);
    names->addWidget(pacienteCaption, 0, 0);
    names->addWidget(c.twPaciente, 0, 1);
    names->addWidget(idadeCaption, 1, 0);
    names->addWidget(c.Idade, 1, 1, Qt::AlignLeft);
    grid->addLayout(names, 0, 0, Qt::AlignBottom);

    auto* genero = new QGroupBox(QStringLiteral("Gênero"), owner);
    genero->setObjectName(QStringLiteral("genero"));
    auto* g = new QHBoxLayout(genero);
    compact(g);
    c.GenMasc = new QRadioButton(QStringLiteral("Masculino"), genero);
    c.GenMasc->setObjectName(QStringLiteral("GenMasc"));
    c.GenFem = new QRadioButton(QStringLiteral("Feminino"), genero);
    c.GenFem->setObjectName(QStringLiteral("GenFem"));
    g->addWidget(c.GenMasc);
    g->addWidget(c.GenFem);
    c.gender = new QButtonGroup(owner);
    c.gender->addButton(c.GenMasc);
    c.gender->addButton(c.GenFem);
    grid->addWidget(genero, 0, 1);

    auto* stage = new QGroupBox(QStringLiteral("Análise"), owner);
    stage->setObjectName(QStringLiteral("GroupBox1"));
    auto* s = new QHBoxLayout(stage);
    compact(s);
    auto* stages = new QButtonGroup(owner);
    auto addStage = [&](QRadioButton*& b, const char* name, const QString& text) {
        b = new QRadioButton(text, stage);
        b->setObjectName(QLatin1String(name));
        s->addWidget(b);
        stages->addButton(b);
    };
    addStage(c.inicial, "inicial", QStringLiteral("Inicial"));
    addStage(c.inter1, "inter1", QStringLiteral("Inter 1"));
    addStage(c.inter2, "inter2", QStringLiteral("Inter 2"));
    addStage(c.final, "final", QStringLiteral("Final"));
    c.inicial->setChecked(true);
    grid->addWidget(stage, 0, 2);
    grid->setColumnStretch(0, 1);
}

QGroupBox* Builder::buildTweedGroup()
{
    auto* tw = new QGroupBox(QStringLiteral("Análise de Tweed"), owner);
    tw->setObjectName(QStringLiteral("tw"));
    auto* grid = new QGridLayout(tw);
    compact(grid);
    int row = 0;
    for (const TweedField& f : TweedFields()) {
        if (f.group != TweedGroup::Tweed || !f.input)
            continue;
        QLineEdit* e = addEntry(tw, f.key);
        putRow(grid, row++, tw->findChild<QLabel*>(e->objectName() + QStringLiteral("Caption")), e);
    }

    auto* rule = new QFrame(tw);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, row++, 0, 1, 2);

    for (TweedKey key : {TweedKey::twanbres, TweedKey::twafpafares})
        putRow(grid, row++, captionOf(tw, key), addResult(tw, key, captionText(key)));

    const QString hornCaption = captionText(TweedKey::hornres);
    auto* hornTitle = caption(tw, hornCaption);
    hornTitle->setAlignment(Qt::AlignCenter);
    grid->addWidget(hornTitle, row++, 0, 1, 2);
    c.hornres = new QLabel(tw);
    c.hornres->setObjectName(QStringLiteral("hornres"));
    c.hornres->setAlignment(Qt::AlignCenter);
    bold(c.hornres);
    c.hornres->setMinimumHeight(c.hornres->fontMetrics().height() + 4);
    c.hornres->setAccessibleDescription(hornCaption);
    c.results.insert(QStringLiteral("hornres"), c.hornres);
    grid->addWidget(c.hornres, row++, 0, 1, 2);
    return tw;
}

QGroupBox* Builder::buildDcGroup()
{
    const QString title = QStringLiteral("Discrepância Cefalométrica");
    auto* dc = new QGroupBox(title, owner);
    dc->setObjectName(QStringLiteral("dc"));
    auto* grid = new QGridLayout(dc);
    compact(grid);
    grid->setHorizontalSpacing(6);
    const auto result = [&](TweedKey key, int row, int column) {
        QLabel* l = addResult(dc, key, title + QStringLiteral(" - ") + captionText(key));
        putRow(grid, row, captionOf(dc, key), l, column);
        return l;
    };
    result(TweedKey::dcfmares, 0, 0);
    result(TweedKey::dcfmiares, 0, 2);
    result(TweedKey::dcimpares, 1, 0);
    result(TweedKey::dcdcres, 1, 2);

    c.dcopc = new QLabel(QStringLiteral("Deseja manter este IMPA?"), dc);
    c.dcopc->setObjectName(QStringLiteral("dcopc"));
    keepPlace(c.dcopc);
    c.dcopc->hide();
    grid->addWidget(c.dcopc, 2, 0, 1, 4);

    auto* choice = new QHBoxLayout;
    choice->setSpacing(6);
    c.dcsim = new QRadioButton(QStringLiteral("Sim"), dc);
    c.dcsim->setObjectName(QStringLiteral("dcsim"));
    c.dcnao = new QRadioButton(QStringLiteral("Não"), dc);
    c.dcnao->setObjectName(QStringLiteral("dcnao"));
    auto* group = new QButtonGroup(owner);
    group->addButton(c.dcsim);
    group->addButton(c.dcnao);
    c.dcsim->setChecked(true);
    c.dcopcres = new QLineEdit(dc);
    c.dcopcres->setObjectName(QStringLiteral("dcopcres"));
    c.dcopcres->setFixedWidth(kFieldWidth);
    c.dcopcres->setAlignment(Qt::AlignRight);
    // Its caption is the question above it.
    c.dcopc->setBuddy(c.dcopcres);
    for (QWidget* w : {static_cast<QWidget*>(c.dcsim), static_cast<QWidget*>(c.dcnao), static_cast<QWidget*>(c.dcopcres)}) {
        keepPlace(w);
        w->hide();
    }
    choice->addWidget(c.dcsim);
    choice->addWidget(c.dcnao);
    choice->addStretch(1);
    choice->addWidget(c.dcopcres);
    grid->addLayout(choice, 3, 0, 1, 4);
    return dc;
}

QGroupBox* Builder::buildSpaceGroup()
{
    auto* esp = new QGroupBox(QStringLiteral("Análise Total do Espaço"), owner);
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
            QLineEdit* e = addEntry(g, f.key);
            e->setAccessibleDescription(title + QStringLiteral(" - ") + f.captionText());
            putRow(grid, row++, g->findChild<QLabel*>(e->objectName() + QStringLiteral("Caption")), e);
            if (f.key == TweedKey::anmcorr) {
                auto* classes = new QVBoxLayout;
                classes->setSpacing(2);
                c.anmcl2 = new QRadioButton(QStringLiteral("Classe II"), g);
                c.anmcl2->setObjectName(QStringLiteral("anmcl2"));
                c.anmcl3 = new QRadioButton(QStringLiteral("Classe III"), g);
                c.anmcl3->setObjectName(QStringLiteral("anmcl3"));
                c.molarClass = new QButtonGroup(owner);
                c.molarClass->addButton(c.anmcl2);
                c.molarClass->addButton(c.anmcl3);
                classes->addWidget(c.anmcl2);
                classes->addWidget(c.anmcl3);
                grid->addLayout(classes, row++, 0, 1, 2);
            }
        }
        for (const TweedField& f : TweedFields()) {
            if (f.group != group || !f.result)
                continue;
            QLabel* l = addResult(g, f.key, title + QStringLiteral(" - ") + f.captionText());
            putRow(grid, row++, captionOf(g, f.key), l);
        }
    };
    area("espant", QStringLiteral("Área Anterior"), TweedGroup::Anterior);
    area("espmed", QStringLiteral("Área Média"), TweedGroup::Middle);
    area("esppos", QStringLiteral("Área Posterior"), TweedGroup::Posterior);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    const QString totalCaption = captionText(TweedKey::andiscres);
    auto* totalLabel = caption(esp, totalCaption);
    bold(totalLabel);
    QLabel* total = addResult(esp, TweedKey::andiscres, totalCaption);
    c.total = new QPushButton(QStringLiteral("Análise Total do Espaço"), esp);
    c.total->setObjectName(QStringLiteral("total"));
    // The tracing fills the measurements as the total space window fills the spaces: one below the other.
    c.tracado = new QPushButton(QStringLiteral("Traçado Cefalométrico"), esp);
    c.tracado->setObjectName(QStringLiteral("tracado"));
    auto* windows = new QVBoxLayout;
    windows->setSpacing(2);
    windows->addWidget(c.total);
    windows->addWidget(c.tracado);
    bottom->addLayout(windows);
    bottom->addStretch(1);
    bottom->addWidget(totalLabel, 0, Qt::AlignBottom);
    bottom->addWidget(total, 0, Qt::AlignBottom);
    outer->addLayout(bottom);
    return esp;
}

QGroupBox* Builder::buildDifficultyGroup()
{
    const QString title = QStringLiteral("Índice de Dificuldade");
    auto* id = new QGroupBox(title, owner);
    id->setObjectName(QStringLiteral("id"));
    auto* grid = new QGridLayout(id);
    compact(grid);
    grid->setHorizontalSpacing(8);
    // Where each result sits: row and column pair of the grid.
    using K = TweedKey;
    struct Place {
        TweedKey key;
        int row, column;
    };
    const Place places[] = {{K::idfmares, 0, 0},  {K::idanbres, 1, 0},  {K::idangzres, 2, 0}, {K::idplocres, 3, 0},
                            {K::idsnbres, 4, 0},  {K::idifres, 5, 0},   {K::idsub1res, 7, 0}, {K::iddmares, 0, 2},
                            {K::iddcres, 1, 2},   {K::idmtmres, 2, 2},  {K::iddmmres, 3, 2},  {K::idspeeres, 4, 2},
                            {K::idcorrres, 5, 2}, {K::iddmpres, 6, 2},  {K::idsub2res, 7, 2}, {K::idtotres, 8, 2}};
    for (const Place& p : places) {
        QLabel* l = addResult(id, p.key, title + QStringLiteral(" - ") + captionText(p.key));
        QLabel* c = captionOf(id, p.key);
        if (TweedFieldOf(p.key).bold)
            bold(c);
        putRow(grid, p.row, c, l, p.column);
    }
    c.idtotres = c.result("idtotres");
    grid->setHorizontalSpacing(6);
    grid->setColumnMinimumWidth(1, kResultWidth + 24);  // room between the two halves
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return id;
}

QLabel* Builder::buildGradeLabel()
{
    c.idlabel = new QLabel(owner);
    c.idlabel->setObjectName(QStringLiteral("idlabel"));
    c.idlabel->setAlignment(Qt::AlignCenter);
    QFont f = c.idlabel->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 1);
    c.idlabel->setFont(f);
    c.idlabel->setMinimumHeight(c.idlabel->fontMetrics().lineSpacing() + 6);
    c.idlabel->setAccessibleDescription(QStringLiteral("Grau do Índice de Dificuldade"));
    setColour(c.idlabel, kGradeRed);
    c.results.insert(QStringLiteral("idlabel"), c.idlabel);
    return c.idlabel;
}

void Builder::buildButtons(QBoxLayout* row)
{
    const auto addButton = [&](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, owner);
        b->setObjectName(QLatin1String(name));
        row->addWidget(b);
    };
    addButton(c.tCalcular, "tCalcular", QStringLiteral("CALCULAR"));
    c.tCalcular->setMinimumWidth(c.tCalcular->fontMetrics().horizontalAdvance(QStringLiteral("GUIA DIAGNÓSTICO")) + 24);
    addButton(c.tLimpar, "tLimpar", QStringLiteral("LIMPAR"));
    addButton(c.tsalvar, "tsalvar", QStringLiteral("SALVAR"));
    addButton(c.tabrir, "tabrir", QStringLiteral("ABRIR"));
    addButton(c.timprimir, "timprimir", QStringLiteral("IMPRIMIR"));
    addButton(c.tSair, "tSair", QStringLiteral("SAIR"));
}

void Builder::installFilters()
{
    const auto warn = context.warner();
    for (const char* name : {"twfma", "twfmia", "twimpa", "twploc", "twsna", "twsnb", "twangz", "twafa", "twafp"})
        EntryFilter::install(c.entry(name), EntryRule::real(RealFamily::Positive, 5, warn));
    EntryFilter::install(c.dcopcres, EntryRule::real(RealFamily::Positive, 5, warn));
    for (const char* name : {"twaobo", "twls", "twqt", "anaer", "anaep", "anmer", "anmep", "anper", "anpep"})
        EntryFilter::install(c.entry(name), EntryRule::real(RealFamily::Signed, 5, warn));

    EntryRule spee = EntryRule::real(RealFamily::Signed, 5, warn);
    spee.afterLeave = [](QLineEdit* field) {
        const QString negative = ForceNegative(field->text());
        if (negative != field->text())
            field->setText(negative);
    };
    EntryFilter::install(c.entry("anmspee"), spee);

    EntryRule corr = EntryRule::real(RealFamily::Signed, 5, warn);
    corr.afterLeave = [cl2 = c.anmcl2, cl3 = c.anmcl3, page = &context](QLineEdit* field) {
        const QString warning = MolarCorrectionWarning(field->text(), cl2->isChecked(), cl3->isChecked());
        if (!warning.isEmpty())
            page->warn(warning);
    };
    EntryFilter::install(c.entry("anmcorr"), corr);

    EntryFilter::install(c.Idade, EntryRule::integer(warn));
    EntryFilter::install(c.twPaciente, EntryRule::name(warn));
}

}  // namespace qv
