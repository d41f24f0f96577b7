#pragma once
// TabSheet3: the program's objective text and the reference articles.

#include <QWidget>


class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qv {

namespace platform {
class PageContext;
class Shell;
}  // namespace platform

class FoundationsPage : public QWidget {
    Q_OBJECT
public:
    FoundationsPage(platform::PageContext& context, platform::Shell& shell, QWidget* parent = nullptr);

    void ShowFoundationsLinks();
    void ResetFoundationsPage();
    void ShowObjective();

    // The six articles, in the order of their labels.
    static const QStringList& ArticleTitles();
    static QString ArticleAddress(int index);
    static QString ObjectiveText();
    static QString HeadingText();

signals:
    // "MENU": the main window leads back to the start menu.
    void menuRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::PageContext& m_context;
    platform::Shell& m_shell;
    QPlainTextEdit* m_obj = nullptr;
    QPlainTextEdit* m_fteor = nullptr;
    QList<QLabel*> m_links;
    QPushButton* m_menu = nullptr;
};

}  // namespace qv
