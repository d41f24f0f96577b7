#include "spaceentry/SpaceEntryWindow.h"

#include "entry/EntryFilter.h"
#include "platform/Dialogs.h"
#include "platform/SecondaryWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

namespace {

const QString kCaption = QStringLiteral("Análise Total do Espaço");
const QColor kPosterior(255, 0, 0);
const QColor kAnterior(0, 0, 255);

// The dotted vertical line between two groups of teeth.
class DottedLine : public QWidget {
public:
    explicit DottedLine(const QString& name)
    {
        setObjectName(name);
        setFixedWidth(11);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QPen pen(palette().color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        const int x = width() / 2;
        p.drawLine(x, 2, x, height() - 3);
    }
};

// The groups left to right: heading, first entry, entry count, colour, present-space entry.
struct Group {
    const char* label;
    const char* heading;
    int first;
    int count;
    int present;
    const char* area;
};
constexpr Group kGroups[] = {
    {"Label7", "Área Posterior", 1, 2, 1, "Área Posterior esquerda"},
    {"Label6", "Área Média", 3, 3, 3, "Área Média esquerda"},
    {"Label3", "Área Anterior", 6, 6, 6, "Área Anterior"},
    {"Label5", "Área Média", 12, 3, 12, "Área Média direita"},
    {"Label4", "Área Posterior", 15, 2, 15, "Área Posterior direita"},
};

QColor groupColour(int g, const QPalette& palette)
{
    if (g == 0 || g == 4)
        return kPosterior;
    if (g == 2)
        return kAnterior;
    return palette.color(QPalette::Text);
}

QString twoDigits(int k) { return QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0')); }

}  // namespace

SpaceEntryWindow::SpaceEntryWindow(QWidget* parent) : QWidget(parent)
{
    build();
}

SpaceEntryWindow::SpaceEntryWindow(platform::Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(&dialogs)
{
    build();
}

void SpaceEntryWindow::warn(const QString& text, const QString& caption)
{
    if (m_dialogs)
        m_dialogs->ShowNotice(platform::NoticeKind::Warning, text, caption);
}

QLineEdit* SpaceEntryWindow::entry(const QString& name, const QString& accessibleName, const QColor& colour)
{
    auto* f = new QLineEdit;
    f->setObjectName(name);
    f->setAccessibleName(accessibleName);
    f->setAlignment(Qt::AlignCenter);
    f->setFixedWidth(42);
    QPalette p = f->palette();
    p.setColor(QPalette::Text, colour);
    f->setPalette(p);
    EntryFilter::install(f, EntryRule::real(RealFamily::Positive, 4, [this](const QString& text) { warn(text, kCaption); }));
    // These entries keep the edit field's own menu.
    f->setContextMenuPolicy(Qt::DefaultContextMenu);
    return f;
}

void SpaceEntryWindow::build()
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 12, 14, 12);
    outer->setSpacing(12);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6);
    auto* required = new QLabel(QStringLiteral("Espaço Requerido"));
    required->setObjectName(QStringLiteral("Label1"));
    auto* present = new QLabel(QStringLiteral("Espaço Presente"));
    present->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(required, 1, 0);
    grid->addWidget(present, 2, 0);
    grid->setColumnMinimumWidth(0, 110);

