#include "tweed/DiagnosisPanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kCrossWidth = 56;
constexpr int kCrossHeight = 40;

// Stored texts break lines with "\r"; a label breaks them with "\n".
QString shown(const QString& stored)
{
    QString t = stored;
    t.replace(u'\r', u'\n');
    return t;
}

QString stored(const QString& shownText)
{
    QString t = shownText;
    t.replace(u'\n', u'\r');
    return t;
}

void keepPlace(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

QLabel* heading(QWidget* parent, const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    keepPlace(l);
    l->hide();
    return l;
}

QLabel* orLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(QStringLiteral("ou"), parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setItalic(true);
    l->setFont(f);
    keepPlace(l);
    l->hide();
    return l;
}

QLabel* suggestion(QWidget* parent, const QString& name, int lines, const QString& description)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    if (f.pointSizeF() > 8)
        f.setPointSizeF(f.pointSizeF() - 1);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->setFixedHeight(QFontMetrics(f).lineSpacing() * lines + 2);
    l->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    l->setAccessibleDescription(description);
    return l;
}

QFrame* line(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::NoFrame);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, Qt::black);
    f->setPalette(p);
    f->setGeometry(geometry);
    f->hide();
    return f;
}

// A square split into four quadrants by two thin lines; the quadrant labels sit in the corners.
QWidget* cross(QWidget* parent, DiagnosisPanel::Cross& c, const QString& horizontal, const QString& vertical,
               const QStringList& quadrants, const QString& description)
{
    auto* box = new QWidget(parent);
    box->setFixedSize(kCrossWidth, kCrossHeight);
    const int midX = kCrossWidth / 2;
    const int midY = kCrossHeight / 2;
    c.horizontal = line(box, horizontal, QRect(0, midY, kCrossWidth, 1));
    c.vertical = line(box, vertical, QRect(midX, 0, 1, kCrossHeight));
    static const char* const where[4] = {"superior esquerdo", "superior direito", "inferior esquerdo",
                                         "inferior direito"};
    for (int q = 0; q < 4; ++q) {
        auto* l = new QLabel(box);
        l->setObjectName(quadrants[q]);
        QFont f = l->font();
        f.setBold(true);
        if (f.pointSizeF() > 8)
            f.setPointSizeF(f.pointSizeF() - 1);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(255, 0, 0));
        l->setPalette(p);
        l->setAlignment(Qt::AlignCenter);
        const int x = (q % 2 == 0) ? 0 : midX + 1;
        const int y = (q < 2) ? 0 : midY + 1;
        l->setGeometry(x, y, (q % 2 == 0) ? midX : kCrossWidth - midX - 1, (q < 2) ? midY : kCrossHeight - midY - 1);
        l->setAccessibleDescription(description + QStringLiteral(" - quadrante ") + QLatin1String(where[q]));
        c.quadrants[size_t(q)] = l;
    }
    return box;
}

void addRow(QVBoxLayout* column, QLabel* text, QWidget* crossBox)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(text, 1);
    if (crossBox)
        row->addWidget(crossBox, 0, Qt::AlignVCenter);
    else
        row->addSpacing(kCrossWidth);
    column->addLayout(row);
}

void showCross(const DiagnosisPanel::Cross& c, const ExtractionCross& s)
{
    c.horizontal->setVisible(s.lines);
    c.vertical->setVisible(s.lines);
    for (size_t q = 0; q < 4; ++q)
        c.quadrants[q]->setText(s.quadrants[q]);
}

ExtractionCross readCross(const DiagnosisPanel::Cross& c)
{
    ExtractionCross s;
    s.lines = !c.horizontal->isHidden() && !c.vertical->isHidden();
    for (size_t q = 0; q < 4; ++q)
        s.quadrants[q] = c.quadrants[q]->text();
    return s;
}

}  // namespace

