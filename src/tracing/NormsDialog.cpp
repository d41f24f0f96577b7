#include "tracing/NormsDialog.h"

#include "platform/Dialogs.h"
#include "tracing/CephNormsStore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

enum Column { Name, Mean, Sd };

QString numberText(double v) { return QString::number(v, 'g', 12); }

// A number as typed, with a point or a comma; nothing for an empty cell.
std::optional<double> typed(const QString& text, bool* bad)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        *bad = true;
    return v;
}

}  // namespace

NormsDialog::NormsDialog(platform::Dialogs& dialogs, const CephNorms& norms, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_norms(norms)
{
    setObjectName(QStringLiteral("FormNormas"));
    setWindowTitle(QStringLiteral("Normas Cefalométricas"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Média e desvio-padrão de cada medida, por análise. Deixe os dois vazios para uma "
                                            "medida sem norma."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("normasAbas"));
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const CephAnalysis a = CephAnalysis(i);
        const auto measures = MeasuresOf(a);
        auto* t = new QTableWidget(int(measures.size()), 3);
        t->setObjectName(QStringLiteral("normas%1").arg(i));
        t->setHorizontalHeaderLabels({QStringLiteral("Medida"), QStringLiteral("Média"), QStringLiteral("DP")});
        t->verticalHeader()->hide();
        t->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
        t->setAccessibleName(QStringLiteral("Normas de ") + Title(a));
        for (int row = 0; row < int(measures.size()); ++row) {
            const Ceph m = measures[size_t(row)];
            auto* caption = new QTableWidgetItem(Caption(m) + QStringLiteral(" (") + UnitText(Info(m).unit) + QLatin1Char(')'));
            caption->setFlags(caption->flags() & ~Qt::ItemIsEditable);
            t->setItem(row, Name, caption);
            for (int c : {Mean, Sd}) {
                auto* item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                t->setItem(row, c, item);
            }
        }
        m_tables[size_t(i)] = t;
        tabs->addTab(t, Title(a));
    }
    layout->addWidget(tabs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("tOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("tCancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* restore = buttons->addButton(QStringLiteral("Restaurar padrões"), QDialogButtonBox::ResetRole);
    restore->setObjectName(QStringLiteral("tRestaurar"));
    connect(restore, &QPushButton::clicked, this, [this] { showNorms(CephNorms::defaults()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &NormsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NormsDialog::reject);
    layout->addWidget(buttons);
    showNorms(norms);
    resize(520, 560);
}

void NormsDialog::showNorms(const CephNorms& norms)
{
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const auto measures = MeasuresOf(CephAnalysis(i));
        for (int row = 0; row < int(measures.size()); ++row) {
            const auto& n = norms[measures[size_t(row)]];
            m_tables[size_t(i)]->item(row, Mean)->setText(n ? numberText(n->mean) : QString());
            m_tables[size_t(i)]->item(row, Sd)->setText(n ? numberText(n->sd) : QString());
        }
    }
}

std::optional<CephNorms> NormsDialog::edited(QString* why) const
{
    CephNorms out;
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const CephAnalysis a = CephAnalysis(i);
        const auto measures = MeasuresOf(a);
        for (int row = 0; row < int(measures.size()); ++row) {
            const Ceph m = measures[size_t(row)];
            bool bad = false;
            const auto mean = typed(m_tables[size_t(i)]->item(row, Mean)->text(), &bad);
            const auto sd = typed(m_tables[size_t(i)]->item(row, Sd)->text(), &bad);
            if (!mean && !sd && !bad) {
                out.set(m, std::nullopt);
                continue;
            }
            if (bad || !mean || !sd || !IsSaneNorm({*mean, *sd})) {
                if (why)
                    *why = QStringLiteral("%1, %2: informe a média (entre -1000 e 1000) e o desvio-padrão (maior que zero e até "
                                          "1000), ou deixe os dois vazios.")
                               .arg(Title(a), Caption(m));
                return std::nullopt;
            }
            out.set(m, CephNorm{*mean, *sd});
        }
    }
    return out;
}

void NormsDialog::accept()
{
    QString why;
    const auto n = edited(&why);
    if (!n) {
        m_dialogs.ShowNotice(platform::NoticeKind::Warning, why, NormsCaption());
        return;
    }
    m_norms = *n;
    QDialog::accept();
}

}  // namespace qv