    int column = 1;
    int shape = 1;
    for (int g = 0; g < 5; ++g) {
        const Group& group = kGroups[g];
        const QColor colour = groupColour(g, palette());
        auto* heading = new QLabel(QString::fromUtf8(group.heading));
        heading->setObjectName(QString::fromLatin1(group.label));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, column, 1, group.count);
        for (int k = group.first; k < group.first + group.count; ++k) {
            QLineEdit* f = entry(QStringLiteral("s") + twoDigits(k),
                                 QStringLiteral("Espaço Requerido %1 (%2)").arg(k).arg(QString::fromUtf8(group.area)), colour);
            m_s[size_t(k - 1)] = f;
            grid->addWidget(f, 1, column + k - group.first);
        }
        QLineEdit* p = entry(QStringLiteral("i") + twoDigits(group.present),
                             QStringLiteral("Espaço Presente (%1)").arg(QString::fromUtf8(group.area)), colour);
        grid->addWidget(p, 2, column, 1, group.count, Qt::AlignHCenter);
        switch (g) {
        case 0: m_i01 = p; break;
        case 1: m_i03 = p; break;
        case 2: m_i06 = p; break;
        case 3: m_i12 = p; break;
        default: m_i15 = p; break;
        }
        column += group.count;
        if (g < 4) {
            grid->addWidget(new DottedLine(QStringLiteral("Shape%1").arg(shape++)), 0, column, 3, 1);
            ++column;
        }
    }
    outer->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto makeButton = [&](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text));
        b->setObjectName(QString::fromLatin1(name));
        b->setCursor(Qt::PointingHandCursor);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setMinimumSize(100, 30);
        buttons->addWidget(b);
        return b;
    };
    m_importar = makeButton("Button4", "IMPORTAR");
    QPushButton* cancelar = makeButton("Button1", "CANCELAR");
    QPushButton* limpar = makeButton("Button3", "LIMPAR");
    QPushButton* salvar = makeButton("Button2", "SALVAR");
    outer->addLayout(buttons);

    connect(m_importar, &QPushButton::clicked, this, &SpaceEntryWindow::Button4Click);
    connect(cancelar, &QPushButton::clicked, this, &SpaceEntryWindow::Button1Click);
    connect(limpar, &QPushButton::clicked, this, &SpaceEntryWindow::Button3Click);
    connect(salvar, &QPushButton::clicked, this, &SpaceEntryWindow::Button2Click);

    setFixedSize(sizeHint());
}

SpaceEntries SpaceEntryWindow::entries() const
{
    SpaceEntries e;
    for (size_t k = 0; k < 16; ++k)
        e.s[k] = m_s[k]->text();
    e.i01 = m_i01->text();
    e.i03 = m_i03->text();
    e.i06 = m_i06->text();
    e.i12 = m_i12->text();
    e.i15 = m_i15->text();
    return e;
}

void SpaceEntryWindow::Open()
{
    platform::CentreOnScreen(*this);
    platform::ShowSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, m_dialogs);
}

void SpaceEntryWindow::leave()
{
    platform::HideSecondaryWindow(
        *this, [this](bool enabled) { emit mainWindowEnabledRequested(enabled); }, m_dialogs);
}

void SpaceEntryWindow::closeEvent(QCloseEvent* event)
{
    leave();
    event->accept();
}

void SpaceEntryWindow::Button1Click() { leave(); }

void SpaceEntryWindow::Button2Click()
{
    emit spaceSummed(ComputeSpaceSums(entries()));
    leave();
}

void SpaceEntryWindow::Button3Click()
{
    for (QLineEdit* f : m_s)
        f->clear();
    for (QLineEdit* f : {m_i01, m_i03, m_i06, m_i12, m_i15})
        f->clear();
    m_importar->setEnabled(true);
}

void SpaceEntryWindow::Button4Click()
{
    // Third molar to third molar, as the Bolton page's lower row stands; the molars are only
    // typed for this import.
    const BoltonLowerRow& row = m_source.boltonRow;
    const bool complete = !row[0].isEmpty() && !row[1].isEmpty() && !row[14].isEmpty()
                          && !row[15].isEmpty();
    if (!complete) {
        warn(QStringLiteral("Não foi possível importar pois a análise de Bolton não está completa!"), QStringLiteral("Importar"));
        // Only a calculated Bolton analysis has to be undone before another import can work.
        if (m_source.boltonCalculated)
            m_importar->setEnabled(false);
        return;
    }
    if (m_source.tweedPatient != m_source.boltonPatient) {
        const QString question = QStringLiteral(
            "O nome do paciente da Análise de Bolton não é o mesmo da análise de Tweed. Deseja continuar com a importação?");
        // Closing the box without an answer imports nothing either.
        if (!m_dialogs || m_dialogs->Confirm(question) != platform::Answer::Yes)
            return;
    }
    for (size_t k = 0; k < 16; ++k)
        m_s[k]->setText(row[k]);
}

}  // namespace qv