DiagnosisPanel::DiagnosisPanel(QWidget* parent) : QGroupBox(QStringLiteral("Diagnóstico Sugerido"), parent)
{
    setObjectName(QStringLiteral("ds"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(1);

    const QString ant = QStringLiteral("Discrepância Anterior");
    const QString med = QStringLiteral("Discrepância Média");
    const QString pos = QStringLiteral("Discrepância Posterior");
    const QString desc = QStringLiteral("Desarmonia Esquelética");

    m_antInfo = heading(this, "dsantinfo", ant);
    column->addWidget(m_antInfo);
    m_dsant = suggestion(this, QStringLiteral("dsant"), 3, ant);
    addRow(column, m_dsant, cross(this, m_ant, QStringLiteral("Shape3"), QStringLiteral("Shape4"),
                                  {QStringLiteral("a01"), QStringLiteral("a02"), QStringLiteral("a03"), QStringLiteral("a04")}, ant));

    column->addSpacing(8);
    m_medInfo = heading(this, "dsmedinfo", med);
    column->addWidget(m_medInfo);
    m_dsmed = suggestion(this, QStringLiteral("dsmed"), 3, med);
    addRow(column, m_dsmed, cross(this, m_med, QStringLiteral("Shape5"), QStringLiteral("Shape6"),
                                  {QStringLiteral("m01"), QStringLiteral("m02"), QStringLiteral("m03"), QStringLiteral("m04")}, med));
    m_ou = orLabel(this, QStringLiteral("ou"));
    column->addWidget(m_ou);
    const QString med2 = med + QStringLiteral(" - alternativa 2");
    m_dsmed2 = suggestion(this, QStringLiteral("dsmed2"), 3, med2);
    addRow(column, m_dsmed2, cross(this, m_med2, QStringLiteral("Shape11"), QStringLiteral("Shape12"),
                                   {QStringLiteral("m05"), QStringLiteral("m06"), QStringLiteral("m07"), QStringLiteral("m08")}, med2));

    column->addSpacing(8);
    m_posInfo = heading(this, "dsposinfo", pos);
    column->addWidget(m_posInfo);
    m_dspos = suggestion(this, QStringLiteral("dspos"), 3, pos);
    addRow(column, m_dspos, cross(this, m_pos, QStringLiteral("Shape8"), QStringLiteral("Shape7"),
                                  {QStringLiteral("p01"), QStringLiteral("p02"), QStringLiteral("p03"), QStringLiteral("p04")}, pos));

    column->addSpacing(8);
    m_descInfo = heading(this, "dsdescinfo", desc);
    column->addWidget(m_descInfo);
    static const char* const horizontals[4] = {"Shape10", "Shape14", "Shape16", "Shape18"};
    static const char* const verticals[4] = {"Shape9", "Shape13", "Shape15", "Shape17"};
    for (int k = 0; k < 5; ++k) {
        const QString slotName = k == 0 ? QStringLiteral("dsdesc") : QStringLiteral("dsdesc%1").arg(k + 1);
        const QString slotDescription = k == 0 ? desc : desc + QStringLiteral(" - alternativa %1").arg(k + 1);
        if (k > 0) {
            m_ouDesc[size_t(k - 1)] = orLabel(this, QStringLiteral("ou%1").arg(k + 1));
            column->addWidget(m_ouDesc[size_t(k - 1)]);
        }
        // The longest skeletal text wraps its widest line in a panel of this width.
        m_dsdesc[size_t(k)] = suggestion(this, slotName, k < 4 ? 4 : 2, slotDescription);
        QWidget* crossBox = nullptr;
        if (k < 4) {
            QStringList quadrants;
            for (int q = 0; q < 4; ++q)
                quadrants << QStringLiteral("d%1").arg(4 * k + q + 1, 2, 10, QLatin1Char('0'));
            crossBox = cross(this, m_desc[size_t(k)], QLatin1String(horizontals[k]), QLatin1String(verticals[k]),
                             quadrants, slotDescription);
        }
        addRow(column, m_dsdesc[size_t(k)], crossBox);
    }
    column->addStretch(1);

    m_abrir = new QCheckBox(QStringLiteral("abrir"), this);
    m_abrir->setObjectName(QStringLiteral("abrir"));
    m_abrir->hide();
}

void DiagnosisPanel::ClearPanel() { showState(PanelState{}); }

void DiagnosisPanel::showState(const PanelState& s)
{
    m_antInfo->setVisible(s.antInfo);
    m_medInfo->setVisible(s.medInfo);
    m_posInfo->setVisible(s.posInfo);
    m_descInfo->setVisible(s.descInfo);
    m_dsant->setText(shown(s.dsant));
    m_dsmed->setText(shown(s.dsmed));
    m_dsmed2->setText(shown(s.dsmed2));
    m_dspos->setText(shown(s.dspos));
    for (size_t k = 0; k < 5; ++k)
        m_dsdesc[k]->setText(shown(s.dsdesc[k]));
    m_ou->setVisible(s.ou);
    for (size_t k = 0; k < 4; ++k)
        m_ouDesc[k]->setVisible(s.ouDesc[k]);
    showCross(m_ant, s.ant);
    showCross(m_med, s.med);
    showCross(m_med2, s.med2);
    showCross(m_pos, s.pos);
    for (size_t k = 0; k < 4; ++k)
        showCross(m_desc[k], s.desc[k]);
}

PanelState DiagnosisPanel::state() const
{
    PanelState s;
    s.antInfo = !m_antInfo->isHidden();
    s.medInfo = !m_medInfo->isHidden();
    s.posInfo = !m_posInfo->isHidden();
    s.descInfo = !m_descInfo->isHidden();
    s.dsant = stored(m_dsant->text());
    s.dsmed = stored(m_dsmed->text());
    s.dsmed2 = stored(m_dsmed2->text());
    s.dspos = stored(m_dspos->text());
    for (size_t k = 0; k < 5; ++k)
        s.dsdesc[k] = stored(m_dsdesc[k]->text());
    s.ou = !m_ou->isHidden();
    for (size_t k = 0; k < 4; ++k)
        s.ouDesc[k] = !m_ouDesc[k]->isHidden();
    s.ant = readCross(m_ant);
    s.med = readCross(m_med);
    s.med2 = readCross(m_med2);
    s.pos = readCross(m_pos);
    for (size_t k = 0; k < 4; ++k)
        s.desc[k] = readCross(m_desc[k]);
    return s;
}

}  // namespace qv
