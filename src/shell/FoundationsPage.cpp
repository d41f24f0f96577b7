#include "shell/FoundationsPage.h"

#include "platform/PageContext.h"
#include "platform/Shell.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>

namespace qv {

namespace {

const char* const kLinkNames[] = {"Label1", "Label2", "Label3", "Label7", "Label8", "Label9"};

QFont pageFont()
{
    QFont f;
    f.setBold(true);
    f.setPixelSize(16);
    return f;
}

// The objective's lines are laid out by hand, so its font must let the longest one fit.
QFont objectiveFont(const QString& text, int width)
{
    QFont f = pageFont();
    int longest = 0;
    for (int size = 16; size >= 10; --size) {
        f.setPixelSize(size);
        const QFontMetrics metrics(f);
        longest = 0;
        for (const QString& line : text.split(u'\n'))
            longest = qMax(longest, metrics.horizontalAdvance(line));
        if (longest <= width)
            break;
    }
    return f;
}

QPlainTextEdit* makeText(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    t->setFrameShape(QFrame::NoFrame);
    t->setFont(pageFont());
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setContextMenuPolicy(Qt::PreventContextMenu);
    // The window face shows through, as on a printed page.
    t->setStyleSheet(QStringLiteral("QPlainTextEdit { background: palette(window); }"));
    t->setPlainText(text);
    t->setGeometry(geometry);
    t->hide();
    return t;
}

}  // namespace

const QStringList& FoundationsPage::ArticleTitles()
{
    static const QStringList titles = {
        QStringLiteral("The Profile Line as an Aid in Critically Evaluating Facial Esthetics"),
        QStringLiteral("Differential Diagnosis with Total Space Analysis"),
        QStringLiteral("The Probability Index"),
        QStringLiteral("Differential Diagnostic Analysis System"),
        QStringLiteral("The Tweed Merrifield Edgewise Appliance"),
        QStringLiteral("Disharmony In Tooth Size And Its Relation To The Analysis And Treatment Of Malocclusion"),
    };
    return titles;
}

QString FoundationsPage::ArticleAddress(int index)
{
    // A search for the exact title: it finds the article wherever its publisher keeps it.
    QUrl url(QStringLiteral("https://pubmed.ncbi.nlm.nih.gov/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("term"), u'"' + ArticleTitles().value(index) + u'"');
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

QString FoundationsPage::ObjectiveText()
{
    static const char* const lines[] = {
        "          O correto diagnóstico e planejamento é de fundamental importância para um tratamento ortodôntico de ",
        "sucesso. Por meio da medição e inserção dos valores cefalométricos e de modelos no software desenvolvido e ",
        "apresentado, o trabalho do ortodontista de elaboração do plano de tratamento do paciente com base nos ",
        "fundamentos das Análises de Tweed e Bolton fica mais simples e rápido, pois não é necessário realizar nenhum ",
        "cálculo matemático ou consultar tabelas de valores auxiliares, reduzindo desta forma também a probabilidade de ",
        "erros. ",
        "          Porém é necessário lembrar que o diagnóstico correto é apenas um dos passos para se conseguir um ",
        "adequado planejamento do caso a ser tratado e conseqüentemente alcançar um resultado satisfatório. ",
        "          Os objetivos primordiais do tratamento ortodôntico são o correto alinhamento e nivelamento dos arcos ",
        "dentários, uma oclusão perfeita entre os arcos superior e inferior e a obtenção de um perfil agradável. ",
        "          Entretanto, a oclusão excelente nem sempre é alcançada ou apesar de alcançada não conseguimos a ",
        "estabilidade esperada. Diante disto, lembramos que o  diagnóstico gerado é meramente sugestivo, devendo o ",
        "profissional considerar outros aspectos antes da definição do plano de tratamento. ",
    };
    QStringList out;
    out << QString() << QString(80, u' ') + QStringLiteral("OBJETIVO") << QString() << QString();
    bool first = true;
    for (const char* line : lines) {
        if (!first)
            out << QString();
        out << QString::fromUtf8(line);
        first = false;
    }
    return out.join(u'\n');
}

QString FoundationsPage::HeadingText()
{
    return QString(63, u' ') + u'\n' + QString(66, u' ') + QStringLiteral("FUNDAMENTOS TEÓRICOS") + u'\n'
           + QString(3, u' ');
}

FoundationsPage::FoundationsPage(platform::PageContext& context, platform::Shell& shell, QWidget* parent)
    : QWidget(parent), m_context(context), m_shell(shell)
{
    setObjectName(QStringLiteral("TabSheet3"));
    // The texts carry the window face; so does the page beneath them.
    setAutoFillBackground(true);

    m_fteor = makeText(this, "Fteor", HeadingText(), QRect(10, 4, 950, 70));
    m_fteor->setAccessibleName(QStringLiteral("Fundamentos Teóricos"));

    int y = 90;
    for (int i = 0; i < 6; ++i) {
        auto* link = new QLabel(this);
        link->setObjectName(QLatin1String(kLinkNames[i]));
        const QString title = ArticleTitles().at(i);
        link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#0000ff; text-decoration:none;\">%2</a>")
                          .arg(ArticleAddress(i), title.toHtmlEscaped()));
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setOpenExternalLinks(false);
        link->setCursor(Qt::PointingHandCursor);
        link->setFont(pageFont());
        link->setAccessibleName(title);
        link->setAccessibleDescription(QStringLiteral("Abre o artigo no navegador"));
        link->setGeometry(40, y, 900, 26);
        link->setContextMenuPolicy(Qt::PreventContextMenu);
        connect(link, &QLabel::linkActivated, this, [this](const QString& address) { m_shell.Open(QUrl(address)); });
        m_links << link;
        y += 40;
    }

    m_obj = makeText(this, "obj", ObjectiveText(), QRect(0, 0, 950, 650));
    m_obj->setFont(objectiveFont(ObjectiveText(), 950 - 16));
    m_obj->setAccessibleName(QStringLiteral("Objetivo"));
    m_obj->installEventFilter(this);

    m_menu = new QPushButton(QStringLiteral("MENU"), this);
    m_menu->setObjectName(QStringLiteral("Button3"));
    m_menu->setFixedSize(60, 60);
    m_menu->setCursor(Qt::PointingHandCursor);
    m_menu->move(900, 590);
    connect(m_menu, &QPushButton::clicked, this, &FoundationsPage::menuRequested);
    m_menu->raise();
}

void FoundationsPage::ShowFoundationsLinks()
{
    m_fteor->show();
    for (QLabel* l : m_links)
        l->show();
}

void FoundationsPage::ResetFoundationsPage()
{
    m_obj->hide();
    m_fteor->hide();
    for (int i = 1; i < m_links.size(); ++i)
        m_links[i]->hide();
    m_links[0]->show();
}

void FoundationsPage::ShowObjective()
{
    m_obj->show();
    m_obj->raise();
    m_menu->raise();
}

bool FoundationsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_obj && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const bool typing = !ke->text().isEmpty() && ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab;
        if (typing) {
            m_context.error(QStringLiteral("Ação não disponível!"));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qv
