#pragma once
// Applies the entry rules to a QLineEdit: every route by which a character can reach the
// field (keys, input-method commits, paste, drag and drop, middle-click) goes through the
// field's key filter, and the text is completed when the field is left.

#include "entry/RealEntry.h"

#include <QObject>
#include <functional>

class QLineEdit;

namespace qv {

struct EntryRule {
    enum Kind { Real, Integer, Name };
    Kind kind = Real;
    RealFamily family = RealFamily::Positive;
    int typedLimit = 0;  // characters the user may type; 0 = no limit
    std::function<void(const QString&)> warn;            // shows a refusal warning
    std::function<void(QLineEdit*)> afterLeave;          // extra rule run after normalising

    static EntryRule real(RealFamily family, int limit, std::function<void(const QString&)> warn)
    {
        EntryRule r;
        r.kind = Real;
        r.family = family;
        r.typedLimit = limit;
        r.warn = std::move(warn);
        return r;
    }
    static EntryRule integer(std::function<void(const QString&)> warn)
    {
        EntryRule r;
        r.kind = Integer;
        r.warn = std::move(warn);
        return r;
    }
    static EntryRule name(std::function<void(const QString&)> warn)
    {
        EntryRule r;
        r.kind = Name;
        r.warn = std::move(warn);
        return r;
    }
};

class EntryFilter : public QObject {
    Q_OBJECT
public:
    // The filter is owned by the field.
    static EntryFilter* install(QLineEdit* field, EntryRule rule);
    const EntryRule& rule() const { return m_rule; }

    // Normalisation and the extra rule, as when the field is left.
    void leave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EntryFilter(QLineEdit* field, EntryRule rule);
    KeyVerdict verdict(const QString& currentText, QChar key) const;
    bool typedLimitReached() const;
    void refuse();

    QLineEdit* m_field;
    EntryRule m_rule;
    bool m_forwarding = false;
};

}  // namespace qv
