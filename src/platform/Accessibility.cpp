#include "platform/Accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QTextDocument>

namespace qv::platform {

namespace {

// A label showing a result: its name is what it shows, its description says what it is.
class ResultLabelAccessible : public QAccessibleWidget {
public:
    explicit ResultLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        if (const QString given = widget()->accessibleName(); !given.isEmpty())
            return given;
        return shownText();
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto rels = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled) {
            if (QWidget* buddy = label()->buddy())
                rels.append({QAccessible::queryAccessibleInterface(buddy), QAccessible::Labelled});
        }
        return rels;
    }

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }

    QString shownText() const
    {
        const QString text = label()->text();
        const Qt::TextFormat format = label()->textFormat();
        if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            return document.toPlainText();
        }
        return text;
    }
};

QAccessibleInterface* resultLabelFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QLabel"))
        return nullptr;
    auto* label = qobject_cast<QLabel*>(object);
    if (!label || label->accessibleDescription().isEmpty() || !label->accessibleName().isEmpty())
        return nullptr;
    return new ResultLabelAccessible(label);
}

}  // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(resultLabelFactory), true);
    (void)installed;
}

}  // namespace qv::platform
